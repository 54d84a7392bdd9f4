// Start-up of the credits form, the splash that cycles its title bar for five ticks, and the
// freeing of the images at shutdown.
#include <windows.h>

#include <algorithm>

#include "app/SharedState.h"
#include "forms/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"

namespace {
constexpr char kInstanceMutexName[] = "Vindelor20";
constexpr std::int32_t kSplashTicks = 5;
}  // namespace

void TForm1::Loaded() {
  // Timer1 runs from construction. The tray icon joins the form here once the notification-area
  // component exists: it is set up with its hint, picture, click and menu, and shown last.
}

void TForm1::FormCreate() {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
  const DWORD created = GetLastError();
  // Held for the whole run; the application object lets go of it only as the process ends.
  tk::App().KeepUntilExit(tk::UniqueKernelHandle{mutex});
  if (created == ERROR_ALREADY_EXISTS) throw tk::OrderlyExit{0};

  splashTicks_ = 0;
  vindelor::Shared().armed = false;
  creditTitles_ = {
      "                         Welcome to Vindelor\xAE",
      "                    For Win95 + NT 4.0",
      "        Freeware by Osmerdane",
      "                     info@osmerdane.example",
      "                        Version 2.0",
      "",
  };
  SetCaption(creditTitles_[0]);
  SetForegroundWindow(Handle());
}

void TForm1::FormDestroy() {
  vindelor::Shared().workImage.reset();
  vindelor::Shared().printImage.reset();
}

void TForm1::FormKeyPress(char& /*key*/) {
  splashTicks_ = kSplashTicks - 1;
  Timer1Timer();
}

void TForm1::Timer1Timer() {
  splashTicks_ = std::min(splashTicks_ + 1, kSplashTicks);
  SetCaption(creditTitles_[static_cast<std::size_t>(splashTicks_)]);
  Repaint();
  tk::App().ProcessMessages();
  // A key press handled just now may have ended the splash already; ending it again is harmless.
  if (splashTicks_ == kSplashTicks) EndSplash();
}

void TForm1::EndSplash() {
  // The owner is the application's window with the taskbar button; from now on only the tray
  // icon shows the program.
  ShowWindow(GetWindow(Handle(), GW_OWNER), SW_HIDE);
  Timer1.SetEnabled(false);
  Hide();
  ClearKeyBuffer();
  vindelor::Shared().armed = true;  // whatever the Suspend item shows
}

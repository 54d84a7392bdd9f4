// Start-up of the credits form, the splash that cycles its title bar for five ticks, and the
// freeing of the images at shutdown.
#include <windows.h>

#include <algorithm>

#include "app/Arming.h"
#include "app/SharedState.h"
#include "capture/CaptureWindow.h"
#include "forms/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"

namespace {
constexpr char kInstanceMutexName[] = "Vindelor20";
constexpr std::int32_t kSplashTicks = 5;
constexpr char kTrayHint[] = "Vindelor® V2.0";
}  // namespace

void TForm1::Loaded() {
  // Timer1 runs from construction. The tray icon is set up in this order, so that its entry is
  // added once, with tip and picture, when it is shown last.
  WinTaskbar1.SetHint(kTrayHint);
  WinTaskbar1.SetIcon(tk::App().Icon());
  WinTaskbar1.OnClick = [this] { HelpClick(); };
  WinTaskbar1.SetPopUpMenu(&PopupMenu1);
  WinTaskbar1.SetShowIcon(true);
}

void TForm1::FormCreate() {
  HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
  const DWORD created = GetLastError();
  instanceMutex_.Reset(mutex);
  if (created == ERROR_ALREADY_EXISTS) throw tk::OrderlyExit{0};

  splashTicks_ = 0;
  vindelor::ApplyArmingRule(vindelor::ArmingEvent::CreditsFormCreated);
  creditTitles_ = {
      "                         Welcome to Vindelor®",
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
}

void TForm1::FormKeyPress(char& /*key*/) {
  // Only the splash ends by a key. Once it is over, the hidden form still becomes the foreground
  // window for the tray's menu and help box, and a key typed then must not arm the hotkeys of a
  // suspended program.
  if (!Timer1.Enabled()) return;
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
  // A start-up error box left open runs the ticks before the loop shows the splash; once over,
  // the splash must not come back.
  tk::App().showMainForm = false;
  Timer1.SetEnabled(false);
  Hide();
  ClearKeyBuffer();
  vindelor::ApplyArmingRule(vindelor::ArmingEvent::SplashEnded);
  // The program is resident now: a key that never reaches it must not leave it silent.
  vindelor::ReportRefusedHotkeys();
}

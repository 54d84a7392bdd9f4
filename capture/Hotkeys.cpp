// The Print Screen hotkeys: registered on the options dialog's window as the last step of its
// creation, and tested in the dialog's window procedure.
#include <windows.h>

#include <cstdint>
#include <string>

#include "app/SharedState.h"
#include "capture/CaptureWindow.h"
#include "forms/Unit2.h"
#include "toolkit/Dialogs.h"

namespace {
// The key both hotkeys use; set immediately before the registrations.
UINT g_hotkeyKeyCode = 0;
// Keys another program held when ours were registered, until the user has been told.
bool g_desktopKeyRefused = false;
bool g_windowKeyRefused = false;

constexpr char kUntilThenTrayMenu[] =
    " On Windows 11, switch off the Print screen key setting under Settings > Accessibility > "
    "Keyboard, then start Vindelor again. Until then, choose \"Print the Desktop\" in "
    "Vindelor's tray menu.";
}  // namespace

void vindelor::RegisterCaptureHotkeys(HWND dialog) {
  g_hotkeyKeyCode = VK_SNAPSHOT;
  // Both registrations are made whatever the first gives. A key that another program holds
  // (Windows 11's own screen capture keeps Print Screen by default) never arrives here, and the
  // user is told so once the splash is over (ReportRefusedHotkeys).
  g_desktopKeyRefused = !RegisterHotKey(dialog, kSourceDesktop, 0, g_hotkeyKeyCode);
  g_windowKeyRefused = !RegisterHotKey(dialog, kSourceActiveWindow, MOD_ALT, g_hotkeyKeyCode);
}

void vindelor::ReportRefusedHotkeys() {
  std::string text;
  if (g_desktopKeyRefused && g_windowKeyRefused) {
    text = std::string("Print Screen and Alt+Print Screen are already in use by another program, "
                       "so Vindelor cannot capture with them.") +
           kUntilThenTrayMenu;
  } else if (g_desktopKeyRefused) {
    text = std::string("Print Screen is already in use by another program, so Vindelor cannot "
                       "capture with it.") +
           kUntilThenTrayMenu;
  } else if (g_windowKeyRefused) {
    // Windows' own setting never takes Alt+Print Screen: some other program does.
    text = "Alt+Print Screen is already in use by another program, so Vindelor cannot capture "
           "windows with it. Close that program or turn off its shortcut, then start Vindelor "
           "again. Until then, use Print Screen and \"Select Rectangle\".";
  }
  g_desktopKeyRefused = g_windowKeyRefused = false;  // once a run
  if (text.empty()) return;
  MessageBeep(MB_ICONEXCLAMATION);
  tk::ShowInformation(text);
}

LRESULT TForm2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  auto& shared = vindelor::Shared();
  if (shared.armed && message == WM_HOTKEY) {
    const auto hotkey = static_cast<std::int32_t>(wParam);
    if (hotkey == vindelor::kSourceActiveWindow) {
      shared.captureSource = vindelor::kSourceActiveWindow;
      CaptureWindow();
    } else if (hotkey == vindelor::kSourceDesktop) {
      shared.captureSource = vindelor::kSourceDesktop;
      CaptureWindow();
    }
  }
  // Every message goes on to the form's own handling, also after a capture.
  return tk::Form::HandleMessage(message, wParam, lParam);
}

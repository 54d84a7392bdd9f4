// The Print Screen hotkeys: registered on the options dialog's window as the last step of its
// creation, and tested in the dialog's window procedure.
#include <windows.h>

#include <cstdint>

#include "app/SharedState.h"
#include "capture/CaptureWindow.h"
#include "forms/Unit2.h"

namespace {
// The key both hotkeys use; set immediately before the registrations.
UINT g_hotkeyKeyCode = 0;
}  // namespace

void vindelor::RegisterCaptureHotkeys(HWND dialog) {
  g_hotkeyKeyCode = VK_SNAPSHOT;
  // A failed registration (another program owns the key) is not reported: that hotkey simply
  // never arrives.
  (void)RegisterHotKey(dialog, kSourceDesktop, 0, g_hotkeyKeyCode);
  (void)RegisterHotKey(dialog, kSourceActiveWindow, MOD_ALT, g_hotkeyKeyCode);
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

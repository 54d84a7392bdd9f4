// The pixel copy at the heart of every capture, and the hotkeys that start one.
#pragma once

#include <windows.h>

namespace vindelor {

// Copies the whole window (title bar and frame included) into the work image, which takes the
// window's size and keeps its pixel format, and stores the window's rectangle as the capture
// rectangle. The desktop window stands for the virtual screen, every monitor, with black where
// no monitor shows anything. With no window nothing is copied and the work image stays as it was.
void CopyWindowIntoWorkImage(HWND source);

// Registers Print Screen and Alt+Print Screen as hotkeys of the dialog's window, noting a key
// that another program holds.
void RegisterCaptureHotkeys(HWND dialog);
// Tells the user, with the exclamation beep and an information message, which of the keys
// another program held at registration, so that Vindelor cannot capture with them; the
// splash's end calls it. Nothing when both are Vindelor's, and nothing a second time.
void ReportRefusedHotkeys();

}  // namespace vindelor

// The pixel copy at the heart of every capture, and the hotkeys that start one.
#pragma once

#include <windows.h>

namespace vindelor {

// Copies the whole window (title bar and frame included) into the work image, which takes the
// window's size and keeps its pixel format, and stores the window's rectangle as the capture
// rectangle. With no window nothing is copied and the work image stays as it was.
void CopyWindowIntoWorkImage(HWND source);

// Registers Print Screen and Alt+Print Screen as hotkeys of the dialog's window.
void RegisterCaptureHotkeys(HWND dialog);

}  // namespace vindelor

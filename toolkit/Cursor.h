// The mouse pointer: which of the program's windows lies under it, and hiding it (no shape over
// any window of the program) for as long as a HiddenCursor lives, such as while a capture
// copies the screen. When the last one goes, the window under the pointer chooses its cursor
// again, as it would on a mouse move.
#pragma once

#include <windows.h>

namespace tk {

// The window under the mouse pointer when it belongs to this program; null otherwise.
[[nodiscard]] HWND OwnWindowUnderPointer();

class HiddenCursor {
 public:
  HiddenCursor();
  HiddenCursor(const HiddenCursor&) = delete;
  HiddenCursor& operator=(const HiddenCursor&) = delete;
  ~HiddenCursor();

  // A window's WM_SETCURSOR: while the cursor is hidden, shows no shape and answers true.
  static bool KeepHidden();
};

}  // namespace tk

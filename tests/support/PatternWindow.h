// A top-level test window that paints a known pattern, so that captures and printed pages can
// be checked pixel by pixel: the left half white, the right half almost white (254, 255, 255),
// and a red square of 20 × 20 pixels at client (10, 10).
#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

namespace testing_support {

inline constexpr COLORREF kPatternWhite = RGB(255, 255, 255);
inline constexpr COLORREF kPatternAlmostWhite = RGB(254, 255, 255);
inline constexpr COLORREF kPatternRed = RGB(255, 0, 0);
inline constexpr RECT kPatternRedSquare{10, 10, 30, 30};

class PatternWindow {
 public:
  // Outer bounds in screen coordinates. The window is shown and brought to the foreground.
  explicit PatternWindow(RECT bounds, const char* title = "Vindelor test pattern");
  PatternWindow(const PatternWindow&) = delete;
  PatternWindow& operator=(const PatternWindow&) = delete;

  [[nodiscard]] HWND Handle() const noexcept { return window_.Get(); }
  [[nodiscard]] RECT WindowRect() const;
  // Offset of the client area's top-left corner from the window's top-left corner.
  [[nodiscard]] POINT ClientOffset() const;

 private:
  tk::UniqueWindow window_;
};

// The pattern's colour at a client position of a window of the given client width.
[[nodiscard]] COLORREF PatternColorAt(int x, int y, int clientWidth);

}  // namespace testing_support

// A test window with a known pattern, and the pixels of bitmaps as another program reads them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "toolkit/Handles.h"

namespace testing_support {

inline constexpr COLORREF kPatternRed = RGB(255, 0, 0);
inline constexpr RECT kPatternRedSquare{10, 10, 30, 30};  // in client coordinates

// A top-level window, shown in the foreground: its client area's left half is white, the right
// half almost white (254, 255, 255), with the red square on top. With a fill colour it is a
// borderless window of that one colour instead.
class PatternWindow {
 public:
  // Outer bounds on the screen.
  explicit PatternWindow(RECT bounds, std::optional<COLORREF> fill = std::nullopt);
  [[nodiscard]] HWND Handle() const noexcept { return window_.Get(); }
  [[nodiscard]] RECT WindowRect() const;
  // The client area's top-left corner, from the window's top-left corner.
  [[nodiscard]] POINT ClientOffset() const;

 private:
  tk::UniqueWindow window_;
};

struct Picture {
  int width = 0, height = 0, bitsPerPixel = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first
  [[nodiscard]] std::uint32_t At(int x, int y) const {
    return pixels.at(static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                     static_cast<std::size_t>(x));
  }
  bool operator==(const Picture&) const = default;
};
[[nodiscard]] Picture PictureOf(HBITMAP bitmap);
// What the screen shows in the rectangle (screen coordinates, on any monitor).
[[nodiscard]] Picture ScreenPicture(RECT area);
// The part of the picture at (left, top) of its own pixels, as large as the rectangle.
[[nodiscard]] Picture PartOf(const Picture& picture, RECT part);
// The clipboard's bitmap (empty when none), read once no other program holds it.
[[nodiscard]] Picture ClipboardPicture();

}  // namespace testing_support

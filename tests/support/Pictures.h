// A test window with a known pattern, and the pixels of bitmaps as another program reads them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string_view>
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
  // The pattern's pixels in a part of the client area (client coordinates), at the given depth.
  [[nodiscard]] struct Picture Pixels(RECT part, int bitsPerPixel) const;

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
  // The smallest rectangle holding every pixel (of the part) that is not white, or every pixel of
  // exactly the colour; empty when there is none.
  [[nodiscard]] RECT InkBounds() const { return Bounds({0, 0, width, height}, 0xFFFFFF, false); }
  [[nodiscard]] RECT InkBounds(RECT within) const { return Bounds(within, 0xFFFFFF, false); }
  [[nodiscard]] RECT BoundsOf(std::uint32_t colour) const {
    return Bounds({0, 0, width, height}, colour, true);
  }
  bool operator==(const Picture&) const = default;

 private:
  [[nodiscard]] RECT Bounds(RECT within, std::uint32_t colour, bool equal) const;
};
[[nodiscard]] Picture PictureOf(HBITMAP bitmap);
// What the screen shows in the rectangle (screen coordinates, on any monitor).
[[nodiscard]] Picture ScreenPicture(RECT area);
// The part of the picture at (left, top) of its own pixels, as large as the rectangle.
[[nodiscard]] Picture PartOf(const Picture& picture, RECT part);
// The clipboard's bitmap (empty when none), read once no other program holds it.
[[nodiscard]] Picture ClipboardPicture();
bool EmptyTheClipboard();  // once no other program holds it; false when it stays held
// The picture of a 24-bit BMP file's bytes; empty unless they are a whole such file.
[[nodiscard]] Picture BmpPicture(std::string_view file);

}  // namespace testing_support

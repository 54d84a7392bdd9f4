// A known picture over the whole screen for the big-screen benchmark, and the screen's pixels as
// the benchmark itself reads them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

#include "toolkit/Handles.h"

namespace bench {

// A borderless window covering the screen, at the bottom of the z-order so that every other
// window (the program's dialogs, the selection overlay, the tray) stays above it, never
// activated. It shows a grid of kColumns × kRows blocks, each of a colour of its own (none white),
// and in the bottom-right corner a magenta area whose last 32 × 32 pixels are a chequerboard of
// single black and yellow pixels framed by the screen's last column and row in black.
class ScreenPattern {
 public:
  static constexpr int kColumns = 8;
  static constexpr int kRows = 6;
  static constexpr COLORREF kCornerColour = RGB(255, 0, 255);

  ScreenPattern();
  [[nodiscard]] HWND Handle() const noexcept { return window_.Get(); }
  void Show(bool shown);  // shown again, it goes back to the bottom of the z-order

  // Block (column, row) on a screen of that size, and its colour.
  [[nodiscard]] static RECT Block(int column, int row, SIZE screen);
  [[nodiscard]] static COLORREF BlockColour(int column, int row);
  // The magenta corner area (its fine pattern included).
  [[nodiscard]] static RECT CornerArea(SIZE screen);

 private:
  tk::UniqueWindow window_;
};

// The screen's pixels at one moment, copied with BitBlt: 0xRRGGBB, top row first.
struct ScreenShot {
  int width = 0, height = 0;
  std::vector<std::uint32_t> pixels;
  [[nodiscard]] std::uint32_t At(int x, int y) const {
    return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                  static_cast<std::size_t>(x)];
  }
};
[[nodiscard]] ScreenShot TakeScreenShot();

[[nodiscard]] inline std::uint32_t Rgb(COLORREF colour) {
  return std::uint32_t{GetRValue(colour)} << 16 | std::uint32_t{GetGValue(colour)} << 8 |
         std::uint32_t{GetBValue(colour)};
}

}  // namespace bench

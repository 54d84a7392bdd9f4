// Images as tables of pixels for the output tests.
#pragma once

#include <windows.h>

#include <vector>

#include "toolkit/Bitmap.h"

namespace output_testing {

using Pixels = std::vector<std::vector<COLORREF>>;  // rows top to bottom, columns left to right

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// Sizes the image to the table and paints it; a monochrome image is made 1 bit first.
inline void Paint(tk::Bitmap& image, const Pixels& pixels, bool monochrome = false) {
  image.SetMonochrome(monochrome);
  image.SetSize(static_cast<int>(pixels[0].size()), static_cast<int>(pixels.size()));
  HDC surface = image.Surface();
  int y = 0;
  for (const auto& row : pixels) {
    int x = 0;
    for (COLORREF colour : row) SetPixel(surface, x++, y, colour);
    ++y;
  }
}

inline Pixels Read(tk::Bitmap& image) {
  Pixels pixels;
  HDC surface = image.SurfaceForReading();
  for (int y = 0; y < image.Height(); ++y) {
    auto& row = pixels.emplace_back();
    for (int x = 0; x < image.Width(); ++x) row.push_back(GetPixel(surface, x, y));
  }
  return pixels;
}

// Pixels that differ along both axes (in black and white, an irregular pattern).
inline Pixels Pattern(int width, int height, bool blackAndWhite = false) {
  Pixels pixels;
  for (int y = 0; y < height; ++y) {
    auto& row = pixels.emplace_back();
    for (int x = 0; x < width; ++x) {
      row.push_back(blackAndWhite ? ((x * 7 + y * 3) % 5 < 2 ? kWhite : kBlack)
                                  : RGB(x % 256, (y * 40) % 256, (x * 3 + 11) % 256));
    }
  }
  return pixels;
}

}  // namespace output_testing

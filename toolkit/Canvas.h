// A drawing canvas on a window's client area, with a pen and a brush that persist between
// drawing calls. While the window paints, the canvas draws on the paint context; at any other
// time each call takes the window's client context and gives it back at once.
#pragma once

#include <windows.h>

#include "toolkit/Font.h"

namespace tk {

class Bitmap;

struct PenSpec {
  int style = PS_SOLID;
  int width = 1;
  COLORREF color = kBlack;
  int mode = R2_COPYPEN;  // the raster mode of drawing with the pen
};

struct BrushSpec {
  bool hollow = false;  // hollow: no fill, and the pen's gaps leave the pixels beneath alone
  COLORREF color = kWhite;
};

class Canvas {
 public:
  explicit Canvas(HWND window) noexcept : window_(window) {}

  PenSpec pen;
  BrushSpec brush;

  void Rectangle(int x1, int y1, int x2, int y2);
  // Draws the bitmap at (x, y) at its own size, as a plain copy.
  void Draw(int x, int y, Bitmap& bitmap);

  // Bound by the form for the duration of WM_PAINT.
  void BindPaintDc(HDC dc) noexcept { paintDc_ = dc; }

 private:
  template <class F>
  void WithDc(F&& draw);

  HWND window_;
  HDC paintDc_ = nullptr;
};

}  // namespace tk

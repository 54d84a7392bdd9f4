#include "toolkit/Canvas.h"

#include "toolkit/Bitmap.h"
#include "toolkit/Handles.h"

namespace tk {

template <class F>
void Canvas::WithDc(F&& draw) {
  if (paintDc_) {
    draw(paintDc_);
    return;
  }
  WindowDc client(window_);
  draw(client.Get());
}

void Canvas::Rectangle(int x1, int y1, int x2, int y2) {
  WithDc([&](HDC dc) {
    UniquePen penObject{CreatePen(pen.style, pen.width, pen.color)};
    UniqueBrush brushObject{brush.hollow ? nullptr : CreateSolidBrush(brush.color)};
    SavedDcState keep(dc);
    SelectObject(dc, penObject.Get());
    SelectObject(dc, brush.hollow ? GetStockObject(NULL_BRUSH) : brushObject.Get());
    SetROP2(dc, pen.mode);
    SetBkMode(dc, brush.hollow ? TRANSPARENT : OPAQUE);
    ::Rectangle(dc, x1, y1, x2, y2);
  });
}

void Canvas::Draw(int x, int y, Bitmap& bitmap) {
  if (bitmap.Empty()) return;
  WithDc([&](HDC dc) {
    PaletteGuard palette(dc, bitmap.Palette());
    BitBlt(dc, x, y, bitmap.Width(), bitmap.Height(), bitmap.Surface(), 0, 0, SRCCOPY);
  });
}

}  // namespace tk

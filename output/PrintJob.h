// Pieces of the print job that benchmarks and tests use on their own.
#pragma once

#include <windows.h>

#include "output/PageLayout.h"
#include "toolkit/Bitmap.h"

namespace vindelor {

// The whole print image scaled into the rectangle: its file form handed to the printer when the
// printer stretches device-independent bitmaps itself, else the image's own pixels stretched.
// Throws tk::Error when nothing could be drawn.
void DrawPrintImage(HDC printerDc, tk::Bitmap& image, const PageRect& to);

}  // namespace vindelor

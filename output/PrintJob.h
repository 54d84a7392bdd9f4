// Pieces of the print job that benchmarks and tests use on their own.
#pragma once

#include <windows.h>

#include "output/BmpFile.h"
#include "output/PageLayout.h"

namespace vindelor {

// The whole print image scaled into the rectangle: its file form handed to the printer when the
// printer stretches device-independent bitmaps itself, else a screen-compatible copy stretched.
// The context's stretch mode and palette are as they were afterwards. Throws tk::Error when
// nothing could be drawn.
void DrawPrintImage(HDC printerDc, const FileForm& image, const PageRect& to);

}  // namespace vindelor

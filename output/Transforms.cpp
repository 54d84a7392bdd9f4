#include "output/Transforms.h"

#include <windows.h>

#include <utility>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"

namespace vindelor {

void ApplyTransforms(tk::Bitmap& image, bool monochrome, bool inverted, bool mirrored) {
  image.SetMonochrome(false);
  if (monochrome) image.SetMonochrome(true);
  if (inverted) InvertImage(image);
  if (mirrored) MirrorImage(image);
}

void InvertImage(tk::Bitmap& image) {
  if (image.Empty()) return;
  BitBlt(image.Surface(), 0, 0, image.Width(), image.Height(), nullptr, 0, 0, DSTINVERT);
}

void MirrorImage(tk::Bitmap& image) {
  if (image.Empty()) return;
  const int width = image.Width();
  const int height = image.Height();
  // The mirror is drawn into a new bitmap of the image's own format from the unchanged pixels,
  // which then replaces them: no column is read after it was written.
  HDC source = image.Surface();
  tk::UniqueBitmap mirrored{CreateCompatibleBitmap(source, width, height)};
  if (!mirrored) throw tk::Error("Out of system resources");
  {
    tk::UniqueMemoryDc target{CreateCompatibleDC(nullptr)};
    if (!target) throw tk::Error("Out of system resources");
    tk::SelectGuard keep(target.Get(), mirrored.Get());
    tk::PaletteGuard targetPalette(target.Get(), image.Palette());
    tk::PaletteGuard sourcePalette(source, image.Palette());
    // GDI takes the x of a rectangle of negative width as its rightmost column: the source
    // (W-1, -W) covers columns W-1 down to 0, so column x receives column W-1-x.
    if (!StretchBlt(target.Get(), 0, 0, width, height, source, width - 1, 0, -width, height,
                    SRCCOPY)) {
      throw tk::Error("The image could not be mirrored");
    }
  }
  image.Adopt(std::move(mirrored), width, height, image.Monochrome());
}

}  // namespace vindelor

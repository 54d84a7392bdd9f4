#include "output/Transforms.h"

#include <windows.h>

#include <algorithm>

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

namespace {

// Columns mirrored per step; the strip that holds one block is this wide.
constexpr int kMirrorBlock = 256;

// Copies columns [fromX, fromX + width) of `from` into [toX, toX + width) of `to`, mirrored.
// GDI takes the x of a rectangle of negative width as its rightmost column: the source
// (fromX + width - 1, -width) covers those columns from right to left.
void CopyMirrored(HDC to, int toX, HDC from, int fromX, int width, int height) {
  if (!StretchBlt(to, toX, 0, width, height, from, fromX + width - 1, 0, -width, height,
                  SRCCOPY)) {
    throw tk::Error("The image could not be mirrored");
  }
}

}  // namespace

void MirrorImage(tk::Bitmap& image) {
  if (image.Empty()) return;
  const int width = image.Width();
  const int height = image.Height();
  HDC surface = image.Surface();
  // In place, a block from each end at a time: the left block is kept mirrored in a strip, the
  // right block goes mirrored to the left, the strip to the right. No column is read after it
  // was written, and only one strip of pixels is needed beside the image.
  tk::UniqueBitmap strip{CreateCompatibleBitmap(surface, std::min(kMirrorBlock, width), height)};
  tk::UniqueMemoryDc stripDc{CreateCompatibleDC(surface)};
  if (!strip || !stripDc) throw tk::Error("Out of system resources");
  tk::SelectGuard keep(stripDc.Get(), strip.Get());
  tk::PaletteGuard stripPalette(stripDc.Get(), image.Palette());
  tk::PaletteGuard imagePalette(surface, image.Palette());
  for (int left = 0; left < width / 2; left += kMirrorBlock) {
    const int block = std::min(kMirrorBlock, width / 2 - left);
    const int right = width - left - block;
    CopyMirrored(stripDc.Get(), 0, surface, left, block, height);
    CopyMirrored(surface, left, surface, right, block, height);
    if (!BitBlt(surface, right, 0, block, height, stripDc.Get(), 0, 0, SRCCOPY)) {
      throw tk::Error("The image could not be mirrored");
    }
  }
}

}  // namespace vindelor

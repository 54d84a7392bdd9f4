// A device-dependent bitmap: either in the screen's format or one bit per pixel (monochrome),
// with a drawing surface (a memory context with the bitmap selected, white background, the
// window-text colour as text colour) and an optional palette.
//
// Its stamp tells copies of its content apart: a number no other content of any bitmap has had,
// renewed by every change and by every access that may change the pixels (the surface and the
// handle are taken for one operation each and never kept).
//
// Width and height changes keep the pixel format; the pixels that fit are kept, new ones are
// white.
#pragma once

#include <windows.h>

#include <cstdint>

#include "toolkit/Handles.h"

namespace tk {

class Bitmap {
 public:
  Bitmap() = default;
  Bitmap(const Bitmap&) = delete;
  Bitmap& operator=(const Bitmap&) = delete;
  ~Bitmap();

  [[nodiscard]] int Width() const noexcept { return width_; }
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] bool Empty() const noexcept { return width_ == 0 || height_ == 0; }
  void SetWidth(int width);
  void SetHeight(int height);
  void SetSize(int width, int height);

  [[nodiscard]] bool Monochrome() const noexcept { return monochrome_; }
  // Converts between the screen's format and one bit per pixel. Into one bit, pixels equal to
  // white stay white and all others turn black; back to colour, black takes the window-text
  // colour.
  void SetMonochrome(bool monochrome);

  // The drawing surface for raw pixel operations. Null when empty.
  [[nodiscard]] HDC Surface();
  // The bitmap handle (selected into the surface). Null when empty.
  [[nodiscard]] HBITMAP Handle();
  // The number of colour bits per pixel (planes × bits per plane): 1 when monochrome.
  [[nodiscard]] int BitsPerPixel();

  [[nodiscard]] HPALETTE Palette() const noexcept { return palette_.Get(); }
  void SetPalette(UniquePalette palette);

  // Replaces the content by a copy of another bitmap handle (its size and pixels, one bit per
  // pixel or the screen's format) and the palette by a copy of the one given, or by none.
  void AssignFrom(HBITMAP source, HPALETTE palette, bool monochrome);
  // A new bitmap of the same size and format with the same pixels; null when empty.
  [[nodiscard]] UniqueBitmap CopyPixels();
  // Takes ownership of a bitmap handle made elsewhere, in the format given.
  void Adopt(UniqueBitmap bitmap, int width, int height, bool monochrome);
  // Frees pixels and palette; the image becomes empty in the screen's format.
  void Clear();

  [[nodiscard]] std::uint64_t Stamp() const noexcept { return stamp_; }

  // A new bitmap of that size, one bit per pixel or in the screen's format, its pixels undefined.
  [[nodiscard]] static UniqueBitmap MakeBlank(int width, int height, bool monochrome);

 private:
  // Makes the bitmap handle agree with width_, height_ and monochrome_.
  void Realize();
  void Select(UniqueBitmap bitmap);
  // A new bitmap filled white, then overwritten by the source's pixels with the palette
  // realised on both sides.
  [[nodiscard]] UniqueBitmap CopyOf(HDC source, int width, int height, HPALETTE palette,
                                    bool monochrome) const;
  void PrepareSurface(HDC dc) const;
  void Renew() noexcept;  // a new stamp

  int width_ = 0;
  int height_ = 0;
  bool monochrome_ = false;
  int realizedWidth_ = 0;
  int realizedHeight_ = 0;
  bool realizedMonochrome_ = false;
  UniqueMemoryDc surface_;
  HGDIOBJ surfaceDefaultBitmap_ = nullptr;
  UniqueBitmap bitmap_;
  UniquePalette palette_;
  std::uint64_t stamp_ = 0;
};

}  // namespace tk

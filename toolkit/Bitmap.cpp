#include "toolkit/Bitmap.h"

#include <algorithm>
#include <vector>

#include "toolkit/Error.h"

namespace tk {
namespace {

std::uint64_t g_lastStamp = 0;

}  // namespace

void Bitmap::Renew() noexcept { stamp_ = ++g_lastStamp; }

Bitmap::~Bitmap() {
  if (surface_ && surfaceDefaultBitmap_) SelectObject(surface_.Get(), surfaceDefaultBitmap_);
}

void Bitmap::SetWidth(int width) { SetSize(width, height_); }
void Bitmap::SetHeight(int height) { SetSize(width_, height); }

void Bitmap::SetSize(int width, int height) {
  if (width < 0 || height < 0) throw Error("Invalid bitmap size");
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  Renew();
}

void Bitmap::SetMonochrome(bool monochrome) {
  // Converted at once, so that turning the format off and on again converts twice (a 1-bit
  // image goes through the window-text colour) rather than not at all.
  monochrome_ = monochrome;
  Realize();
}

HDC Bitmap::Surface() {
  Realize();
  if (!surface_) Select(UniqueBitmap{});
  Renew();
  return surface_.Get();
}

HBITMAP Bitmap::Handle() {
  Realize();
  Renew();
  return bitmap_.Get();
}

int Bitmap::BitsPerPixel() {
  Realize();
  if (monochrome_) return 1;
  if (bitmap_) {
    BITMAP info{};
    GetObjectA(bitmap_.Get(), sizeof(info), &info);
    return info.bmPlanes * info.bmBitsPixel;
  }
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.Get(), PLANES) * GetDeviceCaps(screen.Get(), BITSPIXEL);
}

void Bitmap::SetPalette(UniquePalette palette) {
  palette_ = std::move(palette);
  Renew();
}

void Bitmap::Adopt(UniqueBitmap bitmap, int width, int height, bool monochrome) {
  width_ = realizedWidth_ = width;
  height_ = realizedHeight_ = height;
  monochrome_ = realizedMonochrome_ = monochrome;
  Select(std::move(bitmap));
  Renew();
}

void Bitmap::AssignFrom(HBITMAP source, HPALETTE palette, bool monochrome) {
  BITMAP info{};
  if (!source || !GetObjectA(source, sizeof(info), &info)) throw Error("Invalid bitmap");
  UniqueBitmap copy;
  {
    UniqueMemoryDc from{CreateCompatibleDC(nullptr)};
    SelectGuard keepFrom(from.Get(), source);
    copy = CopyOf(from.Get(), info.bmWidth, info.bmHeight, palette, monochrome);
  }
  UniquePalette paletteCopy;
  if (palette) {
    WORD entries = 0;
    GetObjectA(palette, sizeof(entries), &entries);
    std::vector<std::uint8_t> buffer(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
    auto* logPalette = reinterpret_cast<LOGPALETTE*>(buffer.data());
    logPalette->palVersion = 0x300;
    logPalette->palNumEntries = entries;
    GetPaletteEntries(palette, 0, entries, logPalette->palPalEntry);
    paletteCopy.Reset(CreatePalette(logPalette));
  }
  Adopt(std::move(copy), info.bmWidth, info.bmHeight, monochrome);
  SetPalette(std::move(paletteCopy));
}

UniqueBitmap Bitmap::CopyPixels() {
  if (Empty()) return {};
  return CopyOf(Surface(), width_, height_, palette_.Get(), monochrome_);
}

void Bitmap::Clear() {
  width_ = height_ = realizedWidth_ = realizedHeight_ = 0;
  monochrome_ = realizedMonochrome_ = false;
  Select(UniqueBitmap{});
  palette_.Reset();
  Renew();
}

void Bitmap::Realize() {
  if (width_ == realizedWidth_ && height_ == realizedHeight_ &&
      monochrome_ == realizedMonochrome_) {
    return;
  }
  UniqueBitmap fresh;
  if (!Empty()) {
    fresh = MakeBlank(width_, height_, monochrome_);
    UniqueMemoryDc target{CreateCompatibleDC(nullptr)};
    PrepareSurface(target.Get());
    SelectGuard keep(target.Get(), fresh.Get());
    PaletteGuard targetPalette(target.Get(), palette_.Get());
    PatBlt(target.Get(), 0, 0, width_, height_, WHITENESS);
    if (bitmap_) {
      // The pixels that fit come along. Between formats the copy converts: into one bit, the
      // source's background colour (white) gives white and every other colour black; out of one
      // bit, black takes the target's text colour.
      PaletteGuard sourcePalette(surface_.Get(), palette_.Get());
      BitBlt(target.Get(), 0, 0, std::min(width_, realizedWidth_),
             std::min(height_, realizedHeight_), surface_.Get(), 0, 0, SRCCOPY);
    }
  }
  Select(std::move(fresh));
  Renew();
  realizedWidth_ = width_;
  realizedHeight_ = height_;
  realizedMonochrome_ = monochrome_;
}

void Bitmap::Select(UniqueBitmap bitmap) {
  if (!surface_) {
    surface_.Reset(CreateCompatibleDC(nullptr));
    if (!surface_) throw Error("Out of system resources");
    PrepareSurface(surface_.Get());
  }
  if (bitmap) {
    HGDIOBJ previous = SelectObject(surface_.Get(), bitmap.Get());
    if (!surfaceDefaultBitmap_) surfaceDefaultBitmap_ = previous;
  } else if (surfaceDefaultBitmap_) {
    SelectObject(surface_.Get(), surfaceDefaultBitmap_);
  }
  bitmap_ = std::move(bitmap);  // the previous bitmap, now deselected, is deleted here
}

UniqueBitmap Bitmap::MakeBlank(int width, int height, bool monochrome) {
  UniqueBitmap bitmap;
  if (monochrome) {
    bitmap.Reset(CreateBitmap(width, height, 1, 1, nullptr));
  } else {
    WindowDc screen(nullptr);
    bitmap.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
  }
  if (!bitmap) throw Error("Out of system resources");
  return bitmap;
}

UniqueBitmap Bitmap::CopyOf(HDC source, int width, int height, HPALETTE palette,
                            bool monochrome) const {
  UniqueBitmap copy = MakeBlank(width, height, monochrome);
  UniqueMemoryDc to{CreateCompatibleDC(nullptr)};
  PrepareSurface(to.Get());
  SelectGuard keepTo(to.Get(), copy.Get());
  PaletteGuard paletteFrom(source, palette);
  PaletteGuard paletteTo(to.Get(), palette);
  PatBlt(to.Get(), 0, 0, width, height, WHITENESS);
  BitBlt(to.Get(), 0, 0, width, height, source, 0, 0, SRCCOPY);
  return copy;
}

void Bitmap::PrepareSurface(HDC dc) const {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, RGB(255, 255, 255));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
}

}  // namespace tk

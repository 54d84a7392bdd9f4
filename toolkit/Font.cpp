#include "toolkit/Font.h"

#include <cstring>

#include "toolkit/Error.h"

namespace tk {

Font::Font(FontSpec spec) : spec_(std::move(spec)) { Remake(); }

void Font::SetHeight(int height) {
  if (height == spec_.height) return;
  spec_.height = height;
  Remake();
}

void Font::Remake() {
  LOGFONTA logFont{};
  logFont.lfHeight = spec_.height;
  logFont.lfWeight = spec_.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfCharSet = DEFAULT_CHARSET;
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily =
      static_cast<BYTE>((spec_.fixedPitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_DONTCARE));
  lstrcpynA(logFont.lfFaceName, spec_.face, LF_FACESIZE);
  HFONT font = CreateFontIndirectA(&logFont);
  if (!font) throw Error(FormatText("Cannot create the font '%s'", spec_.face));
  handle_.Reset(font);
}

int ScreenTextHeight(HFONT font) {
  WindowDc screen(nullptr);
  SelectGuard keep(screen.Get(), font);
  SIZE size{};
  GetTextExtentPoint32A(screen.Get(), "Tg", 2, &size);
  return size.cy;
}

int ScreenPixelsPerInch() {
  WindowDc screen(nullptr);
  return GetDeviceCaps(screen.Get(), LOGPIXELSY);
}

}  // namespace tk

// Fonts as the forms describe them: face, height in pixels (negative: character height, as the
// design tables give it), weight and colour.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/Handles.h"

namespace tk {

inline constexpr COLORREF kBlack = RGB(0, 0, 0);
inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kSilver = RGB(192, 192, 192);
inline constexpr COLORREF kRed = RGB(255, 0, 0);
inline constexpr COLORREF kGreen = RGB(0, 128, 0);
inline constexpr COLORREF kBlue = RGB(0, 0, 255);

struct FontSpec {
  const char* face = "MS Sans Serif";
  int height = -11;
  bool bold = false;
  COLORREF color = kBlack;
  bool fixedPitch = false;
};

// An HFONT made from a FontSpec, remade whenever the FontSpec changes.
class Font {
 public:
  explicit Font(FontSpec spec);
  [[nodiscard]] HFONT Handle() const noexcept { return handle_.Get(); }
  [[nodiscard]] const FontSpec& Spec() const noexcept { return spec_; }
  void SetHeight(int height);

 private:
  void Remake();
  FontSpec spec_;
  UniqueFont handle_;
};

// The height of a line of text in the font ("Tg"), as the screen measures it.
[[nodiscard]] int ScreenTextHeight(HFONT font);
// The screen's pixels per inch, as fonts are sized.
[[nodiscard]] int ScreenPixelsPerInch();

}  // namespace tk

// Integer scaling of form geometry (platform-neutral).
#pragma once

namespace tk {

// value × numerator / denominator, rounded to the nearest integer, halves away from zero.
// The product is formed in 64 bits, so no intermediate overflow.
[[nodiscard]] int ScaleRounded(int value, int numerator, int denominator);

// A scaling of form geometry by numerator/denominator. Font heights (in pixels, negative for a
// character height) scale as pixels, or, with pixelsPerInch set, as the font's whole point size
// at that resolution, turned back into pixels.
struct Scale {
  int numerator = 1;
  int denominator = 1;
  int pixelsPerInch = 0;

  [[nodiscard]] int Length(int value) const { return ScaleRounded(value, numerator, denominator); }
  [[nodiscard]] int FontHeight(int height) const;
};

}  // namespace tk

#include "toolkit/Scaling.h"

#include <cstdint>
#include <limits>
#include <stdexcept>

namespace tk {

int ScaleRounded(int value, int numerator, int denominator) {
  if (denominator == 0) throw std::invalid_argument("scaling by a zero denominator");
  std::int64_t product = std::int64_t{value} * numerator;
  std::int64_t divisor = denominator;
  if (divisor < 0) {
    product = -product;
    divisor = -divisor;
  }
  std::int64_t half = divisor / 2;
  std::int64_t scaled = product >= 0 ? (product + half) / divisor : -((-product + half) / divisor);
  if (scaled > std::numeric_limits<int>::max() || scaled < std::numeric_limits<int>::min()) {
    throw std::out_of_range("scaled value out of range");
  }
  return static_cast<int>(scaled);
}

int Scale::FontHeight(int height) const {
  if (pixelsPerInch == 0) return Length(height);
  int points = ScaleRounded(-height, 72, pixelsPerInch);
  return -ScaleRounded(Length(points), pixelsPerInch, 72);
}

}  // namespace tk

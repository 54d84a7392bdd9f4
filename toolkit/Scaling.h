// Integer scaling of form geometry (platform-neutral).
#pragma once

namespace tk {

// value × numerator / denominator, rounded to the nearest integer, halves away from zero.
// The product is formed in 64 bits, so no intermediate overflow.
[[nodiscard]] int ScaleRounded(int value, int numerator, int denominator);

}  // namespace tk

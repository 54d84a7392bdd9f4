// Rectangles of the desktop in screen pixels, and how a window lies on the monitors
// (platform-neutral).
#pragma once

#include <cstdint>
#include <vector>

namespace tk {

// Left and top inclusive, right and bottom exclusive, as Win32's RECT.
struct ScreenRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;

  bool operator==(const ScreenRect&) const = default;
};

// Whether at least half of a window's area lies on one monitor (pieces on several monitors do
// not add up), for a window at any position of the 32-bit range. An empty window lies on none.
[[nodiscard]] bool HalfOnOneMonitor(std::int32_t left, std::int32_t top, std::int32_t width,
                                    std::int32_t height, const std::vector<ScreenRect>& monitors);

// The parts of the area that no monitor shows (beside monitors of different heights, say), as
// rectangles that do not overlap; none when the monitors cover it.
[[nodiscard]] std::vector<ScreenRect> UncoveredParts(const ScreenRect& area,
                                                     const std::vector<ScreenRect>& monitors);

}  // namespace tk

#include "toolkit/ScreenArea.h"

#include <algorithm>

namespace tk {
namespace {

// How many pixels of [from, from + size) lie in [start, end), in 64 bits: no edge overflows.
std::int64_t Overlap(std::int64_t from, std::int64_t size, std::int64_t start, std::int64_t end) {
  return std::max<std::int64_t>(std::min(from + size, end) - std::max(from, start), 0);
}

}  // namespace

bool HalfOnOneMonitor(std::int32_t left, std::int32_t top, std::int32_t width,
                      std::int32_t height, const std::vector<ScreenRect>& monitors) {
  // Below 2^62, and so is each part of it on a monitor: twice that still fits.
  const std::int64_t area = std::int64_t{std::max(width, 0)} * std::max(height, 0);
  if (area == 0) return false;
  return std::ranges::any_of(monitors, [&](const ScreenRect& monitor) {
    return 2 * Overlap(left, width, monitor.left, monitor.right) *
               Overlap(top, height, monitor.top, monitor.bottom) >=
           area;
  });
}

}  // namespace tk

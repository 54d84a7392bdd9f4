#include "toolkit/ScreenArea.h"

#include <algorithm>
#include <utility>

namespace tk {
namespace {

// How many pixels of [from, from + size) lie in [start, end), in 64 bits: no edge overflows.
std::int64_t Overlap(std::int64_t from, std::int64_t size, std::int64_t start, std::int64_t end) {
  return std::max<std::int64_t>(std::min(from + size, end) - std::max(from, start), 0);
}

// Adds to parts what of piece lies outside hole: up to four rectangles, the bands above and
// below the hole across the whole piece, and the two sides between them.
void AddOutside(const ScreenRect& piece, const ScreenRect& hole, std::vector<ScreenRect>& parts) {
  const ScreenRect cut{std::max(piece.left, hole.left), std::max(piece.top, hole.top),
                       std::min(piece.right, hole.right), std::min(piece.bottom, hole.bottom)};
  if (cut.left >= cut.right || cut.top >= cut.bottom) {
    parts.push_back(piece);
    return;
  }
  const ScreenRect bands[] = {{piece.left, piece.top, piece.right, cut.top},
                              {piece.left, cut.bottom, piece.right, piece.bottom},
                              {piece.left, cut.top, cut.left, cut.bottom},
                              {cut.right, cut.top, piece.right, cut.bottom}};
  for (const ScreenRect& band : bands) {
    if (band.left < band.right && band.top < band.bottom) parts.push_back(band);
  }
}

}  // namespace

std::vector<ScreenRect> UncoveredParts(const ScreenRect& area,
                                       const std::vector<ScreenRect>& monitors) {
  std::vector<ScreenRect> parts;
  if (area.left < area.right && area.top < area.bottom) parts.push_back(area);
  for (const ScreenRect& monitor : monitors) {
    std::vector<ScreenRect> outside;
    for (const ScreenRect& piece : parts) AddOutside(piece, monitor, outside);
    parts = std::move(outside);
  }
  return parts;
}

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

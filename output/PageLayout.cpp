#include "output/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace vindelor {
namespace {

// Nearest integer, a half to the even neighbour: floor and the subtraction are exact. `value` lies in [0, 2^31 - 1], and so does the result.
int32_t RoundHalfToEven(long double value) {
  const long double whole = std::floor(value);
  const long double fraction = value - whole;
  auto result = static_cast<int32_t>(whole);
  if (fraction > 0.5L || (fraction == 0.5L && result % 2 != 0)) ++result;
  return result;
}

// Dots for one axis, clipped to the page. All arguments are >= 0.
int32_t AxisSize(int32_t page, int32_t printerDpi, int32_t screenDpi, int32_t image) {
  if (printerDpi <= screenDpi || screenDpi == 0) return page;
  // The ratio first, in extended precision, then times the pixels.
  const long double ratio = static_cast<long double>(printerDpi) / screenDpi;
  const long double size = static_cast<long double>(image) * ratio;
  // Clip before converting; rounding cannot lift a size <= page above it. Catches NaN too.
  if (!(size <= static_cast<long double>(page))) return page;
  return RoundHalfToEven(size);
}

}  // namespace

PagePlacement PlaceImageOnPage(const PageLayoutInput& input) {
  const int32_t pageWidth = std::max(input.pageWidth, 0);
  const int32_t pageHeight = std::max(input.pageHeight, 0);

  PagePlacement placement;
  if (input.stretched) {
    placement.width = pageWidth;
    placement.height = pageHeight;
  } else {
    placement.width = AxisSize(pageWidth, std::max(input.printerDpiX, 0),
                               std::max(input.screenDpiX, 0), std::max(input.imageWidth, 0));
    placement.height = AxisSize(pageHeight, std::max(input.printerDpiY, 0),
                                std::max(input.screenDpiY, 0), std::max(input.imageHeight, 0));
    if (input.centered) {
      placement.x = (pageWidth - placement.width) / 2;
      placement.y = (pageHeight - placement.height) / 2;
    }
  }
  placement.rect = {placement.x, placement.y, placement.x + placement.width,
                    placement.y + placement.height};
  return placement;
}

}  // namespace vindelor

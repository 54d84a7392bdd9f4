#include "output/PageLayout.h"

#include <algorithm>
#include <cmath>

namespace vindelor {
namespace {

// Nearest integer, a half to the even neighbour, as a whole number in long double: floor and
// the subtraction are exact.
long double RoundHalfToEven(long double value) {
  const long double whole = std::floor(value);
  const long double fraction = value - whole;
  if (fraction > 0.5L || (fraction == 0.5L && std::fmod(whole, 2.0L) != 0)) return whole + 1;
  return whole;
}

// The image's size on the page for one axis, unclipped, or nothing when the axis is not scaled
// (the printer is no finer than the screen, or the screen's resolution is unknown). All
// arguments are >= 0; the result is at most (2^31 - 1)^2, exact in long double.
bool ScaledSize(int32_t printerDpi, int32_t screenDpi, int32_t image, long double& size) {
  if (printerDpi <= screenDpi || screenDpi == 0) return false;
  // The ratio first, in extended precision, then times the pixels.
  const long double ratio = static_cast<long double>(printerDpi) / screenDpi;
  size = RoundHalfToEven(static_cast<long double>(image) * ratio);
  return true;
}

int32_t ClippedTo(int32_t page, long double size) {
  return size <= page ? static_cast<int32_t>(size) : page;
}

}  // namespace

PagePlacement PlaceImageOnPage(const PageLayoutInput& input) {
  const int32_t pageWidth = std::max(input.pageWidth, 0);
  const int32_t pageHeight = std::max(input.pageHeight, 0);

  PagePlacement placement{.width = pageWidth, .height = pageHeight};
  if (!input.stretched) {
    long double width = 0, height = 0;
    const bool scaledX = ScaledSize(std::max(input.printerDpiX, 0),
                                    std::max(input.screenDpiX, 0), std::max(input.imageWidth, 0),
                                    width);
    const bool scaledY = ScaledSize(std::max(input.printerDpiY, 0),
                                    std::max(input.screenDpiY, 0), std::max(input.imageHeight, 0),
                                    height);
    if (scaledX && scaledY && (width > pageWidth || height > pageHeight)) {
      // One factor for both axes keeps the proportions; a zero size never limits it.
      const long double factor = std::min(width > 0 ? pageWidth / width : 1.0L,
                                          height > 0 ? pageHeight / height : 1.0L);
      width = RoundHalfToEven(width * factor);
      height = RoundHalfToEven(height * factor);
    }
    if (scaledX) placement.width = ClippedTo(pageWidth, width);
    if (scaledY) placement.height = ClippedTo(pageHeight, height);
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

// Where a captured image goes on the printed page.
#pragma once

#include <cstdint>

namespace vindelor {

struct PageLayoutInput {
  int32_t pageWidth = 0;    // printable area in printer dots, less the date line if printed
  int32_t pageHeight = 0;
  int32_t printerDpiX = 0;  // printer dots per inch
  int32_t printerDpiY = 0;
  int32_t screenDpiX = 0;   // screen pixels per inch
  int32_t screenDpiY = 0;
  int32_t imageWidth = 0;   // pixels
  int32_t imageHeight = 0;
  bool stretched = false;   // fill the whole printable area
  bool centered = false;    // centre in the spare space (when not stretched)
};

struct PageRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  bool operator==(const PageRect&) const = default;
};

struct PagePlacement {
  int32_t x = 0;  // offset from the printable area's top-left corner
  int32_t y = 0;
  int32_t width = 0;
  int32_t height = 0;
  PageRect rect;  // x, y, x + width, y + height

  bool operator==(const PagePlacement&) const = default;
};

// On each axis the image keeps its size on screen (image pixels * printer dpi / screen dpi,
// the quotient taken first in long double, rounded half to even) when the printer's
// resolution is higher than the screen's, and spans the whole page otherwise. An image scaled
// on both axes that is then too big for the page shrinks by one factor on both, the smaller of
// page / size, so that it keeps its proportions and touches the page on one axis; an axis that
// is scaled alone is clipped to the page. Stretched fills the page; Centered shares the spare
// space evenly (the odd dot goes right or below).
//
// Defined for every input: negative sizes and resolutions count as 0, so the rectangle
// always lies within 0..pageWidth x 0..pageHeight. A screen resolution of 0 cannot say how
// big the image was, so that axis spans the page; an image of 0 pixels on an axis that is
// scaled gets 0 dots.
PagePlacement PlaceImageOnPage(const PageLayoutInput& input);

}  // namespace vindelor

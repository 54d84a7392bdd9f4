// libFuzzer target for the BMP reader: any input is refused with BmpFormatError or accepted with
// spans that hold what the header says; every byte of them is read, so ASan sees any overrun.
#include <cstdlib>

#include "output/BmpFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vindelor;
  ParsedBmp bmp;
  try {
    bmp = ParseBmp({data, size});
  } catch (const BmpFormatError&) {
    return 0;
  }
  volatile uint8_t sink = 0;
  for (auto part : {bmp.infoAndColors, bmp.pixels})
    for (uint8_t b : part) sink = uint8_t(sink ^ b);
  const uint64_t rows = uint64_t(std::abs(int64_t{bmp.height}));
  const bool ok =
      bmp.empty
          ? size == 0
          : bmp.width > 0 && rows > 0 && bmp.planes == 1 && bmp.infoAndColors.data() == data + 14 &&
                bmp.pixels.data() == bmp.infoAndColors.data() + bmp.infoAndColors.size() &&
                bmp.pixels.size() ==
                    (uint64_t(bmp.width) * bmp.bitsPerPixel + 31) / 32 * 4 * rows &&
                ToInfoHeaderForm(bmp).size() == 40 + 4 * uint64_t{bmp.colorEntries};
  if (!ok) std::abort();
  return 0;
}

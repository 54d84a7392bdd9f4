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
  const auto& info = bmp.infoAndColors;
  const uint64_t rows = uint64_t(std::abs(int64_t{bmp.height}));
  const uint64_t rowBytes = (uint64_t(bmp.width) * bmp.bitsPerPixel + 31) / 32 * 4;
  if (bmp.empty
          ? size != 0
          : bmp.width <= 0 || rows == 0 || bmp.planes != 1 || info.data() != data + 14 ||
                bmp.pixels.data() != info.data() + info.size() ||
                bmp.pixels.size() != rowBytes * rows || bmp.monochrome != (bmp.bitsPerPixel == 1) ||
                ToInfoHeaderForm(bmp).size() != 40 + 4 * uint64_t{bmp.colorEntries})
    std::abort();
  return 0;
}

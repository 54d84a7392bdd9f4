// libFuzzer target for the BMP reader: any input is either refused with BmpFormatError or
// accepted with spans that lie inside it. Every byte of the spans is read so that ASan
// reports any overrun, and what the writer can write again must read back the same.
#include "output/BmpFormat.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

uint8_t Touch(std::span<const uint8_t> bytes) {
  uint8_t sum = 0;
  for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum ^ b);
  return sum;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckRoundTrip(const vindelor::ParsedBmp& bmp, std::span<const uint8_t> info) {
  const uint16_t bpp = bmp.bitsPerPixel;
  const uint32_t fullTable = bpp <= 8 ? 1u << bpp : 0u;
  if (bmp.height < 0 || bpp == 16 || bpp == 32 || bmp.colorEntries != fullTable) return;
  vindelor::DibImage image{bmp.width, bmp.height, bpp, {}, {bmp.pixels.begin(), bmp.pixels.end()}};
  for (size_t at = 40; at < info.size(); at += 4) {
    image.colorTable.push_back(uint32_t{info[at]} | uint32_t{info[at + 1]} << 8 |
                               uint32_t{info[at + 2]} << 16);
  }
  const std::vector<uint8_t> file = vindelor::EncodeBmp(image);
  const vindelor::ParsedBmp again = vindelor::ParseBmp(file);
  Check(again.width == bmp.width && again.height == bmp.height && again.bitsPerPixel == bpp);
  Check(std::equal(again.pixels.begin(), again.pixels.end(), bmp.pixels.begin(), bmp.pixels.end()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::span<const uint8_t> file(data, size);
  vindelor::ParsedBmp bmp;
  try {
    bmp = vindelor::ParseBmp(file);
  } catch (const vindelor::BmpFormatError&) {
    return 0;
  }
  if (bmp.empty) {
    Check(size == 0);
    return 0;
  }
  volatile uint8_t sink = Touch(bmp.infoAndColors) ^ Touch(bmp.pixels);
  static_cast<void>(sink);

  Check(bmp.width > 0 && bmp.height != 0 && bmp.planes == 1);
  Check(bmp.infoAndColors.data() == data + 14);
  Check(bmp.infoAndColors.size() == bmp.headerSize + uint64_t{bmp.colorEntries} * bmp.colorEntrySize);
  Check(bmp.pixels.data() == bmp.infoAndColors.data() + bmp.infoAndColors.size());
  Check(bmp.pixels.size() <= size - 14 - bmp.infoAndColors.size());
  const uint64_t rows = bmp.height < 0 ? uint64_t{0} - static_cast<uint64_t>(bmp.height)
                                       : static_cast<uint64_t>(bmp.height);
  Check(bmp.pixels.size() == uint64_t{vindelor::BmpRowSize(bmp.width, bmp.bitsPerPixel)} * rows);

  const std::vector<uint8_t> info = vindelor::ToInfoHeaderForm(bmp);
  Check(info.size() == 40 + uint64_t{4} * bmp.colorEntries);
  sink = Touch(info);
  CheckRoundTrip(bmp, info);
  return 0;
}

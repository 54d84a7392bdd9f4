// Writes the seed corpus of the BMP reader fuzzer: small files from the writer at every depth
// it writes, and two turned into the old 12-byte-header form.
// Usage: make_bmp_seeds OUTPUT_DIR   (the build target bmp_seed_corpus runs it)
#include "output/BmpFormat.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

vindelor::DibImage MakeImage(int32_t width, int32_t height, uint16_t bpp) {
  vindelor::DibImage image{width, height, bpp, {}, {}};
  if (bpp <= 8) {
    for (uint32_t i = 0; i < (1u << bpp); ++i) image.colorTable.push_back(i * 0x00030507u & 0xFFFFFFu);
  }
  image.pixels.resize(size_t{vindelor::BmpRowSize(width, bpp)} * static_cast<size_t>(height));
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 37 + 11);
  return image;
}

void Put(Bytes& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The writer's 40-byte header and 4-byte colour entries rewritten as 12 and 3 bytes.
Bytes ToCoreHeader(const Bytes& file) {
  const vindelor::ParsedBmp bmp = vindelor::ParseBmp(file);
  const uint32_t offset = 14 + 12 + 3 * bmp.colorEntries;
  Bytes out{'B', 'M'};
  Put(out, offset + static_cast<uint32_t>(bmp.pixels.size()), 4);
  Put(out, 0, 4);
  Put(out, offset, 4);
  Put(out, 12, 4);
  Put(out, static_cast<uint32_t>(bmp.width), 2);
  Put(out, static_cast<uint32_t>(bmp.height), 2);
  Put(out, bmp.planes, 2);
  Put(out, bmp.bitsPerPixel, 2);
  for (uint32_t i = 0; i < bmp.colorEntries; ++i) {
    const auto entry = bmp.infoAndColors.subspan(40 + 4 * size_t{i}, 3);
    out.insert(out.end(), entry.begin(), entry.end());
  }
  out.insert(out.end(), bmp.pixels.begin(), bmp.pixels.end());
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_bmp_seeds OUTPUT_DIR\n";
    return 2;
  }
  const std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);
  const std::pair<const char*, Bytes> seeds[] = {
      {"1bit.bmp", vindelor::EncodeBmp(MakeImage(13, 3, 1))},
      {"4bit.bmp", vindelor::EncodeBmp(MakeImage(5, 2, 4))},
      {"8bit.bmp", vindelor::EncodeBmp(MakeImage(3, 2, 8))},
      {"24bit.bmp", vindelor::EncodeBmp(MakeImage(2, 2, 24))},
      {"core-4bit.bmp", ToCoreHeader(vindelor::EncodeBmp(MakeImage(5, 2, 4)))},
      {"core-24bit.bmp", ToCoreHeader(vindelor::EncodeBmp(MakeImage(2, 2, 24)))},
  };
  for (const auto& [name, bytes] : seeds) {
    std::ofstream out(dir / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
      std::cerr << "cannot write " << (dir / name).string() << '\n';
      return 1;
    }
  }
  return 0;
}

// The BMP layout and reader. The Windows tests take EncodeBmp as the reference for the files the
// program writes, so its bytes are checked here field by field.
#include "output/BmpFormat.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <limits>
#include <string>
#include <utility>
#include <vector>

namespace vindelor {
namespace {

using Bytes = std::vector<uint8_t>;

uint32_t Get32(const Bytes& b, size_t at) {
  return uint32_t{b.at(at)} | uint32_t{b.at(at + 1)} << 8 | uint32_t{b.at(at + 2)} << 16 |
         uint32_t{b.at(at + 3)} << 24;
}
void Set32(Bytes& b, size_t at, uint32_t v) {
  for (size_t i = 0; i < 4; ++i) b.at(at + i) = static_cast<uint8_t>(v >> (8 * i));
}
void Set16(Bytes& b, size_t at, uint32_t v) {
  b.at(at) = static_cast<uint8_t>(v);
  b.at(at + 1) = static_cast<uint8_t>(v >> 8);
}
Bytes Pattern(size_t n, uint8_t seed) {
  Bytes out(n);
  for (size_t i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(seed + 7 * i);
  return out;
}

DibImage MakeImage(int32_t width, int32_t height, uint16_t bpp) {
  DibImage image{width, height, bpp, {}, {}};
  if (bpp <= 8) {
    // The top byte is set on purpose: the writer must store the reserved byte as 0.
    for (uint32_t i = 0; i < (1u << bpp); ++i) {
      image.colorTable.push_back(0xAB000000u | i * 0x010305u);
    }
  }
  image.pixels = Pattern(size_t{BmpRowSize(width, bpp)} * static_cast<size_t>(height), 3);
  return image;
}

// A file with the old 12-byte header, written out by hand.
Bytes CoreFile(uint16_t width, uint16_t height, uint16_t bpp) {
  const size_t entries = bpp <= 8 ? size_t{1} << bpp : 0;
  Bytes f(14 + 12 + 3 * entries);
  f[0] = 'B';
  f[1] = 'M';
  Set32(f, 14, 12);
  Set16(f, 18, width);
  Set16(f, 20, height);
  Set16(f, 22, 1);
  Set16(f, 24, bpp);
  for (size_t i = 0; i < 3 * entries; ++i) f[26 + i] = static_cast<uint8_t>(i);
  const Bytes pixels = Pattern(size_t{BmpRowSize(width, bpp)} * height, 5);
  f.insert(f.end(), pixels.begin(), pixels.end());
  return f;
}

TEST(BmpFormat, WritesTheLayoutAndReadsItBack) {
  struct Case { uint16_t bpp; int32_t width; int32_t height; uint32_t rowSize; uint32_t offset; };
  const Case cases[] = {{1, 101, 3, 16, 62}, {4, 9, 2, 8, 118}, {8, 5, 2, 8, 1078},
                        {24, 1, 2, 4, 54},   {24, 4, 3, 12, 54}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bpp) + " bpp, width " + std::to_string(c.width));
    const DibImage image = MakeImage(c.width, c.height, c.bpp);
    const Bytes f = EncodeBmp(image);
    const uint32_t imageSize = c.rowSize * static_cast<uint32_t>(c.height);
    ASSERT_EQ(f.size(), c.offset + imageSize);
    EXPECT_EQ(std::string(f.begin(), f.begin() + 2), "BM");
    // From the file size to the important colours: 32-bit fields, planes and depth as one.
    const uint32_t header[] = {static_cast<uint32_t>(f.size()), 0, c.offset, 40,
                               static_cast<uint32_t>(c.width), static_cast<uint32_t>(c.height),
                               1u | uint32_t{c.bpp} << 16, 0, imageSize, 0, 0, 0, 0};
    for (size_t i = 0; i < std::size(header); ++i) {
      EXPECT_EQ(Get32(f, 2 + 4 * i), header[i]) << "offset " << 2 + 4 * i;
    }
    for (size_t i = 0; i < image.colorTable.size(); ++i) {
      EXPECT_EQ(Get32(f, 54 + 4 * i), image.colorTable[i] & 0xFFFFFFu) << "entry " << i;
    }
    EXPECT_EQ(Bytes(f.begin() + c.offset, f.end()), image.pixels);

    const ParsedBmp bmp = ParseBmp(f);
    EXPECT_EQ(bmp.width, c.width);
    EXPECT_EQ(bmp.height, c.height);
    EXPECT_EQ(bmp.bitsPerPixel, c.bpp);
    EXPECT_EQ(bmp.monochrome, c.bpp == 1);
    EXPECT_EQ(bmp.colorEntries, image.colorTable.size());
    EXPECT_EQ(Bytes(bmp.pixels.begin(), bmp.pixels.end()), image.pixels);
    EXPECT_EQ(ToInfoHeaderForm(bmp), Bytes(f.begin() + 14, f.begin() + c.offset));
  }
}

TEST(BmpFormat, ImageWithoutPixelsIsAnEmptyFile) {
  EXPECT_TRUE(EncodeBmp({0, 5, 24, {}, {}}).empty());
  EXPECT_TRUE(EncodeBmp({7, 0, 8, {}, {}}).empty());
  const ParsedBmp bmp = ParseBmp({});
  EXPECT_TRUE(bmp.empty);
  EXPECT_TRUE(ToInfoHeaderForm(bmp).empty());
}

TEST(BmpFormat, DepthsAndRowSizes) {
  const std::pair<uint16_t, uint16_t> depths[] = {{1, 1},   {4, 4},   {8, 8},
                                                  {16, 24}, {24, 24}, {32, 24}};
  for (auto [device, written] : depths) EXPECT_EQ(BmpWrittenDepth(device), written) << device;
  EXPECT_EQ(BmpRowSize(1, 32), 4u);
  EXPECT_THROW(BmpRowSize(-1, 24), std::invalid_argument);
  EXPECT_THROW(BmpRowSize(std::numeric_limits<int32_t>::max(), 24), std::invalid_argument);
}

TEST(BmpFormat, ReadsTheOldCoreHeaderAndGivesItTheInfoHeaderForm) {
  const Bytes f = CoreFile(10, 2, 4);
  const ParsedBmp bmp = ParseBmp(f);
  EXPECT_EQ(Bytes(bmp.pixels.begin(), bmp.pixels.end()), Pattern(16, 5));
  const Bytes info = ToInfoHeaderForm(bmp);
  ASSERT_EQ(info.size(), 40u + 64u);
  // Size, width 10, height 2, 1 plane of 4 bits, no compression, 16 bytes of pixels,
  // resolutions 0, 16 colours used.
  const uint32_t header[] = {40, 10, 2, 1 | 4 << 16, 0, 16, 0, 0, 16, 0};
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(Get32(info, 4 * i), header[i]) << "field " << i;
  const uint32_t entry5 = 15 | 16 << 8 | 17 << 16;  // bytes 15, 16, 17 of the 3-byte table
  EXPECT_EQ(Get32(info, 40 + 4 * 5), entry5);
}

TEST(BmpFormat, AcceptsLayoutsTheWriterDoesNotProduce) {
  struct Case {
    const char* name;
    std::function<void(Bytes&)> mutate;
    int32_t height;
    uint32_t entries;
    uint16_t bpp;
  };
  const Case cases[] = {
      {"top-down rows", [](Bytes& f) { Set32(f, 22, static_cast<uint32_t>(-2)); }, -2, 256, 8},
      {"short colour table", [](Bytes& f) { Set32(f, 46, 2); }, 2, 2, 8},
      {"table before 24-bit rows", [](Bytes& f) { Set16(f, 28, 24); Set32(f, 46, 5); }, 2, 5, 24},
      {"16 bpp", [](Bytes& f) { Set16(f, 28, 16); }, 2, 0, 16},
      {"32 bpp", [](Bytes& f) { Set16(f, 28, 32); }, 2, 0, 32},
      {"odd size and offset", [](Bytes& f) { Set32(f, 2, 1); Set32(f, 10, 99999); }, 2, 256, 8},
      {"trailing bytes", [](Bytes& f) { f.resize(f.size() + 9, 0xEE); }, 2, 256, 8},
  };
  for (const Case& c : cases) {
    Bytes f = EncodeBmp(MakeImage(3, 2, 8));
    c.mutate(f);
    const ParsedBmp bmp = ParseBmp(f);
    EXPECT_EQ(bmp.height, c.height) << c.name;
    EXPECT_EQ(bmp.colorEntries, c.entries) << c.name;
    EXPECT_EQ(bmp.pixels.data(), f.data() + 14 + 40 + 4 * size_t{c.entries}) << c.name;
    EXPECT_EQ(bmp.pixels.size(), 2 * BmpRowSize(3, c.bpp)) << c.name;
  }
}

TEST(BmpFormat, RejectsFilesTheWin32SideCouldNotDrawSafely) {
  const uint32_t kMax = std::numeric_limits<uint32_t>::max();
  const std::pair<const char*, std::function<void(Bytes&)>> cases[] = {
      {"13 bytes", [](Bytes& f) { f.resize(13); }},
      {"no BM", [](Bytes& f) { f[1] = 'A'; }},
      {"header size 41", [](Bytes& f) { Set32(f, 14, 41); }},
      {"header size 108", [](Bytes& f) { Set32(f, 14, 108); }},
      {"width 0", [](Bytes& f) { Set32(f, 18, 0); }},
      {"width -1", [kMax](Bytes& f) { Set32(f, 18, kMax); }},
      {"height 0", [](Bytes& f) { Set32(f, 22, 0); }},
      {"height -2^31", [](Bytes& f) { Set32(f, 22, 0x80000000u); }},
      {"planes 0", [](Bytes& f) { Set16(f, 26, 0); }},
      {"planes 2", [](Bytes& f) { Set16(f, 26, 2); }},
      {"2 bpp", [](Bytes& f) { Set16(f, 28, 2); }},
      {"64 bpp", [](Bytes& f) { Set16(f, 28, 64); }},
      {"compressed", [](Bytes& f) { Set32(f, 30, 1); }},
      {"257 colours at 8 bpp", [](Bytes& f) { Set32(f, 46, 257); }},
      {"3 colours at 1 bpp", [](Bytes& f) { Set16(f, 28, 1); Set32(f, 46, 3); }},
      {"2^32-1 colours at 24 bpp", [kMax](Bytes& f) { Set16(f, 28, 24); Set32(f, 46, kMax); }},
      {"one row too many", [](Bytes& f) { Set32(f, 22, 3); }},
      {"one row too many, top-down", [](Bytes& f) { Set32(f, 22, static_cast<uint32_t>(-3)); }},
      {"size product overflows",
       [](Bytes& f) { Set32(f, 18, 0x7FFFFFFF); Set32(f, 22, 0x7FFFFFFF); Set16(f, 28, 32); }},
      {"row bits wrap to 0 in 32 bits", [](Bytes& f) { Set32(f, 18, 0x20000000); }},
      {"pixel bytes wrap to 0 in 32 bits",
       [](Bytes& f) { Set32(f, 18, 0x10000); Set32(f, 22, 0x10000); }},
      {"core: width 0", [](Bytes& f) { f = CoreFile(3, 2, 8); Set16(f, 18, 0); }},
      {"core: rows beyond the end", [](Bytes& f) { f = CoreFile(3, 2, 8); Set16(f, 20, 0xFFFF); }},
  };
  for (const auto& [name, mutate] : cases) {
    Bytes f = EncodeBmp(MakeImage(3, 2, 8));
    mutate(f);
    EXPECT_THROW(ParseBmp(f), BmpFormatError) << name;
  }
}

TEST(BmpFormat, EveryTruncationFailsCleanly) {
  Bytes topDown = EncodeBmp(MakeImage(5, 3, 24));
  Set32(topDown, 22, static_cast<uint32_t>(-3));
  for (const Bytes& f : {EncodeBmp(MakeImage(9, 2, 4)), topDown, CoreFile(10, 2, 4)}) {
    ASSERT_NO_THROW(ParseBmp(f));
    for (size_t length = 1; length < f.size(); ++length) {
      // A copy of exactly `length` bytes, so that ASan sees any read past it.
      const Bytes cut(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(length));
      EXPECT_THROW(ParseBmp(cut), BmpFormatError) << "length " << length << " of " << f.size();
    }
  }
}

}  // namespace
}  // namespace vindelor

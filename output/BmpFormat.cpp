#include "output/BmpFormat.h"

#include <algorithm>
#include <cstddef>
#include <limits>
#include <string>

namespace vindelor {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER
constexpr uint64_t kMaxSize32 = std::numeric_limits<uint32_t>::max();

void Put16(std::span<uint8_t> out, size_t offset, uint16_t value) {
  out[offset] = static_cast<uint8_t>(value & 0xFFu);
  out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

void Put32(std::span<uint8_t> out, size_t offset, uint32_t value) {
  for (size_t i = 0; i < 4; ++i) out[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFFu);
}

[[noreturn]] void Fail(const char* why) { throw BmpFormatError(std::string("Invalid BMP file: ") + why); }

// Every read is bounds-checked, so a wrong offset can only ever give an error.
uint32_t Read(std::span<const uint8_t> bytes, size_t offset, size_t count) {
  if (offset > bytes.size() || bytes.size() - offset < count) Fail("truncated header");
  uint32_t value = 0;
  for (size_t i = count; i-- > 0;) value = (value << 8) | bytes[offset + i];
  return value;
}

uint16_t Read16(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint16_t>(Read(bytes, offset, 2));
}
uint32_t Read32(std::span<const uint8_t> bytes, size_t offset) { return Read(bytes, offset, 4); }
int32_t ReadS32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<int32_t>(Read(bytes, offset, 4));
}

bool IsKnownDepth(uint16_t bpp) {
  return bpp == 1 || bpp == 4 || bpp == 8 || bpp == 16 || bpp == 24 || bpp == 32;
}

// Entries of a complete colour table: palette depths only.
uint32_t FullTableEntries(uint16_t bpp) { return bpp <= 8 ? 1u << bpp : 0u; }

// Width up to 2^31 and depth up to 32 cannot overflow 64 bits here.
uint64_t RowSize64(uint32_t width, uint16_t bpp) {
  return (uint64_t{width} * bpp + 31) / 32 * 4;
}

}  // namespace

uint16_t BmpWrittenDepth(uint16_t deviceDepth) {
  return deviceDepth == 16 || deviceDepth == 32 ? uint16_t{24} : deviceDepth;
}

BmpLayout PlanBmp(int32_t width, int32_t height, uint16_t bitsPerPixel) {
  if (width <= 0 || height <= 0) throw std::invalid_argument("PlanBmp: no pixels");
  if (bitsPerPixel != 1 && bitsPerPixel != 4 && bitsPerPixel != 8 && bitsPerPixel != 24) {
    throw std::invalid_argument("PlanBmp: depth must be 1, 4, 8 or 24 bits");
  }
  // At most about 2^33 bytes a row times 2^31 rows: still fits 64 bits.
  const uint64_t pixelBytes =
      RowSize64(static_cast<uint32_t>(width), bitsPerPixel) * static_cast<uint64_t>(height);
  const uint32_t entries = FullTableEntries(bitsPerPixel);
  const uint64_t pixelOffset = kFileHeaderSize + kInfoHeaderSize + uint64_t{4} * entries;
  if (pixelOffset + pixelBytes > kMaxSize32) {
    throw std::invalid_argument("PlanBmp: file would reach 4 GiB");
  }
  return {entries, static_cast<uint32_t>(pixelOffset), static_cast<uint32_t>(pixelBytes),
          static_cast<uint32_t>(pixelOffset + pixelBytes)};
}

void WriteBmpHeaders(std::span<uint8_t> file, const BmpLayout& layout, int32_t width,
                     int32_t height, uint16_t bitsPerPixel, std::span<const uint32_t> colorTable) {
  if (file.size() < layout.pixelOffset || colorTable.size() < layout.colorEntries) {
    throw std::invalid_argument("WriteBmpHeaders: too little room or too few colours");
  }
  // File header.
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, layout.fileSize);
  Put32(file, 6, 0);  // reserved
  Put32(file, 10, layout.pixelOffset);
  // Info header; positive height: bottom row first. Compression (BI_RGB), resolutions, colours
  // used (the whole table) and important colours (all) are 0.
  std::fill(file.begin() + 14, file.begin() + kFileHeaderSize + kInfoHeaderSize, uint8_t{0});
  Put32(file, 14, kInfoHeaderSize);
  Put32(file, 18, static_cast<uint32_t>(width));
  Put32(file, 22, static_cast<uint32_t>(height));
  Put16(file, 26, 1);
  Put16(file, 28, bitsPerPixel);
  Put32(file, 34, layout.pixelBytes);
  for (uint32_t i = 0; i < layout.colorEntries; ++i) {
    Put32(file, kFileHeaderSize + kInfoHeaderSize + 4 * size_t{i}, colorTable[i] & 0x00FFFFFFu);
  }
}

std::vector<uint8_t> EncodeBmp(const DibImage& image) {
  if (image.width < 0 || image.height < 0) throw std::invalid_argument("EncodeBmp: negative size");
  if (image.width == 0 || image.height == 0) return {};
  const BmpLayout layout = PlanBmp(image.width, image.height, image.bitsPerPixel);
  if (image.colorTable.size() != layout.colorEntries) {
    throw std::invalid_argument("EncodeBmp: colour table size does not match the depth");
  }
  if (image.pixels.size() != layout.pixelBytes) {
    throw std::invalid_argument("EncodeBmp: pixel buffer size does not match the image size");
  }
  std::vector<uint8_t> file(layout.fileSize);
  WriteBmpHeaders(file, layout, image.width, image.height, image.bitsPerPixel, image.colorTable);
  std::copy(image.pixels.begin(), image.pixels.end(), file.begin() + layout.pixelOffset);
  return file;
}

// Rules for reading:
//  - 0 bytes is an empty image. Otherwise the 14-byte file header must be there and start
//    with "BM"; its size and pixel offset fields are not used.
//  - The info header that follows is 40 bytes (BITMAPINFOHEADER, 4-byte colour entries) or
//    12 bytes (BITMAPCOREHEADER: 16-bit width and height, 3-byte colour entries).
//  - The colour table follows the header; it has `colours used` entries when that field of
//    a 40-byte header is not 0, otherwise 2^bpp entries for 1, 4 and 8 bits and none for
//    more. The pixels follow the table directly; bytes after them are ignored.
//  - Refused, so that the Win32 side never hands GDI something that makes it read past our
//    buffer or fail: width <= 0, height 0 (or -2^31, which has no positive counterpart),
//    planes other than 1, a depth other than 1/4/8/16/24/32, more colours used than the
//    depth allows, and a colour table or pixel rows (row size * |height|) that the file
//    does not hold in full or that reach 4 GiB (GDI's sizes are 32-bit).
//  - Compression must be BI_RGB. RLE streams have a length of their own and BI_BITFIELDS
//    keeps masks after the header: the size checks here only hold for plain rows, and the
//    program never writes anything else.
//  - A negative height (rows stored top row first) is accepted and kept as it is; GDI
//    draws such bitmaps the right way up from the same header.
ParsedBmp ParseBmp(std::span<const uint8_t> file) {
  ParsedBmp bmp;
  if (file.empty()) {
    bmp.empty = true;
    return bmp;
  }
  if (file.size() < kFileHeaderSize) Fail("shorter than a file header");
  if (file[0] != 'B' || file[1] != 'M') Fail("no BM signature");

  const std::span<const uint8_t> info = file.subspan(kFileHeaderSize);
  const uint32_t headerSize = Read32(info, 0);
  if (headerSize != kInfoHeaderSize && headerSize != kCoreHeaderSize) {
    Fail("unsupported info header size");
  }
  if (info.size() < headerSize) Fail("truncated info header");

  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 0;
  uint16_t bpp = 0;
  uint32_t colorsUsed = 0;
  uint32_t entrySize = 3;
  if (headerSize == kInfoHeaderSize) {
    width = ReadS32(info, 4);
    height = ReadS32(info, 8);
    planes = Read16(info, 12);
    bpp = Read16(info, 14);
    if (Read32(info, 16) != 0) Fail("compressed pixels");
    colorsUsed = Read32(info, 32);
    entrySize = 4;
  } else {
    width = Read16(info, 4);
    height = Read16(info, 6);
    planes = Read16(info, 8);
    bpp = Read16(info, 10);
  }

  if (width <= 0) Fail("width not positive");
  if (height == 0 || height == std::numeric_limits<int32_t>::min()) Fail("bad height");
  if (planes != 1) Fail("planes not 1");
  if (!IsKnownDepth(bpp)) Fail("unsupported depth");

  uint32_t entries = FullTableEntries(bpp);
  if (colorsUsed != 0) {
    if (bpp <= 8 && colorsUsed > entries) Fail("more colours used than the depth allows");
    entries = colorsUsed;
  }

  const uint64_t pixelStart = headerSize + uint64_t{entries} * entrySize;
  if (pixelStart > info.size()) Fail("colour table beyond the end of the file");
  const uint64_t available = info.size() - pixelStart;
  const uint64_t rowSize = RowSize64(static_cast<uint32_t>(width), bpp);  // >= 4
  const uint64_t rows = height < 0 ? uint64_t{0} - static_cast<uint64_t>(height)
                                   : static_cast<uint64_t>(height);
  if (rows > available / rowSize) Fail("pixel data beyond the end of the file");
  const uint64_t pixelBytes = rowSize * rows;
  if (pixelBytes > kMaxSize32) Fail("pixel data of 4 GiB or more");

  bmp.width = width;
  bmp.height = height;
  bmp.planes = planes;
  bmp.bitsPerPixel = bpp;
  bmp.monochrome = planes == 1 && bpp == 1;
  bmp.headerSize = headerSize;
  bmp.colorEntries = entries;
  bmp.colorEntrySize = entrySize;
  bmp.infoAndColors = info.first(static_cast<size_t>(pixelStart));
  bmp.pixels = info.subspan(static_cast<size_t>(pixelStart), static_cast<size_t>(pixelBytes));
  return bmp;
}

std::vector<uint8_t> ToInfoHeaderForm(const ParsedBmp& bmp) {
  if (bmp.empty) return {};
  const bool infoKind = bmp.headerSize == kInfoHeaderSize && bmp.colorEntrySize == 4;
  const bool coreKind = bmp.headerSize == kCoreHeaderSize && bmp.colorEntrySize == 3;
  const uint64_t expected = bmp.headerSize + uint64_t{bmp.colorEntries} * bmp.colorEntrySize;
  if ((!infoKind && !coreKind) || bmp.infoAndColors.size() != expected ||
      bmp.pixels.size() > kMaxSize32) {
    throw std::invalid_argument("ToInfoHeaderForm: not a parsed bitmap");
  }
  if (infoKind) return {bmp.infoAndColors.begin(), bmp.infoAndColors.end()};

  // Compression (BI_RGB), resolutions and important colours are 0.
  std::vector<uint8_t> out(kInfoHeaderSize + size_t{4} * bmp.colorEntries, 0);
  Put32(out, 0, kInfoHeaderSize);
  Put32(out, 4, static_cast<uint32_t>(bmp.width));
  Put32(out, 8, static_cast<uint32_t>(bmp.height));
  Put16(out, 12, bmp.planes);
  Put16(out, 14, bmp.bitsPerPixel);
  Put32(out, 20, static_cast<uint32_t>(bmp.pixels.size()));
  Put32(out, 32, bmp.colorEntries);
  const std::span<const uint8_t> table = bmp.infoAndColors.subspan(kCoreHeaderSize);
  for (size_t entry = 0; entry < bmp.colorEntries; ++entry) {
    std::copy_n(table.begin() + static_cast<std::ptrdiff_t>(3 * entry), 3,
                out.begin() + static_cast<std::ptrdiff_t>(kInfoHeaderSize + 4 * entry));
  }
  return out;
}

}  // namespace vindelor

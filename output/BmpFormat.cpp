#include "output/BmpFormat.h"

#include <cstddef>
#include <limits>
#include <string>

namespace vindelor {
namespace {

constexpr uint32_t kFileHeaderSize = 14;
constexpr uint32_t kInfoHeaderSize = 40;  // BITMAPINFOHEADER
constexpr uint32_t kCoreHeaderSize = 12;  // BITMAPCOREHEADER
constexpr uint64_t kMaxSize32 = std::numeric_limits<uint32_t>::max();

void Put16(std::vector<uint8_t>& out, uint16_t value) {
  out.push_back(static_cast<uint8_t>(value & 0xFFu));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    out.push_back(static_cast<uint8_t>((value >> shift) & 0xFFu));
  }
}

void PutS32(std::vector<uint8_t>& out, int32_t value) { Put32(out, static_cast<uint32_t>(value)); }

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

uint32_t BmpRowSize(int32_t width, uint16_t bitsPerPixel) {
  if (width < 0) throw std::invalid_argument("BmpRowSize: negative width");
  const uint64_t rowSize = RowSize64(static_cast<uint32_t>(width), bitsPerPixel);
  if (rowSize > kMaxSize32) throw std::invalid_argument("BmpRowSize: row of 4 GiB or more");
  return static_cast<uint32_t>(rowSize);
}

uint16_t BmpWrittenDepth(uint16_t deviceDepth) {
  return deviceDepth == 16 || deviceDepth == 32 ? uint16_t{24} : deviceDepth;
}

std::vector<uint8_t> EncodeBmp(const DibImage& image) {
  if (image.width < 0 || image.height < 0) throw std::invalid_argument("EncodeBmp: negative size");
  if (image.width == 0 || image.height == 0) return {};

  const uint16_t bpp = image.bitsPerPixel;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 24) {
    throw std::invalid_argument("EncodeBmp: depth must be 1, 4, 8 or 24 bits");
  }
  if (image.colorTable.size() != FullTableEntries(bpp)) {
    throw std::invalid_argument("EncodeBmp: colour table size does not match the depth");
  }
  // At most about 2^33 bytes a row times 2^31 rows: still fits 64 bits.
  const uint64_t rowSize = RowSize64(static_cast<uint32_t>(image.width), bpp);
  const uint64_t pixelBytes = rowSize * static_cast<uint64_t>(image.height);
  if (image.pixels.size() != pixelBytes) {
    throw std::invalid_argument("EncodeBmp: pixel buffer size does not match the image size");
  }
  const uint64_t tableBytes = uint64_t{4} * image.colorTable.size();
  const uint64_t fileSize = kFileHeaderSize + kInfoHeaderSize + tableBytes + pixelBytes;
  if (fileSize > kMaxSize32) throw std::invalid_argument("EncodeBmp: file would reach 4 GiB");

  std::vector<uint8_t> file;
  file.reserve(static_cast<size_t>(fileSize));
  // File header.
  file.push_back('B');
  file.push_back('M');
  Put32(file, static_cast<uint32_t>(fileSize));
  Put16(file, 0);
  Put16(file, 0);
  Put32(file, static_cast<uint32_t>(kFileHeaderSize + kInfoHeaderSize + tableBytes));
  // Info header; positive height: bottom row first.
  Put32(file, kInfoHeaderSize);
  PutS32(file, image.width);
  PutS32(file, image.height);
  Put16(file, 1);
  Put16(file, bpp);
  Put32(file, 0);  // BI_RGB
  Put32(file, static_cast<uint32_t>(pixelBytes));
  Put32(file, 0);  // horizontal resolution
  Put32(file, 0);  // vertical resolution
  Put32(file, 0);  // colours used: the whole table
  Put32(file, 0);  // important colours: all
  for (uint32_t entry : image.colorTable) Put32(file, entry & 0x00FFFFFFu);  // B, G, R, 0
  file.insert(file.end(), image.pixels.begin(), image.pixels.end());
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

  std::vector<uint8_t> out;
  out.reserve(kInfoHeaderSize + size_t{4} * bmp.colorEntries);
  Put32(out, kInfoHeaderSize);
  PutS32(out, bmp.width);
  PutS32(out, bmp.height);
  Put16(out, bmp.planes);
  Put16(out, bmp.bitsPerPixel);
  Put32(out, 0);  // BI_RGB
  Put32(out, static_cast<uint32_t>(bmp.pixels.size()));
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, bmp.colorEntries);
  Put32(out, 0);
  const std::span<const uint8_t> table = bmp.infoAndColors.subspan(kCoreHeaderSize);
  for (size_t i = 0; i < table.size(); i += 3) {
    out.insert(out.end(), table.begin() + static_cast<std::ptrdiff_t>(i),
               table.begin() + static_cast<std::ptrdiff_t>(i + 3));
    out.push_back(0);
  }
  return out;
}

}  // namespace vindelor

// Windows BMP files: the layout Vindelor writes when it saves a capture, and a reader for
// the files it saved. No <windows.h> here; the Win32 side turns the results into a
// BITMAPINFO and device calls.
#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <vector>

namespace vindelor {

// Pixels as GetDIBits delivers them: rows bottom row first, each padded to 4 bytes.
struct DibImage {
  int32_t width = 0;
  int32_t height = 0;
  uint16_t bitsPerPixel = 0;           // 1, 4, 8 or 24
  std::vector<uint32_t> colorTable;    // 2^bpp entries B | G << 8 | R << 16 (none for 24)
  std::vector<uint8_t> pixels;         // the rows, each padded to 4 bytes, bottom first
};

// The depth a bitmap is saved with, from its device depth (planes * bits per pixel):
// 16- and 32-bit bitmaps are fetched and written as 24-bit.
uint16_t BmpWrittenDepth(uint16_t deviceDepth);

// Where the parts of a written file lie.
struct BmpLayout {
  uint32_t colorEntries = 0;  // 2^bpp for 1, 4 and 8 bits, none for 24
  uint32_t pixelOffset = 0;   // 14 + 40 + 4 * colorEntries
  uint32_t pixelBytes = 0;    // the rows, each padded to 4 bytes
  uint32_t fileSize = 0;      // pixelOffset + pixelBytes
};

// The layout of the file for an image of this size and depth (1, 4, 8 or 24; width and height
// above 0). Throws std::invalid_argument for other depths or a file that would reach 4 GiB.
BmpLayout PlanBmp(int32_t width, int32_t height, uint16_t bitsPerPixel);

// Writes the file header, the info header and the colour table (entries B | G << 8 | R << 16,
// as many as the layout has) into the first layout.pixelOffset bytes of the file.
void WriteBmpHeaders(std::span<uint8_t> file, const BmpLayout& layout, int32_t width,
                     int32_t height, uint16_t bitsPerPixel, std::span<const uint32_t> colorTable);

// The whole file: 14-byte file header, 40-byte info header, colour table, pixels.
// An image with width or height 0 gives an empty file; its other fields are not looked at.
// Throws std::invalid_argument for negative sizes, a depth other than 1/4/8/24, a colour
// table or pixel buffer of the wrong size, or a file that would reach 4 GiB.
std::vector<uint8_t> EncodeBmp(const DibImage& image);

class BmpFormatError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A file that ParseBmp accepted. The spans point into the parsed buffer, which must outlive
// this value.
struct ParsedBmp {
  bool empty = false;              // the file had 0 bytes; nothing else is set
  int32_t width = 0;               // > 0
  int32_t height = 0;              // != 0; negative for rows stored top row first
  uint16_t planes = 0;             // always 1
  uint16_t bitsPerPixel = 0;       // 1, 4, 8, 16, 24 or 32
  bool monochrome = false;         // 1 plane of 1 bit
  uint32_t headerSize = 0;         // 40 (BITMAPINFOHEADER) or 12 (BITMAPCOREHEADER)
  uint32_t colorEntries = 0;       // entries in the colour table
  uint32_t colorEntrySize = 0;     // 4 after a 40-byte header, 3 after a 12-byte one
  std::span<const uint8_t> infoAndColors;  // info header and colour table, as in the file
  std::span<const uint8_t> pixels;         // the rows, each padded to 4 bytes
};

// Reads a BMP file; safe for any input. Throws BmpFormatError for anything the Win32 side
// could not draw safely: see BmpFormat.cpp for the exact rules.
ParsedBmp ParseBmp(std::span<const uint8_t> file);

// The info header and colour table in the form GDI wants in a BITMAPINFO: a 40-byte header
// followed by 4-byte entries. A 40-byte file header is copied as it is; a 12-byte one is
// converted. Empty for an empty file. Throws std::invalid_argument if `bmp` is inconsistent
// (it was not made by ParseBmp).
std::vector<uint8_t> ToInfoHeaderForm(const ParsedBmp& bmp);

}  // namespace vindelor

// BMP files in and out of the program's bitmaps: the temporary print file, the viewer file and
// files the user saves. The byte layout itself is in output/BmpFormat.h.
//
// An image's encoding is kept as its cached encoding (tk::Bitmap::CachedEncoding) and written
// again while the image is unchanged. An image read from a file keeps the file's bytes there
// too, so the print job can hand them to StretchDIBits as they are (see FileForm).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Bitmap.h"
#include "toolkit/Handles.h"

namespace vindelor {

// The whole file: 14-byte file header, 40-byte info header, colour table (none for 24 bits),
// padded rows bottom row first. 16- and 32-bit bitmaps are written as 24-bit. No bytes for an
// image without pixels. Reuses the image's cached encoding while the image is unchanged and
// stores a fresh one otherwise.
[[nodiscard]] std::vector<std::uint8_t> EncodeBitmap(tk::Bitmap& image);

// Creates the file or truncates it, and writes the image's encoding. Throws tk::Error when the
// file cannot be created or written; a file cut off by a failed write is deleted.
void WriteBmpFile(tk::Bitmap& image, const std::string& path);

// Replaces the image by the file's: an empty file gives an empty image; otherwise a bitmap of
// the file's size, one bit per pixel when the file has one plane of one bit and in the screen's
// format else (an image of that size and format keeps its bitmap, which takes the new pixels),
// with a palette of the colour table's colours when it has more than two entries. The file's
// bytes become the image's cached encoding, its "file form" (with a 12-byte header turned into
// the 40-byte kind, bytes after the pixels left out and the file header's fields set right).
// Throws tk::Error when the file cannot be read or is not a BMP file this program can draw
// (the image is then unchanged), or when the pixels cannot be converted.
void ReadBmpFile(tk::Bitmap& image, const std::string& path);

// An image's encoding in the form StretchDIBits takes: a BITMAPINFO (40-byte header and colour
// table, copied) and the pixel rows, which stay in the image's cached encoding. Made from the
// cache, or from a fresh encoding when the image has none; valid until the image changes.
class FileForm {
 public:
  explicit FileForm(tk::Bitmap& image);

  [[nodiscard]] bool Empty() const noexcept { return bits_ == nullptr; }
  [[nodiscard]] const BITMAPINFO* Info() const noexcept;
  [[nodiscard]] const void* Bits() const noexcept { return bits_; }
  [[nodiscard]] int Width() const noexcept { return width_; }
  // The number of rows (the header's height is negative when they are stored top row first).
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] std::uint32_t ColorEntries() const noexcept { return colorEntries_; }
  // A palette of the colour table's colours when it has more than two entries, else null.
  [[nodiscard]] tk::UniquePalette MakePalette() const;

 private:
  std::vector<std::uint32_t> info_;  // 4-byte aligned copy of header and colour table
  const void* bits_ = nullptr;
  int width_ = 0;
  int height_ = 0;
  std::uint32_t colorEntries_ = 0;
};

// A folder query with the contract of GetWindowsDirectoryA (and GetTempPathA, arguments turned
// round): fills the buffer of the given size and returns the length, or returns the size
// needed (terminator included) when the buffer is too small, or 0 on failure.
using FolderQuery = std::function<unsigned(char* buffer, unsigned size)>;

// The folder that `query` reports, followed by "\Vindelor20.bmp". The query gets a buffer of
// 781 bytes, room for 260 characters of UTF-8 and the terminator, and a limit of 780. Throws
// tk::Error, naming `folderName`, when the query fails, when the folder does not fit or has 260
// characters or more, or when the whole path would have more than MAX_PATH - 1 characters.
[[nodiscard]] std::string BmpPathIn(std::string_view folderName, const FolderQuery& query);
// The temporary print file: the temporary folder (with its trailing separator) + "\Vindelor20.bmp".
[[nodiscard]] std::string TemporaryBmpPath();
// The viewer file in the Windows directory.
[[nodiscard]] std::string ViewerBmpPath();
// Writes the image as the viewer file and returns its path: in the Windows directory, or, where
// that cannot be written, in the folder "Vindelor" of the temporary folder. Throws tk::Error
// when neither can be written.
std::string WriteViewerFile(tk::Bitmap& image);

// The print job's round trip: writes `work` to the temporary print file, processes pending
// messages, reads the file into `print`, processes pending messages and deletes the file, also
// when a step failed (the result of the deletion is ignored). Failures are thrown; `print` has
// then lost its file form (FileForm makes it again from the pixels).
void TemporaryRoundTrip(tk::Bitmap& work, tk::Bitmap& print);
// The same with the program's work image and print image.
void TemporaryRoundTrip();

}  // namespace vindelor

// BMP files in and out of the program: the temporary print file, the viewer file and files the
// user saves. The byte layout itself is in output/BmpFormat.h.
//
// The last encoding made is kept and written again while its image is unchanged (the bitmap's
// stamp tells). A file read back stays in its file form, which the print job hands to
// StretchDIBits as it is (see FileForm).
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Bitmap.h"
#include "toolkit/Handles.h"

namespace vindelor {

// The whole file: 14-byte file header, 40-byte info header, colour table (none for 24 bits),
// padded rows bottom row first. 16- and 32-bit bitmaps are written as 24-bit. No bytes for an
// image without pixels. The kept encoding while the image is unchanged, else a fresh one, which
// is kept instead; valid until the next encoding.
[[nodiscard]] std::span<const std::uint8_t> EncodeBitmap(tk::Bitmap& image);
// Frees the kept encoding.
void ForgetKeptEncoding() noexcept;

// Creates the file or truncates it, and writes the image's encoding. Throws tk::Error when the
// file cannot be created or written; a file cut off by a failed write is deleted.
void WriteBmpFile(tk::Bitmap& image, const std::string& path);

// An image as a BMP file holds it, in the form StretchDIBits takes: one buffer with the 14-byte
// file header, the 40-byte info header, the colour table and the pixel rows. Monochrome when
// the file has one plane of one bit.
class FileForm {
 public:
  FileForm() = default;
  // From a file's bytes, named by `source` in errors: a 12-byte header is turned into the
  // 40-byte kind, bytes after the pixels are left out and the file header's fields set right.
  // Throws tk::Error when they are not a BMP file this program can draw.
  FileForm(std::vector<std::uint8_t> file, std::string_view source);

  [[nodiscard]] bool Empty() const noexcept { return file_.empty(); }
  [[nodiscard]] const BITMAPINFO* Info() const noexcept;
  [[nodiscard]] const void* Bits() const noexcept { return file_.data() + bitsOffset_; }
  [[nodiscard]] int Width() const noexcept { return width_; }
  // The number of rows (the header's height is negative when they are stored top row first).
  [[nodiscard]] int Height() const noexcept { return height_; }
  [[nodiscard]] bool Monochrome() const noexcept { return monochrome_; }
  // A palette of the colour table's colours when it has more than two entries, else null.
  [[nodiscard]] tk::UniquePalette MakePalette() const;
  // The same pixels as a device-dependent bitmap: one bit per pixel or the screen's format,
  // converted through the palette.
  void CopyInto(tk::Bitmap& image) const;
  void Clear() noexcept { *this = FileForm(); }

 private:
  std::vector<std::uint8_t> file_;
  std::vector<std::uint32_t> info_;  // 4-byte aligned copy of header and colour table
  std::size_t bitsOffset_ = 0;       // where the rows start in file_
  int width_ = 0;
  int height_ = 0;
  bool monochrome_ = false;
  std::uint32_t colorEntries_ = 0;
};

// Reads a whole BMP file: an empty file gives an empty form. Throws tk::Error when the file
// cannot be read or is not a BMP file this program can draw.
[[nodiscard]] FileForm ReadBmpFile(const std::string& path);

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
// messages, reads the file back as the print image, processes pending messages and deletes the
// file, also when a step failed (the result of the deletion is ignored). Failures are thrown.
// The encoding is not kept: the file form read back holds the same bytes.
[[nodiscard]] FileForm TemporaryRoundTrip(tk::Bitmap& work);

}  // namespace vindelor

#include "output/BmpFile.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <span>
#include <stdexcept>
#include <utility>

#include "output/BmpFormat.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Text.h"

namespace vindelor {
namespace {

constexpr char kFileName[] = "\\Vindelor20.bmp";
constexpr unsigned kFolderLimit = 260;  // characters
// The folder's bytes in UTF-8, at most three a character; the buffer has room for one more.
constexpr unsigned kFolderBytes = kFolderLimit * tk::kUtf8BytesPerUnit;
constexpr std::size_t kFileHeaderSize = 14;
constexpr DWORD kIoChunk = 1u << 30;

struct InfoWithColors {
  BITMAPINFOHEADER header;
  RGBQUAD colors[256];
};

// The layout written, with the pixels converted by the platform (the image's palette realised)
// straight into the file's rows.
std::vector<std::uint8_t> Encode(tk::Bitmap& image) {
  if (image.Empty()) return {};
  const int width = image.Width();
  const int height = image.Height();
  const std::uint16_t depth = BmpWrittenDepth(static_cast<std::uint16_t>(image.BitsPerPixel()));
  BmpLayout layout;
  try {
    layout = PlanBmp(width, height, depth);
  } catch (const std::invalid_argument&) {
    throw tk::Error("The image cannot be written as a bitmap file");
  }
  std::vector<std::uint8_t> file(layout.fileSize);
  InfoWithColors info{};
  info.header.biSize = sizeof(BITMAPINFOHEADER);
  info.header.biWidth = width;
  info.header.biHeight = height;  // positive: bottom row first
  info.header.biPlanes = 1;
  info.header.biBitCount = depth;
  info.header.biCompression = BI_RGB;
  {
    HDC surface = image.Surface();
    tk::PaletteGuard palette(surface, image.Palette());
    if (GetDIBits(surface, image.Handle(), 0, static_cast<UINT>(height),
                  file.data() + layout.pixelOffset, reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS) != height) {
      throw tk::Error("The image's pixels could not be read");
    }
  }
  std::uint32_t colors[256]{};
  for (std::uint32_t i = 0; i < layout.colorEntries; ++i) {
    const RGBQUAD& color = info.colors[i];
    colors[i] = std::uint32_t{color.rgbBlue} | std::uint32_t{color.rgbGreen} << 8 |
                std::uint32_t{color.rgbRed} << 16;
  }
  WriteBmpHeaders(file, layout, width, height, depth, {colors, layout.colorEntries});
  return file;
}

// The last encoding made, with the stamp its image had right after it.
struct KeptEncoding {
  std::uint64_t stamp = 0;
  std::vector<std::uint8_t> bytes;
};
KeptEncoding g_keptEncoding;

// Moves `size` bytes with `transfer(done, wanted, moved)` (a ReadFile or WriteFile call), in
// chunks a DWORD can count; a failure, or no progress, is reported with `failure`.
template <typename Transfer>
void TransferInChunks(std::size_t size, Transfer transfer, const char* failure,
                      const std::string& path) {
  std::size_t done = 0;
  while (done < size) {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(size - done, kIoChunk));
    DWORD moved = 0;
    if (!transfer(done, wanted, moved) || moved == 0) {
      throw tk::Error(tk::FormatText(failure, path));
    }
    done += moved;
  }
}

std::vector<std::uint8_t> ReadWholeFile(const std::string& path) {
  tk::UniqueFile file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  if (!file) throw tk::Error(tk::FormatText("Cannot open the file %s", path));
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.Get(), &size)) {
    throw tk::Error(tk::FormatText("Cannot read the file %s", path));
  }
  // Bitmap files are smaller than 4 GiB.
  constexpr LONGLONG kLargest = LONGLONG{std::numeric_limits<std::uint32_t>::max()};
  if (size.QuadPart > kLargest) throw tk::Error(tk::FormatText("The file %s is too large", path));
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  TransferInChunks(
      bytes.size(),
      [&](std::size_t done, DWORD wanted, DWORD& got) {
        return ReadFile(file.Get(), bytes.data() + done, wanted, &got, nullptr);
      },
      "Cannot read the file %s", path);
  return bytes;
}

// The 40-byte header and colour table from a parsed file, 4-byte aligned for GDI.
std::vector<std::uint32_t> AlignedInfo(const ParsedBmp& bmp) {
  const std::vector<std::uint8_t> bytes = ToInfoHeaderForm(bmp);
  std::vector<std::uint32_t> info((bytes.size() + 3) / 4);
  std::memcpy(info.data(), bytes.data(), bytes.size());
  return info;
}

tk::UniquePalette PaletteOf(const BITMAPINFO& info, std::uint32_t entries) {
  if (entries <= 2) return {};
  entries = std::min<std::uint32_t>(entries, 256);
  std::vector<PALETTEENTRY> colors(entries);
  const auto* table = reinterpret_cast<const std::uint8_t*>(info.bmiColors);
  for (std::uint32_t i = 0; i < entries; ++i) {
    RGBQUAD quad{};
    std::memcpy(&quad, table + i * sizeof(RGBQUAD), sizeof(quad));
    colors[i] = {quad.rgbRed, quad.rgbGreen, quad.rgbBlue, 0};
  }
  // LOGPALETTE ends in a variable-length array of entries.
  std::vector<std::uint8_t> buffer(offsetof(LOGPALETTE, palPalEntry) +
                                   entries * sizeof(PALETTEENTRY));
  LOGPALETTE header{};
  header.palVersion = 0x300;
  header.palNumEntries = static_cast<WORD>(entries);
  std::memcpy(buffer.data(), &header, offsetof(LOGPALETTE, palPalEntry));
  std::memcpy(buffer.data() + offsetof(LOGPALETTE, palPalEntry), colors.data(),
              entries * sizeof(PALETTEENTRY));
  tk::UniquePalette made{CreatePalette(reinterpret_cast<const LOGPALETTE*>(buffer.data()))};
  if (!made) throw tk::Error("Out of system resources");
  return made;
}

// `source` names the bytes in the error: a path, or the image they were kept with.
ParsedBmp Parse(std::span<const std::uint8_t> bytes, std::string_view source) {
  try {
    return ParseBmp(bytes);
  } catch (const BmpFormatError&) {
    throw tk::Error(tk::FormatText("Not a valid bitmap: %s", source));
  }
}

void Put32(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i)
    bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// The file as it is kept with the image: the file header's fields set to the layout, a 12-byte
// info header replaced by a 40-byte one, and anything after the pixels left out. The file's
// own buffer is reused when it already has that form.
std::vector<std::uint8_t> KeptFileForm(std::vector<std::uint8_t> file, const ParsedBmp& bmp) {
  const std::size_t infoSize =
      bmp.headerSize == 40 ? bmp.infoAndColors.size() : 40 + std::size_t{4} * bmp.colorEntries;
  const std::size_t total = kFileHeaderSize + infoSize + bmp.pixels.size();
  if (bmp.headerSize != 40) {
    std::vector<std::uint8_t> kept(kFileHeaderSize);
    kept.reserve(total);
    const std::vector<std::uint8_t> info = ToInfoHeaderForm(bmp);
    kept.insert(kept.end(), info.begin(), info.end());
    kept.insert(kept.end(), bmp.pixels.begin(), bmp.pixels.end());
    file = std::move(kept);
  }
  file.resize(total);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, static_cast<std::uint32_t>(total));
  Put32(file, 6, 0);
  Put32(file, 10, static_cast<std::uint32_t>(kFileHeaderSize + infoSize));
  return file;
}

}  // namespace

std::span<const std::uint8_t> EncodeBitmap(tk::Bitmap& image) {
  if (g_keptEncoding.stamp == 0 || g_keptEncoding.stamp != image.Stamp()) {
    ForgetKeptEncoding();  // first, so that two encodings are never alive together
    g_keptEncoding.bytes = Encode(image);
    g_keptEncoding.stamp = image.Stamp();
  }
  return g_keptEncoding.bytes;
}

void ForgetKeptEncoding() noexcept { g_keptEncoding = {}; }

void WriteBmpFile(tk::Bitmap& image, const std::string& path) {
  const std::span<const std::uint8_t> bytes = EncodeBitmap(image);
  tk::UniqueFile file{CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  if (!file) throw tk::Error(tk::FormatText("Cannot create the file %s", path));
  try {
    TransferInChunks(
        bytes.size(),
        [&](std::size_t done, DWORD wanted, DWORD& written) {
          return WriteFile(file.Get(), bytes.data() + done, wanted, &written, nullptr);
        },
        "Cannot write the file %s", path);
    if (!CloseHandle(file.Release())) {
      throw tk::Error(tk::FormatText("Cannot write the file %s", path));
    }
  } catch (const tk::Error&) {
    file.Reset();
    DeleteFileA(path.c_str());  // a cut-off bitmap is no use to anyone
    throw;
  }
}

FileForm::FileForm(std::vector<std::uint8_t> file, std::string_view source) {
  if (file.empty()) return;
  const ParsedBmp bmp = Parse(file, source);
  info_ = AlignedInfo(bmp);
  width_ = bmp.width;
  height_ = std::abs(bmp.height);
  monochrome_ = bmp.monochrome;
  colorEntries_ = bmp.colorEntries;
  const std::size_t pixelBytes = bmp.pixels.size();
  file_ = KeptFileForm(std::move(file), bmp);
  bitsOffset_ = file_.size() - pixelBytes;
}

FileForm ReadBmpFile(const std::string& path) { return FileForm(ReadWholeFile(path), path); }

const BITMAPINFO* FileForm::Info() const noexcept {
  return info_.empty() ? nullptr : reinterpret_cast<const BITMAPINFO*>(info_.data());
}

tk::UniquePalette FileForm::MakePalette() const {
  return Empty() ? tk::UniquePalette{} : PaletteOf(*Info(), colorEntries_);
}

void FileForm::CopyInto(tk::Bitmap& image) const {
  if (Empty()) {
    image.Clear();
    return;
  }
  tk::UniquePalette palette = MakePalette();
  tk::UniqueBitmap bitmap = tk::Bitmap::MakeBlank(width_, height_, monochrome_);
  tk::UniqueMemoryDc dc{CreateCompatibleDC(nullptr)};
  if (!dc) throw tk::Error("Out of system resources");
  {
    const tk::PaletteGuard realized(dc.Get(), palette.Get());
    if (SetDIBits(dc.Get(), bitmap.Get(), 0, static_cast<UINT>(height_), Bits(), Info(),
                  DIB_RGB_COLORS) != height_) {
      throw tk::Error("The image's pixels could not be converted");
    }
  }
  image.Adopt(std::move(bitmap), width_, height_, monochrome_);
  image.SetPalette(std::move(palette));
}

std::string BmpPathIn(std::string_view folderName, const FolderQuery& query) {
  std::string folder(kFolderBytes + 1, '\0');
  const unsigned length = query(folder.data(), kFolderBytes);
  if (length == 0) throw tk::Error(tk::FormatText("The %s could not be found", folderName));
  if (length >= kFolderBytes) {
    throw tk::Error(tk::FormatText("The path of the %s is too long", folderName));
  }
  folder.resize(length);
  std::string path = folder + kFileName;
  if (tk::Utf16Length(folder) >= kFolderLimit || tk::Utf16Length(path) >= MAX_PATH) {
    throw tk::Error(tk::FormatText("The path of the %s is too long", folderName));
  }
  return path;
}

std::string TemporaryBmpPath() {
  return BmpPathIn("temporary folder",
                   [](char* buffer, unsigned size) { return GetTempPathA(size, buffer); });
}

std::string ViewerBmpPath() {
  return BmpPathIn("Windows directory",
                   [](char* buffer, unsigned size) { return GetWindowsDirectoryA(buffer, size); });
}

std::string WriteViewerFile(tk::Bitmap& image) {
  const std::string path = ViewerBmpPath();
  try {
    WriteBmpFile(image, path);
    return path;
  } catch (const tk::Error&) {
    // A standard user may not create files in the Windows directory: the next place follows.
  }
  // A folder of its own, so that the print job's file in the temporary folder and the one a
  // viewer holds open never meet.
  const std::string own = BmpPathIn("temporary folder", [](char* buffer, unsigned size) {
    constexpr std::string_view kFolder = "Vindelor";
    constexpr auto kFolderLength = static_cast<unsigned>(kFolder.size());
    const unsigned length = GetTempPathA(size, buffer);
    if (length == 0 || length >= size) return length;
    if (length + kFolderLength >= size) return length + kFolderLength + 1;
    kFolder.copy(buffer + length, kFolder.size());
    buffer[length + kFolderLength] = '\0';
    return length + kFolderLength;
  });
  CreateDirectoryA(own.substr(0, own.rfind('\\')).c_str(), nullptr);  // there already is fine
  WriteBmpFile(image, own);
  return own;
}

FileForm TemporaryRoundTrip(tk::Bitmap& work) {
  const std::string path = TemporaryBmpPath();
  // The file goes however the round trip ends (the result of the deletion is ignored).
  const std::unique_ptr<const char, decltype(&DeleteFileA)> deleted(path.c_str(), &DeleteFileA);
  WriteBmpFile(work, path);
  ForgetKeptEncoding();  // the file form read back holds the same bytes
  tk::App().ProcessMessages();
  FileForm print = ReadBmpFile(path);
  tk::App().ProcessMessages();
  return print;
}

}  // namespace vindelor

// Images as tables of pixels for the output tests, and scratch files that clean up after
// themselves.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "toolkit/Bitmap.h"

namespace output_testing {

using Pixels = std::vector<std::vector<COLORREF>>;  // rows top to bottom, columns left to right

inline constexpr COLORREF kWhite = RGB(255, 255, 255);
inline constexpr COLORREF kBlack = RGB(0, 0, 0);

// Sizes the image to the table and paints it; a monochrome image is made 1 bit first.
inline void Paint(tk::Bitmap& image, const Pixels& pixels, bool monochrome = false) {
  image.SetMonochrome(monochrome);
  image.SetSize(pixels.empty() ? 0 : static_cast<int>(pixels[0].size()),
                static_cast<int>(pixels.size()));
  HDC surface = image.Surface();
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      SetPixel(surface, x, y, pixels[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]);
    }
  }
}

inline Pixels Read(tk::Bitmap& image) {
  Pixels pixels(static_cast<std::size_t>(image.Height()));
  HDC surface = image.SurfaceForReading();
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      pixels[static_cast<std::size_t>(y)].push_back(GetPixel(surface, x, y));
    }
  }
  return pixels;
}

// A table of the given size whose pixels differ along both axes (or, in black and white, form
// an irregular pattern).
inline Pixels Pattern(int width, int height, bool blackAndWhite = false) {
  Pixels pixels(static_cast<std::size_t>(height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      COLORREF colour = blackAndWhite ? ((x * 7 + y * 3) % 5 < 2 ? kWhite : kBlack)
                                      : RGB(x % 256, (y * 40) % 256, (x * 3 + 11) % 256);
      pixels[static_cast<std::size_t>(y)].push_back(colour);
    }
  }
  return pixels;
}

// A file name in the temporary folder, deleted when the object goes.
class ScratchFile {
 public:
  explicit ScratchFile(const char* stem) {
    static int counter = 0;
    char folder[MAX_PATH + 1]{};
    GetTempPathA(MAX_PATH, folder);
    path_ = std::string(folder) + stem + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter) + ".bmp";
  }
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;
  ~ScratchFile() { DeleteFileA(path_.c_str()); }
  [[nodiscard]] const std::string& Path() const noexcept { return path_; }

 private:
  std::string path_;
};

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(file, nullptr));
  DWORD got = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  CloseHandle(file);
  return bytes;
}

inline void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  if (!bytes.empty()) {
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  }
  CloseHandle(file);
}

inline bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Little-endian fields of a file.
inline std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}
inline std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

}  // namespace output_testing

// Pixels of bitmaps as another program reads them, for comparing captures, crops and what the
// clipboard holds.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace testing_support {

struct Picture {
  int width = 0, height = 0, bitsPerPixel = 0;
  std::vector<std::uint32_t> pixels;  // 0xRRGGBB, top row first
  bool operator==(const Picture&) const = default;
  // The part within `area`, white where the area reaches beyond this picture.
  [[nodiscard]] Picture Part(RECT area) const;
};

[[nodiscard]] Picture PictureOf(HBITMAP bitmap);
// The clipboard's bitmap (empty when none) and formats, read once no other program holds it.
[[nodiscard]] Picture ClipboardPicture(std::vector<UINT>* formats = nullptr);

}  // namespace testing_support

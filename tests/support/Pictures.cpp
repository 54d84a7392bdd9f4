#include "tests/support/Pictures.h"

#include "tests/support/WinTestSupport.h"

namespace testing_support {

Picture Picture::Part(RECT area) const {
  Picture part{area.right - area.left, area.bottom - area.top, bitsPerPixel, {}};
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      const bool inside = x >= 0 && y >= 0 && x < width && y < height;
      part.pixels.push_back(inside ? pixels[static_cast<std::size_t>(y * width + x)] : 0xFFFFFF);
    }
  }
  return part;
}

Picture PictureOf(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return {};
  Picture picture{info.bmWidth, info.bmHeight, info.bmPlanes * info.bmBitsPixel, {}};
  picture.pixels.resize(static_cast<std::size_t>(info.bmWidth * info.bmHeight));
  BITMAPINFO format{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER), .biWidth = info.bmWidth,
                                  .biHeight = -info.bmHeight, .biPlanes = 1, .biBitCount = 32}};
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, static_cast<UINT>(info.bmHeight), picture.pixels.data(), &format,
            DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  for (auto& pixel : picture.pixels) pixel &= 0xFFFFFF;  // a fill with white sets the top byte
  return picture;
}

Picture ClipboardPicture(std::vector<UINT>* formats) {
  // Wine's bridge to the X clipboard opens the clipboard briefly after every change.
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return {};
  for (UINT format = 0; formats && (format = EnumClipboardFormats(format));) {
    formats->push_back(format);
  }
  Picture picture = PictureOf(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
  CloseClipboard();
  return picture;
}

}  // namespace testing_support

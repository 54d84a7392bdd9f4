#include "tests/support/Pictures.h"

#include <algorithm>
#include <cstdlib>

#include "output/BmpFormat.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace testing_support {
namespace {

constexpr LONG_PTR kPatternFill = -1;  // the window's user data: a fill colour, or this

LRESULT CALLBACK PaintPattern(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ERASEBKGND) return TRUE;
  if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
  tk::PaintScope paint(window);
  RECT left{}, right{};
  GetClientRect(window, &left);
  if (const LONG_PTR fill = GetWindowLongPtrA(window, GWLP_USERDATA); fill != kPatternFill) {
    FillRect(paint.Get(), &left, tk::UniqueBrush{CreateSolidBrush(COLORREF(fill))}.Get());
    return 0;
  }
  right = left;
  left.right = right.left = left.right / 2;
  for (auto [area, colour] :
       {std::pair(left, RGB(255, 255, 255)), std::pair(right, RGB(254, 255, 255)),
        std::pair(kPatternRedSquare, kPatternRed)}) {
    FillRect(paint.Get(), &area, tk::UniqueBrush{CreateSolidBrush(colour)}.Get());
  }
  return 0;
}

}  // namespace

PatternWindow::PatternWindow(RECT bounds, std::optional<COLORREF> fill) {
  static const ATOM registered = [] {
    WNDCLASSA windowClass{.lpfnWndProc = &PaintPattern,
                          .hInstance = GetModuleHandleA(nullptr),
                          .hCursor = LoadCursorA(nullptr, IDC_ARROW),
                          .lpszClassName = "VindelorTestPattern"};
    return RegisterClassA(&windowClass);
  }();
  window_.Reset(CreateWindowExA(0, MAKEINTATOM(registered), "Vindelor test pattern",
                                fill ? WS_POPUP : WS_OVERLAPPEDWINDOW, bounds.left, bounds.top,
                                bounds.right - bounds.left, bounds.bottom - bounds.top, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr));
  SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, fill ? LONG_PTR(*fill) : kPatternFill);
  ShowWindow(window_.Get(), SW_SHOW);
  UpdateWindow(window_.Get());
  SetForegroundWindow(window_.Get());
}

RECT PatternWindow::WindowRect() const {
  RECT rect{};
  GetWindowRect(window_.Get(), &rect);
  return rect;
}

POINT PatternWindow::ClientOffset() const {
  POINT origin{0, 0};
  ClientToScreen(window_.Get(), &origin);
  return {origin.x - WindowRect().left, origin.y - WindowRect().top};
}

Picture PatternWindow::Pixels(RECT part, int bitsPerPixel) const {
  RECT client{};
  GetClientRect(window_.Get(), &client);
  Picture pixels{part.right - part.left, part.bottom - part.top, bitsPerPixel, {}};
  for (int y = part.top; y < part.bottom; ++y) {
    for (int x = part.left; x < part.right; ++x) {
      pixels.pixels.push_back(PtInRect(&kPatternRedSquare, {x, y}) ? 0xFF0000u
                              : x < client.right / 2               ? 0xFFFFFFu
                                                                   : 0xFEFFFFu);
    }
  }
  return pixels;
}

Picture PictureOf(HBITMAP bitmap) {
  BITMAP info{};
  if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) return {};
  Picture picture{
      info.bmWidth, info.bmHeight, info.bmPlanes * info.bmBitsPixel,
      std::vector<std::uint32_t>(static_cast<std::size_t>(info.bmWidth * info.bmHeight))};
  BITMAPINFO format{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                                  .biWidth = info.bmWidth,
                                  .biHeight = -info.bmHeight,
                                  .biPlanes = 1,
                                  .biBitCount = 32}};
  GetDIBits(tk::WindowDc(nullptr).Get(), bitmap, 0, static_cast<UINT>(info.bmHeight),
            picture.pixels.data(), &format, DIB_RGB_COLORS);
  for (auto& pixel : picture.pixels) pixel &= 0xFFFFFF;  // a fill with white sets the top byte
  return picture;
}

Picture ScreenPicture(RECT area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  tk::WindowDc screen(nullptr);
  tk::UniqueBitmap copy(CreateCompatibleBitmap(screen.Get(), width, height));
  {
    tk::UniqueMemoryDc memory(CreateCompatibleDC(screen.Get()));
    tk::SelectGuard selected(memory.Get(), copy.Get());
    BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY);
  }
  return PictureOf(copy.Get());
}

Picture PartOf(const Picture& picture, RECT part) {
  Picture result{part.right - part.left, part.bottom - part.top, picture.bitsPerPixel, {}};
  for (int y = part.top; y < part.bottom; ++y) {
    for (int x = part.left; x < part.right; ++x) result.pixels.push_back(picture.At(x, y));
  }
  return result;
}

bool EmptyTheClipboard() {
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return false;
  EmptyClipboard();
  return CloseClipboard();
}

Picture ClipboardPicture() {
  // Wine's bridge to the X clipboard opens the clipboard briefly after every change.
  if (!WaitUntil([] { return OpenClipboard(nullptr) != FALSE; })) return {};
  Picture picture = PictureOf(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)));
  CloseClipboard();
  return picture;
}

RECT Picture::Bounds(RECT within, std::uint32_t colour, bool equal) const {
  RECT ink{within.right, within.bottom, within.left, within.top};
  for (LONG y = within.top; y < within.bottom; ++y) {
    for (LONG x = within.left; x < within.right; ++x) {
      if ((At(x, y) == colour) != equal) continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x + 1),
             std::max(ink.bottom, y + 1)};
    }
  }
  return ink.left < ink.right ? ink : RECT{};
}

Picture BmpPicture(std::string_view file) {
  vindelor::ParsedBmp bmp;
  try {
    bmp = vindelor::ParseBmp({reinterpret_cast<const std::uint8_t*>(file.data()), file.size()});
  } catch (const vindelor::BmpFormatError&) {
    return {};
  }
  if (bmp.empty || bmp.bitsPerPixel != 24) return {};
  Picture picture{bmp.width, std::abs(bmp.height), 24, {}};
  const auto stride = (std::size_t(bmp.width) * 3 + 3) / 4 * 4;
  for (int y = 0; y < picture.height; ++y) {
    const auto row = bmp.pixels.subspan(std::size_t(bmp.height > 0 ? picture.height - 1 - y : y) *
                                        stride);  // bottom up
    for (std::size_t x = 0; x < std::size_t(bmp.width); ++x) {
      picture.pixels.push_back(std::uint32_t{row[3 * x + 2]} << 16 |
                               std::uint32_t{row[3 * x + 1]} << 8 | row[3 * x]);
    }
  }
  return picture;
}

}  // namespace testing_support

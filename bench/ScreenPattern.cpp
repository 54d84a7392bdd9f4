#include "bench/ScreenPattern.h"

#include <cstring>

namespace bench {
namespace {

constexpr int kChequers = 32;  // the corner's fine pattern, in pixels a side

SIZE ScreenSize() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

void Fill(HDC dc, const RECT& area, COLORREF colour) {
  FillRect(dc, &area, tk::UniqueBrush{CreateSolidBrush(colour)}.Get());
}

void Paint(HDC dc, SIZE screen) {
  for (int row = 0; row < ScreenPattern::kRows; ++row) {
    for (int column = 0; column < ScreenPattern::kColumns; ++column) {
      Fill(dc, ScreenPattern::Block(column, row, screen), ScreenPattern::BlockColour(column, row));
    }
  }
  const RECT corner = ScreenPattern::CornerArea(screen);
  Fill(dc, corner, ScreenPattern::kCornerColour);
  Fill(dc, {screen.cx - 1, corner.top, screen.cx, screen.cy}, RGB(0, 0, 0));
  Fill(dc, {corner.left, screen.cy - 1, screen.cx, screen.cy}, RGB(0, 0, 0));
  for (int y = screen.cy - 1 - kChequers; y < screen.cy - 1; ++y) {
    for (int x = screen.cx - 1 - kChequers; x < screen.cx - 1; ++x) {
      SetPixelV(dc, x, y, (x + y) % 2 != 0 ? RGB(0, 0, 0) : RGB(255, 255, 0));
    }
  }
}

LRESULT CALLBACK PatternProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return TRUE;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT: {
      tk::PaintScope paint(window);
      Paint(paint.Get(), ScreenSize());
      return 0;
    }
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

ScreenPattern::ScreenPattern() {
  static const ATOM registered = [] {
    WNDCLASSA windowClass{.lpfnWndProc = &PatternProcedure,
                          .hInstance = GetModuleHandleA(nullptr),
                          .hCursor = LoadCursorA(nullptr, IDC_ARROW),
                          .lpszClassName = "VindelorBenchScreenPattern"};
    return RegisterClassA(&windowClass);
  }();
  const SIZE screen = ScreenSize();
  window_.Reset(CreateWindowExA(WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, MAKEINTATOM(registered),
                                "Vindelor bench screen pattern", WS_POPUP, 0, 0, screen.cx,
                                screen.cy, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr));
  Show(true);
}

void ScreenPattern::Show(bool shown) {
  if (!shown) {
    ShowWindow(window_.Get(), SW_HIDE);
    return;
  }
  ShowWindow(window_.Get(), SW_SHOWNOACTIVATE);
  SetWindowPos(window_.Get(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  UpdateWindow(window_.Get());
}

RECT ScreenPattern::Block(int column, int row, SIZE screen) {
  return {screen.cx * column / kColumns, screen.cy * row / kRows,
          screen.cx * (column + 1) / kColumns, screen.cy * (row + 1) / kRows};
}

COLORREF ScreenPattern::BlockColour(int column, int row) {
  return RGB(30 + 28 * column, 30 + 36 * row, (column + row) % 2 != 0 ? 70 : 190);
}

RECT ScreenPattern::CornerArea(SIZE screen) {
  return {screen.cx - screen.cx / 16, screen.cy - screen.cy / 12, screen.cx, screen.cy};
}

ScreenShot TakeScreenShot() {
  const SIZE screen = ScreenSize();
  ScreenShot shot{screen.cx, screen.cy, {}};
  BITMAPINFO format{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                                  .biWidth = screen.cx,
                                  .biHeight = -screen.cy,  // top row first
                                  .biPlanes = 1,
                                  .biBitCount = 32,
                                  .biCompression = BI_RGB}};
  const tk::WindowDc desktop(nullptr);
  void* bits = nullptr;
  const tk::UniqueBitmap copy{
      CreateDIBSection(desktop.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0)};
  const tk::UniqueMemoryDc dc{CreateCompatibleDC(desktop.Get())};
  if (!copy || !dc) return {};
  {
    const tk::SelectGuard selected(dc.Get(), copy.Get());
    if (!BitBlt(dc.Get(), 0, 0, screen.cx, screen.cy, desktop.Get(), 0, 0, SRCCOPY)) return {};
    GdiFlush();
  }
  shot.pixels.resize(static_cast<std::size_t>(screen.cx) * static_cast<std::size_t>(screen.cy));
  std::memcpy(shot.pixels.data(), bits, shot.pixels.size() * sizeof(std::uint32_t));
  for (auto& pixel : shot.pixels) pixel &= 0xFFFFFF;
  return shot;
}

}  // namespace bench

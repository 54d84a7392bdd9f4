#include "tests/support/PatternWindow.h"

namespace testing_support {
namespace {

constexpr char kClassName[] = "VindelorTestPattern";

LRESULT CALLBACK PatternProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_PAINT) {
    tk::PaintScope paint(window);
    RECT client{};
    GetClientRect(window, &client);
    RECT left = client;
    left.right = client.right / 2;
    RECT right = client;
    right.left = client.right / 2;
    tk::UniqueBrush white{CreateSolidBrush(kPatternWhite)};
    tk::UniqueBrush almostWhite{CreateSolidBrush(kPatternAlmostWhite)};
    tk::UniqueBrush red{CreateSolidBrush(kPatternRed)};
    FillRect(paint.Get(), &left, white.Get());
    FillRect(paint.Get(), &right, almostWhite.Get());
    FillRect(paint.Get(), &kPatternRedSquare, red.Get());
    return 0;
  }
  if (message == WM_ERASEBKGND) return TRUE;
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterPatternClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = &PatternProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  registered = true;
}

}  // namespace

COLORREF PatternColorAt(int x, int y, int clientWidth) {
  if (x >= kPatternRedSquare.left && x < kPatternRedSquare.right && y >= kPatternRedSquare.top &&
      y < kPatternRedSquare.bottom) {
    return kPatternRed;
  }
  return x < clientWidth / 2 ? kPatternWhite : kPatternAlmostWhite;
}

PatternWindow::PatternWindow(RECT bounds, const char* title) {
  RegisterPatternClass();
  window_.Reset(CreateWindowExA(0, kClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                bounds.left, bounds.top, bounds.right - bounds.left,
                                bounds.bottom - bounds.top, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
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
  RECT rect = WindowRect();
  return {origin.x - rect.left, origin.y - rect.top};
}

}  // namespace testing_support

// A window for scripts/run.sh to show on the private screen it makes, so that the first page a
// newcomer prints shows something to recognise: a few lines of text and six named colour fields.
// It stays until Wine stops, or until it is closed.
//
//   vindelor-sample
#include <windows.h>

#include <iterator>

#include "toolkit/Handles.h"

namespace {

constexpr char kClassName[] = "VindelorSampleWindow";
constexpr const char* kLines[] = {
    "This window was put on Vindelor's private screen by scripts/run.sh.",
    "Press Print Screen for Vindelor from a second terminal:",
    "    scripts/run.sh keys printscreen wait enter",
    "and the page in build/run/pages/ shows this screen: this text,",
    "the six colour fields below and the tray window with Vindelor's icon.",
};
struct ColourField {
  const char* name;
  COLORREF colour;
};
constexpr ColourField kFields[] = {
    {"Red", RGB(220, 30, 30)},  {"Green", RGB(30, 160, 60)},    {"Blue", RGB(30, 70, 220)},
    {"Cyan", RGB(0, 190, 210)}, {"Magenta", RGB(200, 40, 180)}, {"Yellow", RGB(240, 210, 0)},
};
constexpr int kMargin = 20, kLineHeight = 26, kFieldSize = 80, kFieldGap = 24;

void Paint(HWND window) {
  const tk::PaintScope paint(window);
  const HDC dc = paint.Get();
  const tk::UniqueFont font{CreateFontA(-18, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                        DEFAULT_QUALITY, DEFAULT_PITCH, "Tahoma")};
  const tk::SelectGuard selected(dc, font.Get());
  SetBkMode(dc, TRANSPARENT);
  int y = kMargin;
  for (const char* line : kLines) {
    TextOutA(dc, kMargin, y, line, lstrlenA(line));
    y += kLineHeight;
  }
  y += kMargin;
  int x = kMargin;
  for (const ColourField& field : kFields) {
    const tk::UniqueBrush brush{CreateSolidBrush(field.colour)};
    const RECT box{x, y, x + kFieldSize, y + kFieldSize};
    FillRect(dc, &box, brush.Get());
    TextOutA(dc, x, y + kFieldSize + 4, field.name, lstrlenA(field.name));
    x += kFieldSize + kFieldGap;
  }
}

LRESULT CALLBACK SampleProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_CLOSE:  // the window is destroyed by its owner in WinMain
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = SampleProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassA(&windowClass)) return 1;
  constexpr int kWidth = 2 * kMargin + static_cast<int>(std::size(kFields)) * kFieldSize +
                         (static_cast<int>(std::size(kFields)) - 1) * kFieldGap + 80;
  constexpr int kHeight = 3 * kMargin + static_cast<int>(std::size(kLines)) * kLineHeight +
                          kFieldSize + kLineHeight + 60;
  const tk::UniqueWindow window{
      CreateWindowA(kClassName, "Vindelor - sample window", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                    60, 60, kWidth, kHeight, nullptr, nullptr, instance, nullptr)};
  if (!window) return 1;
  ShowWindow(window.Get(), SW_SHOWNOACTIVATE);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

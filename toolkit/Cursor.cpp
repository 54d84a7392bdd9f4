#include "toolkit/Cursor.h"

namespace tk {
namespace {

int g_hiddenCursors = 0;

}  // namespace

HWND OwnWindowUnderPointer() {
  POINT at{};
  GetCursorPos(&at);
  HWND under = WindowFromPoint(at);
  DWORD process = 0;
  if (under) GetWindowThreadProcessId(under, &process);
  return process == GetCurrentProcessId() ? under : nullptr;
}

HiddenCursor::HiddenCursor() {
  ++g_hiddenCursors;
  SetCursor(nullptr);
}

HiddenCursor::~HiddenCursor() {
  if (--g_hiddenCursors > 0) return;
  if (HWND under = OwnWindowUnderPointer()) {
    POINT at{};
    GetCursorPos(&at);
    auto hitTest = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(static_cast<WORD>(hitTest), WM_MOUSEMOVE));
  } else {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
}

bool HiddenCursor::KeepHidden() {
  if (g_hiddenCursors == 0) return false;
  SetCursor(nullptr);
  return true;
}

}  // namespace tk

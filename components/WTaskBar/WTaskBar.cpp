#include "components/WTaskBar/WTaskBar.h"

#include <algorithm>
#include <cstddef>

#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/Text.h"

namespace {

// The record as Windows 95 and NT 4.0 define it, ending with a tip field of 64 bytes: 63
// bytes of UTF-8 text and the terminating zero.
constexpr DWORD kRecordSize = NOTIFYICONDATAA_V1_SIZE;
constexpr std::size_t kMaxTipLength = 63;
static_assert(kRecordSize == offsetof(NOTIFYICONDATAA, szTip) + kMaxTipLength + 1);
constexpr UINT kRecordFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;

UINT TaskbarCreatedMessage() {
  static const UINT message = RegisterWindowMessageA("TaskbarCreated");
  return message;
}

}  // namespace

TCustomWinTaskbar::TrayWindow::TrayWindow(TCustomWinTaskbar& component) : component_(component) {
  CreateHandle({.className = "VindelorTrayCallback"}, {.style = WS_POPUP});
}

LRESULT TCustomWinTaskbar::TrayWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return component_.TrayWndProc(message, wParam, lParam);
}

TCustomWinTaskbar::TCustomWinTaskbar(tk::Form& owner) : ownerWindow_(owner.Handle()) {
  record_.cbSize = kRecordSize;
  record_.hWnd = callbackWindow_.Handle();
  record_.uID = 0;
  record_.uFlags = kRecordFlags;
  record_.uCallbackMessage = kTrayCallbackMessage;
}

TCustomWinTaskbar::~TCustomWinTaskbar() { SetShowIcon(false); }

void TCustomWinTaskbar::UpdateTrayIcon() {
  if (showIcon_ && !icon_.Empty()) {
    const DWORD request = record_.hIcon ? NIM_MODIFY : NIM_ADD;
    record_.hIcon = icon_.Handle();
    (void)shellNotify(request, &record_);
  } else {
    record_.hIcon = nullptr;
    (void)shellNotify(NIM_DELETE, &record_);
  }
}

void TCustomWinTaskbar::SetHint(const std::string& hint) {
  if (hint != hint_) {
    const std::string_view tip = tk::CutToWholeCharacters(hint, kMaxTipLength);
    std::copy_n(tip.data(), tip.size(), record_.szTip);
    record_.szTip[tip.size()] = '\0';
    UpdateTrayIcon();
  }
  hint_ = hint;
}

void TCustomWinTaskbar::SetIcon(HICON picture) {
  icon_.Assign(picture);
  UpdateTrayIcon();
}

void TCustomWinTaskbar::SetShowIcon(bool show) {
  showIcon_ = show;
  UpdateTrayIcon();
}

void TCustomWinTaskbar::SetPopUpMenu(tk::PopupMenu* menu) {
  popUpMenu_ = menu;
  if (menu) menu->FreeNotification(*this);
}

void TCustomWinTaskbar::Notification(tk::Component& destroyed) {
  if (&destroyed == popUpMenu_) popUpMenu_ = nullptr;
}

LRESULT TCustomWinTaskbar::TrayWndProc(UINT message, WPARAM wParam, LPARAM lParam) {
  POINT at{};
  GetCursorPos(&at);
  // The shell's taskbar was recreated and has forgotten every entry; without this the icon
  // would be gone for the rest of the run, also after an add the shell refused at start-up.
  if (message == TaskbarCreatedMessage() && showIcon_ && !icon_.Empty()) {
    record_.hIcon = icon_.Handle();
    (void)shellNotify(NIM_ADD, &record_);
  }
  if (message != kTrayCallbackMessage) {
    return DefWindowProcA(callbackWindow_.Handle(), message, wParam, lParam);
  }
  const tk::ShiftState none{};
  const auto reported = static_cast<UINT>(lParam);
  switch (reported) {
    case WM_MOUSEMOVE: TrayMouseMove(none, at.x, at.y); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: TrayMouseDown(tk::MouseButtonOf(reported), none, at.x, at.y); break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: TrayMouseUp(tk::MouseButtonOf(reported), none, at.x, at.y); break;
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: TrayDoubleClick(); break;
    default: break;
  }
  return 0;
}

void TCustomWinTaskbar::TrayDoubleClick() {
  if (OnDblClick) OnDblClick();
}

void TCustomWinTaskbar::TrayMouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(button, shift, x, y);
}

void TCustomWinTaskbar::TrayMouseMove(tk::ShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(shift, x, y);
}

void TCustomWinTaskbar::TrayMouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(button, shift, x, y);
}

void TWinTaskbar::TrayDoubleClick() {
  if (!OnDblClick) return;
  doubleClickLatch_ = true;
  SetForegroundWindow(OwnerWindow());
  OnDblClick();
}

void TWinTaskbar::TrayMouseDown(tk::MouseButton button, tk::ShiftState, int x, int y) {
  if (button == tk::MouseButton::Right) ShowTrayMenu(x, y);
}

void TWinTaskbar::TrayMouseUp(tk::MouseButton button, tk::ShiftState, int, int) {
  if (button != tk::MouseButton::Left) return;
  if (doubleClickLatch_) {
    doubleClickLatch_ = false;
    return;
  }
  TrayClick();
}

void TWinTaskbar::TrayClick() {
  if (!OnClick) return;
  SetForegroundWindow(OwnerWindow());
  OnClick();
}

void TWinTaskbar::ShowTrayMenu(int x, int y) {
  if (!PopUpMenu()) return;
  SetForegroundWindow(OwnerWindow());
  PopUpMenu()->Popup(x, y);
  // Lets the menu close properly when the user next clicks outside it.
  PostMessageA(OwnerWindow(), WM_USER, 0, 0);
}

#include "toolkit/Control.h"

#include <algorithm>

#include "toolkit/Cursor.h"
#include "toolkit/Hints.h"
#include "toolkit/Error.h"
#include "toolkit/Form.h"
#include "toolkit/Scaling.h"

namespace tk {

ShiftState ShiftStateFromMouseKeys(WPARAM keys, bool doubleClick) {
  return {.shift = (keys & MK_SHIFT) != 0,
          .ctrl = (keys & MK_CONTROL) != 0,
          .alt = GetKeyState(VK_MENU) < 0,
          .left = (keys & MK_LBUTTON) != 0,
          .right = (keys & MK_RBUTTON) != 0,
          .middle = (keys & MK_MBUTTON) != 0,
          .doubleClick = doubleClick};
}

MouseButton MouseButtonOf(UINT message) noexcept {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
      return MouseButton::Left;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return MouseButton::Right;
    default:
      return MouseButton::Middle;
  }
}

bool IsDoubleClick(UINT message) noexcept {
  return message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

void HintMouseMoved(HWND window, bool& tracking, const std::string& hint) {
  if (!tracking) {
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, window, 0};
    tracking = TrackMouseEvent(&track) != FALSE;
  }
  SetHint(hint);
}

void HintMouseLeft(bool& tracking) {
  tracking = false;
  // Moving onto another window of the program gives that window's hint with its first move;
  // only outside the program does the hint become empty.
  if (!OwnWindowUnderPointer()) SetHint("");
}

// --- Container -------------------------------------------------------------------------------

void Container::RemoveChild(Control& child) noexcept { std::erase(children_, &child); }

bool Container::ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_COMMAND:
      if (Control* child = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        child->Notify(HIWORD(wParam));
        result = 0;
        return true;
      }
      return false;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
      if (Control* child = Control::FromHandle(reinterpret_cast<HWND>(lParam))) {
        if (HBRUSH brush = child->PrepareColors(reinterpret_cast<HDC>(wParam))) {
          result = reinterpret_cast<LRESULT>(brush);
          return true;
        }
      }
      return false;
    default:
      return false;
  }
}

// --- Control ---------------------------------------------------------------------------------

Control::Control(Container& parent, Bounds bounds, std::string caption, const ControlArgs& args,
                 const char* windowClass, DWORD style, DWORD exStyle)
    : parent_(parent), hint_(args.hint), tabOrder_(args.tabOrder), align_(args.align) {
  if (args.font) ownFont_ = std::make_unique<Font>(*args.font);
  // A container is no stop itself: the dialog manager goes into it, to its children's stops.
  if (IsTabStop() && !(exStyle & WS_EX_CONTROLPARENT)) style |= WS_TABSTOP;
  if (args.startsGroup || !IsTabStop()) style |= WS_GROUP;
  if (!args.enabled) style |= WS_DISABLED;
  const INT_PTR id = parent.OwnerForm().NewControlId(args.isDefault, args.isCancel);
  HWND window = CreateWindowExA(exStyle, windowClass, caption.c_str(),
                                style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left,
                                bounds.top, bounds.width, bounds.height, parent.ContainerHandle(),
                                reinterpret_cast<HMENU>(id), GetModuleHandleA(nullptr), nullptr);
  if (!window) throw Error(FormatText("Cannot create the control '%s'", caption));
  handle_.Reset(window);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  originalProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), FALSE);
  parent_.AddChild(*this);
  if (align_ != Align::None) {
    RECT client{};
    GetClientRect(parent.ContainerHandle(), &client);
    ParentResized(client.right, client.bottom);
  }
}

Control::~Control() {
  handle_.Reset();  // while every member is still alive for the messages destruction sends
  parent_.RemoveChild(*this);
}

Control* Control::FromHandle(HWND window) noexcept {
  if (!window) return nullptr;
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)) != &SubclassProc) {
    return nullptr;
  }
  return reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

Bounds Control::GetBounds() const {
  RECT rect{};
  GetWindowRect(Handle(), &rect);
  MapWindowPoints(HWND_DESKTOP, parent_.ContainerHandle(), reinterpret_cast<POINT*>(&rect), 2);
  return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void Control::SetBounds(Bounds bounds) {
  MoveWindow(Handle(), bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

std::string Control::Caption() const {
  std::string text(static_cast<std::size_t>(GetWindowTextLengthA(Handle())) + 1, '\0');
  int length = GetWindowTextA(Handle(), text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(std::max(length, 0)));
  return text;
}

void Control::SetCaption(const std::string& caption) { SetWindowTextA(Handle(), caption.c_str()); }

bool Control::Enabled() const { return IsWindowEnabled(Handle()) != FALSE; }
void Control::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled); }
bool Control::Visible() const { return (GetWindowLongPtrA(Handle(), GWL_STYLE) & WS_VISIBLE) != 0; }
void Control::SetVisible(bool visible) { ShowWindow(Handle(), visible ? SW_SHOWNA : SW_HIDE); }
void Control::SetFocus() { ::SetFocus(Handle()); }

std::string Control::EffectiveHint() const {
  const std::string& hint = hint_.empty() ? parent_.ContainerHint() : hint_;
  auto bar = hint.find('|');
  return bar == std::string::npos ? hint : hint.substr(bar + 1);
}

HFONT Control::CurrentFont() const noexcept {
  return ownFont_ ? ownFont_->Handle() : parent_.ContainerFont().Handle();
}

COLORREF Control::TextColor() const noexcept {
  return ownFont_ ? ownFont_->Spec().color : parent_.ContainerFont().Spec().color;
}

void Control::ScaleBy(const Scale& scale) {
  Bounds b = GetBounds();
  int left = scale.Length(b.left);
  int top = scale.Length(b.top);
  int right = scale.Length(b.left + b.width);
  int bottom = scale.Length(b.top + b.height);
  SetBounds({left, top, right - left, bottom - top});
  if (ownFont_) {
    ownFont_->SetHeight(scale.FontHeight(ownFont_->Spec().height));
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(ownFont_->Handle()), TRUE);
  }
}

void Control::ParentResized(int clientWidth, int clientHeight) {
  if (align_ != Align::Bottom) return;
  int height = GetBounds().height;
  SetBounds({0, clientHeight - height, clientWidth, height});
}

void Control::ParentFontChanged() {
  if (!ownFont_) {
    SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(CurrentFont()), TRUE);
  }
}

HBRUSH Control::PrepareColors(HDC dc) {
  SetTextColor(dc, TextColor());
  SetBkColor(dc, parent_.ContainerColor());
  return parent_.ContainerBrush();
}

LRESULT Control::CallOriginal(UINT message, WPARAM wParam, LPARAM lParam) {
  return CallWindowProcA(originalProc_, Handle(), message, wParam, lParam);
}

LRESULT Control::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEMOVE:
      HintMouseMoved(Handle(), trackingMouse_, EffectiveHint());
      break;
    case WM_MOUSELEAVE:
      HintMouseLeft(trackingMouse_);
      break;
    case WM_SETCURSOR:
      if (HiddenCursor::KeepHidden()) return TRUE;
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS: {
      LRESULT result = CallOriginal(message, wParam, lParam);
      parent_.OwnerForm().FocusMoved(message == WM_SETFOCUS ? Handle()
                                                            : reinterpret_cast<HWND>(wParam));
      return result;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      // The control reacts first (a check box toggles and reports its click), then the release.
      LRESULT result = CallOriginal(message, wParam, lParam);
      if (OnMouseUp) {
        OnMouseUp(MouseButtonOf(message), ShiftStateFromMouseKeys(wParam), MouseX(lParam),
                  MouseY(lParam));
      }
      return result;
    }
    default:
      break;
  }
  return CallOriginal(message, wParam, lParam);
}

LRESULT CALLBACK Control::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Control*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    WNDPROC original = self->originalProc_;
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    (void)self->handle_.Release();
    return CallWindowProcA(original, window, message, wParam, lParam);
  }
  return HandleReportingErrors([&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace tk

#include "toolkit/Form.h"

#include <algorithm>
#include <tuple>
#include <utility>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/Cursor.h"
#include "toolkit/Scaling.h"

namespace tk {
namespace {

DWORD FrameStyle(const FormArgs& args) {
  DWORD style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (args.border == FormBorder::None) return style | WS_POPUP;
  style |= WS_POPUP | WS_CAPTION | WS_DLGFRAME;
  if (args.systemMenu) style |= WS_SYSMENU;
  return style;
}

DWORD FrameExStyle(const FormArgs& args) {
  DWORD exStyle = 0;
  if (args.border == FormBorder::Dialog) exStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
  if (args.alwaysOnTop) exStyle |= WS_EX_TOPMOST;
  return exStyle;
}

std::vector<Control*> InTabOrder(const Container& container) {
  std::vector<Control*> children = container.Children();
  std::stable_sort(children.begin(), children.end(), [](const Control* a, const Control* b) {
    return a->TabOrder() < b->TabOrder();
  });
  return children;
}

template <typename Visit>
void ForEachControl(const Container& container, const Visit& visit) {
  for (Control* child : container.Children()) {
    visit(*child);
    if (auto* inner = dynamic_cast<Container*>(child)) ForEachControl(*inner, visit);
  }
}

// The z-order is the order in which Tab visits the controls: those with a tab position are
// stacked in it, each container's children likewise, and the rest stay below them.
void StackInTabOrder(const Container& container) {
  HWND previous = HWND_TOP;
  for (Control* child : InTabOrder(container)) {
    if (!child->IsTabStop()) continue;
    SetWindowPos(child->Handle(), previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    previous = child->Handle();
    if (auto* inner = dynamic_cast<Container*>(child)) StackInTabOrder(*inner);
  }
}

}  // namespace

Form::Form(const FormArgs& args)
    : font_(args.font),
      color_(args.color),
      brush_(CreateSolidBrush(args.color)),
      position_(args.position),
      cursor_(args.cursor ? args.cursor : LoadCursorA(nullptr, IDC_ARROW)),
      activatable_(args.activatable),
      canvas_(nullptr),
      capturesMouse_(args.capturesMouse),
      takesAllKeys_(args.takesAllKeys),
      dialogKeys_(args.dialogKeys) {
  RECT outer{0, 0, args.clientWidth, args.clientHeight};
  AdjustWindowRectEx(&outer, FrameStyle(args), FALSE, FrameExStyle(args));
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  CreateHandle({.className = "VindelorForm", .classStyle = CS_DBLCLKS, .icon = App().Icon()},
               {.exStyle = FrameExStyle(args),
                .style = FrameStyle(args),
                .caption = args.caption,
                .bounds = {args.left, args.top, args.left + width, args.top + height},
                .parent = App().Handle()});
  canvas_ = Canvas(Handle());
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  if (args.border == FormBorder::Dialog && args.showIcon) {
    SendMessageA(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(App().Icon()));
  }
}

Form::~Form() { windowGone_ = true; }

void Form::RunCreation() {
  StackInTabOrder(*this);
  Loaded();
  try {
    FormCreate();
  } catch (const OrderlyExit&) {
    throw;
  } catch (...) {
    // As with any handler: the error is reported and the program goes on.
    ReportCurrentException();
  }
}

void Form::RunDestruction() {
  try {
    FormDestroy();
  } catch (...) {
    ReportCurrentException();
  }
  windowGone_ = true;
  if (Handle()) DestroyWindow(Handle());
}

void Form::Show() {
  if (position_ == FormPosition::ScreenCenter) CentreOnScreen();
  bool wasVisible = Visible();
  if (this == App().MainForm()) ShowWindow(App().Handle(), SW_SHOWNOACTIVATE);
  if (activatable_) {
    ShowWindow(Handle(), SW_SHOW);
    BringWindowToTop(Handle());
  } else {
    SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  }
  if (!wasVisible) FormShow();
}

void Form::Hide() {
  GiveBackMouse();
  ShowWindow(Handle(), SW_HIDE);
}

void Form::TakeMouse(UINT buttonDown) {
  if (!capturesMouse_ || holdingMouse_) return;
  holdingMouse_ = true;
  mouseHeldFor_ = MouseButtonOf(buttonDown);
  SetCapture(Handle());
}

void Form::GiveBackMouse() {
  if (!std::exchange(holdingMouse_, false)) return;
  if (GetCapture() == Handle()) ReleaseCapture();  // the capture change that follows ends nothing
}

void Form::MouseLost() {
  if (!std::exchange(holdingMouse_, false)) return;
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(Handle(), &at);
  // As the release's message would say: what is held now, but the button that ends.
  WPARAM keys = (GetKeyState(VK_SHIFT) < 0 ? WPARAM{MK_SHIFT} : 0) |
                (GetKeyState(VK_CONTROL) < 0 ? WPARAM{MK_CONTROL} : 0);
  for (auto [key, flag, button] :
       {std::tuple(VK_LBUTTON, WPARAM{MK_LBUTTON}, MouseButton::Left),
        std::tuple(VK_RBUTTON, WPARAM{MK_RBUTTON}, MouseButton::Right),
        std::tuple(VK_MBUTTON, WPARAM{MK_MBUTTON}, MouseButton::Middle)}) {
    if (button != mouseHeldFor_ && GetKeyState(key) < 0) keys |= flag;
  }
  FormMouseUp(mouseHeldFor_, ShiftStateFromMouseKeys(keys), at.x, at.y);
}

bool Form::Visible() const { return IsWindowVisible(Handle()) != FALSE; }

void Form::Close() {
  if (this == App().MainForm()) {
    App().Terminate();
  } else {
    Hide();
  }
}

void Form::SetEnabled(bool enabled) { EnableWindow(Handle(), enabled); }
bool Form::Enabled() const { return IsWindowEnabled(Handle()) != FALSE; }

void Form::Repaint() {
  RedrawWindow(Handle(), nullptr, nullptr,
               RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

std::string Form::Caption() const {
  char text[512]{};
  int length = GetWindowTextA(Handle(), text, sizeof(text));
  return std::string(text, static_cast<std::size_t>(std::max(length, 0)));
}

void Form::SetCaption(const std::string& caption) { SetWindowTextA(Handle(), caption.c_str()); }

namespace {
RECT OuterRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}
}  // namespace

int Form::Left() const { return OuterRect(Handle()).left; }
int Form::Top() const { return OuterRect(Handle()).top; }
int Form::Width() const {
  RECT r = OuterRect(Handle());
  return r.right - r.left;
}
int Form::Height() const {
  RECT r = OuterRect(Handle());
  return r.bottom - r.top;
}

void Form::SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
void Form::SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }

void Form::SetBounds(int left, int top, int width, int height) {
  SetWindowPos(Handle(), nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

int Form::ClientWidth() const {
  RECT rect{};
  GetClientRect(Handle(), &rect);
  return rect.right;
}

int Form::ClientHeight() const {
  RECT rect{};
  GetClientRect(Handle(), &rect);
  return rect.bottom;
}

void Form::SetClientSize(int width, int height) {
  RECT outer{0, 0, width, height};
  auto style = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_STYLE));
  auto exStyle = static_cast<DWORD>(GetWindowLongPtrA(Handle(), GWL_EXSTYLE));
  AdjustWindowRectEx(&outer, style, FALSE, exStyle);
  SetBounds(Left(), Top(), outer.right - outer.left, outer.bottom - outer.top);
}

void Form::ScaleBy(int numerator, int denominator) {
  const Scale scale{numerator, denominator, ScreenPixelsPerInch()};
  SetFontHeight(scale.FontHeight(font_.Spec().height));
  ScaleContents(scale);
}

void Form::ScaleToScreen(int designPixelsPerInch, int designTextHeight) {
  const int pixelsPerInch = ScreenPixelsPerInch();
  if (pixelsPerInch == designPixelsPerInch) return;
  SetFontHeight(ScaleRounded(font_.Spec().height, pixelsPerInch, designPixelsPerInch));
  int textHeight = ScreenTextHeight(font_.Handle());
  if (textHeight != designTextHeight) ScaleContents({textHeight, designTextHeight});
}

void Form::SetFontHeight(int height) {
  font_.SetHeight(height);
  SendMessageA(Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  for (Control* control : Children()) control->ParentFontChanged();
}

void Form::ScaleContents(const Scale& scale) {
  int clientWidth = scale.Length(ClientWidth());
  int clientHeight = scale.Length(ClientHeight());
  for (Control* control : Children()) control->ScaleBy(scale);
  SetClientSize(clientWidth, clientHeight);
}

void Form::CentreOnScreen() {
  int left = (GetSystemMetrics(SM_CXSCREEN) - Width()) / 2;
  int top = (GetSystemMetrics(SM_CYSCREEN) - Height()) / 2;
  SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::SetActiveControl(Control& control) {
  lastFocus_ = control.Handle();
  if (GetActiveWindow() == Handle()) control.SetFocus();
}

Control* Form::ActiveControl() const {
  HWND focus = GetFocus();
  for (HWND window = focus; window && window != Handle(); window = GetParent(window)) {
    if (Control* control = Control::FromHandle(window)) return control;
  }
  return Control::FromHandle(lastFocus_);
}

int Form::NewControlId(bool isDefault, bool isCancel) noexcept {
  if (isDefault) return IDOK;
  if (isCancel) return IDCANCEL;
  return nextControlId_++;
}

Button* Form::ButtonEnterPresses(HWND focus) const {
  auto* focused = dynamic_cast<Button*>(Control::FromHandle(focus));
  if (focused && &focused->Parent().OwnerForm() == this) return focused;
  return defaultButton_;
}

void Form::FocusMoved(HWND to) {
  if (dialogKeys_ && !windowGone_) ShowDefaultButton(to);
}

void Form::ShowDefaultButton(HWND focus) {
  const Button* pressed = ButtonEnterPresses(focus);
  ForEachControl(*this, [pressed](Control& control) {
    auto* button = dynamic_cast<Button*>(&control);
    if (!button) return;
    const LONG_PTR look = button == pressed ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
    if ((GetWindowLongPtrA(button->Handle(), GWL_STYLE) & BS_TYPEMASK) == look) return;
    SendMessageA(button->Handle(), BM_SETSTYLE, static_cast<WPARAM>(look), TRUE);
  });
}

bool Form::TakeDialogMessage(MSG& message) {
  if (!dialogKeys_) return false;
  const HWND focusBefore = GetFocus();
  if (!IsDialogMessageA(Handle(), &message)) return false;
  if (message.message != WM_KEYDOWN || windowGone_) return true;
  const HWND focus = GetFocus();
  if (message.wParam == VK_TAB) {
    ShowDefaultButton(focus);  // Tab restyles the buttons after the focus has moved
  } else if (message.wParam == VK_LEFT || message.wParam == VK_RIGHT || message.wParam == VK_UP ||
             message.wParam == VK_DOWN) {
    // An arrow that moves the focus onto a radio button checks it, as a click would; the
    // dialog manager only moves the focus between plain radio buttons.
    auto* radio = dynamic_cast<RadioButton*>(Control::FromHandle(focus));
    if (radio && focus != focusBefore) {
      HandleReportingErrors([radio] {
        radio->SetChecked(true);
        return LRESULT{0};
      });
    }
  }
  return true;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (windowGone_) return Window::HandleMessage(message, wParam, lParam);
  LRESULT reflected = 0;
  if (ReflectToChild(message, wParam, lParam, reflected)) return reflected;
  switch (message) {
    // Asked by the dialog manager: Enter presses the focused push button, else the default one.
    case DM_GETDEFID:
      if (const Button* button = ButtonEnterPresses(GetFocus())) {
        return MAKELRESULT(GetDlgCtrlID(button->Handle()), DC_HASDEFID);
      }
      return 0;
    case WM_NEXTDLGCTL: {  // an arrow key onto a control that is no radio button
      HWND next = lParam ? reinterpret_cast<HWND>(wParam)
                         : GetNextDlgTabItem(Handle(), GetFocus(), wParam != 0);
      if (next) ::SetFocus(next);
      return 0;
    }
    case WM_ERASEBKGND: {
      RECT client{};
      GetClientRect(Handle(), &client);
      FillRect(reinterpret_cast<HDC>(wParam), &client, brush_.Get());
      return TRUE;
    }
    case WM_PAINT: {
      PaintScope paint(Handle());
      canvas_.BindPaintDc(paint.Get());
      try {
        FormPaint();
      } catch (...) {
        canvas_.BindPaintDc(nullptr);
        throw;
      }
      canvas_.BindPaintDc(nullptr);
      return 0;
    }
    case WM_CLOSE:
      FormClose();
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (HWND focus = GetFocus(); focus && IsChild(Handle(), focus)) lastFocus_ = focus;
      } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)) {
        ::SetFocus(lastFocus_);
      } else {
        ::SetFocus(Handle());
      }
      return 0;
    case WM_SETCURSOR:
      if (HiddenCursor::KeepHidden()) return TRUE;
      if (reinterpret_cast<HWND>(wParam) == Handle() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(cursor_);  // the form's own; controls choose theirs
        return TRUE;
      }
      break;
    case WM_MOUSEACTIVATE:
      if (!activatable_) return MA_NOACTIVATE;
      break;
    case WM_CHAR: {
      char key = static_cast<char>(wParam);
      FormKeyPress(key);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (!takesAllKeys_) break;
      FormKeyDown(static_cast<WORD>(wParam));
      return 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
      if (takesAllKeys_) return 0;  // no menu, no Alt+F4
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK:
      TakeMouse(message);
      FormMouseDown(MouseButtonOf(message), ShiftStateFromMouseKeys(wParam, IsDoubleClick(message)),
                    MouseX(lParam), MouseY(lParam));
      return 0;
    case WM_MOUSEMOVE:
      HintMouseMoved(Handle(), trackingMouse_, hint_);
      FormMouseMove(ShiftStateFromMouseKeys(wParam), MouseX(lParam), MouseY(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != Handle()) MouseLost();
      return 0;
    case WM_MOUSELEAVE:
      HintMouseLeft(trackingMouse_);
      return 0;
    case WM_SIZE:
      for (Control* control : Children()) control->ParentResized(LOWORD(lParam), HIWORD(lParam));
      break;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
      GiveBackMouse();
      FormMouseUp(MouseButtonOf(message), ShiftStateFromMouseKeys(wParam), MouseX(lParam),
                  MouseY(lParam));
      return 0;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk

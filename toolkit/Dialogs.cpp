#include "toolkit/Dialogs.h"

#include <windows.h>

#include <algorithm>
#include <vector>

#include "toolkit/Handles.h"
#include "toolkit/MessageLayout.h"

namespace tk {
namespace {

struct DialogButton {
  const char* caption;
  int id;
};

struct MessageDialogSpec {
  std::string caption;
  std::string text;
  LPCSTR icon;
  std::vector<DialogButton> buttons;  // the first is the default
  int escapeResult;
};

constexpr int kTextId = 100;
constexpr int kIconId = 101;

// Disables every visible, enabled top-level window of this thread for the dialog's lifetime.
class ThreadWindowsDisabled {
 public:
  ThreadWindowsDisabled() {
    EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(&disabled_));
    for (HWND window : disabled_) EnableWindow(window, FALSE);
  }
  ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
  ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
  ~ThreadWindowsDisabled() {
    for (HWND window : disabled_) {
      if (IsWindow(window)) EnableWindow(window, TRUE);
    }
  }

 private:
  static BOOL CALLBACK Collect(HWND window, LPARAM list) {
    if (IsWindowVisible(window) && IsWindowEnabled(window)) {
      reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

HWND AddChild(HWND dialog, const char* className, const char* text, DWORD style, RECT bounds,
              int id) {
  HWND child = CreateWindowExA(0, className, text, style | WS_CHILD | WS_VISIBLE, bounds.left,
                               bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                               dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               GetModuleHandleA(nullptr), nullptr);
  SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0)),
               FALSE);
  return child;
}

// The icon's width in pixels (the system's icons come in the size of the display's scale).
int IconSize(HICON icon) {
  ICONINFO info{};
  if (!GetIconInfo(icon, &info)) return GetSystemMetrics(SM_CXICON);
  const UniqueBitmap mask(info.hbmMask), color(info.hbmColor);  // GetIconInfo hands both over
  BITMAP bitmap{};
  return GetObjectA(mask.Get(), sizeof(bitmap), &bitmap) ? bitmap.bmWidth
                                                          : GetSystemMetrics(SM_CXICON);
}

void LayOut(HWND dialog, const MessageDialogSpec& spec) {
  SetWindowTextA(dialog, spec.caption.c_str());
  HICON iconImage = LoadIconA(nullptr, spec.icon);
  MessageMeasures measures{.iconSize = IconSize(iconImage),
                           .buttonCount = static_cast<int>(spec.buttons.size())};
  {
    WindowDc dc(dialog);
    SelectGuard keep(dc.Get(), reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
    measures.pixelsPerInch = GetDeviceCaps(dc.Get(), LOGPIXELSY);
    RECT textRect{0, 0, MaxMessageTextWidth(measures.pixelsPerInch), 0};
    DrawTextA(dc.Get(), spec.text.c_str(), -1, &textRect,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    measures.textWidth = textRect.right;
    measures.textHeight = textRect.bottom;
    for (const DialogButton& button : spec.buttons) {
      RECT captionRect{};
      DrawTextA(dc.Get(), button.caption, -1, &captionRect, DT_CALCRECT | DT_SINGLELINE);
      measures.widestCaption = std::max<int>(measures.widestCaption, captionRect.right);
    }
  }
  const MessageLayout layout = LayOutMessage(measures);
  auto bounds = [](const ScreenRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; };
  HWND icon = AddChild(dialog, "STATIC", "", SS_ICON, bounds(layout.icon), kIconId);
  SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(iconImage), 0);
  AddChild(dialog, "STATIC", spec.text.c_str(), SS_LEFT | SS_NOPREFIX, bounds(layout.text),
           kTextId);
  for (std::size_t i = 0; i < spec.buttons.size(); ++i) {
    DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
    AddChild(dialog, "BUTTON", spec.buttons[i].caption, style, bounds(layout.buttons[i]),
             spec.buttons[i].id);
  }
  SendMessageA(dialog, DM_SETDEFID, static_cast<WPARAM>(spec.buttons.front().id), 0);

  RECT outer{0, 0, layout.clientWidth, layout.clientHeight};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  SetWindowPos(dialog, HWND_TOP, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, 0);
  SetFocus(GetDlgItem(dialog, spec.buttons.front().id));
}

INT_PTR CALLBACK MessageDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: {
      auto* spec = reinterpret_cast<const MessageDialogSpec*>(lParam);
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      LayOut(dialog, *spec);
      SetForegroundWindow(dialog);
      return FALSE;  // focus set by LayOut
    }
    case WM_COMMAND: {
      auto* spec = reinterpret_cast<const MessageDialogSpec*>(GetWindowLongPtrA(dialog, DWLP_USER));
      int id = LOWORD(wParam);
      if (id == IDCANCEL) {
        EndDialog(dialog, spec->escapeResult);
        return TRUE;
      }
      for (const DialogButton& button : spec->buttons) {
        if (button.id == id) {
          EndDialog(dialog, id);
          return TRUE;
        }
      }
      return FALSE;
    }
    default:
      return FALSE;
  }
}

// An empty dialog template with the dialog font; the controls are made in WM_INITDIALOG.
std::vector<WORD> EmptyTemplate() {
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
  auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
  header->style = DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU;
  header->dwExtendedStyle = WS_EX_DLGMODALFRAME | WS_EX_TOPMOST;
  header->cx = 100;
  header->cy = 50;
  words.push_back(0);  // no menu
  words.push_back(0);  // the standard dialog class
  words.push_back(0);  // empty title; set in WM_INITDIALOG
  words.push_back(8);  // point size
  for (const char* c = "MS Sans Serif"; *c; ++c) words.push_back(static_cast<WORD>(*c));
  words.push_back(0);
  return words;
}

// When the dialog closes, the window that was active before it is active again: that window
// owns the dialog, so that the system gives the activation back to it and not to whatever
// window lies next, perhaps another program's.
int RunMessageDialog(const MessageDialogSpec& spec) {
  std::vector<WORD> dialogTemplate = EmptyTemplate();
  HWND active = GetActiveWindow();
  INT_PTR result = 0;
  {
    ThreadWindowsDisabled disabled;
    result = DialogBoxIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
        active, &MessageDialogProc, reinterpret_cast<LPARAM>(&spec));
  }
  if (active && IsWindow(active)) SetForegroundWindow(active);
  return static_cast<int>(result);
}

}  // namespace

void ShowInformation(const std::string& text) {
  RunMessageDialog({"Information", text, IDI_INFORMATION, {{"OK", IDOK}}, IDOK});
}

int ShowMessageBox(const std::string& text, const std::string& caption, unsigned int flags) {
  HWND active = GetActiveWindow();
  int answer = 0;
  {
    ThreadWindowsDisabled disabled;
    answer = MessageBoxA(nullptr, text.c_str(), caption.c_str(), flags);
  }
  // With no owner to hand the activation back to, the box leaves it to the system.
  if (active && IsWindow(active)) SetForegroundWindow(active);
  return answer;
}

bool ConfirmYesNo(const std::string& caption, const std::string& text) {
  return RunMessageDialog(
             {caption, text, IDI_QUESTION, {{"&Yes", IDYES}, {"&No", IDNO}}, IDNO}) == IDYES;
}

}  // namespace tk

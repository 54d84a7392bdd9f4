// The notification-area icon: one icon with a tooltip in the taskbar's notification area, the
// mouse messages the shell reports for it turned into events (click, double click, mouse down,
// move and up), and an attached popup menu opened by the right mouse button.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "toolkit/Component.h"
#include "toolkit/Control.h"
#include "toolkit/Icon.h"
#include "toolkit/Window.h"

namespace tk {
class Form;
class PopupMenu;
}  // namespace tk

// The shell reports the icon's mouse messages to the callback window as this message.
inline constexpr UINT kTrayCallbackMessage = WM_USER + 123;

class TCustomWinTaskbar : public tk::Component {
 public:
  // The shell's notification-area request; tests put a recorder in its place.
  using ShellNotify = BOOL(WINAPI*)(DWORD request, PNOTIFYICONDATAA record);
  static inline ShellNotify shellNotify = &Shell_NotifyIconA;

  // The owner form's window is taken now; the entry is not shown until ShowIcon is set.
  explicit TCustomWinTaskbar(tk::Form& owner);
  // Always ends with no entry: a delete request is sent even when none exists.
  ~TCustomWinTaskbar() override;

  [[nodiscard]] const std::string& Hint() const noexcept { return hint_; }
  void SetHint(const std::string& hint);  // its first 63 bytes, cut between characters, are the tip
  [[nodiscard]] const tk::Icon& Icon() const noexcept { return icon_; }
  void SetIcon(HICON picture);  // the component keeps a copy
  [[nodiscard]] bool ShowIcon() const noexcept { return showIcon_; }
  void SetShowIcon(bool show);
  [[nodiscard]] tk::PopupMenu* PopUpMenu() const noexcept { return popUpMenu_; }
  void SetPopUpMenu(tk::PopupMenu* menu);
  std::function<void()> OnDblClick;

  [[nodiscard]] HWND CallbackWindow() const noexcept { return callbackWindow_.Handle(); }

 protected:
  // Each raises its event when one is assigned.
  virtual void TrayDoubleClick();
  virtual void TrayMouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y);
  virtual void TrayMouseMove(tk::ShiftState shift, int x, int y);
  virtual void TrayMouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y);
  void Notification(tk::Component& destroyed) override;

  [[nodiscard]] HWND OwnerWindow() const noexcept { return ownerWindow_; }

  tk::MouseHandler OnMouseDown;
  std::function<void(tk::ShiftState, int x, int y)> OnMouseMove;
  tk::MouseHandler OnMouseUp;

 private:
  // A hidden top-level window: the shell's broadcast that the taskbar was recreated reaches
  // it, which it would not reach a message-only window.
  class TrayWindow final : public tk::Window {
   public:
    explicit TrayWindow(TCustomWinTaskbar& component);

   protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

   private:
    TCustomWinTaskbar& component_;
  };

  LRESULT TrayWndProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The one rule every change goes through: add, modify or delete the entry.
  void UpdateTrayIcon();

  std::string hint_;
  tk::Icon icon_;
  HWND ownerWindow_;
  tk::PopupMenu* popUpMenu_ = nullptr;
  bool showIcon_ = false;
  TrayWindow callbackWindow_{*this};
  // Sent with every request. hIcon is 0 while there is no entry: the only record of whether
  // one exists.
  NOTIFYICONDATAA record_{};
};

class TWinTaskbar final : public TCustomWinTaskbar {
 public:
  using TCustomWinTaskbar::TCustomWinTaskbar;

  // A release of the left button; after a double click that ran OnDblClick, the next release
  // counts as no click.
  std::function<void()> OnClick;

 protected:
  void TrayDoubleClick() override;
  void TrayMouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;
  void TrayMouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;

 private:
  void TrayClick();
  void ShowTrayMenu(int x, int y);

  bool doubleClickLatch_ = false;
};

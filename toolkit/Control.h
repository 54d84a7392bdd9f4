// Controls: native Win32 controls held as objects under their designer names. Each one sits on a
// container (a form or a group box), subclasses its window to see mouse releases and hints, and
// receives its own notifications and colour requests reflected back from the container.
//
// Setting a check box or radio button from code runs its click reaction when its state changes,
// like a click; mouse-release reactions run only for real mouse releases. Of a container's radio
// buttons only the checked one is a tab stop (the first while none is checked).
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Font.h"
#include "toolkit/Handles.h"
#include "toolkit/Scaling.h"

namespace tk {

class Form;
class Control;

struct Bounds {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

enum class MouseButton { Left, Right, Middle };
// The button of a WM_?BUTTONDOWN, WM_?BUTTONUP or WM_?BUTTONDBLCLK message.
[[nodiscard]] MouseButton MouseButtonOf(UINT message) noexcept;
[[nodiscard]] bool IsDoubleClick(UINT message) noexcept;

// The held mouse buttons and modifier keys of a mouse event.
struct ShiftState {
  bool shift = false, ctrl = false, alt = false;
  bool left = false, right = false, middle = false;
  bool doubleClick = false;
  [[nodiscard]] bool OnlyLeft() const noexcept { return *this == ShiftState{.left = true}; }
  [[nodiscard]] bool OnlyRight() const noexcept { return *this == ShiftState{.right = true}; }
  bool operator==(const ShiftState&) const = default;
};
[[nodiscard]] ShiftState ShiftStateFromMouseKeys(WPARAM keys, bool doubleClick = false);

// Hint bookkeeping shared by forms and controls: a mouse move over a window shows its hint,
// and leaving the program's windows altogether clears it.
void HintMouseMoved(HWND window, bool& tracking, const std::string& hint);
void HintMouseLeft(bool& tracking);

// Client coordinates of a mouse message.
[[nodiscard]] inline int MouseX(LPARAM lParam) noexcept {
  return static_cast<short>(LOWORD(lParam));
}
[[nodiscard]] inline int MouseY(LPARAM lParam) noexcept {
  return static_cast<short>(HIWORD(lParam));
}

using MouseHandler = std::function<void(MouseButton, ShiftState, int x, int y)>;

// Something controls sit on: a form or a group box.
class Container {
 public:
  virtual ~Container() = default;
  [[nodiscard]] virtual HWND ContainerHandle() const noexcept = 0;
  [[nodiscard]] virtual Form& OwnerForm() noexcept = 0;
  [[nodiscard]] virtual const Font& ContainerFont() const noexcept = 0;
  [[nodiscard]] virtual COLORREF ContainerColor() const noexcept = 0;
  [[nodiscard]] virtual HBRUSH ContainerBrush() const noexcept = 0;
  [[nodiscard]] virtual const std::string& ContainerHint() const noexcept = 0;

  [[nodiscard]] const std::vector<Control*>& Children() const noexcept { return children_; }
  void AddChild(Control& child) { children_.push_back(&child); }
  void RemoveChild(Control& child) noexcept;

  // Forwards notifications and colour requests from a child window to its control object.
  static bool ReflectToChild(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

 private:
  std::vector<Control*> children_;
};

enum class Align {
  None,
  Bottom,  // docked to the container's bottom edge, full width, keeping its height
};

struct ControlArgs {
  int tabOrder = -1;  // position among the container's tab stops; -1 for none
  // The first control of a group (WS_GROUP): the arrow keys move the focus within a group, from
  // its first control up to the next one that starts a group. A control without a tab position
  // is a group of its own, so that the arrows never land on it.
  bool startsGroup = false;
  std::string hint;              // shown in the status line while the mouse rests over the control
  std::optional<FontSpec> font;  // own font; without it the control uses its container's
  bool checked = false;          // check boxes and radio buttons
  bool isDefault = false;        // a button taken by Enter
  bool isCancel = false;         // a button taken by Esc
  int itemHeight = 13;           // the entries of a combo box's list
  bool enabled = true;
  Align align = Align::None;
};

class Control {
 public:
  Control(Container& parent, Bounds bounds, std::string caption, const ControlArgs& args,
          const char* windowClass, DWORD style, DWORD exStyle = 0);
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control();

  [[nodiscard]] HWND Handle() const noexcept { return handle_.Get(); }
  [[nodiscard]] static Control* FromHandle(HWND window) noexcept;
  [[nodiscard]] Container& Parent() const noexcept { return parent_; }

  [[nodiscard]] Bounds GetBounds() const;
  void SetBounds(Bounds bounds);
  [[nodiscard]] std::string Caption() const;
  void SetCaption(const std::string& caption);
  [[nodiscard]] bool Enabled() const;
  void SetEnabled(bool enabled);
  [[nodiscard]] bool Visible() const;
  void SetVisible(bool visible);
  [[nodiscard]] int TabOrder() const noexcept { return tabOrder_; }
  [[nodiscard]] bool IsTabStop() const noexcept { return tabOrder_ >= 0; }
  void SetFocus();
  // The control's hint, or its nearest container's when it has none; the part after a "|".
  [[nodiscard]] std::string EffectiveHint() const;
  [[nodiscard]] const Font* OwnFont() const noexcept { return ownFont_.get(); }
  [[nodiscard]] HFONT CurrentFont() const noexcept;
  [[nodiscard]] COLORREF TextColor() const noexcept;
  // Scales the edges and an own font's height, rounding to nearest.
  virtual void ScaleBy(const Scale& scale);
  // The container's font changed: controls without an own font take the new one.
  virtual void ParentFontChanged();
  // The container's client area changed size: docked controls follow.
  void ParentResized(int clientWidth, int clientHeight);

  MouseHandler OnMouseUp;

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT CallOriginal(UINT message, WPARAM wParam, LPARAM lParam);
  // WM_COMMAND notification code sent by this control to its container.
  virtual void Notify(WORD /*code*/) {}
  // Colours for WM_CTLCOLOR*: text in the font colour on the container's background.
  virtual HBRUSH PrepareColors(HDC dc);

 private:
  friend class Container;
  static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  Container& parent_;
  std::string hint_;
  int tabOrder_;
  Align align_;
  bool trackingMouse_ = false;
  std::unique_ptr<Font> ownFont_;
  UniqueWindow handle_;
  WNDPROC originalProc_ = nullptr;
};

class Label final : public Control {
 public:
  Label(Container& parent, Bounds bounds, std::string caption, ControlArgs args = {});
};

class Button final : public Control {
 public:
  Button(Container& parent, Bounds bounds, std::string caption, ControlArgs args = {});
  // Runs the click reaction, as a click on the button does.
  void Click();
  std::function<void()> OnClick;

 protected:
  void Notify(WORD code) override;
};

class CheckBox final : public Control {
 public:
  CheckBox(Container& parent, Bounds bounds, std::string caption, ControlArgs args = {});
  [[nodiscard]] bool Checked() const;
  // Runs OnClick when the state changes.
  void SetChecked(bool checked);
  std::function<void()> OnClick;

 protected:
  void Notify(WORD code) override;
};

class RadioButton final : public Control {
 public:
  RadioButton(Container& parent, Bounds bounds, std::string caption, ControlArgs args = {});
  [[nodiscard]] bool Checked() const;
  // Checking turns the other radio buttons of the container off; unchecking touches nothing
  // else. Runs OnClick when the state changes.
  void SetChecked(bool checked);
  std::function<void()> OnClick;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Notify(WORD code) override;

 private:
  bool receivingFocus_ = false;
};

// A drop-down combo box with an edit field, unsorted.
class ComboBox final : public Control {
 public:
  ComboBox(Container& parent, Bounds bounds, const std::string& text, ControlArgs args = {});
  void ClearItems();
  void AddItem(const std::string& item);
  [[nodiscard]] int ItemCount() const;
  [[nodiscard]] std::string Item(int index) const;
  [[nodiscard]] int ItemIndex() const;  // -1: no entry selected
  void SetItemIndex(int index);
  [[nodiscard]] bool DroppedDown() const;
  std::function<void()> OnChange;

 protected:
  void Notify(WORD code) override;
};

class GroupBox final : public Control, public Container {
 public:
  GroupBox(Container& parent, Bounds bounds, std::string caption, ControlArgs args = {});

  [[nodiscard]] HWND ContainerHandle() const noexcept override { return Handle(); }
  [[nodiscard]] Form& OwnerForm() noexcept override { return Parent().OwnerForm(); }
  [[nodiscard]] const Font& ContainerFont() const noexcept override;
  [[nodiscard]] COLORREF ContainerColor() const noexcept override;
  [[nodiscard]] HBRUSH ContainerBrush() const noexcept override;
  [[nodiscard]] const std::string& ContainerHint() const noexcept override { return noHint_; }
  void ParentFontChanged() override;
  void ScaleBy(const Scale& scale) override;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::string noHint_;
};

}  // namespace tk

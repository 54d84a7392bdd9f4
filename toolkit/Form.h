// Form base: a top-level window holding its controls as members under their designer names,
// with positions, sizes and font heights in pixels as the designs give them, and handlers named
// after control and event (FormCreate, FormShow, FormPaint, FormKeyPress, FormMouseDown, …).
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "toolkit/Canvas.h"
#include "toolkit/Control.h"
#include "toolkit/Font.h"
#include "toolkit/Window.h"

namespace tk {

enum class FormBorder {
  Dialog,  // fixed dialog frame with a title bar
  None,    // no border, no title bar
};

enum class FormPosition {
  Designed,      // left/top as given
  ScreenCenter,  // centred on the screen each time the form is shown
};

struct FormArgs {
  const char* caption = "";
  int clientWidth = 0;
  int clientHeight = 0;
  int left = 0;
  int top = 0;
  FormBorder border = FormBorder::Dialog;
  bool systemMenu = true;  // the title bar's menu and close box
  bool alwaysOnTop = false;
  FormPosition position = FormPosition::Designed;
  FontSpec font{};
  COLORREF color = GetSysColor(COLOR_BTNFACE);
  HCURSOR cursor = nullptr;  // over the client area; null: the arrow
  // False for a form that never becomes the active window: it shows without activation and a
  // click on it leaves the keys with the window that has them.
  bool activatable = true;
  bool showIcon = true;
  // The mouse is the form's from a button's press to the first release, over whatever window
  // the pointer then is; losing it in between (to another program's window) counts as a release.
  bool capturesMouse = false;
  // While the form is shown, every key of the program goes to its FormKeyDown, whichever window
  // has the keyboard, and nowhere else (for a form that is never active).
  bool takesAllKeys = false;
  // The system's dialog manager handles the form's keys: Tab and Shift+Tab move along the tab
  // stops, the arrows within a group (checking a radio button they reach), Enter presses the
  // focused push button or else the default one, and Esc the cancel button.
  bool dialogKeys = false;
};

class Form : public Window, public Container {
 public:
  explicit Form(const FormArgs& args);
  ~Form() override;

  // --- handlers; the derived forms override the ones they use ---
  virtual void Loaded() {}  // after construction, before FormCreate: timers start, icons appear
  virtual void FormCreate() {}
  virtual void FormDestroy() {}
  virtual void FormShow() {}
  // The title bar's close box (WM_CLOSE): closes the form unless overridden.
  virtual void FormClose() { Close(); }
  virtual void FormPaint() {}
  virtual void FormKeyPress(char& /*key*/) {}
  virtual void FormKeyDown(WORD /*key*/) {}  // a form that takes all keys: each key pressed
  virtual void FormMouseDown(MouseButton, ShiftState, int /*x*/, int /*y*/) {}
  virtual void FormMouseMove(ShiftState, int /*x*/, int /*y*/) {}
  virtual void FormMouseUp(MouseButton, ShiftState, int /*x*/, int /*y*/) {}

  // Run by the application object: creation (tab order, Loaded, FormCreate) and destruction
  // (FormDestroy, then the window goes while every member still exists).
  void RunCreation();
  void RunDestruction();

  void Show();
  void Hide();  // and gives back the mouse it holds, which then ends nothing
  [[nodiscard]] bool TakesAllKeys() const noexcept { return takesAllKeys_; }
  [[nodiscard]] bool Visible() const;
  // Closing the main form ends the program; closing any other form hides it.
  void Close();
  void SetEnabled(bool enabled);
  [[nodiscard]] bool Enabled() const;
  void Repaint();  // paints the invalid parts at once

  [[nodiscard]] std::string Caption() const;
  void SetCaption(const std::string& caption);

  // Outer bounds in screen pixels, frame included.
  [[nodiscard]] int Left() const;
  [[nodiscard]] int Top() const;
  [[nodiscard]] int Width() const;
  [[nodiscard]] int Height() const;
  void SetLeft(int left);
  void SetTop(int top);
  void SetBounds(int left, int top, int width, int height);
  [[nodiscard]] int ClientWidth() const;
  [[nodiscard]] int ClientHeight() const;
  void SetClientSize(int width, int height);

  // Scales client size and every control by numerator/denominator, and the fonts by their
  // point size; the top-left corner stays where it is.
  void ScaleBy(int numerator, int denominator);
  // For a screen of another pixels-per-inch setting than the design's: the font follows the
  // setting, and positions, sizes and the controls' own fonts follow the ratio of the font's
  // text height to the design text height.
  void ScaleToScreen(int designPixelsPerInch, int designTextHeight);

  [[nodiscard]] Canvas& GetCanvas() noexcept { return canvas_; }
  [[nodiscard]] Font& GetFont() noexcept { return font_; }

  // The focus and the default button (Esc presses the button with the id IDCANCEL).
  void SetActiveControl(Control& control);
  [[nodiscard]] Control* ActiveControl() const;
  void SetDefaultButton(Button& button) noexcept { defaultButton_ = &button; }
  // A new control's id, unique within the form: IDOK for the default button, IDCANCEL for the
  // cancel button, and none of the two for any other.
  [[nodiscard]] int NewControlId(bool isDefault, bool isCancel) noexcept;
  // A message for a form with dialog keys goes through the dialog manager, which dispatches it;
  // false when the form has none or the message is not for it.
  bool TakeDialogMessage(MSG& message);
  // A control of the form gains the focus or loses it to the window `to`.
  void FocusMoved(HWND to);

  // Container
  [[nodiscard]] HWND ContainerHandle() const noexcept override { return Handle(); }
  [[nodiscard]] Form& OwnerForm() noexcept override { return *this; }
  [[nodiscard]] const Font& ContainerFont() const noexcept override { return font_; }
  [[nodiscard]] COLORREF ContainerColor() const noexcept override { return color_; }
  [[nodiscard]] HBRUSH ContainerBrush() const noexcept override { return brush_.Get(); }
  [[nodiscard]] const std::string& ContainerHint() const noexcept override { return hint_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void SetFontHeight(int height);
  void ScaleContents(const Scale& scale);
  // With the focus on `focus`: the button that Enter presses, which alone looks like the default.
  [[nodiscard]] Button* ButtonEnterPresses(HWND focus) const;
  void ShowDefaultButton(HWND focus);
  void CentreOnScreen();
  void TakeMouse(UINT buttonDown);
  void GiveBackMouse();
  void MouseLost();

  Font font_;
  COLORREF color_;
  UniqueBrush brush_;
  FormPosition position_;
  HCURSOR cursor_;
  bool activatable_;
  std::string hint_;
  Canvas canvas_;
  HWND lastFocus_ = nullptr;
  Button* defaultButton_ = nullptr;
  bool windowGone_ = false;
  bool trackingMouse_ = false;
  bool capturesMouse_;
  bool takesAllKeys_;
  bool dialogKeys_;
  int nextControlId_ = 100;
  bool holdingMouse_ = false;
  MouseButton mouseHeldFor_ = MouseButton::Left;  // the button whose press took the mouse
};

}  // namespace tk

// The standard controls: labels, push buttons, check boxes, radio buttons, combo boxes and
// group boxes, each on its Windows class.
#include <algorithm>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Error.h"
#include "toolkit/Form.h"
#include "toolkit/Scaling.h"

namespace tk {
namespace {

// Tab reaches a group of radio buttons at its checked one (the first while none is checked);
// the arrow keys move within it.
void KeepTabStopOnCheckedRadio(const Container& container) {
  std::vector<RadioButton*> radios;
  for (Control* child : container.Children()) {
    auto* radio = dynamic_cast<RadioButton*>(child);
    if (radio && radio->IsTabStop()) radios.push_back(radio);
  }
  if (radios.empty()) return;
  const auto checked = std::find_if(radios.begin(), radios.end(),
                                    [](const RadioButton* radio) { return radio->Checked(); });
  const RadioButton* stop =
      checked != radios.end()
          ? *checked
          : *std::min_element(radios.begin(), radios.end(), [](const auto* a, const auto* b) {
              return a->TabOrder() < b->TabOrder();
            });
  for (RadioButton* radio : radios) {
    const LONG_PTR style = GetWindowLongPtrA(radio->Handle(), GWL_STYLE);
    const LONG_PTR wanted = radio == stop ? style | WS_TABSTOP : style & ~LONG_PTR{WS_TABSTOP};
    if (wanted != style) SetWindowLongPtrA(radio->Handle(), GWL_STYLE, wanted);
  }
}

}  // namespace

// --- Label, Button, CheckBox, RadioButton, ComboBox ------------------------------------------

Label::Label(Container& parent, Bounds bounds, std::string caption, ControlArgs args)
    : Control(parent, bounds, std::move(caption), args, "STATIC", SS_LEFT | SS_NOPREFIX) {}

Button::Button(Container& parent, Bounds bounds, std::string caption, ControlArgs args)
    : Control(parent, bounds, std::move(caption), args, "BUTTON",
              args.isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) {
  if (args.isDefault) parent.OwnerForm().SetDefaultButton(*this);
}

void Button::Click() {
  if (OnClick) OnClick();
}

void Button::Notify(WORD code) {
  if (code == BN_CLICKED) Click();
}

CheckBox::CheckBox(Container& parent, Bounds bounds, std::string caption, ControlArgs args)
    : Control(parent, bounds, std::move(caption), args, "BUTTON", BS_AUTOCHECKBOX) {
  SendMessageA(Handle(), BM_SETCHECK, args.checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool CheckBox::Checked() const { return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void CheckBox::SetChecked(bool checked) {
  if (checked == Checked()) return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (OnClick) OnClick();
}

void CheckBox::Notify(WORD code) {
  // The button has toggled itself already (a click, or the space bar).
  if (code == BN_CLICKED && OnClick) OnClick();
}

RadioButton::RadioButton(Container& parent, Bounds bounds, std::string caption, ControlArgs args)
    : Control(parent, bounds, std::move(caption), args, "BUTTON", BS_RADIOBUTTON) {
  SendMessageA(Handle(), BM_SETCHECK, args.checked ? BST_CHECKED : BST_UNCHECKED, 0);
  KeepTabStopOnCheckedRadio(Parent());
}

bool RadioButton::Checked() const {
  return SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void RadioButton::SetChecked(bool checked) {
  if (checked == Checked()) return;
  SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
  if (checked) {
    for (Control* sibling : Parent().Children()) {
      if (auto* radio = dynamic_cast<RadioButton*>(sibling); radio && radio != this) {
        radio->SetChecked(false);
      }
    }
  }
  KeepTabStopOnCheckedRadio(Parent());
  if (OnClick) OnClick();
}

LRESULT RadioButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_SETFOCUS) return Control::HandleMessage(message, wParam, lParam);
  // An unchecked radio button reports a click when it receives the focus; only a click of the
  // mouse or the space bar may choose it.
  receivingFocus_ = true;
  LRESULT result = Control::HandleMessage(message, wParam, lParam);
  receivingFocus_ = false;
  return result;
}

void RadioButton::Notify(WORD code) {
  // A plain radio button: a click checks it (and so unchecks its siblings) through SetChecked.
  if (code == BN_CLICKED && !receivingFocus_) SetChecked(true);
}

ComboBox::ComboBox(Container& parent, Bounds bounds, const std::string& text, ControlArgs args)
    : Control(parent,
              {bounds.left, bounds.top, bounds.width, bounds.height + 8 * args.itemHeight + 2},
              text, args, "COMBOBOX", CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL) {
  SendMessageA(Handle(), CB_SETITEMHEIGHT, 0, args.itemHeight);
  SetCaption(text);  // the edit field does not take the window name by itself
}

void ComboBox::ClearItems() {
  // Clearing the list keeps the edit field's text.
  std::string text = Caption();
  SendMessageA(Handle(), CB_RESETCONTENT, 0, 0);
  SetCaption(text);
}

void ComboBox::AddItem(const std::string& item) {
  SendMessageA(Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

int ComboBox::ItemCount() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCOUNT, 0, 0));
}

std::string ComboBox::Item(int index) const {
  auto length = SendMessageA(Handle(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR) throw Error("List index out of bounds");
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  SendMessageA(Handle(), CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(std::strlen(text.c_str()));  // the length asked for may be larger than the text
  return text;
}

int ComboBox::ItemIndex() const {
  return static_cast<int>(SendMessageA(Handle(), CB_GETCURSEL, 0, 0));
}

void ComboBox::SetItemIndex(int index) {
  SendMessageA(Handle(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

bool ComboBox::DroppedDown() const {
  return SendMessageA(Handle(), CB_GETDROPPEDSTATE, 0, 0) != FALSE;
}

void ComboBox::Notify(WORD code) {
  if (code == CBN_SELCHANGE && OnChange) OnChange();
}

// --- GroupBox --------------------------------------------------------------------------------

GroupBox::GroupBox(Container& parent, Bounds bounds, std::string caption, ControlArgs args)
    : Control(parent, bounds, std::move(caption), args, "BUTTON", BS_GROUPBOX | WS_CLIPCHILDREN,
              WS_EX_CONTROLPARENT) {}

const Font& GroupBox::ContainerFont() const noexcept {
  return OwnFont() ? *OwnFont() : Parent().ContainerFont();
}

COLORREF GroupBox::ContainerColor() const noexcept { return Parent().ContainerColor(); }
HBRUSH GroupBox::ContainerBrush() const noexcept { return Parent().ContainerBrush(); }

void GroupBox::ParentFontChanged() {
  Control::ParentFontChanged();
  for (Control* child : Children()) child->ParentFontChanged();
}

void GroupBox::ScaleBy(const Scale& scale) {
  Control::ScaleBy(scale);
  for (Control* child : Children()) child->ScaleBy(scale);
  if (OwnFont()) {
    for (Control* child : Children()) child->ParentFontChanged();
  }
}

LRESULT GroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (ReflectToChild(message, wParam, lParam, result)) return result;
  if (message == WM_ERASEBKGND) {
    // A group box paints only its frame and caption; the inside is ours to fill, since the
    // container does not paint beneath its children.
    RECT client{};
    GetClientRect(Handle(), &client);
    FillRect(reinterpret_cast<HDC>(wParam), &client, ContainerBrush());
    return TRUE;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

}  // namespace tk

#include "toolkit/Menu.h"

#include <algorithm>
#include <map>

#include "toolkit/Application.h"
#include "toolkit/Error.h"

namespace tk {
namespace {

std::map<UINT, MenuItem*>& ItemsByCommand() {
  static std::map<UINT, MenuItem*> items;
  return items;
}

// The menus' alignment: the left edge at the given position, the default of every menu here.
constexpr UINT kMenuAlignment = TPM_LEFTALIGN;

UINT NextCommandId() {
  static UINT next = 0x100;
  return next++;
}

}  // namespace

MenuItem::MenuItem(PopupMenu& menu, std::string caption, MenuItemArgs args)
    : menu_(menu), caption_(std::move(caption)), commandId_(NextCommandId()) {
  ItemsByCommand()[commandId_] = this;
  menu_.Append(*this, args.isDefault);
}

MenuItem::~MenuItem() {
  ItemsByCommand().erase(commandId_);
  menu_.Remove(*this);
}

void MenuItem::SetChecked(bool checked) {
  checked_ = checked;
  CheckMenuItem(menu_.Handle(), commandId_,
                MF_BYCOMMAND | static_cast<UINT>(checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuItem::Click() {
  if (OnClick) OnClick();
}

bool MenuItem::DispatchCommand(UINT commandId) {
  auto found = ItemsByCommand().find(commandId);
  if (found == ItemsByCommand().end()) return false;
  found->second->Click();
  return true;
}

PopupMenu::PopupMenu() : menu_(CreatePopupMenu()) {
  if (!menu_) throw Error("Out of system resources");
}

void PopupMenu::Append(MenuItem& item, bool isDefault) {
  UINT flags = item.IsSeparator() ? MF_SEPARATOR : MF_STRING;
  if (!AppendMenuA(menu_.Get(), flags, item.CommandId(),
                   item.IsSeparator() ? nullptr : item.Caption().c_str())) {
    throw Error("Out of system resources");
  }
  if (isDefault) SetMenuDefaultItem(menu_.Get(), item.CommandId(), FALSE);
  items_.push_back(&item);
}

void PopupMenu::Remove(MenuItem& item) noexcept {
  DeleteMenu(menu_.Get(), item.CommandId(), MF_BYCOMMAND);
  std::erase(items_, &item);
}

void PopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup();
  TrackPopupMenu(menu_.Get(), TPM_RIGHTBUTTON | kMenuAlignment, x, y, 0, App().Handle(), nullptr);
}

}  // namespace tk

// Popup menus: items with captions, check marks, a default item drawn in bold, separators and
// click reactions. Setting a check mark runs nothing. The menu is tracked with the
// application's own window as owner; the chosen item's command arrives there afterwards as a
// message, which runs the item's reaction.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Handles.h"

namespace tk {

class PopupMenu;

struct MenuItemArgs {
  bool isDefault = false;  // the menu's default item, shown in bold
};

class MenuItem {
 public:
  MenuItem(PopupMenu& menu, std::string caption, MenuItemArgs args = {});
  MenuItem(const MenuItem&) = delete;
  MenuItem& operator=(const MenuItem&) = delete;
  ~MenuItem();

  [[nodiscard]] const std::string& Caption() const noexcept { return caption_; }
  [[nodiscard]] bool IsSeparator() const noexcept { return caption_ == "-"; }
  [[nodiscard]] bool Checked() const noexcept { return checked_; }
  void SetChecked(bool checked);
  [[nodiscard]] UINT CommandId() const noexcept { return commandId_; }
  // Runs the click reaction, as choosing the item does.
  void Click();

  std::function<void()> OnClick;

  // Runs the reaction of the item with this command id; false when there is none.
  static bool DispatchCommand(UINT commandId);

 private:
  PopupMenu& menu_;
  std::string caption_;
  UINT commandId_;
  bool checked_ = false;
};

class PopupMenu final : public Component {
 public:
  PopupMenu();

  [[nodiscard]] HMENU Handle() const noexcept { return menu_.Get(); }
  // Runs OnPopup, then opens the menu at a screen position (the right button chooses too, the
  // menu's left edge at x) and returns when it closes; a chosen command is dispatched later
  // from the message queue.
  void Popup(int x, int y);
  std::function<void()> OnPopup;

 private:
  friend class MenuItem;
  void Append(MenuItem& item, bool isDefault);
  void Remove(MenuItem& item) noexcept;
  UniqueMenu menu_;
  std::vector<MenuItem*> items_;
};

}  // namespace tk

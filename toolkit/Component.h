// Base of the non-visual parts a form carries (popup menus, the tray icon). A component that
// refers to another asks to be told when that one is destroyed, so that it never keeps a
// reference to something gone.
#pragma once

#include <vector>

namespace tk {

class Component {
 public:
  Component() = default;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;
  // Tells every linked component that this one goes.
  virtual ~Component();

  // Links the two components: whichever is destroyed first tells the other (Notification).
  void FreeNotification(Component& other);

 protected:
  // `destroyed` is going: drop every reference to it.
  virtual void Notification(Component& /*destroyed*/) {}

 private:
  std::vector<Component*> linked_;
};

}  // namespace tk

#include "toolkit/Component.h"

#include <algorithm>
#include <utility>

namespace tk {

Component::~Component() {
  for (Component* other : std::exchange(linked_, {})) {
    std::erase(other->linked_, this);
    other->Notification(*this);
  }
}

void Component::FreeNotification(Component& other) {
  if (&other == this || std::ranges::find(linked_, &other) != linked_.end()) return;
  linked_.push_back(&other);
  other.linked_.push_back(this);
}

}  // namespace tk

#include "toolkit/Hints.h"

#include <utility>
#include <vector>

namespace tk {
namespace {

struct Listening {
  std::uint64_t id;
  HintListener listener;
};

struct HintState {
  std::string text;
  std::vector<Listening> listeners;
  std::uint64_t lastId = 0;
};

HintState& State() {
  static HintState state;
  return state;
}

}  // namespace

void SetHint(const std::string& hint) {
  HintState& state = State();
  if (hint == state.text) return;
  state.text = hint;
  // A listener may end a subscription while it hears of the change: the ones left are called.
  std::vector<std::uint64_t> ids;
  for (const Listening& listening : state.listeners) ids.push_back(listening.id);
  for (std::uint64_t id : ids) {
    for (Listening& listening : state.listeners) {
      if (listening.id == id) {
        HintListener call = listening.listener;
        call(state.text);
        break;
      }
    }
  }
}

const std::string& CurrentHint() noexcept { return State().text; }

HintSubscription FollowHints(HintListener listener) {
  HintState& state = State();
  state.listeners.push_back({++state.lastId, std::move(listener)});
  return HintSubscription(state.lastId);
}

HintSubscription& HintSubscription::operator=(HintSubscription&& other) noexcept {
  if (this != &other) {
    End();
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

void HintSubscription::End() noexcept {
  if (id_ == 0) return;
  std::erase_if(State().listeners,
                [this](const Listening& listening) { return listening.id == id_; });
  id_ = 0;
}

}  // namespace tk

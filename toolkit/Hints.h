// The hint text: the hint of the control under the mouse pointer, empty once the pointer has
// left the program's windows. Whoever shows it (the status line) follows it for as long as it
// holds its subscription; each subscription ends only its own listening.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace tk {

class HintSubscription;
using HintListener = std::function<void(const std::string&)>;

// Sets the hint text; every listener hears of a change, in the order they subscribed.
void SetHint(const std::string& hint);
[[nodiscard]] const std::string& CurrentHint() noexcept;
[[nodiscard]] HintSubscription FollowHints(HintListener listener);

class HintSubscription {
 public:
  HintSubscription() = default;
  HintSubscription(HintSubscription&& other) noexcept : id_(other.id_) { other.id_ = 0; }
  HintSubscription& operator=(HintSubscription&& other) noexcept;
  HintSubscription(const HintSubscription&) = delete;
  HintSubscription& operator=(const HintSubscription&) = delete;
  ~HintSubscription() { End(); }
  void End() noexcept;

 private:
  friend HintSubscription FollowHints(HintListener listener);
  explicit HintSubscription(std::uint64_t id) noexcept : id_(id) {}
  std::uint64_t id_ = 0;  // 0: listening to nothing
};

}  // namespace tk

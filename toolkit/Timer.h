// A window timer with its own hidden message window: Interval in milliseconds, Enabled, and the
// OnTimer reaction on every tick.
#pragma once

#include <windows.h>

#include <functional>

#include "toolkit/Window.h"

namespace tk {

class Timer final : public Window {
 public:
  explicit Timer(UINT interval = 1000, bool enabled = true);
  ~Timer() override;

  [[nodiscard]] bool Enabled() const noexcept { return enabled_; }
  void SetEnabled(bool enabled);
  [[nodiscard]] UINT Interval() const noexcept { return interval_; }
  void SetInterval(UINT interval);

  std::function<void()> OnTimer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Update();
  UINT interval_;
  bool enabled_;
  bool started_ = false;
};

}  // namespace tk

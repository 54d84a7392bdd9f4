#include "toolkit/Timer.h"

#include "toolkit/Error.h"

namespace tk {
namespace {
constexpr UINT_PTR kTimerId = 1;
}

Timer::Timer(UINT interval, bool enabled) : interval_(interval), enabled_(enabled) {
  CreateHandle({.className = "VindelorTimer"}, {.parent = HWND_MESSAGE});
  Update();
}

Timer::~Timer() {
  if (started_) KillTimer(Handle(), kTimerId);
}

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  Update();
}

void Timer::Update() {
  if (started_) {
    KillTimer(Handle(), kTimerId);
    started_ = false;
  }
  if (enabled_ && interval_ != 0) {
    if (!SetTimer(Handle(), kTimerId, interval_, nullptr)) {
      throw Error("Not enough timers available");
    }
    started_ = true;
  }
}

LRESULT Timer::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimerId) {
    if (OnTimer) OnTimer();
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk

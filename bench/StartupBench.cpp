// Start-up time of the program itself: from just before the application object's creation (the
// first step of the entry point) to the message loop's first retrieval, over several starts in
// one process. The program carries nothing for it: a WH_GETMESSAGE hook of this thread, set
// before the clock starts, sees the loop fetch its first message, and a private thread message
// posted just before the loop begins makes sure there is one; its arrival ends the start.
#include <windows.h>

#include <cstdio>
#include <exception>
#include <utility>
#include <vector>

#include "app/SharedState.h"
#include "app/Startup.h"
#include "bench/BenchSupport.h"
#include "bench/WindowCensus.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"

namespace {

// Posted to the thread, not to a window: the program's loop dispatches it to nobody.
constexpr UINT kLoopReached = WM_APP + 0x5b;

using UniqueHook = tk::UniqueHandle<HHOOK, &UnhookWindowsHookEx>;

// The hook and what it saw of one start: when the loop fetched its first message, and the
// windows there were then.
class LoopWatch {
 public:
  LoopWatch()
      : hook_(SetWindowsHookExA(WH_GETMESSAGE, &OnRetrieval, nullptr, GetCurrentThreadId())) {
    current_ = this;
  }
  LoopWatch(const LoopWatch&) = delete;
  LoopWatch& operator=(const LoopWatch&) = delete;
  ~LoopWatch() { current_ = nullptr; }

  [[nodiscard]] bool Installed() const noexcept { return static_cast<bool>(hook_); }
  // The next retrieval is the loop's first; the message posted here ends the loop.
  void Arm(tk::Application& app, const bench::Stopwatch& since) {
    app_ = &app;
    since_ = since;
    armed_ = true;
    PostThreadMessageA(GetCurrentThreadId(), kLoopReached, 0, 0);
  }
  [[nodiscard]] double Milliseconds() const noexcept { return milliseconds_; }
  [[nodiscard]] const bench::WindowCensus& Census() const noexcept { return census_; }

 private:
  static LRESULT CALLBACK OnRetrieval(int code, WPARAM removal, LPARAM lParam) {
    if (LoopWatch* watch = current_; watch && code == HC_ACTION && removal == PM_REMOVE) {
      watch->Retrieved(*reinterpret_cast<const MSG*>(lParam));
    }
    return CallNextHookEx(nullptr, code, removal, lParam);
  }
  void Retrieved(const MSG& message) {
    if (!armed_) return;
    if (milliseconds_ < 0) {
      milliseconds_ = since_.Milliseconds();
      census_ = bench::TakeWindowCensus();
    }
    if (message.hwnd == nullptr && message.message == kLoopReached && app_) {
      std::exchange(app_, nullptr)->Terminate();
      armed_ = false;
    }
  }

  static inline LoopWatch* current_ = nullptr;
  UniqueHook hook_;
  tk::Application* app_ = nullptr;
  bench::Stopwatch since_;
  bool armed_ = false;
  double milliseconds_ = -1;
  bench::WindowCensus census_;
};

struct Start {
  double milliseconds = -1;  // -1: the start ended before its loop
  int exitCode = 0;
  bench::WindowCensus census;
};

// One start as the entry point makes it.
Start StartOnce() {
  Start start;
  LoopWatch watch;  // set before the clock starts: the span holds the program's work alone
  if (!watch.Installed()) return start;
  try {
    const bench::Stopwatch since;
    tk::Application app;
    vindelor::ResetSharedState();
    vindelor::CreateForms(app);
    watch.Arm(app, since);
    app.Run();
  } catch (const tk::OrderlyExit& exit) {
    start.exitCode = exit.exitCode;  // a second instance: another copy holds the mutex
    return start;
  } catch (const std::exception& error) {
    std::printf("start-up failed: %s\n", error.what());
    start.exitCode = 1;
    return start;
  }
  start.milliseconds = watch.Milliseconds();
  start.census = watch.Census();
  return start;
}

}  // namespace

int main() {
  constexpr int kRuns = 15;
  std::vector<double> samples;
  bench::WindowCensus census;
  for (int run = 0; run < kRuns; ++run) {
    const Start start = StartOnce();
    if (start.milliseconds < 0) {
      std::printf("start %d ended before its message loop (exit code %d)\n", run, start.exitCode);
      return 1;
    }
    if (run == 0) {
      std::printf("%-44s %9.3f ms\n", "start-up, first run in the process", start.milliseconds);
      census = start.census;
    }
    samples.push_back(start.milliseconds);
  }
  bench::ReportWindowCensus("program", census);
  bench::Report("start-up, entry to message loop", bench::Summarize(samples));
  return 0;
}

// The real Vindelor.exe answering Print Screen, pressed as a user does (SendInput), driven from
// outside like the e2e tests: from the press to the visible options dialog, and, with Immediate
// Action on, from the press to the page's complete file in the queue's folder.
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;

constexpr int kRounds = 15;
constexpr char kQueue[] = "VindelorA";

// Milliseconds from `since` until the condition holds, looked at every millisecond or so; -1
// after 30 s.
template <class Condition>
double MillisecondsUntil(const bench::Stopwatch& since, Condition condition) {
  while (!condition()) {
    if (since.Milliseconds() > 30000) return -1;
    Sleep(1);
  }
  return since.Milliseconds();
}

// Lets the program settle back into its message loop before the next press.
void Settle() { Sleep(300); }

bool Report(const char* what, const std::vector<double>& samples) {
  for (double sample : samples) {
    if (sample < 0) return std::printf("%s: no answer within 30 s\n", what), false;
  }
  bench::Report(what, bench::Summarize(samples));
  return true;
}

}  // namespace

int main() {
  EndAllVindelorProcesses();
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  // The first capture allocates the work image; it is not timed.
  if (!program.CaptureWithHotkey()) return std::printf("no dialog for Print Screen\n"), 1;
  const HWND dialog = program.OptionsDialog();
  const auto hidden = [dialog] { return !IsWindowVisible(dialog); };

  std::vector<double> toDialog;
  for (int round = 0; round < kRounds; ++round) {
    PostMessageA(dialog, WM_CLOSE, 0, 0);  // cancels, and arms the hotkeys again
    if (!WaitUntil(hidden)) return std::printf("the dialog does not close\n"), 1;
    Settle();
    const bench::Stopwatch press;
    PressPrintScreen();
    toDialog.push_back(MillisecondsUntil(press, [dialog] { return IsWindowVisible(dialog); }));
  }

  program.SetBox("Immediate Action", true);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  std::vector<double> toPage;
  for (int round = 0; round < kRounds; ++round) {
    // The job hides the dialog and arms the hotkeys again once its page is handed over.
    if (!WaitUntil(hidden) || !WaitUntilPrintingIsDone()) {
      return std::printf("the print job does not end\n"), 1;
    }
    const std::size_t pages = PageFiles(kQueue).size();
    Settle();
    const bench::Stopwatch press;
    PressPrintScreen();
    toPage.push_back(MillisecondsUntil(press, [&] { return PageFiles(kQueue).size() > pages; }));
  }
  WaitUntil(hidden);

  bool answered = Report("key press to visible dialog", toDialog);
  answered = Report("key press to complete page, Immediate Action", toPage) && answered;
  program.CloseMainForm();
  return answered && program.WaitForExit() == std::optional<DWORD>(0) ? 0 : 1;
}

// The real Vindelor.exe answering Print Screen, pressed as a user does (SendInput), driven from
// outside like the e2e tests: from the press to the visible options dialog, and, with Immediate
// Action on, from the press to the page's complete file in the queue's folder.
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "toolkit/Handles.h"

namespace {

using namespace testing_support;

constexpr int kRounds = 15;
constexpr char kQueue[] = "VindelorA";

// A plain copy of the screen into a bitmap of its format, as BitBltFloor makes it, timed between
// the rounds: under a shared machine's changing load it tells what the copy inside the program
// cost at about the same moments.
class ScreenCopy {
 public:
  [[nodiscard]] double Milliseconds() const {
    const bench::Stopwatch copy;
    const tk::WindowDc screen(nullptr);
    BitBlt(memory_.Get(), 0, 0, width_, height_, screen.Get(), left_, top_, SRCCOPY);
    return copy.Milliseconds();
  }

 private:
  static tk::UniqueBitmap ScreenBitmap(int width, int height) {
    const tk::WindowDc screen(nullptr);
    return tk::UniqueBitmap{CreateCompatibleBitmap(screen.Get(), width, height)};
  }

  // The virtual screen, every monitor, as Print Screen copies it.
  int left_ = GetSystemMetrics(SM_XVIRTUALSCREEN);
  int top_ = GetSystemMetrics(SM_YVIRTUALSCREEN);
  int width_ = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  int height_ = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  tk::UniqueMemoryDc memory_{CreateCompatibleDC(nullptr)};
  tk::UniqueBitmap bitmap_ = ScreenBitmap(width_, height_);
  tk::SelectGuard selected_{memory_.Get(), bitmap_.Get()};
};

// Lets the program settle back into its message loop before the next press; the screen copy is
// timed in the middle of the pause.
void Settle(const ScreenCopy& screen, std::vector<double>& copies) {
  Sleep(150);
  copies.push_back(screen.Milliseconds());
  Sleep(150);
}

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

  const ScreenCopy screen;
  std::vector<double> copies;
  std::vector<double> toDialog;
  for (int round = 0; round < kRounds; ++round) {
    PostMessageA(dialog, WM_CLOSE, 0, 0);  // cancels, and arms the hotkeys again
    if (!WaitUntil(hidden)) return std::printf("the dialog does not close\n"), 1;
    Settle(screen, copies);
    const bench::Stopwatch press;
    PressPrintScreen();
    toDialog.push_back(
        bench::MillisecondsUntil(press, [dialog] { return IsWindowVisible(dialog); }, 1));
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
    Settle(screen, copies);
    const bench::Stopwatch press;
    PressPrintScreen();
    toPage.push_back(
        bench::MillisecondsUntil(press, [&] { return PageFiles(kQueue).size() > pages; }, 1));
  }
  WaitUntil(hidden);

  bench::Report("screen BitBlt between the rounds", bench::Summarize(copies));
  bool answered = Report("key press to visible dialog", toDialog);
  answered = Report("key press to complete page, Immediate Action", toPage) && answered;
  program.CloseMainForm();
  return answered && program.WaitForExit() == std::optional<DWORD>(0) ? 0 : 1;
}

// Response of the real Vindelor.exe to its tray icon, driven from outside as a user does: from
// the right-button press on the icon to the visible menu, and from choosing "Print the Desktop"
// (Enter on the first item) to the visible options dialog, which includes the capture's own
// 200 ms wait for the screen to repaint.
#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "tests/e2e/VindelorProcess.h"

namespace {

bool MenuShown() {
  return !testing_support::FindTopLevelWindows({.className = "#32768", .visibleOnly = true})
              .empty();
}

}  // namespace

int main() {
  using namespace testing_support;
  EndAllVindelorProcesses();
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  HWND dialog = program.OptionsDialog();
  constexpr int kRounds = 20;
  std::vector<double> toMenu;
  std::vector<double> toDialog;
  for (int round = 0; round < kRounds; ++round) {
    Sleep(GetDoubleClickTime() + 150);  // clicks closer together would be a double click
    bench::Stopwatch press;
    if (!ClickTrayIcon(/*right=*/true)) return std::printf("no tray icon to click\n"), 1;
    toMenu.push_back(bench::MillisecondsUntil(press, &MenuShown));
    PressKey(VK_DOWN);
    bench::Stopwatch chosen;
    PressKey(VK_RETURN);
    toDialog.push_back(
        bench::MillisecondsUntil(chosen, [&] { return IsWindowVisible(dialog) != 0; }));
    PostMessageA(dialog, WM_CLOSE, 0, 0);
    bench::MillisecondsUntil(chosen, [&] { return !IsWindowVisible(dialog); });
  }
  bench::Report("tray: right press to visible menu", bench::Summarize(toMenu));
  bench::Report("tray: Print the Desktop to visible dialog", bench::Summarize(toDialog));
  std::printf("%-44s %9d ms of it: the capture's wait for repainting\n", "", 200);
  program.CloseMainForm();
  return program.WaitForExit() == std::optional<DWORD>(0) ? 0 : 1;
}

// The real program from outside: one copy at a time, and the splash.
#include "tests/e2e/VindelorProcess.h"

namespace {

using namespace testing_support;
using Program = VindelorTest;

TEST_F(Program, ASecondCopyEndsSilentlyWithExitCodeZeroWhileTheFirstKeepsCapturing) {
  VindelorProcess first;
  first.EndSplashWithKeyPress();
  VindelorProcess second;
  EXPECT_EQ(second.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(FindTopLevelWindows({.processId = second.Id(), .visibleOnly = true}).empty());
  EXPECT_TRUE(WaitUntil([] { return TrayIcon() != nullptr; })) << "exactly one icon: the first's";
  EXPECT_TRUE(first.CaptureWithHotkey()) << "the first copy still captures";
}

TEST_F(Program, TheSplashShowsItsTitlesForFiveTicksThenHidesAndArmsTheHotkeys) {
  VindelorProcess program;
  HWND credits = program.WaitForSplash();
  PressPrintScreen();  // not armed during the splash
  Strings titles;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil(
      [&] {
        if (titles.empty() || titles.back() != WindowText(credits))
          titles.push_back(WindowText(credits));
        return !IsShown(credits);
      },
      60s));
  EXPECT_GE(std::chrono::steady_clock::now() - started, 3s) << "five one-second ticks";
  EXPECT_FALSE(IsShown(program.OptionsDialog()));
  const std::size_t n = titles.size();
  ASSERT_GE(n, 5u);
  EXPECT_EQ(std::tuple(titles[n - 5], titles[n - 2], titles[n - 1]),
            std::tuple("                    For Win95 + NT 4.0",
                       "                        Version 2.0", ""));
  EXPECT_TRUE(program.CaptureWithHotkey(/*alt=*/true));
}

}  // namespace

// The real program from outside: one copy at a time, the splash, the hotkeys, the orderly exit.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/TrayAccess.h"

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

TEST_F(Program, TheSplashShowsItsTitlesForFiveTicksThenHidesUnlessAKeyEndsItAtOnce) {
  VindelorProcess program;
  HWND credits = program.WaitForSplash();
  PressPrintScreen();  // not armed during the splash
  Strings titles;
  const auto started = std::chrono::steady_clock::now();
  ASSERT_TRUE(WaitUntil([&] {
    if (titles.empty() || titles.back() != WindowText(credits)) titles.push_back(WindowText(credits));
    return !IsShown(credits);
  }, 60s));
  EXPECT_GE(std::chrono::steady_clock::now() - started, 3s) << "five one-second ticks";
  EXPECT_FALSE(IsShown(program.OptionsDialog()));
  const std::size_t n = titles.size();
  ASSERT_GE(n, 5u);
  EXPECT_EQ(std::tuple(titles[n - 5], titles[n - 2], titles[n - 1]),
            std::tuple("                    For Win95 + NT 4.0", "                        Version 2.0", ""));
  EXPECT_TRUE(program.CaptureWithHotkey(/*alt=*/true));

  EndAllVindelorProcesses();
  VindelorProcess again;
  credits = again.WaitForSplash();
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == credits; }));
  PressKey('A');
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(credits) && WindowText(credits).empty(); }, 3s));
  EXPECT_TRUE(again.CaptureWithHotkey());
}

TEST_F(Program, EscapeCancelsTheDialogAndTheNextPressCapturesAgain) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  ASSERT_TRUE(program.CaptureWithHotkey());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program.OptionsDialog(); }));
  program.CancelDialog();
  PressPrintScreen();
  EXPECT_TRUE(WaitUntil([&] { return IsShown(program.OptionsDialog()); }));
}

// While it runs, the program holds Print Screen and Alt+Print Screen; its exit gives them back.
TEST_F(Program, ClosingTheMainFormEndsTheProgramWithExitCodeZeroAndGivesBackItsHotkeys) {
  auto registrable = [] {
    const bool plain = RegisterHotKey(nullptr, 1, 0, VK_SNAPSHOT);
    const bool alt = RegisterHotKey(nullptr, 2, MOD_ALT, VK_SNAPSHOT);
    UnregisterHotKey(nullptr, 1);
    UnregisterHotKey(nullptr, 2);
    return std::pair(plain, alt);
  };
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  EXPECT_EQ(registrable(), std::pair(false, false));
  program.CloseMainForm();
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_EQ(registrable(), std::pair(true, true));
}

}  // namespace

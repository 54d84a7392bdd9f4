// The real program from outside: single instance, the splash, the hotkeys and the orderly exit.
#include <gtest/gtest.h>

#include <utility>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/TrayAccess.h"

namespace {

using namespace testing_support;

using Spine = VindelorTest;

TEST_F(Spine, ASecondCopyEndsSilentlyWithExitCodeZeroWhileTheFirstKeepsCapturing) {
  VindelorProcess first;
  first.EndSplashWithKeyPress();

  VindelorProcess second;
  auto exitCode = second.WaitForExit();
  ASSERT_TRUE(exitCode.has_value()) << "the second copy must end by itself";
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_TRUE(FindTopLevelWindows({.processId = second.Id(), .visibleOnly = true}).empty());
  EXPECT_TRUE(WaitUntil([] { return TrayIcon() != nullptr; })) << "exactly one icon: the first's";

  ASSERT_TRUE(first.Running());
  EXPECT_TRUE(first.CaptureWithHotkey()) << "the first copy still captures";
}

TEST_F(Spine, TheSplashShowsTitlesZeroToFourThenAnEmptyOneAndHides) {
  VindelorProcess program;
  HWND credits = program.WaitForSplash();
  ASSERT_NE(credits, nullptr);
  std::vector<std::string> titles;
  auto started = std::chrono::steady_clock::now();
  WaitUntil(
      [&] {
        std::string title = WindowText(credits);
        if (titles.empty() || titles.back() != title) titles.push_back(title);
        return !IsShown(credits);
      },
      60s);
  auto shownFor = std::chrono::steady_clock::now() - started;
  ASSERT_FALSE(IsShown(credits));
  ASSERT_GE(titles.size(), 5u);
  EXPECT_EQ(titles.back(), "");
  EXPECT_EQ(titles[titles.size() - 2], "                        Version 2.0");
  EXPECT_EQ(titles[titles.size() - 5], "                    For Win95 + NT 4.0");
  EXPECT_GE(shownFor, 3s) << "five one-second ticks";
  EXPECT_TRUE(program.Running());
}

TEST_F(Spine, AKeyPressEndsTheSplashAtOnceAndArmsTheHotkeys) {
  VindelorProcess program;
  HWND credits = program.WaitForSplash();
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == credits; }));
  PressKey('A');
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(credits); }, 3s));
  EXPECT_EQ(WindowText(credits), "");
  EXPECT_TRUE(program.CaptureWithHotkey());
}

TEST_F(Spine, PrintScreenDuringTheSplashDoesNothing) {
  VindelorProcess program;
  HWND credits = program.WaitForSplash();
  PressPrintScreen();
  PumpMessagesFor(1500ms);
  EXPECT_FALSE(IsShown(program.OptionsDialog()));
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(credits); }, 60s));
  EXPECT_TRUE(program.CaptureWithHotkey(/*alt=*/true));
}

TEST_F(Spine, EscapeCancelsTheDialogAndTheNextPressCapturesAgain) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  ASSERT_TRUE(program.CaptureWithHotkey());
  HWND dialog = program.OptionsDialog();
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  PressPrintScreen();
  EXPECT_TRUE(WaitUntil([&] { return IsShown(dialog); }));
}

// While it runs, the program holds Print Screen and Alt+Print Screen: this driver cannot
// register them too. Its exit gives them back.
TEST_F(Spine, ClosingTheMainFormEndsTheProgramWithExitCodeZeroAndGivesBackItsHotkeys) {
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
  auto exitCode = program.WaitForExit();
  ASSERT_TRUE(exitCode.has_value());
  EXPECT_EQ(*exitCode, 0u);
  EXPECT_EQ(registrable(), std::pair(true, true));
}

}  // namespace

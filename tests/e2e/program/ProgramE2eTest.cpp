// The real program from outside: one copy at a time, and the splash.
#include <algorithm>
#include <set>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using Program = VindelorTest;

// Of ten copies started at the same moment one stays, with one icon; the others end at once.
TEST_F(Program, OfTenCopiesStartedTogetherOneStaysAndTheOthersEndSilentlyWithExitCodeZero) {
  std::vector<VindelorProcess> copies(10);
  std::set<DWORD> shown;  // copies seen with a visible window
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const VindelorProcess& copy : copies) {
          if (!FindTopLevelWindows({.processId = copy.Id(), .visibleOnly = true}).empty())
            shown.insert(copy.Id());
        }
        return std::ranges::count_if(copies, &VindelorProcess::Running) == 1;
      },
      30s));
  for (VindelorProcess& copy : copies) {
    if (copy.Running()) {
      copy.EndSplashWithKeyPress();
      EXPECT_TRUE(copy.CaptureWithHotkey()) << "the copy that stays captures";
    } else {
      EXPECT_EQ(std::pair(copy.WaitForExit(), shown.contains(copy.Id())),
                std::pair(std::optional<DWORD>(0), false));
    }
  }
  EXPECT_NE(TrayIcon(), nullptr) << "exactly one icon";
}

// Every press of either key captures, one after the other.
TEST_F(Program, TheSplashShowsItsTitlesForFiveTicksThenHidesAndEveryPressCaptures) {
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
  for (bool alt : {true, false, false, true, true}) {
    ASSERT_TRUE(program.CaptureWithHotkey(alt)) << "a press swallowed";
    program.CancelDialog();
  }
}

// A start-up error box left open past the splash's five ticks: once it is answered, the splash
// stays away and the program is resident.
TEST_F(Program, TheSplashDoesNotComeBackAfterAStartUpErrorOutlivesIt) {
  SeedValue("Centered", REG_SZ, {'1', 0});
  VindelorProcess program;
  HWND credits = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return !WindowText(credits = program.CreditsForm()).empty(); }));
  ASSERT_TRUE(WaitUntil([&] { return WindowText(credits).empty(); }, 30s)) << "the fifth tick";
  EXPECT_EQ(AnswerDialog(program.Id(), IDOK).value_or(SeenDialog{}).text,
            "Invalid data type for 'Centered'.");
  PumpMessagesFor(1500ms);  // time for the splash to come back
  EXPECT_FALSE(IsShown(credits));
  EXPECT_TRUE(program.CaptureWithHotkey());
}

}  // namespace

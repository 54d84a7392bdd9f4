// The real program from outside: one copy at a time, and the splash.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
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

// Capture cycles give back what they take: after a warm-up and at the end, the program holds the
// same GDI objects, windows and handles. bench/soak.sh runs it long, with the memory figures.
TEST_F(Program, CaptureAndPrintCyclesGiveBackTheirObjects) {
  auto setting = [](const char* name, int fallback) {
    return std::getenv(name) ? std::atoi(std::getenv(name)) : fallback;
  };
  const int cycles = setting("VINDELOR_SOAK_CYCLES", 50), prints = setting("VINDELOR_SOAK_PRINTS", 5);
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  HWND dialog = program.OptionsDialog();
  const auto pagePrinted = [&](auto print) {
    const std::size_t pages = PageFiles("VindelorA").size();
    print();
    return WaitForPages("VindelorA", pages + 1).size() == pages + 1 &&
           WaitUntil([&] { return !IsShown(dialog); });  // hidden, and armed again
  };
  ASSERT_TRUE(program.CaptureWithHotkey());  // every print transforms, every capture is copied
  for (const char* box : {"Monochrome", "Mirrored Image", "Copy to Clipboard"}) {
    program.SetBox(box, true);
  }
  ASSERT_TRUE(pagePrinted([&] { program.Press("Print"); })) << "the first fills the caches";
  auto sample = [&](const char* when) {
    const ObjectCounts now = CountObjectsOf(program.Id());
    std::printf("%s: private %.2f MB, GDI objects %ld, windows %ld, handles %ld\n", when,
                PrivateMegabytesOf(program.Id()), now.gdi, now.windows, now.handles);
    return now;
  };
  ObjectCounts warm;
  for (int cycle = 1; cycle <= cycles + prints; ++cycle) {
    if (cycle > cycles) {
      ASSERT_TRUE(cycle > cycles + 1 || ChooseFromTrayMenu(6)) << "Immediate Action on";
      ASSERT_TRUE(pagePrinted(&PressPrintScreen)) << cycle;
    } else if (cycle % 10 != 0) {
      ASSERT_TRUE(program.CaptureWithHotkey());
      program.CancelDialog();
    } else {
      ASSERT_TRUE(ChooseFromTrayMenu(3));  // Open, then Cancel
      ASSERT_TRUE(WaitUntil([&] { return IsShown(dialog); }));
      program.Press("Cancel");
      ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
    }
    if (cycle == 20) warm = sample("after 20 cycles");
    if (cycle == cycles + 20) sample("after 20 prints");  // memory as after a print
  }
  EXPECT_EQ(sample("at the end"), warm);
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
  PumpMessagesFor(1500ms);
  EXPECT_FALSE(IsShown(credits));
  EXPECT_TRUE(program.CaptureWithHotkey());
}

}  // namespace

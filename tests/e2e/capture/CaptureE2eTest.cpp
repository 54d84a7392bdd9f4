// The real program when other programs hold what a capture needs: the Print Screen keys, which
// Windows 11 keeps for its own screen capture by default, and the clipboard, which clipboard
// history and remote-desktop sharing open for a moment after every change.
#include "tests/e2e/VindelorProcess.h"

namespace {

using namespace testing_support;
using CaptureE2e = VindelorTest;

// The keys as another program holds them for the scope (on its thread, without a window).
struct KeysOfAnotherProgram {
  KeysOfAnotherProgram(bool printScreen, bool altPrintScreen) {
    EXPECT_TRUE(!printScreen || RegisterHotKey(nullptr, 1, 0, VK_SNAPSHOT));
    EXPECT_TRUE(!altPrintScreen || RegisterHotKey(nullptr, 2, MOD_ALT, VK_SNAPSHOT));
  }
  KeysOfAnotherProgram(const KeysOfAnotherProgram&) = delete;
  KeysOfAnotherProgram& operator=(const KeysOfAnotherProgram&) = delete;
  ~KeysOfAnotherProgram() {
    UnregisterHotKey(nullptr, 1);
    UnregisterHotKey(nullptr, 2);
  }
};

TEST_F(CaptureE2e, KeysHeldByAnotherProgramAreToldOnceAfterTheSplashAndTheRestStillCaptures) {
  const std::string untilThen =
      " On Windows 11, switch off the Print screen key setting under Settings > Accessibility > "
      "Keyboard, then start Vindelor again. Until then, choose \"Print the Desktop\" in "
      "Vindelor's tray menu.";
  const std::tuple<bool, bool, std::string> cases[] = {
      {true, true,
       "Print Screen and Alt+Print Screen are already in use by another program, so Vindelor "
       "cannot capture with them." +
           untilThen},
      {true, false,
       "Print Screen is already in use by another program, so Vindelor cannot capture with it." +
           untilThen},
      {false, true,
       "Alt+Print Screen is already in use by another program, so Vindelor cannot capture "
       "windows with it. Close that program or turn off its shortcut, then start Vindelor again. "
       "Until then, use Print Screen and \"Select Rectangle\"."},
  };
  for (const auto& [printScreen, altPrintScreen, text] : cases) {
    SCOPED_TRACE(text.substr(0, 20));
    const KeysOfAnotherProgram held(printScreen, altPrintScreen);
    VindelorProcess program;
    program.EndSplashWithKeyPress();
    EXPECT_EQ(AnswerDialog(program.Id(), IDOK).value_or(SeenDialog{}),
              (SeenDialog{"Information", text, {"OK"}}));
    // The tray's command captures; so does a key that is the program's own.
    ASSERT_TRUE(ChooseFromTrayMenu(1));
    EXPECT_TRUE(WaitUntil([&] { return IsShown(program.OptionsDialog()); }));
    program.CancelDialog();
    if (printScreen != altPrintScreen) {
      EXPECT_TRUE(program.CaptureWithHotkey(/*alt=*/printScreen));
    }
    EXPECT_TRUE(program.ShowsNoDialog()) << "told once";
  }
}

// Another program opens the clipboard, presses the key itself and closes the clipboard 600 ms
// later: the capture still replaces what the clipboard held.
class BusyClipboard : public ResidentTest {
 protected:
  BusyClipboard() : ResidentTest({100, 100, 420, 340}) {}
};

TEST_F(BusyClipboard, ACaptureWaitsForTheClipboardAndLandsThereAtTheCapturesSize) {
  CaptureThePattern();
  program_->SetBox("Copy to Clipboard", true);
  program_->CancelDialog();
  const RECT window = pattern_->WindowRect();
  for (bool alt : {false, true}) {
    SetForegroundWindow(pattern_->Handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern_->Handle(); }));
    ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
    EmptyClipboard();  // and a one-dot picture that no capture could be
    SetClipboardData(CF_BITMAP, CreateBitmap(1, 1, 1, 1, nullptr));
    alt ? PressAltPrintScreen() : PressPrintScreen();
    PumpMessagesFor(600ms);
    CloseClipboard();
    ASSERT_TRUE(WaitUntil([&] { return IsShown(program_->OptionsDialog()); })) << alt;
    const Picture copy = ClipboardPicture();  // the dialog shows after the copy
    EXPECT_EQ(
        std::pair(LONG{copy.width}, LONG{copy.height}),
        alt ? std::pair(window.right - window.left, window.bottom - window.top)
            : std::pair(LONG{GetSystemMetrics(SM_CXSCREEN)}, LONG{GetSystemMetrics(SM_CYSCREEN)}))
        << alt;
    program_->CancelDialog();
  }
}

}  // namespace

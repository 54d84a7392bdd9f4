// The tray icon and its menu of the real program, clicked and chosen as a user does. Menu items
// by place: 1 Print the Desktop, 2 Help, 3 Open, 4 Close, 5 Suspend, 6 Immediate Action.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;
using Tray = VindelorTest;

constexpr char kHelpStart[] = "Vindelor HELP: To print the Desktop press the <PrintScreen> key\r";

TEST_F(Tray, TheIconHelpsAndItsMenuCapturesSuspendsSwitchesImmediateActionOpensAndCloses) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  HWND dialog = program.OptionsDialog();
  const auto printedAtOnce = [&] {
    const std::size_t pages = PageFiles("VindelorA").size();
    PumpMessagesFor(1500ms);
    return !IsShown(dialog) && WaitForPages("VindelorA", pages + 1, 5s).size() > pages;
  };
  EXPECT_EQ(TrayTip(), "Vindelor® V2.0");
  ASSERT_TRUE(ChooseFromTrayMenu(1));
  ASSERT_TRUE(WaitUntil([&] { return IsShown(dialog); }));
  ASSERT_TRUE(ClickTrayIcon());
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(dialog); })) << "the help box disables it";
  ASSERT_TRUE(ChooseFromTrayMenu(2));  // the tray still answers: a second box on the first
  for (int boxes = 0; boxes < 2; ++boxes) {
    const auto help = AnswerDialog(program.Id(), IDOK);
    ASSERT_TRUE(help.has_value());
    EXPECT_EQ((help->caption + ": " + help->text).substr(0, sizeof(kHelpStart) - 1), kHelpStart);
  }
  PostMessageA(dialog, WM_CLOSE, 0, 0);

  ASSERT_TRUE(ChooseFromTrayMenu(5));
  PressPrintScreen();
  PumpMessagesFor(1500ms);
  EXPECT_FALSE(IsShown(dialog)) << "suspended";
  ASSERT_TRUE(ChooseFromTrayMenu(5));
  ASSERT_TRUE(ChooseFromTrayMenu(6));
  EXPECT_TRUE(program.IsChecked("Immediate Action")) << "the menu moves the box";
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  ASSERT_TRUE(program.CaptureWithHotkey());
  EXPECT_TRUE(printedAtOnce()) << "armed again, and with Immediate Action";

  ASSERT_TRUE(ChooseFromTrayMenu(3));
  EXPECT_FALSE(printedAtOnce()) << "Open never prints";
  program.SetBox("Immediate Action", false);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  ASSERT_TRUE(program.CaptureWithHotkey());
  EXPECT_FALSE(printedAtOnce()) << "the box moves the menu";

  for (WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {  // No, then the default button Yes
    ASSERT_TRUE(ChooseFromTrayMenu(4));
    HWND confirm = WaitForWindow({.className = "#32770", .title = "Confirm"});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == confirm; }));
    PressKey(key);
    PumpMessagesFor(500ms);
    EXPECT_EQ(program.Running(), key == VK_ESCAPE);
  }
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([] { return TrayIcon() == nullptr; }));
}

}  // namespace

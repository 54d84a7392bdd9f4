// The tray icon and its menu of the real program, clicked and chosen as a user does. Menu items
// by place: 1 Print the Desktop, 2 Help, 3 Open, 4 Close, 5 Suspend, 6 Immediate Action.
#include <gtest/gtest.h>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/TrayAccess.h"

namespace {

using namespace testing_support;

constexpr char kHelpStart[] =
    "To print the Desktop press the <PrintScreen> key\rTo print the Active Window press <Alt> + "
    "<PrintScreen>\r\rThe Printscreen key is mostly labeled PrintScrn/SysRq\r\rRight Click the "
    "Icon to get more Options\r\rOpen      =  Opens the Vindelor dialog\rClose      =  terminate "
    "Vindelor\rSuspend =  Vindelor is deactivated\r\r";

using Tray = VindelorTest;

TEST_F(Tray, TheIconHelpsAndTheMenuSuspendsSwitchesImmediateActionOpensAndCloses) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  HWND dialog = program.OptionsDialog();
  ASSERT_TRUE(program.CaptureWithHotkey());
  ASSERT_TRUE(ClickTrayIcon());
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(dialog); })) << "the help box disables it";
  const auto help = AnswerDialog(program.Id(), IDOK);
  ASSERT_TRUE(help.has_value());
  EXPECT_EQ(help->caption + "|" + help->text.substr(0, sizeof(kHelpStart) - 1),
            std::string("Vindelor HELP|") + kHelpStart);

  ASSERT_TRUE(ChooseFromTrayMenu(6));
  HWND box = ChildWithText(dialog, "Immediate Action");
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED) << "the menu moves the box";
  ASSERT_TRUE(ChooseFromTrayMenu(3));
  PumpMessagesFor(1500ms);
  EXPECT_TRUE(IsShown(dialog) && IsWindowEnabled(dialog)) << "Open prints nothing";
  PostMessageA(dialog, WM_CLOSE, 0, 0);

  ASSERT_TRUE(ChooseFromTrayMenu(5));
  PressPrintScreen();
  PumpMessagesFor(1500ms);
  EXPECT_FALSE(IsShown(dialog)) << "suspended";
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();
  ASSERT_TRUE(ChooseFromTrayMenu(5));
  EXPECT_TRUE(program.CaptureWithHotkey());
  EXPECT_EQ(WaitForPages("VindelorA", pages + 1).size(), pages + 1) << "printed at once";

  for (WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {  // No, then the default button Yes
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
    ASSERT_TRUE(ChooseFromTrayMenu(4));
    HWND confirm = WaitForWindow({.className = "#32770", .title = "Confirm"});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == confirm; }));
    PressKey(key);
  }
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([] { return TrayIcon() == nullptr; }));
}

}  // namespace

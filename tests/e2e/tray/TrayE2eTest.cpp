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
  // What does not happen is given a second and a half to happen.
  const auto staysAway = [](const std::function<bool()>& happened) {
    return !WaitUntil(happened, 1500ms);
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
  program.SetBox("Copy to Clipboard", true);  // so that a capture shows on the clipboard
  PostMessageA(dialog, WM_CLOSE, 0, 0);

  ASSERT_TRUE(ChooseFromTrayMenu(5));
  PressPrintScreen();
  EXPECT_TRUE(staysAway([&] { return IsShown(dialog); })) << "suspended";
  ASSERT_TRUE(ChooseFromTrayMenu(5));
  ASSERT_TRUE(ChooseFromTrayMenu(6));
  EXPECT_TRUE(program.IsChecked("Immediate Action")) << "the menu moves the box";
  EXPECT_FALSE(program.PrintPage([&] { ASSERT_TRUE(program.CaptureWithHotkey()); }).empty())
      << "armed again, and with Immediate Action";

  ASSERT_TRUE(EmptyTheClipboard());
  const std::size_t pages = PageFiles("VindelorA").size();
  ASSERT_TRUE(ChooseFromTrayMenu(3));
  EXPECT_TRUE(WaitUntil([&] { return IsShown(dialog) && ClipboardPicture().width > 0; }))
      << "Open captures";
  EXPECT_TRUE(staysAway([&] { return !IsShown(dialog); }) && WaitUntilPrintingIsDone() &&
              PageFiles("VindelorA").size() == pages)
      << "Open never prints";
  program.SetBox("Immediate Action", false);
  PostMessageA(dialog, WM_CLOSE, 0, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  ASSERT_TRUE(program.CaptureWithHotkey());
  EXPECT_TRUE(staysAway([&] { return !IsShown(dialog); })) << "the box moves the menu";

  for (WORD key : {WORD{VK_ESCAPE}, WORD{VK_RETURN}}) {  // No, then the default button Yes
    ASSERT_TRUE(ChooseFromTrayMenu(4));
    HWND confirm = program.WaitForDialog("Confirm");
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == confirm; }));
    PressKey(key);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(confirm); }));
    EXPECT_TRUE(key != VK_ESCAPE || program.Running()) << "No keeps the program";
  }
  EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
  EXPECT_TRUE(WaitUntil([] { return TrayIcon() == nullptr; }));
}

}  // namespace

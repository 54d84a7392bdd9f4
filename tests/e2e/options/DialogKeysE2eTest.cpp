// The options dialog's keys on the real program: Tab and Shift+Tab along the nineteen stops, the
// arrows within their groups (checking the radio button they reach), Enter and Esc. The dialog
// starts from stored options with every box and both orientations off, after Esc has ended the
// splash.
#include <algorithm>
#include <array>
#include <set>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;

class DialogKeys : public VindelorTest {
 protected:
  void SetUp() override {
    VindelorTest::SetUp();
    SeedSavedSettings(100, 100);
    program_.emplace();
    program_->EndSplashWithKeyPress(VK_ESCAPE, 2500ms);  // at once, not after its five ticks
    ShowDialog();
  }
  void TearDown() override {
    program_.reset();
    VindelorTest::TearDown();
  }
  void ShowDialog() {
    ASSERT_TRUE(program_->CaptureWithHotkey());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program_->OptionsDialog(); }));
    EXPECT_EQ(std::pair(program_->FocusedControl(), DefaultLooking()),
              std::pair(std::string("Print"), std::string("Print")));
  }
  // Presses the key and waits for the focus to reach the control.
  void Move(WORD key, bool shift, const std::string& to) {
    std::optional<HeldKey> held;
    if (shift) held.emplace(VK_SHIFT);
    PressKey(key);
    EXPECT_TRUE(WaitUntil([&] { return program_->FocusedControl() == to; }, 5s))
        << to << ", not " << program_->FocusedControl();
  }
  // The push buttons that look like the default one.
  std::string DefaultLooking() const {
    std::string looking;
    for (HWND child : Children(program_->OptionsDialog())) {
      if ((GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON &&
          ClassNameOf(child) == "Button")
        looking += WindowText(child);
    }
    return looking;
  }
  std::optional<VindelorProcess> program_;
};

const std::array<std::string, 8> kPushButtons = {
    "Print",        "Cancel",      "Printer Setup",    "BMP Viewer",
    "Save Options", "Save as BMP", "Select Rectangle", "Get from Clipboard"};

// A group box's controls follow in their own order, and of the radio buttons only the first is a
// stop while neither is checked: reaching it chooses nothing. The button Enter presses (the
// focused one, else "Print") is the one that looks like the default.
TEST_F(DialogKeys, TabVisitsTheNineteenStopsInOrderAndShiftTabTheReverse) {
  const std::string cycle[] = {"Print",
                               "Cancel",
                               "Printer Setup",
                               "BMP Viewer",
                               "Save Options",
                               "Centered",
                               "Stretched",
                               "Monochrome",
                               "Date +Time",
                               "Immediate Action",
                               "Landscape",
                               "Large Form",
                               "Inverted Colors",
                               "Default Printer",
                               "Mirrored Image",
                               "Copy to Clipboard",
                               "Select Rectangle",
                               "Save as BMP",
                               "Get from Clipboard"};
  const std::size_t n = std::size(cycle);
  for (bool backwards : {false, true}) {
    for (std::size_t step = 1; step <= n; ++step) {
      const std::string& expected = cycle[(backwards ? n - step : step) % n];
      Move(VK_TAB, backwards, expected);
      const bool push = std::count(kPushButtons.begin(), kPushButtons.end(), expected) != 0;
      EXPECT_EQ(DefaultLooking(), push ? expected : "Print") << step;
    }
  }
  for (const char* option : {"Landscape", "Portrait", "Centered", "Large Form"})
    EXPECT_FALSE(program_->IsChecked(option)) << option;
  HWND dialog = program_->OptionsDialog();
  EXPECT_EQ(
      std::pair(WindowText(GetDlgItem(dialog, IDOK)), WindowText(GetDlgItem(dialog, IDCANCEL))),
      std::pair(std::string("Print"), std::string("Cancel")));
  std::set<int> ids;  // of the controls on the dialog and on its group boxes
  std::size_t controls = 0;
  for (HWND child : Children(dialog)) {
    if (GetParent(child) != dialog && ClassNameOf(GetParent(child)) != "Button") continue;
    ++controls;
    ids.insert(GetDlgCtrlID(child));
  }
  EXPECT_EQ(controls, ids.size()) << "unique ids";
}

// The arrows move within a group and wrap around in it: the radio buttons, and the groups before
// and after them, which end where the next begins. Reaching a radio button checks it (the other
// goes off, and Tab comes back to it), as "Save Options" then stores; no box toggles.
TEST_F(DialogKeys, ArrowsMoveWithinTheirGroupAndCheckTheRadioButtonTheyReach) {
  struct Step {
    WORD key;
    bool shift;
    const char* to;
    int landscape;  // stored after "Save Options": 1 or 0; -1: not saved
  };
  const Step steps[] = {
      {VK_UP, false, "Immediate Action", -1},  {VK_TAB, false, "Landscape", -1},
      {VK_DOWN, false, "Portrait", 0},         {VK_TAB, false, "Large Form", -1},
      {VK_TAB, true, "Portrait", -1},          {VK_UP, false, "Landscape", 1},
      {VK_RIGHT, false, "Portrait", 0},        {VK_LEFT, false, "Landscape", 1},
      {VK_TAB, false, "Large Form", -1},       {VK_UP, false, "Get from Clipboard", -1},
      {VK_DOWN, false, "Large Form", -1},      {VK_DOWN, false, "Inverted Colors", -1},
      {VK_DOWN, false, "Default Printer", -1}, {VK_TAB, true, "Inverted Colors", -1}};
  for (const Step& step : steps) {
    Move(step.key, step.shift, step.to);
    if (step.landscape < 0) continue;
    EXPECT_EQ(std::pair(program_->IsChecked("Landscape"), program_->IsChecked("Portrait")),
              std::pair(step.landscape == 1, step.landscape == 0))
        << step.to;
    program_->Press("Save Options");
    ASSERT_TRUE(AnswerDialog(program_->Id(), IDOK).has_value()) << "Settings saved successfully";
    const auto stored = ReadSettings();
    EXPECT_EQ(std::pair(stored.at("Landscape").Dword(), stored.at("Portrait").Dword()),
              std::pair(std::uint32_t(step.landscape), std::uint32_t(1 - step.landscape)))
        << step.to;
    EXPECT_TRUE(WaitUntil([&] { return program_->FocusedControl() == step.to; }));
  }
  for (const char* box : {"Immediate Action", "Large Form", "Inverted Colors"})
    EXPECT_FALSE(program_->IsChecked(box)) << box;
}

// Enter on a check box prints and leaves the box as it was; Esc cancels from anywhere; Enter on
// a focused push button runs that button, inside a group box too, and looks like the default one
// until a click takes the focus elsewhere. With the printer list open, either key only closes the
// list.
TEST_F(DialogKeys, EnterPrintsFromACheckBoxRunsAFocusedButtonAndEscCancels) {
  struct Case {
    std::string focus;
    WORD key;
    std::string outcome;  // "prints", "hides", "closes the list" or the message box's text
  };
  for (const Case& c :
       {Case{"Stretched", VK_RETURN, "prints"}, Case{"Stretched", VK_ESCAPE, "hides"},
        Case{"Cancel", VK_RETURN, "hides"}, Case{"Print", VK_ESCAPE, "hides"},
        Case{"Save Options", VK_RETURN, "Settings saved successfully"},
        Case{"Default Printer", VK_RETURN, "closes the list"},
        Case{"Default Printer", VK_ESCAPE, "closes the list"}}) {
    for (int tab = 0; tab < 19 && program_->FocusedControl() != c.focus; ++tab) PressKey(VK_TAB);
    ASSERT_TRUE(WaitUntil([&] { return program_->FocusedControl() == c.focus; })) << c.focus;
    const std::size_t pages = PageFiles("VindelorA").size();
    const auto press = [&c] { PressKey(c.key); };
    if (c.outcome == "prints") {
      EXPECT_FALSE(program_->PrintPage(press).empty());
    } else if (c.outcome == "hides") {
      press();
      EXPECT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); })) << c.focus;
      EXPECT_TRUE(WaitUntilPrintingIsDone());
    } else if (c.outcome == "closes the list") {
      HWND list = program_->PrinterList();
      const auto open = [list] { return SendMessageA(list, CB_GETDROPPEDSTATE, 0, 0) != 0; };
      PressKey(VK_F4);
      ASSERT_TRUE(WaitUntil(open));
      press();
      EXPECT_TRUE(WaitUntil([&] { return !open(); }));
      EXPECT_FALSE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }, 1s));
      program_->CancelDialog();
    } else {
      press();
      const auto seen = AnswerDialog(program_->Id(), IDOK);
      EXPECT_EQ(seen ? seen->text : "none", c.outcome);
      program_->SetBox("Stretched", true);  // a click takes the focus from the button
      program_->SetBox("Stretched", false);
      EXPECT_EQ(DefaultLooking(), "Print");
      program_->CancelDialog();
    }
    EXPECT_EQ(PageFiles("VindelorA").size(), pages + (c.outcome == "prints"));
    EXPECT_FALSE(program_->IsChecked("Stretched"));
    ShowDialog();
  }
}

}  // namespace

// The options dialog's own behaviour: Large Form, Tab, Enter and Esc, the Monochrome / Inverted
// Colors exclusion, Cancel, hints and the printer preselection.
#include <optional>

#include "options/PrinterList.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;
using OptionsDialog = ProgramTest;

void ShowDialog() {
  Form2->Show();
  ASSERT_TRUE(WaitUntil([] { return GetActiveWindow() == Form2->Handle(); }));
}

// Every control's bounds and the height of the font its window really uses, depth first.
std::vector<std::pair<tk::Bounds, LONG>> Layout(const tk::Container& container) {
  std::vector<std::pair<tk::Bounds, LONG>> laid;
  for (tk::Control* control : container.Children()) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    laid.emplace_back(control->GetBounds(), font.lfHeight);
    if (auto* inner = dynamic_cast<tk::Container*>(control)) {
      for (auto& child : Layout(*inner)) laid.push_back(child);
    }
  }
  return laid;
}

// Fonts scale by whole point sizes: -11 pixels is 8 points, 10 when large (-13); -12 is 9 points,
// 11 when large (-15). The "Options" box, its children and Cancel have -12; the rest -11.
TEST_F(OptionsDialog, LargeFormScalesBySixFifthsAndBackAndShowsTheDialogAgain) {
  ShowDialog();
  const RECT before{Form2->Left(), Form2->Top()};
  const auto design = Layout(*Form2);
  ASSERT_FALSE(design.empty());
  for (bool large : {true, false}) {
    // Toggled by the user: the focus on the box and its hint in the status line.
    Form2->CheckBox3.SetFocus();
    tk::App().SetHint(Form2->CheckBox3.EffectiveHint());
    Form2->CheckBox3.SetChecked(large);
    EXPECT_EQ(std::tuple(Form2->ActiveControl(), Form2->NStatusLine1.Caption(), Form2->Visible(),
                         Form2->Left(), Form2->Top()),
              std::tuple(&Form2->Button1, std::string(" ") + TForm2::kCreditLine, true, before.left,
                         before.top));
    const auto now = Layout(*Form2);
    ASSERT_EQ(now.size(), design.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
      const auto [was, wasFont] = design[i];
      const auto [is, font] = now[i];
      EXPECT_EQ(font, !large ? wasFont : wasFont == -11 ? -13 : -15) << i;
      if (large) continue;
      EXPECT_NEAR(is.left, was.left, 1) << i;  // back within a pixel
      EXPECT_NEAR(is.top, was.top, 1) << i;
      EXPECT_NEAR(is.width, was.width, 1) << i;
      EXPECT_NEAR(is.height, was.height, 1) << i;
    }
    EXPECT_NEAR(Form2->ClientWidth(), large ? 366 : 305, large ? 0 : 1);
    EXPECT_NEAR(Form2->ClientHeight(), large ? 334 : 278, large ? 0 : 1);
    EXPECT_EQ(Form2->Button1.GetBounds().left, large ? 221 : 184);  // 184 × 6/5 = 220.8
  }
}

TEST_F(OptionsDialog, TabVisitsEveryControlInTabOrderAndShiftTabTheReverseChangingNoOption) {
  TForm2& d = *Form2;
  // Inside a group box its children follow in their own order; of the radio buttons only the
  // checked one (or the first while neither is) is visited.
  const std::vector<tk::Control*> cycle{
      &d.Button1, &d.Button4, &d.Button2, &d.Button3, &d.Button5, &d.CheckBox1, &d.CheckBox2,
      &d.CheckBox5, &d.CheckBox4, &d.CheckBox6, &d.RadioButton1, &d.CheckBox3, &d.CheckBox7,
      &d.ComboBox1, &d.CheckBox8, &d.CheckBox9, &d.Button6, &d.Button7, &d.Button8};
  auto options = [&d] {
    std::vector<bool> checked{d.RadioButton1.Checked(), d.RadioButton2.Checked()};
    for (tk::CheckBox* box : {&d.CheckBox1, &d.CheckBox2, &d.CheckBox3, &d.CheckBox4, &d.CheckBox5,
                              &d.CheckBox6, &d.CheckBox7, &d.CheckBox8, &d.CheckBox9}) {
      checked.push_back(box->Checked());
    }
    return checked;
  };
  ShowDialog();
  // Backwards with neither orientation on, as stored zeros leave them: a radio button that
  // receives the focus must not choose itself.
  for (bool backwards : {false, true}) {
    if (backwards) d.RadioButton1.SetChecked(false);
    const auto before = options();
    std::optional<HeldKey> shift;
    if (backwards) shift.emplace(VK_SHIFT);
    for (std::size_t step = 1; step <= cycle.size(); ++step) {
      PressKey(VK_TAB);
      const tk::Control* expected = cycle[(backwards ? cycle.size() - step : step) % cycle.size()];
      ASSERT_TRUE(WaitUntil([&] { return d.ActiveControl() == expected; }, 5s))
          << "step " << step << ": " << expected->Caption() << " expected";
    }
    EXPECT_EQ(options(), before) << backwards;
  }
}

TEST_F(OptionsDialog, MonochromeAndInvertedExcludeEachOtherOnlyOnARealMouseRelease) {
  ShowDialog();
  tk::CheckBox &monochrome = Form2->CheckBox5, &inverted = Form2->CheckBox7;
  auto both = [&] { return std::pair(monochrome.Checked(), inverted.Checked()); };
  monochrome.SetChecked(true);  // both on, as loading or the keyboard can leave them
  inverted.SetChecked(true);
  ReleaseMouseOver(monochrome.Handle(), /*right=*/true);  // no toggle, but the release clears
  EXPECT_EQ(both(), std::pair(true, false));
  ReleaseMouseOver(inverted.Handle());
  EXPECT_EQ(both(), std::pair(false, true));
  monochrome.SetFocus();
  PressKey(VK_SPACE);  // a toggle without a release: both on
  ASSERT_TRUE(WaitUntil([&] { return monochrome.Checked(); }));
  EXPECT_EQ(both(), std::pair(true, true));
  ReleaseMouseOver(monochrome.Handle());  // turning it off still clears the other
  EXPECT_EQ(both(), std::pair(false, false));
}

TEST_F(OptionsDialog, CancelHidesAndReArmsUnlessSuspended) {
  EndSplash();
  for (bool suspended : {false, true}) {
    for (bool closeBox : {false, true}) {
      Form1->Suspend.SetChecked(suspended);
      vindelor::Shared().armed = false;
      Form2->Show();
      if (closeBox) PostMessageA(Form2->Handle(), WM_CLOSE, 0, 0);
      else PostMessageA(Form2->Button1.Handle(), WM_KEYDOWN, VK_ESCAPE, 1);  // Esc anywhere
      PumpMessagesFor(100ms);
      EXPECT_EQ(std::pair(Form2->Visible(), vindelor::Shared().armed), std::pair(false, !suspended))
          << suspended << closeBox;
    }
  }
}

// With the focus on a check box, Enter prints (a page comes out) and Esc cancels; neither
// toggles the box. On a button, Enter runs that button.
TEST_F(OptionsDialog, EnterPrintsFromACheckBoxRunsAFocusedButtonAndEscCancels) {
  EndSplash();
  using Case = std::tuple<tk::Control*, WORD, std::size_t>;
  for (auto [focus, key, printed] : {Case{&Form2->CheckBox2, VK_RETURN, 1}, Case{&Form2->CheckBox2, VK_ESCAPE, 0},
                                     Case{&Form2->Button4, VK_RETURN, 0}}) {
    ASSERT_TRUE(WaitUntilPrintingIsDone());
    const std::size_t pages = PageFiles("VindelorA").size() + printed;
    ShowDialog();
    focus->SetFocus();
    PressKey(key);
    ASSERT_TRUE(WaitUntil([] { return !Form2->Visible(); }));
    EXPECT_FALSE(Form2->CheckBox2.Checked());
    ASSERT_TRUE(WaitUntilPrintingIsDone());
    EXPECT_EQ(WaitForPages("VindelorA", pages).size(), pages) << focus->Caption() << " " << key;
  }
}

TEST_F(OptionsDialog, HintsGoToTheStatusLineAndShowingPutsTheCreditLineBack) {
  Form2->Show();
  for (auto [control, hint] : {std::pair<tk::Control*, const char*>(&Form2->CheckBox1, " The Image will be centered on page"),
                               {&Form2->Button4, " Cancel program   ( or  press ESC )"},
                               {&Form2->GroupBox2, ""},  // no hint of its own, nor its parent's
                               {&Form2->Button8, " Get an Image or Picture from the Clipboard"}}) {
    SendMessageA(control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Form2->NStatusLine1.Caption(), hint);
  }
  Form2->NStatusLine1.SetCaption("Printing");
  EXPECT_EQ(Form2->NStatusLine1.Caption(), " Printing") << "a caption gets a leading space";
  Form2->Hide();
  Form2->Show();
  EXPECT_EQ(Form2->NStatusLine1.Caption(), std::string(" ") + TForm2::kCreditLine);
}

TEST_F(OptionsDialog, ThePrinterListHoldsTheQueuesThenDefaultPrinterAndPreselectsExactly) {
  tk::ComboBox& combo = Form2->ComboBox1;  // the harness's default set: one queue
  ASSERT_EQ(std::tuple(combo.Enabled(), combo.ItemCount(), combo.Item(0), combo.Item(1)),
            std::tuple(true, 2, "VindelorA", "Default Printer"));
  for (auto [saved, selected] : {std::pair("VindelorA", 0), std::pair("vindelora", -1),
                                 std::pair("VindelorX", -1), std::pair("", -1),
                                 std::pair("Default Printer", 1)}) {
    combo.SetItemIndex(-1);
    vindelor::PreselectPrinter(combo, saved);
    EXPECT_EQ(combo.ItemIndex(), selected) << saved;
  }
}

}  // namespace

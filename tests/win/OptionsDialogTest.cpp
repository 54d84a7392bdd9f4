// The options dialog's own behaviour: Large Form, Tab, Enter and Esc, the Monochrome / Inverted
// Colors exclusion, the Immediate Action mirror, Cancel and the printer list.
#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <vector>

#include "options/PrinterList.h"
#include "tests/support/HarnessAccess.h"
#include "tests/win/ProgramFixture.h"

namespace {

using namespace testing_support;
using OptionsDialog = ProgramTest;

struct Laid {
  const tk::Control* control;
  tk::Bounds bounds;
  LONG fontHeight;  // of the font the control's window actually uses
};

std::vector<Laid> AllControls(const tk::Container& container) {
  std::vector<Laid> laid;
  for (tk::Control* control : container.Children()) {
    auto font = reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0));
    LOGFONTA logFont{};
    GetObjectA(font, sizeof(logFont), &logFont);
    laid.push_back({control, control->GetBounds(), logFont.lfHeight});
    if (auto* inner = dynamic_cast<tk::Container*>(control)) {
      auto innerLaid = AllControls(*inner);
      laid.insert(laid.end(), innerLaid.begin(), innerLaid.end());
    }
  }
  return laid;
}

// Fonts scale by their point size: -11 pixels is 8 points, 10 when large (-13); -12 is 9 points,
// 11 when large (-15).
TEST_F(OptionsDialog, LargeFormScalesBySixFifthsAndBackAndShowsTheDialogAgain) {
  Form2->Show();
  ASSERT_TRUE(WaitUntil([] { return GetActiveWindow() == Form2->Handle(); }));
  const int left = Form2->Left();
  const int top = Form2->Top();
  const auto design = AllControls(*Form2);
  // The "Options" box and what it holds, and "Cancel", have fonts of -12 pixels; the rest take
  // the dialog's, of -11.
  auto expectFonts = [](const std::vector<Laid>& laid, LONG dialog, LONG own) {
    EXPECT_EQ(Form2->GetFont().Spec().height, dialog);
    for (const Laid& c : laid) {
      const bool inOwnFont = c.control == &Form2->GroupBox1 || c.control == &Form2->Button4 ||
                             &c.control->Parent() == &Form2->GroupBox1;
      EXPECT_EQ(c.fontHeight, inOwnFont ? own : dialog) << c.control->Caption();
    }
  };
  expectFonts(design, -11, -12);

  // Toggled by the user: the focus is on the box and its hint is in the status line.
  for (bool large : {true, false}) {
    Form2->CheckBox3.SetFocus();
    tk::App().SetHint(Form2->CheckBox3.EffectiveHint());
    Form2->CheckBox3.SetChecked(large);
    EXPECT_EQ(Form2->ActiveControl(), &Form2->Button1) << "shown again: Print has the focus";
    EXPECT_EQ(Form2->NStatusLine1.Caption(), std::string(" ") + TForm2::kCreditLine);
    EXPECT_TRUE(Form2->Visible());
    EXPECT_EQ(Form2->Left(), left);
    EXPECT_EQ(Form2->Top(), top);
    const auto now = AllControls(*Form2);
    ASSERT_EQ(now.size(), design.size());
    if (large) {
      EXPECT_EQ(Form2->ClientWidth(), 366);
      EXPECT_EQ(Form2->ClientHeight(), 334);
      EXPECT_EQ(Form2->Button1.GetBounds().left, 221);  // 184 × 6/5 = 220.8
      expectFonts(now, -13, -15);
      continue;
    }
    EXPECT_NEAR(Form2->ClientWidth(), 305, 1);
    EXPECT_NEAR(Form2->ClientHeight(), 278, 1);
    for (std::size_t i = 0; i < design.size(); ++i) {
      EXPECT_NEAR(now[i].bounds.left, design[i].bounds.left, 1) << i;
      EXPECT_NEAR(now[i].bounds.top, design[i].bounds.top, 1) << i;
      EXPECT_NEAR(now[i].bounds.width, design[i].bounds.width, 1) << i;
      EXPECT_NEAR(now[i].bounds.height, design[i].bounds.height, 1) << i;
    }
    expectFonts(now, -11, -12);
  }
}

TEST_F(OptionsDialog, TabVisitsEveryControlInTabOrderAndShiftTabTheReverseChangingNoOption) {
  TForm2& d = *Form2;
  // Inside a group box its children follow in their own order; of the radio buttons only the
  // checked one (or the first while neither is) is visited.
  const std::vector<tk::Control*> cycle{
      &d.Button1,  &d.Button4,   &d.Button2,   &d.Button3,      &d.Button5,
      &d.CheckBox1, &d.CheckBox2, &d.CheckBox5, &d.CheckBox4,   &d.CheckBox6,
      &d.RadioButton1, &d.CheckBox3, &d.CheckBox7, &d.ComboBox1, &d.CheckBox8,
      &d.CheckBox9, &d.Button6,   &d.Button7,   &d.Button8};
  auto options = [&d] {
    std::vector<bool> checked;
    for (tk::CheckBox* box : {&d.CheckBox1, &d.CheckBox2, &d.CheckBox3, &d.CheckBox4, &d.CheckBox5,
                              &d.CheckBox6, &d.CheckBox7, &d.CheckBox8, &d.CheckBox9}) {
      checked.push_back(box->Checked());
    }
    return std::tuple(checked, d.RadioButton1.Checked(), d.RadioButton2.Checked());
  };
  d.Show();
  ASSERT_TRUE(WaitUntil([] { return GetActiveWindow() == Form2->Handle(); }));
  // Backwards with neither orientation on, as stored zeros leave them: a radio button that
  // receives the focus must not choose itself.
  for (bool backwards : {false, true}) {
    if (backwards) d.RadioButton1.SetChecked(false);
    const auto before = options();
    std::optional<HeldKey> shift;
    if (backwards) shift.emplace(VK_SHIFT);
    for (std::size_t step = 1; step <= cycle.size(); ++step) {
      PressKey(VK_TAB);
      const std::size_t at = (backwards ? cycle.size() - step : step) % cycle.size();
      ASSERT_TRUE(WaitUntil([&] { return d.ActiveControl() == cycle[at]; }, 5s))
          << "step " << step << ": " << cycle[at]->Caption() << " expected, "
          << (d.ActiveControl() ? d.ActiveControl()->Caption() : "nothing") << " has the focus";
    }
    EXPECT_EQ(options(), before) << backwards;
  }
}

TEST_F(OptionsDialog, MonochromeAndInvertedExcludeEachOtherOnlyOnARealMouseRelease) {
  auto releaseOver = [](tk::Control& box, UINT down, UINT up, WPARAM keys) {
    SendMessageA(box.Handle(), down, keys, MAKELPARAM(5, 5));
    SendMessageA(box.Handle(), up, 0, MAKELPARAM(5, 5));
  };
  Form2->Show();
  // Both on, as loading or the keyboard can leave them.
  Form2->CheckBox5.SetChecked(true);
  Form2->CheckBox7.SetChecked(true);
  ASSERT_TRUE(Form2->CheckBox5.Checked());
  ASSERT_TRUE(Form2->CheckBox7.Checked());

  // A right-button release does not toggle "Monochrome" but still clears "Inverted Colors".
  releaseOver(Form2->CheckBox5, WM_RBUTTONDOWN, WM_RBUTTONUP, MK_RBUTTON);
  EXPECT_TRUE(Form2->CheckBox5.Checked());
  EXPECT_FALSE(Form2->CheckBox7.Checked());

  // A click that turns "Inverted Colors" on clears "Monochrome".
  releaseOver(Form2->CheckBox7, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
  EXPECT_TRUE(Form2->CheckBox7.Checked());
  EXPECT_FALSE(Form2->CheckBox5.Checked());

  // The space bar toggles without a release: both can be on.
  Form2->CheckBox5.SetFocus();
  PostMessageA(Form2->CheckBox5.Handle(), WM_KEYDOWN, VK_SPACE, 1);
  PostMessageA(Form2->CheckBox5.Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
  PumpMessagesFor(100ms);
  EXPECT_TRUE(Form2->CheckBox5.Checked());
  EXPECT_TRUE(Form2->CheckBox7.Checked());

  // A click that turns "Monochrome" off still clears "Inverted Colors".
  releaseOver(Form2->CheckBox5, WM_LBUTTONDOWN, WM_LBUTTONUP, MK_LBUTTON);
  EXPECT_FALSE(Form2->CheckBox5.Checked());
  EXPECT_FALSE(Form2->CheckBox7.Checked());
}

TEST_F(OptionsDialog, ImmediateActionMirrorsTheTrayMenuItemBothWays) {
  Form2->CheckBox6.SetChecked(true);
  EXPECT_TRUE(Form1->immediat.Checked());
  Form2->CheckBox6.SetChecked(false);
  EXPECT_FALSE(Form1->immediat.Checked());
  // Setting the menu's check mark alone runs nothing: the box stays as it is.
  Form1->immediat.SetChecked(true);
  EXPECT_FALSE(Form2->CheckBox6.Checked());
}

TEST_F(OptionsDialog, CancelHidesAndReArmsUnlessSuspended) {
  EndSplash();
  struct Case {
    const char* name;
    UINT message;
    HWND to;
  };
  for (bool suspended : {false, true}) {
    for (const Case& c : {Case{"Esc anywhere", WM_KEYDOWN, Form2->Button1.Handle()},
                          Case{"the close box", WM_CLOSE, Form2->Handle()}}) {
      SCOPED_TRACE(c.name);
      Form1->Suspend.SetChecked(suspended);
      vindelor::Shared().armed = false;
      Form2->Show();
      PostMessageA(c.to, c.message, c.message == WM_KEYDOWN ? VK_ESCAPE : 0, 1);
      PumpMessagesFor(100ms);
      EXPECT_FALSE(Form2->Visible()) << suspended;
      EXPECT_EQ(vindelor::Shared().armed, !suspended);
    }
  }
}

// With the focus on a check box, Enter prints (a page comes out) and Esc cancels; neither
// toggles the box. On a button, Enter runs that button.
TEST_F(OptionsDialog, EnterPrintsFromACheckBoxRunsAFocusedButtonAndEscCancels) {
  EndSplash();
  struct Case {
    tk::Control* focus;
    WORD key;
    std::size_t printed;
  };
  for (const Case& c : {Case{&Form2->CheckBox2, VK_RETURN, 1}, Case{&Form2->CheckBox2, VK_ESCAPE, 0},
                        Case{&Form2->Button4, VK_RETURN, 0}}) {
    SCOPED_TRACE(c.focus->Caption() + (c.key == VK_RETURN ? ", Enter" : ", Esc"));
    ASSERT_TRUE(WaitUntilPrintingIsDone());
    const std::size_t pages = PageFiles("VindelorA").size();
    Form2->Show();
    ASSERT_TRUE(WaitUntil([] { return GetActiveWindow() == Form2->Handle(); }));
    c.focus->SetFocus();
    PressKey(c.key);
    ASSERT_TRUE(WaitUntil([] { return !Form2->Visible(); }));
    EXPECT_FALSE(Form2->CheckBox2.Checked());
    ASSERT_TRUE(WaitUntilPrintingIsDone());
    EXPECT_EQ(WaitForPages("VindelorA", pages + c.printed).size(), pages + c.printed);
  }
}

TEST_F(OptionsDialog, ShowingMakesPrintTheActiveControlSoThatEnterPrints) {
  Form2->Show();
  ASSERT_TRUE(WaitUntil([] { return GetActiveWindow() == Form2->Handle(); }));
  EXPECT_EQ(Form2->ActiveControl(), &Form2->Button1);
  EXPECT_EQ(GetForegroundWindow(), Form2->Handle());
}

TEST_F(OptionsDialog, ThePrinterListHoldsTheQueuesThenDefaultPrinterAndPreselectsExactly) {
  // The harness's default set: one queue.
  tk::ComboBox& combo = Form2->ComboBox1;
  ASSERT_TRUE(combo.Enabled());
  ASSERT_EQ(combo.ItemCount(), 2);
  EXPECT_EQ(combo.Item(0), "VindelorA");
  EXPECT_EQ(combo.Item(1), "Default Printer");
  struct Case {
    const char* saved;
    int selected;
  };
  for (const Case& c : {Case{"VindelorA", 0}, Case{"vindelora", -1}, Case{"VindelorX", -1},
                        Case{"", -1}, Case{"Default Printer", 1}}) {
    combo.SetItemIndex(-1);
    vindelor::PreselectPrinter(combo, c.saved);
    EXPECT_EQ(combo.ItemIndex(), c.selected) << c.saved;
  }
}

TEST_F(OptionsDialog, HintsGoToTheStatusLineAndShowingPutsTheCreditLineBack) {
  Form2->Show();
  struct Case {
    tk::Control* control;
    const char* hint;
  };
  for (const Case& c : {Case{&Form2->CheckBox1, " The Image will be centered on page"},
                        Case{&Form2->Button4, " Cancel program   ( or  press ESC )"},
                        Case{&Form2->GroupBox2, ""},  // no hint of its own, nor its parent's
                        Case{&Form2->Button8, " Get an Image or Picture from the Clipboard"}}) {
    SendMessageA(c.control->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(Form2->NStatusLine1.Caption(), c.hint);
  }
  Form2->Hide();
  Form2->Show();
  EXPECT_EQ(Form2->NStatusLine1.Caption(), std::string(" ") + TForm2::kCreditLine);
}

}  // namespace


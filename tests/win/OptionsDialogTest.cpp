// The options dialog's own behaviour: Large Form, the Monochrome / Inverted Colors exclusion,
// the Immediate Action mirror, Cancel and the printer list.
#include <gtest/gtest.h>

#include "options/PrinterList.h"
#include "tests/win/ProgramFixture.h"

namespace {

using namespace testing_support;
using OptionsDialog = ProgramTest;

std::vector<tk::Bounds> AllControlBounds(const tk::Container& container) {
  std::vector<tk::Bounds> bounds;
  for (tk::Control* control : container.Children()) {
    bounds.push_back(control->GetBounds());
    if (auto* inner = dynamic_cast<tk::Container*>(control)) {
      auto innerBounds = AllControlBounds(*inner);
      bounds.insert(bounds.end(), innerBounds.begin(), innerBounds.end());
    }
  }
  return bounds;
}

TEST_F(OptionsDialog, LargeFormGrowsBySixFifthsAndBackWithoutMovingTheCorner) {
  Form2->Show();
  const int left = Form2->Left();
  const int top = Form2->Top();
  const auto before = AllControlBounds(*Form2);
  const int fontHeight = Form2->GetFont().Spec().height;

  Form2->CheckBox3.SetChecked(true);
  EXPECT_EQ(Form2->ClientWidth(), 366);
  EXPECT_EQ(Form2->ClientHeight(), 334);
  EXPECT_EQ(Form2->Button1.GetBounds().left, 221);  // 184 × 6/5 = 220.8
  EXPECT_EQ(Form2->GetFont().Spec().height, -13);   // -11 × 6/5 = -13.2
  EXPECT_EQ(Form2->GroupBox1.OwnFont()->Spec().height, -14);  // -12 × 6/5 = -14.4
  EXPECT_EQ(Form2->Left(), left);
  EXPECT_EQ(Form2->Top(), top);
  EXPECT_TRUE(Form2->Visible());

  Form2->CheckBox3.SetChecked(false);
  const auto after = AllControlBounds(*Form2);
  ASSERT_EQ(after.size(), before.size());
  for (std::size_t i = 0; i < before.size(); ++i) {
    EXPECT_NEAR(after[i].left, before[i].left, 1) << i;
    EXPECT_NEAR(after[i].top, before[i].top, 1) << i;
    EXPECT_NEAR(after[i].width, before[i].width, 1) << i;
    EXPECT_NEAR(after[i].height, before[i].height, 1) << i;
  }
  EXPECT_NEAR(Form2->ClientWidth(), 305, 1);
  EXPECT_NEAR(Form2->ClientHeight(), 278, 1);
  EXPECT_EQ(Form2->GetFont().Spec().height, fontHeight);
  EXPECT_EQ(Form2->Left(), left);
  EXPECT_EQ(Form2->Top(), top);
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


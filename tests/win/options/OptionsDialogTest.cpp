// The options dialog's own behaviour: Large Form, Tab, Enter and Esc, the colour boxes.
#include <array>
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

// Left, top, width, height and the height of the font the window really uses, for every control.
std::vector<std::array<LONG, 5>> Layout(const tk::Container& container) {
  std::vector<std::array<LONG, 5>> laid;
  for (tk::Control* control : container.Children()) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    const tk::Bounds b = control->GetBounds();
    laid.push_back({b.left, b.top, b.width, b.height, font.lfHeight});
    if (auto* inner = dynamic_cast<tk::Container*>(control)) {
      for (auto& child : Layout(*inner)) laid.push_back(child);
    }
  }
  return laid;
}

// Fonts scale by whole point sizes: -11 pixels is 8 points, 10 when large (-13); -12 is 9 points,
// 11 when large (-15). Back at the design size every control is within a pixel of its place.
TEST_F(OptionsDialog, LargeFormScalesBySixFifthsAndBackAndShowsTheDialogAgain) {
  ShowDialog();
  const auto design = Layout(*Form2);
  const std::pair place(Form2->Left(), Form2->Top());
  for (bool large : {true, false}) {
    Form2->CheckBox3.SetFocus();  // as the user toggles it: its hint in the status line
    tk::App().SetHint(Form2->CheckBox3.EffectiveHint());
    Form2->CheckBox3.SetChecked(large);
    EXPECT_EQ(std::tuple(Form2->ActiveControl(), Form2->NStatusLine1.Caption(),
                         std::pair(Form2->Left(), Form2->Top())),
              std::tuple(&Form2->Button1, std::string(" ") + TForm2::kCreditLine, place));
    const auto now = Layout(*Form2);
    ASSERT_EQ(now.size(), design.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
      EXPECT_EQ(now[i][4], !large ? design[i][4] : design[i][4] == -11 ? -13 : -15) << i;
      for (std::size_t edge = 0; edge < 4 && !large; ++edge)
        EXPECT_NEAR(now[i][edge], design[i][edge], 1) << i;
    }
    EXPECT_EQ(
        std::tuple(Form2->ClientWidth(), Form2->ClientHeight(), Form2->Button1.GetBounds().left),
        large ? std::tuple(366, 334, 221) : std::tuple(305, 278, 184));  // 184 × 6/5 = 220.8
  }
}

// Inside a group box its children follow in their own order; of the radio buttons only the
// checked one (or the first while neither is) is visited. Neither orientation is on, as stored
// zeros leave them: a radio button that receives the focus must not choose itself.
TEST_F(OptionsDialog, TabVisitsEveryControlInTabOrderAndShiftTabTheReverseChangingNoOption) {
  TForm2& d = *Form2;
  const std::vector<tk::Control*> cycle{&d.Button1,   &d.Button4,   &d.Button2,      &d.Button3,
                                        &d.Button5,   &d.CheckBox1, &d.CheckBox2,    &d.CheckBox5,
                                        &d.CheckBox4, &d.CheckBox6, &d.RadioButton1, &d.CheckBox3,
                                        &d.CheckBox7, &d.ComboBox1, &d.CheckBox8,    &d.CheckBox9,
                                        &d.Button6,   &d.Button7,   &d.Button8};
  ShowDialog();
  for (bool backwards : {false, true}) {
    d.RadioButton1.SetChecked(false);
    std::optional<HeldKey> shift;
    if (backwards) shift.emplace(VK_SHIFT);
    for (std::size_t step = 1; step <= cycle.size(); ++step) {
      PressKey(VK_TAB);
      const tk::Control* expected = cycle[(backwards ? cycle.size() - step : step) % cycle.size()];
      ASSERT_TRUE(WaitUntil([&] { return d.ActiveControl() == expected; }, 5s))
          << step << ": " << expected->Caption();
    }
    EXPECT_FALSE(d.RadioButton1.Checked() || d.RadioButton2.Checked()) << "none chose itself";
  }
}

// With the focus on a check box, Enter prints (a page comes out) and Esc cancels; neither key
// toggles the box. On a button, Enter runs that button.
TEST_F(OptionsDialog, EnterPrintsFromACheckBoxRunsAFocusedButtonAndEscCancels) {
  EndSplash();
  using Case = std::tuple<tk::Control*, WORD, std::size_t>;
  for (auto [focus, key, printed] :
       {Case{&Form2->CheckBox2, VK_RETURN, 1}, Case{&Form2->CheckBox2, VK_ESCAPE, 0},
        Case{&Form2->Button4, VK_RETURN, 0}}) {
    ASSERT_TRUE(WaitUntilPrintingIsDone());
    const std::size_t pages = PageFiles("VindelorA").size() + printed;
    ShowDialog();
    focus->SetFocus();
    PressKey(key);
    ASSERT_TRUE(WaitUntil([] { return !Form2->Visible(); }));
    ASSERT_TRUE(WaitUntilPrintingIsDone());
    EXPECT_EQ(std::pair(Form2->CheckBox2.Checked(), WaitForPages("VindelorA", pages).size()),
              std::pair(false, pages))
        << focus->Caption() << " " << key;
  }
}


// A real release of either mouse button over "Monochrome" or "Inverted Colors" turns the other
// one off, whatever the clicked box's new state; the space bar toggles a box and nothing else.
TEST_F(OptionsDialog, TheColourBoxesExcludeEachOtherOnAMouseReleaseOnly) {
  ShowDialog();
  tk::CheckBox &mono = Form2->CheckBox5, &inverted = Form2->CheckBox7;
  enum class Gesture { kLeftClick, kRightClick, kSpace };
  using Boxes = std::pair<bool, bool>;  // Monochrome, Inverted Colors
  const std::tuple<Boxes, tk::CheckBox*, Gesture, Boxes> cases[] = {
      {{false, true}, &mono, Gesture::kLeftClick, {true, false}},
      {{true, true}, &mono, Gesture::kRightClick, {true, false}},
      {{true, false}, &inverted, Gesture::kLeftClick, {false, true}},
      {{true, true}, &inverted, Gesture::kRightClick, {false, true}},
      {{true, true}, &mono, Gesture::kSpace, {false, true}},
  };
  for (const auto& [before, box, gesture, after] : cases) {
    mono.SetChecked(before.first);
    inverted.SetChecked(before.second);
    if (gesture == Gesture::kSpace) {
      box->SetFocus();
      PressKey(VK_SPACE);
    } else {
      RECT r{};
      GetWindowRect(box->Handle(), &r);
      ASSERT_TRUE(MoveMouseTo(r.left + 6, (r.top + r.bottom) / 2));
      SetMouseButton(gesture == Gesture::kRightClick, true);
      SetMouseButton(gesture == Gesture::kRightClick, false);
    }
    const Boxes expected = after;
    EXPECT_TRUE(WaitUntil([&] { return Boxes(mono.Checked(), inverted.Checked()) == expected; }))
        << box->Caption() << " " << static_cast<int>(gesture);
  }
}

}  // namespace

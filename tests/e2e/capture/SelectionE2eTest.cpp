// "Select Rectangle" on the real program: the gestures on the frozen desktop and what they crop,
// a drag that ends over another program's window, and keys while the overlay is up. With two
// monitors the gestures are made on the second one.
#include <algorithm>
#include <sstream>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;

class Selection : public ResidentTest {
 protected:
  Selection() : ResidentTest(PatternOn(Monitors().back())) {}
  static RECT PatternOn(RECT monitor) {
    return {monitor.left + 100, monitor.top + 100, monitor.left + 420, monitor.top + 340};
  }
  void SetUp() override {
    ResidentTest::SetUp();
    CaptureThePattern();
    program_->SetBox("Copy to Clipboard", true);
    ClientToScreen(pattern_->Handle(), &origin_);
  }
  void TearDown() override {
    SetKeyDown(VK_SHIFT, false);
    ResidentTest::TearDown();
  }
  // "Select Rectangle", until the overlay shows the frozen desktop.
  void StartSelection() {
    ASSERT_TRUE(EmptyTheClipboard());
    program_->Press("Select Rectangle");
    ASSERT_TRUE(WaitUntil([&] {
      HWND overlay = program_->SelectionOverlay();
      return IsShown(overlay) && !GetUpdateRect(overlay, nullptr, FALSE);
    }));
  }
  // A gesture's steps, from `origin`: "m20,20" moves the pointer there, "L"/"l" presses and
  // releases the left button, "R"/"r" the right one, "S"/"s" Shift.
  void Perform(const std::string& gesture, POINT origin) {
    std::istringstream steps(gesture);
    for (std::string step; steps >> step;) {
      if (step[0] == 'm') {
        const std::size_t comma = step.find(',');
        ASSERT_TRUE(MoveMouseTo(origin.x + std::stoi(step.substr(1, comma - 1)),
                                origin.y + std::stoi(step.substr(comma + 1))));
      } else if (step == "S" || step == "s") {
        SetKeyDown(VK_SHIFT, step == "S");
      } else {
        SetMouseButton(step == "R" || step == "r", step == "L" || step == "R");
      }
      PumpMessagesFor(50ms);
    }
  }
  void EndSelection() {
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->SelectionOverlay()); }));
    EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  }
  [[nodiscard]] static bool WholeDesktop(const Picture& picture) {
    const RECT all = VirtualScreen();
    return picture.width == all.right - all.left && picture.height == all.bottom - all.top;
  }

  POINT origin_{0, 0};  // of the pattern's client area
};

// A crop holds the pattern's own pixels: an outline left on show would be in it. No crop leaves
// the whole desktop. The drag belongs to the overlay: released over another program's top-most
// window, which lies above the overlay, it still ends the selection (the user is still in
// Vindelor: the window, a player's or a notification, is merely shown).
TEST_F(Selection, EachGestureCropsItsRectangleWithItsPixelsOrLeavesTheWholeDesktop) {
  const std::tuple<const char*, std::optional<RECT>, bool> gestures[] = {
      {"m20,20 L m45,35 m60,50 l", RECT{20, 20, 60, 50}, false},
      {"m60,50 L m40,30 m20,20 l", RECT{20, 20, 60, 50}, false},
      {"m25,25 L m38,38 l", RECT{25, 25, 38, 38}, false},
      {"m25,5 L m37,205 l", std::nullopt, false},  // 12 x 200
      {"m100,100 R m60,60 m15,15 r", RECT{15, 15, 47, 47}, false},
      {"m15,15 R r", std::nullopt, false},
      {"m15,15 L l", std::nullopt, false},
      {"m20,20 L m40,40 S m90,90 l s", RECT{20, 20, 40, 40}, false},  // Shift freezes it
      {"m20,20 L m50,40 m70,60 l", RECT{20, 20, 70, 60}, true},
  };
  for (const auto& [gesture, crop, overTopMost] : gestures) {
    SCOPED_TRACE(gesture);
    StartSelection();
    std::optional<PatternWindow> topMost;
    if (overTopMost) {
      const POINT release{origin_.x + 70, origin_.y + 60};
      topMost.emplace(RECT{release.x, release.y, release.x + 120, release.y + 90}, RGB(0, 128, 0));
      SetWindowPos(topMost->Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
      ASSERT_TRUE(WaitUntil([&] { return WindowFromPoint(release) == topMost->Handle(); }));
      SetForegroundWindow(program_->OptionsDialog());
      ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program_->OptionsDialog(); }));
    }
    Perform(gesture, origin_);
    EndSelection();
    const Picture copy = ClipboardPicture();
    EXPECT_TRUE(crop ? copy == pattern_->Pixels(*crop, copy.bitsPerPixel) : WholeDesktop(copy))
        << copy.width << " x " << copy.height;
  }
  // The box at the bottom-right corner of the monitor at the desktop's right edge is still
  // 32 x 32: white beyond the desktop, black where no monitor is, the screen's pixels elsewhere.
  const auto monitors = Monitors();
  const RECT all = VirtualScreen(),
             edge = *std::ranges::max_element(monitors, {}, [](const RECT&r) { return r.right; });
  const POINT corner{edge.right - 10, edge.bottom - 10};
  StartSelection();
  Perform("m-50,-50 R m0,0 r", corner);
  EndSelection();
  const Picture box = ClipboardPicture(),
                shown = ScreenPicture({corner.x, corner.y, edge.right, edge.bottom});
  Picture expected{32, 32, box.bitsPerPixel, {}};
  for (int y = corner.y; y < corner.y + 32; ++y) {
    for (int x = corner.x; x < corner.x + 32; ++x) {
      expected.pixels.push_back(!PtInRect(&all, {x, y})    ? 0xFFFFFFu
                                : !PtInRect(&edge, {x, y}) ? 0u
                                                           : shown.At(x - corner.x, y - corner.y));
    }
  }
  EXPECT_EQ(box, expected);
}

// While the overlay is up, keys reach neither the dialog beneath it nor its buttons: Enter does
// not print, Tab and the arrows move no focus and check nothing, and Esc does not cancel the
// dialog. Esc closes the overlay as a click does, with no
// crop, and the hotkeys stay disarmed while the dialog is open.
TEST_F(Selection, KeysWhileTheOverlayIsUpLeaveTheDialogAloneAndEscClosesTheOverlay) {
  const std::size_t pages = PageFiles("VindelorA").size();
  StartSelection();
  SetForegroundWindow(program_->OptionsDialog());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program_->OptionsDialog(); }));
  const std::string focus = program_->FocusedControl();
  for (int key : {VK_RETURN, VK_TAB, VK_SPACE, VK_DOWN, VK_RIGHT}) PressKey(WORD(key));
  PumpMessagesFor(1500ms);  // time for a key that reached the dialog to act
  EXPECT_TRUE(IsShown(program_->SelectionOverlay()));
  EXPECT_EQ(program_->FocusedControl(), focus);
  EXPECT_TRUE(program_->IsChecked("Landscape"));
  Perform("m20,20 L m60,50", origin_);
  PressKey(VK_ESCAPE);
  EndSelection();
  Perform("l", origin_);
  const Picture copy = ClipboardPicture();
  EXPECT_TRUE(WholeDesktop(copy)) << "no crop";
  ASSERT_TRUE(EmptyTheClipboard());
  PressPrintScreen();
  PumpMessagesFor(1500ms);  // time for a capture
  EXPECT_EQ(ClipboardPicture().width, 0) << "disarmed";
  EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  EXPECT_EQ(PageFiles("VindelorA").size(), pages);
}

}  // namespace

// "Select Rectangle" on the real program: the gestures on the frozen desktop and what they crop,
// a drag that ends over another program's window, and keys while the overlay is up. With two
// monitors the gestures are made on the second one.
#include <algorithm>
#include <variant>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;

// The monitor that is not the primary one, or the only one.
RECT GestureMonitor() { return Monitors().back(); }

void EmptyTheClipboard() {
  ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
  EmptyClipboard();
  CloseClipboard();
}

// A gesture's steps: the pointer to a point of the pattern's client area, a button or Shift
// going down or up.
struct To {
  int x, y;
};
enum class Key { LeftDown, LeftUp, RightDown, RightUp, ShiftDown, ShiftUp };
using GestureStep = std::variant<To, Key>;

class Selection : public ResidentTest {
 protected:
  Selection() : ResidentTest(PatternOn(GestureMonitor())) {}
  static RECT PatternOn(RECT monitor) {
    return {monitor.left + 100, monitor.top + 100, monitor.left + 420, monitor.top + 340};
  }
  void SetUp() override {
    ResidentTest::SetUp();
    CaptureThePattern();
    program_->SetBox("Copy to Clipboard", true);
    GetClientRect(pattern_->Handle(), &client_);
    origin_ = {0, 0};
    ClientToScreen(pattern_->Handle(), &origin_);
  }
  void TearDown() override {
    SetKeyDown(VK_SHIFT, false);
    ResidentTest::TearDown();
  }

  // "Select Rectangle", until the overlay shows the frozen desktop.
  void StartSelection() {
    EmptyTheClipboard();
    program_->Press("Select Rectangle");
    ASSERT_TRUE(WaitUntil([&] {
      HWND overlay = program_->SelectionOverlay();
      return IsShown(overlay) && !GetUpdateRect(overlay, nullptr, FALSE);
    }));
  }
  void Perform(const std::vector<GestureStep>& steps) {
    for (const GestureStep& step : steps) {
      if (const To* to = std::get_if<To>(&step)) {
        ASSERT_TRUE(MoveMouseTo(origin_.x + to->x, origin_.y + to->y));
        continue;
      }
      switch (std::get<Key>(step)) {
        case Key::LeftDown: SetMouseButton(false, true); break;
        case Key::LeftUp: SetMouseButton(false, false); break;
        case Key::RightDown: SetMouseButton(true, true); break;
        case Key::RightUp: SetMouseButton(true, false); break;
        case Key::ShiftDown: SetKeyDown(VK_SHIFT, true); break;
        case Key::ShiftUp: SetKeyDown(VK_SHIFT, false); break;
      }
      PumpMessagesFor(50ms);
    }
  }
  // The pattern's client area as the crop of the rectangle (client coordinates) shows it.
  [[nodiscard]] Picture PatternPart(RECT part, int bitsPerPixel) const {
    Picture expected{part.right - part.left, part.bottom - part.top, bitsPerPixel, {}};
    for (int y = part.top; y < part.bottom; ++y) {
      for (int x = part.left; x < part.right; ++x) {
        const POINT at{x, y};
        expected.pixels.push_back(PtInRect(&kPatternRedSquare, at) ? 0xFF0000u
                                  : x < client_.right / 2          ? 0xFFFFFFu
                                                                   : 0xFEFFFFu);
      }
    }
    return expected;
  }
  [[nodiscard]] SIZE Desktop() const {
    const RECT all = VirtualScreen();
    return {all.right - all.left, all.bottom - all.top};
  }

  RECT client_{};
  POINT origin_{};
};

TEST_F(Selection, EachGestureCropsItsRectangleWithItsPixelsOrLeavesTheWholeDesktop) {
  using enum Key;
  const std::tuple<const char*, std::vector<GestureStep>, std::optional<RECT>> gestures[] = {
      {"left drag", {To{20, 20}, LeftDown, To{45, 35}, To{60, 50}, LeftUp}, RECT{20, 20, 60, 50}},
      {"reversed drag", {To{60, 50}, LeftDown, To{40, 30}, To{20, 20}, LeftUp},
       RECT{20, 20, 60, 50}},
      {"13 x 13", {To{25, 25}, LeftDown, To{38, 38}, LeftUp}, RECT{25, 25, 38, 38}},
      {"12 x 200", {To{25, 5}, LeftDown, To{37, 205}, LeftUp}, std::nullopt},
      {"right box", {To{100, 100}, RightDown, To{60, 60}, To{15, 15}, RightUp},
       RECT{15, 15, 47, 47}},
      {"right click", {To{15, 15}, RightDown, RightUp}, std::nullopt},
      {"left click", {To{15, 15}, LeftDown, LeftUp}, std::nullopt},
      {"Shift held freezes the outline",
       {To{20, 20}, LeftDown, To{40, 40}, ShiftDown, To{90, 90}, LeftUp, ShiftUp},
       RECT{20, 20, 40, 40}},
  };
  for (const auto& [name, steps, crop] : gestures) {
    SCOPED_TRACE(name);
    StartSelection();
    Perform(steps);
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->SelectionOverlay()); }));
    EXPECT_TRUE(IsShown(program_->OptionsDialog()));
    const Picture copy = ClipboardPicture();
    if (crop) {
      EXPECT_EQ(copy, PatternPart(*crop, copy.bitsPerPixel));
    } else {
      EXPECT_EQ(std::pair(LONG{copy.width}, LONG{copy.height}),
                std::pair(Desktop().cx, Desktop().cy));
    }
  }
  // The box at the bottom-right corner of the monitor at the desktop's right edge is still
  // 32 x 32: white beyond the desktop, black where no monitor is, the screen's pixels elsewhere.
  const auto monitors = Monitors();
  const RECT all = VirtualScreen(), edge = *std::ranges::max_element(
                                        monitors, {}, [](const RECT& r) { return r.right; });
  const POINT corner{edge.right - 10, edge.bottom - 10};
  StartSelection();
  origin_ = {0, 0};
  Perform({To{corner.x - 50, corner.y - 50}, RightDown, To{corner.x, corner.y}, RightUp});
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->SelectionOverlay()); }));
  const Picture box = ClipboardPicture();
  const Picture shown = ScreenPicture({corner.x, corner.y, edge.right, edge.bottom});
  Picture expected{32, 32, box.bitsPerPixel, {}};
  for (int y = corner.y; y < corner.y + 32; ++y) {
    for (int x = corner.x; x < corner.x + 32; ++x) {
      expected.pixels.push_back(!PtInRect(&all, {x, y})          ? 0xFFFFFFu
                                : !PtInRect(&edge, {x, y})        ? 0u
                                                                  : shown.At(x - corner.x, y - corner.y));
    }
  }
  EXPECT_EQ(box, expected);
}

// The drag belongs to the overlay: released over another program's top-most window, which lies
// above the overlay, it still ends the selection, and the crop is the dragged rectangle.
TEST_F(Selection, ADragReleasedOverAnotherProgramsTopMostWindowStillEnds) {
  StartSelection();
  const POINT release{origin_.x + 70, origin_.y + 60};
  PatternWindow topMost({release.x, release.y, release.x + 120, release.y + 90}, RGB(0, 128, 0));
  SetWindowPos(topMost.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  ASSERT_TRUE(WaitUntil([&] { return WindowFromPoint(release) == topMost.Handle(); }));
  // The user is still in Vindelor: the window, a player's or a notification, is merely shown.
  SetForegroundWindow(program_->OptionsDialog());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program_->OptionsDialog(); }));
  using enum Key;
  Perform({To{20, 20}, LeftDown, To{50, 40}, To{70, 60}, LeftUp});
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->SelectionOverlay()); }));
  const Picture copy = ClipboardPicture();
  EXPECT_EQ(copy, PatternPart({20, 20, 70, 60}, copy.bitsPerPixel));
}

// While the overlay is up, keys reach neither the dialog beneath it nor its buttons: Enter does
// not print and Esc does not cancel the dialog. Esc closes the overlay as a click does, with no
// crop, and the hotkeys stay disarmed while the dialog is open.
TEST_F(Selection, KeysWhileTheOverlayIsUpLeaveTheDialogAloneAndEscClosesTheOverlay) {
  const std::size_t pages = PageFiles("VindelorA").size();
  StartSelection();
  SetForegroundWindow(program_->OptionsDialog());
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == program_->OptionsDialog(); }));
  for (WORD key : {WORD{VK_RETURN}, WORD{VK_TAB}, WORD{VK_SPACE}}) PressKey(key);
  PumpMessagesFor(1500ms);
  EXPECT_TRUE(IsShown(program_->SelectionOverlay()));
  EXPECT_TRUE(IsShown(program_->OptionsDialog())) << "nothing printed, nothing cancelled";
  using enum Key;
  Perform({To{20, 20}, LeftDown, To{60, 50}});
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(program_->SelectionOverlay()); }));
  Perform({LeftUp});
  const Picture copy = ClipboardPicture();
  EXPECT_EQ(std::pair(LONG{copy.width}, LONG{copy.height}), std::pair(Desktop().cx, Desktop().cy))
      << "no crop";
  EmptyTheClipboard();
  PressPrintScreen();
  PumpMessagesFor(1500ms);
  EXPECT_EQ(ClipboardPicture().width, 0) << "disarmed";
  EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  EXPECT_EQ(PageFiles("VindelorA").size(), pages);
}

}  // namespace

// The status line's Win32 side on a form with the options dialog's design values; its layout,
// Interval and progress rules are tested on the host (tests/host/StatusLineGeometryTest.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "components/Nstatln/Nstatln.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "tests/support/GuiObjects.h"
#include "toolkit/Handles.h"

namespace {

using namespace testing_support;
using vindelor::BoxRect;

constexpr const char* kCredit = "Vindelor V2.0 - a status line test";

class StatusForm final : public tk::Form {
 public:
  StatusForm() : tk::Form({.caption = "Status line", .clientWidth = 305, .clientHeight = 278}) {}
  TNStatusLine NStatusLine1{*this, {.bounds = {0, 257, 305, 21}, .caption = kCredit,
                                    .hint = kCredit, .formatTime = TFormatTime::ftShort}};
};

auto Tuple(tk::Bounds b) { return std::tuple(b.left, b.top, b.width, b.height); }

// What the window shows: it paints at once (Repaint, or the progress calls themselves).
COLORREF PixelAt(const TNStatusLine& line, int x, int y) {
  tk::WindowDc dc(line.Handle());
  return GetPixel(dc.Get(), x, y);
}

// Pixels inside the box's bevel that are not the status line's colour: the text drawn there.
int InkIn(const TNStatusLine& line, const BoxRect& box) {
  tk::WindowDc dc(line.Handle());
  const COLORREF face = line.Color();
  int ink = 0;
  for (int y = box.top + 1; y < box.Bottom() - 1; ++y) {
    for (int x = box.left + 1; x < box.Right() - 1; ++x) ink += GetPixel(dc.Get(), x, y) != face;
  }
  return ink;
}

class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.CreateForm(form_).Show();
    ASSERT_TRUE(WaitUntil([&] { return form_->Visible(); }));
  }

  StatusForm* form_ = nullptr;  // outlives the application object, which clears it
  tk::Application app_;
};

TEST_F(StatusLine, TheDialogsInstanceHasFifteenPixelBoxesAndAShortClockInItsOwnFont) {
  TNStatusLine& line = form_->NStatusLine1;
  EXPECT_EQ(Tuple(line.GetBounds()), std::tuple(0, 257, 305, 21));
  // The test prefix's locale is English (United States): "M/d/yyyy h:mm tt".
  auto now = [] {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char text[64]{};
    std::snprintf(text, sizeof(text), "%u/%u/%u %u:%02u %s", t.wMonth, t.wDay, t.wYear,
                  (t.wHour + 11) % 12 + 1, t.wMinute, t.wHour < 12 ? "AM" : "PM");
    return std::string(text);
  };
  const std::string before = now();  // either side of a minute change
  line.RefreshClock();
  EXPECT_TRUE(line.ClockText() == before || line.ClockText() == now()) << line.ClockText();

  const std::string sample = "  " + line.ClockText() + "  ";
  tk::WindowDc dc(line.Handle());
  auto font = reinterpret_cast<HFONT>(SendMessageA(line.Handle(), WM_GETFONT, 0, 0));
  tk::SelectGuard keepFont(dc.Get(), font);
  SIZE extent{};
  GetTextExtentPoint32A(dc.Get(), sample.c_str(), static_cast<int>(sample.size()), &extent);
  EXPECT_EQ(line.ClockBox(), (BoxRect{302 - extent.cx, 3, extent.cx, 15}));
  EXPECT_EQ(line.TextBox(), (BoxRect{3, 3, 302 - extent.cx - 5 - 3, 15}));
  EXPECT_EQ(line.Caption(), std::string(" ") + kCredit);
  line.Repaint();
  EXPECT_GT(InkIn(line, line.TextBox()), 0) << "the caption is drawn";
  EXPECT_GT(InkIn(line, line.ClockBox()), 0) << "the clock is drawn";
}

TEST_F(StatusLine, ItFollowsTheFormsBottomEdgeAndWidth) {
  TNStatusLine& line = form_->NStatusLine1;
  form_->SetClientSize(400, 320);
  EXPECT_EQ(Tuple(line.GetBounds()), std::tuple(0, 299, 400, 21));
  EXPECT_EQ(line.ClockBox().Right(), 397) << "laid out again";
}

TEST_F(StatusLine, AProgressDisplayFillsUpStaysFullAndGoesAgain) {
  TNStatusLine& line = form_->NStatusLine1;
  const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF face = line.Color();
  line.SetCaption("");  // no text where the progress box was, to read its pixels afterwards
  line.StartProgress(0, 10, true);
  const BoxRect progress = line.ProgressBox();
  EXPECT_EQ(progress, (BoxRect{line.ClockBox().left - 5 - 100, 3, 100, 15}));
  const int y = progress.top + progress.height / 2;
  EXPECT_EQ(PixelAt(line, progress.left, y), GetSysColor(COLOR_BTNSHADOW)) << "a lowered box";
  EXPECT_EQ(PixelAt(line, progress.left + 1, y), face) << "position 0";
  for (int advance = 1; advance <= 12; ++advance) {
    line.AdvanceProgress(1);  // shows at once, without waiting for the message loop
    EXPECT_EQ(PixelAt(line, progress.left + 1, y), bar) << advance;
    EXPECT_EQ(PixelAt(line, progress.Right() - 2, y), advance >= 10 ? bar : face) << advance;
  }

  line.StartProgress(0, 10, false);
  EXPECT_EQ(line.TextBox().Right(), line.ClockBox().left - 5) << "the text box widens again";
  EXPECT_EQ(PixelAt(line, progress.left, y), face) << "no bevel left behind";
  EXPECT_EQ(PixelAt(line, progress.left + 50, y), face) << "no bar left behind";
}

// The bounds themselves are checked on the host; here, that a failing step keeps its state.
TEST_F(StatusLine, ARangeOutOfBoundsFailsWithThePropertyNameAndThatStepChangesNothing) {
  TNStatusLine& line = form_->NStatusLine1;
  for (auto [min, max, error, minAfter, positionAfter] :
       {std::tuple(200, 300, "Min property out of range", 0, 7),
        std::tuple(50, 20, "Max property out of range", 50, 50)}) {  // the minimum went through
    line.StartProgress(0, 100, false);
    line.AdvanceProgress(7);
    try {
      line.StartProgress(min, max, true);
      ADD_FAILURE() << min << ".." << max << " accepted";
    } catch (const tk::Error& e) {
      EXPECT_STREQ(e.what(), error);
    }
    EXPECT_EQ(std::tuple(line.ProgressMin(), line.ProgressMax(), line.ProgressPosition(),
                         line.ProgressShown()),
              std::tuple(minAfter, 100, positionAfter, false)) << min << ".." << max;
  }
}

TEST_F(StatusLine, TheTextBoxShowsHintsUnchangedAndCaptionsWithALeadingSpace) {
  TNStatusLine& line = form_->NStatusLine1;
  tk::App().SetHint(" The Image will be centered on page");
  EXPECT_EQ(line.Caption(), " The Image will be centered on page");
  line.SetCaption("Printing");
  EXPECT_EQ(line.Caption(), " Printing");
  SendMessageA(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(line.Caption(), kCredit) << "the status line's own hint";
}

TEST_F(StatusLine, IntervalChoosesTheTicksOfOnTimerRunAndAnErrorThereLeavesTheTimerTicking) {
  TNStatusLine& line = form_->NStatusLine1;
  std::vector<std::uint32_t> eventTicks;
  line.OnTimerRun = [&, calls = 0](TNStatusLine& sender) mutable {
    eventTicks.push_back(sender.TickCount());
    if (++calls == 1) throw tk::Error("The clock went wrong");
  };
  DialogAnswerer answerer;
  for (auto [interval, period, ticksPerEvent] : {std::tuple(200, 200u, 1u),
                                                 std::tuple(1500, 1000u, 2u)}) {
    line.SetInterval(static_cast<std::uint16_t>(interval));
    eventTicks.clear();
    const std::uint32_t start = line.TickCount();  // the restarted timer has not ticked yet
    EXPECT_EQ(line.TimerPeriod(), period);
    ASSERT_TRUE(WaitUntil([&] { return eventTicks.size() >= 3; })) << interval;
    for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(eventTicks[i], start + ticksPerEvent * (i + 1));
  }
  auto seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, tk::App().Title());
  EXPECT_EQ(seen[0].text, "The clock went wrong.");
}

TEST_F(StatusLine, CreatingAndDestroyingOneGivesBackEveryHandleAndNoLongerListensForHints) {
  int heard = 0;
  auto cycle = [&] {
    auto line = std::make_unique<TNStatusLine>(*form_, TNStatusLineArgs{.caption = "Cycle"});
    line->StartProgress(0, 10, true);
    line->SetInterval(1500);
    PumpMessagesFor(50ms);
    tk::App().SetHintListener([&](const std::string&) { ++heard; });
    line.reset();  // lets go of the hints
    tk::App().SetHint(" nobody listens");
  };
  cycle();  // warm-up: the window class and what the system caches
  PumpMessagesFor(100ms);
  const testing_support::GuiObjectCounts before = testing_support::CountGuiObjects();
  for (int i = 0; i < 3; ++i) cycle();
  PumpMessagesFor(100ms);
  EXPECT_EQ(testing_support::CountGuiObjects(), before);
  EXPECT_EQ(heard, 0);
}

}  // namespace

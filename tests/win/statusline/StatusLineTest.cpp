// The status line's Win32 side on a form with the options dialog's design values; its layout,
// Interval and progress arithmetic are tested in the host tier.
#include <gtest/gtest.h>

#include <cstdio>

#include "components/Nstatln/Nstatln.h"
#include "tests/support/GuiObjects.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"

namespace {

using namespace testing_support;
using vindelor::BoxRect;

constexpr const char* kCredit = "Vindelor V2.0 - a status line test";

class StatusForm final : public tk::Form {
 public:
  StatusForm() : tk::Form({.caption = "Status line", .clientWidth = 305, .clientHeight = 278}) {}
  TNStatusLine line{*this, {.bounds = {0, 257, 305, 21}, .caption = kCredit, .hint = kCredit,
                            .formatTime = TFormatTime::ftShort}};
};

class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override {
    app_.CreateForm(form_).Show();
    ASSERT_TRUE(WaitUntil([&] { return form_->Visible(); }));
  }
  // What the window shows: it paints at once (Repaint, or the progress calls themselves).
  COLORREF PixelAt(int x, int y) const { return GetPixel(tk::WindowDc(line().Handle()).Get(), x, y); }
  // Pixels inside the box's bevel that are not the status line's colour: the text drawn there.
  int InkIn(const BoxRect& box) const {
    int ink = 0;
    for (int y = box.top + 1; y < box.Bottom() - 1; ++y) {
      for (int x = box.left + 1; x < box.Right() - 1; ++x) ink += PixelAt(x, y) != line().Color();
    }
    return ink;
  }
  TNStatusLine& line() const { return form_->line; }

  StatusForm* form_ = nullptr;  // outlives the application object, which clears it
  tk::Application app_;
};

TEST_F(StatusLine, TheDialogsInstanceHasFifteenPixelBoxesAShortClockAndFollowsTheFormsBottomEdge) {
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
  line().RefreshClock();
  EXPECT_TRUE(line().ClockText() == before || line().ClockText() == now()) << line().ClockText();
  const std::string sample = "  " + line().ClockText() + "  ";
  const tk::WindowDc dc(line().Handle());
  const tk::SelectGuard font(dc.Get(), reinterpret_cast<HFONT>(SendMessageA(line().Handle(), WM_GETFONT, 0, 0)));
  SIZE extent{};
  GetTextExtentPoint32A(dc.Get(), sample.c_str(), static_cast<int>(sample.size()), &extent);
  EXPECT_EQ(std::tuple(line().ClockBox(), line().TextBox(), line().Caption()),
            std::tuple(BoxRect{302 - extent.cx, 3, extent.cx, 15}, BoxRect{3, 3, 302 - extent.cx - 8, 15},
                       std::string(" ") + kCredit));
  line().Repaint();
  EXPECT_GT(InkIn(line().TextBox()), 0) << "the caption is drawn";
  EXPECT_GT(InkIn(line().ClockBox()), 0) << "the clock is drawn";
  form_->SetClientSize(400, 320);
  const tk::Bounds b = line().GetBounds();
  EXPECT_EQ(std::tuple(b.left, b.top, b.width, b.height, line().ClockBox().Right()), std::tuple(0, 299, 400, 21, 397));
}

TEST_F(StatusLine, AProgressDisplayFillsUpStaysFullAndGoesAgain) {
  const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT), face = line().Color();
  line().SetCaption("");  // no text where the progress box was, to read its pixels afterwards
  line().StartProgress(0, 10, true);
  const BoxRect progress = line().ProgressBox();
  EXPECT_EQ(progress, (BoxRect{line().ClockBox().left - 5 - 100, 3, 100, 15}));
  const int y = progress.top + progress.height / 2;
  EXPECT_EQ(std::pair(PixelAt(progress.left, y), PixelAt(progress.left + 1, y)),
            std::pair(GetSysColor(COLOR_BTNSHADOW), face)) << "a lowered box at position 0";
  for (int advance = 1; advance <= 12; ++advance) {
    line().AdvanceProgress(1);  // shows at once, without waiting for the message loop
    EXPECT_EQ(std::pair(PixelAt(progress.left + 1, y), PixelAt(progress.Right() - 2, y)),
              std::pair(bar, advance >= 10 ? bar : face)) << advance;
  }
  line().StartProgress(0, 10, false);
  EXPECT_EQ(line().TextBox().Right(), line().ClockBox().left - 5) << "the text box widens again";
  EXPECT_EQ(std::pair(PixelAt(progress.left, y), PixelAt(progress.left + 50, y)), std::pair(face, face))
      << "no bevel or bar left behind";
}

// The bounds themselves are checked on the host; here, that a failing step keeps its state.
TEST_F(StatusLine, ARangeOutOfBoundsFailsWithThePropertyNameAndThatStepChangesNothing) {
  for (auto [min, max, error, minAfter, positionAfter] :
       {std::tuple(200, 300, "Min property out of range", 0, 7),
        std::tuple(50, 20, "Max property out of range", 50, 50)}) {  // the minimum went through
    line().StartProgress(0, 100, false);
    line().AdvanceProgress(7);
    std::string what;
    try {
      line().StartProgress(min, max, true);
    } catch (const tk::Error& e) {
      what = e.what();
    }
    EXPECT_EQ(what, error);
    EXPECT_EQ(std::tuple(line().ProgressMin(), line().ProgressMax(), line().ProgressPosition(), line().ProgressShown()),
              std::tuple(minAfter, 100, positionAfter, false)) << min << ".." << max;
  }
}

TEST_F(StatusLine, IntervalChoosesTheTicksOfOnTimerRunAndAnErrorThereLeavesTheTimerTicking) {
  std::vector<std::uint32_t> eventTicks;
  line().OnTimerRun = [&, calls = 0](TNStatusLine& sender) mutable {
    eventTicks.push_back(sender.TickCount());
    if (++calls == 1) throw tk::Error("The clock went wrong");
  };
  DialogAnswerer answerer;
  for (auto [interval, period, ticksPerEvent] : {std::tuple(200, 200u, 1u), std::tuple(1500, 1000u, 2u)}) {
    line().SetInterval(static_cast<std::uint16_t>(interval));
    eventTicks.clear();
    const std::uint32_t start = line().TickCount();  // the restarted timer has not ticked yet
    EXPECT_EQ(line().TimerPeriod(), period);
    ASSERT_TRUE(WaitUntil([&] { return eventTicks.size() >= 3; })) << interval;
    for (std::uint32_t i = 0; i < 3; ++i) EXPECT_EQ(eventTicks[i], start + ticksPerEvent * (i + 1));
  }
  EXPECT_EQ(answerer.Texts(), std::vector<std::string>{"win_tests: The clock went wrong."});
}

TEST_F(StatusLine, CreatingAndDestroyingOneGivesBackEveryHandleAndNoLongerListensForHints) {
  int heard = 0;
  auto cycle = [&] {
    auto other = std::make_unique<TNStatusLine>(*form_, TNStatusLineArgs{.caption = "Cycle"});
    other->StartProgress(0, 10, true);
    other->SetInterval(1500);
    PumpMessagesFor(50ms);
    tk::App().SetHintListener([&](const std::string&) { ++heard; });
    other.reset();  // lets go of the hints
    tk::App().SetHint(" nobody listens");
  };
  cycle();  // warm-up: the window class and what the system caches
  PumpMessagesFor(100ms);
  const GuiObjectCounts before = CountGuiObjects();
  for (int i = 0; i < 3; ++i) cycle();
  PumpMessagesFor(100ms);
  EXPECT_EQ(std::pair(CountGuiObjects(), heard), std::pair(before, 0));
}

}  // namespace

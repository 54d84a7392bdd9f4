#include "components/Nstatln/StatusLineGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "toolkit/Error.h"

namespace vindelor {
namespace {

// The options dialog's status line, 305 x 21, with a clock 120 pixels wide.
StatusLineLayoutInput Dialog(bool progressShown, std::int32_t clockWidth = 120) {
  return {.width = 305, .height = 21, .clockWidth = clockWidth, .progressWidth = 100,
          .progressShown = progressShown};
}

TEST(StatusLineLayout, PlacesTheBoxes) {
  StatusLineLayoutInput margins = Dialog(false);
  margins.space = 2;
  margins.vertMargin = 1;
  margins.horizMargin = 10;
  StatusLineLayoutInput tiny = Dialog(true);
  tiny.width = 50;
  tiny.height = 4;
  struct Case {
    const char* name;
    StatusLineLayoutInput input;
    BoxRect text, progress, clock;
  };
  const Case cases[] = {
      {"clock only", Dialog(false), {3, 3, 174, 15}, {177, 3, 0, 15}, {182, 3, 120, 15}},
      {"progress shown", Dialog(true), {3, 3, 69, 15}, {77, 3, 100, 15}, {182, 3, 120, 15}},
      {"no clock: between the margins", Dialog(false, 0), {3, 3, 299, 15}, {297, 3, 0, 15},
       {302, 3, 0, 15}},
      {"no clock, progress", Dialog(true, 0), {3, 3, 189, 15}, {197, 3, 100, 15}, {302, 3, 0, 15}},
      {"negative clock is none", Dialog(false, -4), {3, 3, 299, 15}, {301, 3, 0, 15},
       {306, 3, -4, 15}},
      {"other margins", margins, {10, 1, 163, 19}, {173, 1, 0, 19}, {175, 1, 120, 19}},
      {"too small: empty boxes", tiny, {3, 3, -186, -2}, {-178, 3, 100, -2}, {-73, 3, 120, -2}},
  };
  for (const Case& c : cases) {
    StatusLineLayout got = LayOutStatusLine(c.input);
    EXPECT_EQ(got, (StatusLineLayout{c.text, c.progress, c.clock})) << c.name;
  }
  EXPECT_TRUE((BoxRect{3, 3, 0, 15}.Empty()));
  EXPECT_TRUE((BoxRect{3, 3, 10, -1}.Empty()));
}

TEST(StatusLineText, CaptionAndClockTexts) {
  EXPECT_EQ(TextBoxCaption("Vindelor"), " Vindelor");
  EXPECT_EQ(TextBoxCaption(""), " ");
  struct Case {
    bool showDate, showTime;
    const char* clock;
  };
  for (Case c : {Case{true, true, "1/2/2024 3:04 PM"}, Case{true, false, "1/2/2024"},
                 Case{false, true, "3:04 PM"}, Case{false, false, ""}}) {
    std::string clock = ClockText("1/2/2024", "3:04 PM", c.showDate, c.showTime);
    EXPECT_EQ(clock, c.clock);
    EXPECT_EQ(ClockWidthSample(clock, c.showDate, c.showTime), *c.clock ? "  " + clock + "  " : "");
  }
}

// The 1-based ticks, of `ticks`, that raise the event.
std::vector<int> EventTicks(TimerSchedule& schedule, int ticks) {
  std::vector<int> raised;
  for (int tick = 1; tick <= ticks; ++tick) {
    if (schedule.Tick()) raised.push_back(tick);
  }
  return raised;
}

TEST(StatusLineTimer, IntervalChoosesPeriodAndEventTicks) {
  struct Case {
    std::uint16_t interval;
    bool taken;
    std::uint32_t period;
    int ticksPerEvent;
  };
  for (Case c : {Case{1000, false, 1000, 1}, Case{99, false, 1000, 1}, Case{100, true, 100, 1},
                 Case{1499, true, 1000, 1}, Case{1500, true, 1000, 2}, Case{2499, true, 1000, 2},
                 Case{65535, true, 1000, 66}}) {
    TimerSchedule schedule;
    EXPECT_EQ(schedule.SetInterval(c.interval), c.taken) << c.interval;
    EXPECT_EQ(schedule.Interval(), c.taken ? c.interval : 1000) << c.interval;
    EXPECT_EQ(schedule.Period(), c.period) << c.interval;
    std::vector<int> expected;
    for (int tick = c.ticksPerEvent; tick <= 200; tick += c.ticksPerEvent) expected.push_back(tick);
    EXPECT_EQ(EventTicks(schedule, 200), expected) << c.interval;
  }
  // A new interval starts its countdown afresh.
  TimerSchedule schedule;
  schedule.SetInterval(3000);
  EXPECT_EQ(EventTicks(schedule, 2), std::vector<int>{});
  schedule.SetInterval(1500);
  EXPECT_EQ(EventTicks(schedule, 4), (std::vector<int>{2, 4}));
}

TEST(StatusLineProgress, PositionStaysInRangeAndFillsTheBar) {
  ProgressRange bar;
  bar.SetMax(10);
  std::vector<std::int32_t> filled;
  for (int i = 0; i < 12; ++i) {
    bar.Advance(1);
    filled.push_back(bar.FilledWidth(98));
  }
  EXPECT_EQ(bar.Position(), 10);
  EXPECT_EQ(filled, (std::vector<std::int32_t>{9, 19, 29, 39, 49, 58, 68, 78, 88, 98, 98, 98}));
  bar.Advance(-32768);
  EXPECT_EQ(bar.Position(), 0);
  bar.SetMax(65535);
  bar.SetPosition(65535);
  EXPECT_EQ(bar.FilledWidth(2'000'000'000), 2'000'000'000) << "no overflow";
  bar.SetMin(65535);
  EXPECT_EQ(bar.FilledWidth(98), 0) << "an empty range fills nothing";
  EXPECT_THROW(bar.SetMax(65536), tk::Error);
}

}  // namespace
}  // namespace vindelor

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
      {"other margins",
       {.width = 305, .height = 21, .space = 2, .vertMargin = 1, .horizMargin = 10,
        .clockWidth = 120},
       {10, 1, 163, 19}, {173, 1, 0, 19}, {175, 1, 120, 19}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(LayOutStatusLine(c.input), (StatusLineLayout{c.text, c.progress, c.clock})) << c.name;
  }
  EXPECT_TRUE((BoxRect{3, 3, 0, 15}.Empty())) << "a clock of neither date nor time shows nothing";
}

TEST(StatusLineText, TheClockShowsWhatIsChosenAndIsMeasuredWithTwoSpacesEachSide) {
  EXPECT_EQ(ClockText("1/2/2024", "3:04 PM", true, true), "1/2/2024 3:04 PM");
  EXPECT_EQ(ClockText("1/2/2024", "3:04 PM", true, false), "1/2/2024");
  EXPECT_EQ(ClockText("1/2/2024", "3:04 PM", false, true), "3:04 PM");
  EXPECT_EQ(ClockWidthSample("3:04 PM", false, true), "  3:04 PM  ");
  EXPECT_EQ(ClockWidthSample("", false, false), "");
}

TEST(StatusLineTimer, IntervalChoosesPeriodAndEventTicks) {
  for (auto [interval, period, ticksPerEvent] :
       {std::tuple(99, 1000u, 1),  // below 100: ignored
        std::tuple(100, 100u, 1), std::tuple(1499, 1000u, 1), std::tuple(1500, 1000u, 2),
        std::tuple(65535, 1000u, 66)}) {
    TimerSchedule schedule;
    schedule.SetInterval(static_cast<std::uint16_t>(interval));
    EXPECT_EQ(schedule.Period(), period) << interval;
    for (int tick = 1; tick <= 200; ++tick) {
      EXPECT_EQ(schedule.Tick(), tick % ticksPerEvent == 0) << interval << " tick " << tick;
    }
  }
  // A new interval starts its countdown afresh.
  TimerSchedule schedule;
  schedule.SetInterval(65535);
  schedule.Tick();
  schedule.SetInterval(1500);
  EXPECT_FALSE(schedule.Tick());
  EXPECT_TRUE(schedule.Tick());
}

TEST(StatusLineProgress, PositionStaysInRangeAndFillsTheBar) {
  ProgressRange bar;
  bar.SetMax(10);
  std::vector<std::int32_t> filled;
  for (int i = 0; i < 12; ++i) {
    bar.Advance(1);
    filled.push_back(bar.FilledWidth(98));
  }
  EXPECT_EQ(filled, (std::vector<std::int32_t>{9, 19, 29, 39, 49, 58, 68, 78, 88, 98, 98, 98}));
  bar.Advance(-32768);
  EXPECT_EQ(bar.Position(), 0);
  for (int outside : {-1, 65536}) {
    EXPECT_THROW(bar.SetMin(outside), tk::Error) << outside;
    EXPECT_THROW(bar.SetMax(outside), tk::Error) << outside;
  }
  bar.SetMax(65535);
  bar.SetMin(65535);
  EXPECT_EQ(bar.FilledWidth(98), 0) << "an empty range fills nothing";
}

}  // namespace
}  // namespace vindelor

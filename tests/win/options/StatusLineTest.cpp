// The options dialog's status line (305 × 21 pixels, short time): the clock box, its timer and
// Interval, the progress display, and the text box between caption and hint.
#include <functional>
#include <string>
#include <vector>

#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;
using StatusLine = ProgramTest;

TNStatusLine& Line() { return Form2->NStatusLine1; }

struct Clock {
  bool showDate, showTime;
  TFormatDate date;
  TFormatTime time;
};

// The clock text for the current time, in the system's regional formats.
std::string ClockNow(Clock c) {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  char date[128]{}, time[128]{};
  GetDateFormatA(LOCALE_USER_DEFAULT,
                 c.date == TFormatDate::fdShort ? DATE_SHORTDATE : DATE_LONGDATE, &now, nullptr,
                 date, sizeof(date));
  GetTimeFormatA(LOCALE_USER_DEFAULT, c.time == TFormatTime::ftShort ? TIME_NOSECONDS : 0, &now,
                 nullptr, time, sizeof(time));
  return std::string(c.showDate ? date : "") + (c.showDate && c.showTime ? " " : "") +
         (c.showTime ? time : "");
}

// Runs a refresh between two readings of the time (a minute or second turning over in between
// still matches) and checks the text and the boxes: the clock box at the right margin, as wide as
// its text with two spaces either side in the status line's font; the text box from the left
// margin to 5 pixels before it, or to the right margin with no clock; all 15 pixels high.
void ExpectClockAfter(const std::function<void()>& refresh, Clock clock, int what) {
  const std::string before = ClockNow(clock);
  refresh();
  const std::string shown = Line().ClockText(), after = ClockNow(clock);
  EXPECT_TRUE(shown == before || shown == after) << what << ": " << shown << " for " << after;
  SIZE extent{};
  tk::WindowDc dc(Line().Handle());
  tk::SelectGuard font(dc.Get(),
                       reinterpret_cast<HFONT>(SendMessageA(Line().Handle(), WM_GETFONT, 0, 0)));
  const std::string sample = shown.empty() ? "" : "  " + shown + "  ";
  GetTextExtentPoint32A(dc.Get(), sample.c_str(), static_cast<int>(sample.size()), &extent);
  const vindelor::BoxRect &box = Line().ClockBox(), &text = Line().TextBox();
  EXPECT_EQ(std::tuple(box.Right(), box.top, box.height, box.width, text.left, text.Right(),
                       text.top, text.height),
            std::tuple(302, 3, 15, extent.cx, 3, box.width > 0 ? box.left - 5 : 302, 3, 15))
      << what;
}

TEST_F(StatusLine, ClockShowsTheSystemsDateAndTimeAsSwitchedAndSizesItsBox) {
  using enum TFormatDate;
  using enum TFormatTime;
  ExpectClockAfter([] { Line().SetShowDate(true); }, {true, true, fdShort, ftShort}, 0);
  const Clock rows[] = {{true, true, fdShort, ftFull},  {true, true, fdFull, ftFull},
                        {false, true, fdFull, ftShort}, {false, false, fdShort, ftShort},
                        {true, false, fdFull, ftFull},  {true, true, fdShort, ftShort}};
  for (int row = 0; const Clock& clock : rows) {
    Line().SetFormatDate(clock.date);
    Line().SetFormatTime(clock.time);
    Line().SetShowDate(clock.showDate);
    ExpectClockAfter([&] { Line().SetShowTime(clock.showTime); }, clock, ++row);
  }
}

// A format written between ticks shows, with its new width, from the next tick on; OnTimerRun
// comes after the refresh.
TEST_F(StatusLine, EveryTickRefreshesTheClockThenRaisesOnTimerRun) {
  std::vector<std::string> seen;
  Line().OnTimerRun = [&](TNStatusLine& sender) {
    EXPECT_EQ(&sender, &Line());
    seen.push_back(sender.ClockText());
  };
  const std::string shortDate = Line().ClockText();
  Line().SetFormatDate(TFormatDate::fdFull);
  EXPECT_EQ(Line().ClockText(), shortDate) << "not before the tick";
  ExpectClockAfter([&] { ASSERT_TRUE(WaitUntil([&] { return !seen.empty(); })); },
                   {true, true, TFormatDate::fdFull, TFormatTime::ftShort}, 1);
  EXPECT_EQ(seen.front(), Line().ClockText());
  Line().OnTimerRun = nullptr;
}

// Below 100 is ignored; up to 1000 it is the timer's period; above, the timer ticks every second
// and OnTimerRun comes every Interval/1000 ticks, halves rounding up.
TEST_F(StatusLine, IntervalSetsThePeriodAndHowManyTicksMakeAnEvent) {
  // Interval written; then the one kept, the timer's period and every how many ticks OnTimerRun
  // comes (0: not waited for).
  const std::tuple<int, int, UINT, std::uint32_t> rows[] = {{99, 1000, 1000, 0},
                                                            {100, 100, 100, 1},
                                                            {1000, 1000, 1000, 0},
                                                            {1499, 1499, 1000, 0},
                                                            {1500, 1500, 1000, 2}};
  for (auto [interval, stored, period, everyNth] : rows) {
    Line().SetInterval(std::uint16_t(interval));
    EXPECT_EQ(std::tuple(Line().Interval(), Line().TimerPeriod(), Line().TimerRunning()),
              std::tuple(stored, period, true))
        << interval;
    if (everyNth == 0) continue;
    std::vector<std::uint32_t> raisedOn, expected;
    Line().OnTimerRun = [&](TNStatusLine& sender) { raisedOn.push_back(sender.TickCount()); };
    const std::uint32_t start = Line().TickCount();
    ASSERT_TRUE(WaitUntil([&] { return Line().TickCount() >= start + 4; }, 30s));
    for (std::uint32_t tick = start + 1; tick <= Line().TickCount(); ++tick) {
      if ((tick - start) % everyNth == 0) expected.push_back(tick);
    }
    EXPECT_EQ(raisedOn, expected) << interval;
    Line().OnTimerRun = nullptr;
  }
}

TEST_F(StatusLine, ProgressShowsBetweenTextAndClockWithinItsRange) {
  const vindelor::BoxRect idleText = Line().TextBox();
  Line().StartProgress(0, 10, true);
  const vindelor::BoxRect& progress = Line().ProgressBox();
  EXPECT_EQ(std::tuple(Line().ProgressShown(), progress.width, progress.height,
                       Line().TextBox().Right() + 5, progress.Right() + 5),
            std::tuple(true, 100, 15, progress.left, Line().ClockBox().left));
  for (int advance = 1; advance <= 12; ++advance) {
    Line().AdvanceProgress(1);
    EXPECT_EQ(Line().ProgressPosition(), std::min(advance, 10));
  }
  Line().StartProgress(0, 10, false);
  EXPECT_EQ(std::tuple(Line().ProgressShown(), Line().ProgressPosition(), progress.width,
                       Line().TextBox()),
            std::tuple(false, 0, 0, idleText));

  // Minimum first, then maximum: the step that fails changes nothing, the one before it stays.
  struct Range {
    std::int32_t min, max;
    const char* error;
    std::int32_t minAfter, maxAfter;
  };
  const Range ranges[] = {{20, 30, "Min property out of range", 0, 10},
                          {5, 2, "Max property out of range", 5, 10},
                          {-1, 10, "Min property out of range", 5, 10},
                          {0, 65536, "Max property out of range", 0, 10},
                          {3, 65535, "", 3, 65535},
                          {65535, 65535, "", 65535, 65535}};
  for (const Range& range : ranges) {
    std::string error;
    try {
      Line().StartProgress(range.min, range.max, true);
    } catch (const tk::Error& e) {
      error = e.what();
    }
    EXPECT_EQ(std::tuple(error, Line().ProgressMin(), Line().ProgressMax()),
              std::tuple(std::string(range.error), range.minAfter, range.maxAfter))
        << range.min << ".." << range.max;
  }
}

// The caption shows after a space, the application's hint as it is, whichever came last.
TEST_F(StatusLine, TextBoxShowsTheCaptionAfterASpaceAndTheHintAsItIs) {
  EXPECT_EQ(Line().Caption(), std::string(" ") + TForm2::kCreditLine);
  struct Change {
    bool hint;
    const char* text;
    const char* shown;
  };
  const Change changes[] = {{false, "Printing", " Printing"},
                            {false, "", " "},
                            {true, "Print the image", "Print the image"},
                            {true, "", ""},
                            {false, "Done", " Done"}};
  for (const Change& change : changes) {
    change.hint ? tk::App().SetHint(change.text) : Line().SetCaption(change.text);
    EXPECT_EQ(Line().Caption(), change.shown) << change.text;
  }
}

}  // namespace

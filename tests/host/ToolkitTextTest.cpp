#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <limits>

#include "toolkit/Error.h"
#include "toolkit/Scaling.h"
#include "toolkit/Text.h"

namespace {

TEST(ApplicationTitle, IsTheFileNameWithoutFolderAndExtensionInInitialCapitals) {
  struct Case {
    const char* path;
    const char* title;
  };
  for (const Case& c : {
           Case{"C:\\Program Files\\Vindelor\\Vindelor.exe", "Vindelor"},
           Case{"C:\\TOOLS\\VINDELOR.EXE", "Vindelor"},
           Case{"vindelor.exe", "vindelor"},  // the first letter is left as it is
           Case{"C:\\x\\Vindelor.backup.exe", "Vindelor"},  // extension from the first full stop
           Case{"Z:/build/bin/win_tests.exe", "win_tests"},
           Case{"C:Vindelor", "Vindelor"},
           Case{"", ""},
       }) {
    EXPECT_EQ(tk::ApplicationTitleFromPath(c.path), c.title) << c.path;
  }
}

TEST(TickInterval, ElapsesByTheSignedDifferenceAcrossTheCounterWrap) {
  constexpr std::uint32_t kMax = std::numeric_limits<std::uint32_t>::max();
  struct Case {
    std::uint32_t start, now;
    std::int32_t interval;
    bool elapsed;
  };
  for (const Case& c : {
           Case{1000, 1000, 0, true},       // zero: at once
           Case{1000, 1000, -5, true},      // negative: at once
           Case{1000, 1199, 200, false},
           Case{1000, 1200, 200, true},
           Case{kMax - 99, 100, 200, true},  // wrapped: 200 ticks have passed
           Case{kMax - 99, 99, 200, false},
           Case{kMax, 0, 1, true},
       }) {
    EXPECT_EQ(tk::TickIntervalElapsed(c.start, c.now, c.interval), c.elapsed)
        << c.start << " -> " << c.now << " for " << c.interval;
  }
}

TEST(FormatText, PutsTheArgumentInPlaceOfTheFirstPlaceholderOnly) {
  EXPECT_EQ(tk::FormatText("Failed to get data for '%s'", "Mirrored"),
            "Failed to get data for 'Mirrored'");
  EXPECT_EQ(tk::FormatText("%s property out of range", "Min"), "Min property out of range");
  EXPECT_EQ(tk::FormatText("%s and %s", "a%sb"), "a%sb and %s");
  EXPECT_EQ(tk::FormatText("no placeholder", "x"), "no placeholder");
}

TEST(ScaleRounded, RoundsToTheNearestPixelAndGrowsAndShrinksBackWithinOne) {
  struct Case {
    int value, numerator, denominator, expected;
  };
  for (const Case& c : {Case{305, 6, 5, 366}, Case{278, 6, 5, 334}, Case{17, 6, 5, 20},
                        Case{-11, 6, 5, -13}, Case{-13, 5, 6, -11}, Case{5, 1, 2, 3},
                        Case{-5, 1, 2, -3}, Case{0, 6, 5, 0}, Case{13, 16, 13, 16}}) {
    EXPECT_EQ(tk::ScaleRounded(c.value, c.numerator, c.denominator), c.expected)
        << c.value << "*" << c.numerator << "/" << c.denominator;
  }
  for (int value = -300; value <= 300; ++value) {
    int back = tk::ScaleRounded(tk::ScaleRounded(value, 6, 5), 5, 6);
    EXPECT_LE(std::abs(back - value), 1) << value;
  }
  EXPECT_THROW((void)tk::ScaleRounded(1, 1, 0), std::invalid_argument);
  EXPECT_THROW((void)tk::ScaleRounded(std::numeric_limits<int>::max(), 2, 1), std::out_of_range);
}

// Whole points: -12 pixels at 96 per inch is 9 points, 11 larger, -15 pixels; and back to -12.
// At 120 per inch -15 pixels is 9 points too, and 11 points is -18 pixels.
TEST(Scale, FontHeightsScaleAsWholePointSizes) {
  struct Case {
    int height, numerator, denominator, pixelsPerInch, expected;
  };
  for (const Case& c : {Case{-12, 6, 5, 96, -15}, Case{-15, 5, 6, 96, -12}, Case{-11, 6, 5, 96, -13},
                        Case{-13, 5, 6, 96, -11}, Case{-15, 6, 5, 120, -18}, Case{-12, 6, 5, 0, -14}}) {
    const tk::Scale scale{c.numerator, c.denominator, c.pixelsPerInch};
    EXPECT_EQ(scale.FontHeight(c.height), c.expected) << c.height << " at " << c.pixelsPerInch;
  }
}

}  // namespace

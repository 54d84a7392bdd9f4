#include "output/PrintDateLine.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace vindelor {
namespace {

TEST(PrintDateLine, FormatsTheTimeAfterTheDate) {
  const TimeStyle us{false, true, "AM", "PM"};
  const TimeStyle german{true, false, "", ""};
  const TimeStyle twentyFourNoZero{false, false, "", ""};
  const TimeStyle twelveWithZero{true, true, "am", "pm"};
  const TimeStyle noDesignators{false, true, "", ""};
  struct Case {
    const TimeStyle* style;
    int hour;
    int minute;
    int second;
    const char* expected;
  };
  const Case cases[] = {
      {&us, 0, 0, 0, "D"},  // midnight: the date alone
      {&german, 0, 0, 0, "D"},
      {&us, 0, 0, 1, "D 12:00:01 AM"},
      {&german, 0, 0, 1, "D 00:00:01"},
      {&us, 0, 1, 0, "D 12:01:00 AM"},
      {&us, 12, 0, 0, "D 12:00:00 PM"},
      {&german, 12, 0, 0, "D 12:00:00"},
      {&us, 13, 5, 9, "D 1:05:09 PM"},
      {&us, 11, 59, 59, "D 11:59:59 AM"},
      {&us, 23, 59, 59, "D 11:59:59 PM"},
      {&twelveWithZero, 9, 30, 0, "D 09:30:00 am"},
      {&twelveWithZero, 21, 30, 0, "D 09:30:00 pm"},
      {&german, 9, 7, 5, "D 09:07:05"},
      {&twentyFourNoZero, 9, 7, 5, "D 9:07:05"},
      {&twentyFourNoZero, 23, 0, 0, "D 23:00:00"},
      {&noDesignators, 15, 4, 3, "D 3:04:03"},  // no designator, no trailing blank
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PrintDateLine("D", c.hour, c.minute, c.second, *c.style), c.expected)
        << c.hour << ":" << c.minute << ":" << c.second;
  }
  EXPECT_EQ(PrintDateLine("31.12.2024", 8, 0, 0, german), "31.12.2024 08:00:00");
  EXPECT_EQ(PrintDateLine("", 8, 0, 0, german), "08:00:00");
  EXPECT_EQ(PrintDateLine("", 0, 0, 0, german), "");
}

TEST(PrintDateLine, RejectsATimeOutOfRange) {
  const TimeStyle style{};
  const int bad[][3] = {{24, 0, 0}, {-1, 0, 0}, {0, 60, 0}, {0, -1, 0}, {0, 0, 60}, {0, 0, -1}};
  for (const auto& t : bad) {
    EXPECT_THROW(PrintDateLine("D", t[0], t[1], t[2], style), std::invalid_argument) << t[0];
  }
}

}  // namespace
}  // namespace vindelor

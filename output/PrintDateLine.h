// The date line printed under the image: the locale's short date and, unless it is exactly
// midnight, the time of printing.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vindelor {

// Where the date line goes: its top is kDateLineGap dots below the image area, which ends
// DateLineReserve dots above the bottom of the printable area. The usual reserve of 110 leaves
// the line 70 dots; a line whose cell (cellHeight, in printer dots) needs more, as 8 points do
// from about 500 dots per inch on, gets its cell and 3 dots to spare, and the reserve grows by
// as much.
inline constexpr std::int32_t kDateLineGap = 40;
[[nodiscard]] std::int32_t DateLineReserve(std::int32_t cellHeight);

// The parts of the locale's time format the line follows.
struct TimeStyle {
  bool hourLeadingZero = false;  // "hh" rather than "h"
  bool twelveHourClock = false;  // hours 1-12 and an AM/PM designator
  std::string am;
  std::string pm;
};

// "Page Printed on the  " followed by "<date>" at 00:00:00, otherwise by
// "<date> <h>:<mm>:<ss>" and, on a 12-hour clock, " <designator>". A locale with an empty
// designator gets no trailing blank, and an empty date no blank before the time. Throws
// std::invalid_argument for hour, minute or second out of range.
std::string PrintDateLine(std::string_view shortDate, int hour, int minute, int second,
                          const TimeStyle& style);

}  // namespace vindelor

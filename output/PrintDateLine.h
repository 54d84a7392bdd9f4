// The date line printed under the image: the locale's short date and, unless it is exactly
// midnight, the time of the capture.
#pragma once

#include <string>
#include <string_view>

namespace vindelor {

// The parts of the locale's time format the line follows.
struct TimeStyle {
  bool hourLeadingZero = false;  // "hh" rather than "h"
  bool twelveHourClock = false;  // hours 1-12 and an AM/PM designator
  std::string am;
  std::string pm;
};

// "<date>" at 00:00:00, otherwise "<date> <h>:<mm>:<ss>" and, on a 12-hour clock,
// " <designator>". A locale with an empty designator gets no trailing blank, and an empty
// date no leading one. Throws std::invalid_argument for hour, minute or second out of range.
std::string PrintDateLine(std::string_view shortDate, int hour, int minute, int second,
                          const TimeStyle& style);

}  // namespace vindelor

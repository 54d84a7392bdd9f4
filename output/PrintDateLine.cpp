#include "output/PrintDateLine.h"

#include <stdexcept>

namespace vindelor {
namespace {

void AppendNumber(std::string& out, int value, bool twoDigits) {
  if (twoDigits || value >= 10) out.push_back(static_cast<char>('0' + value / 10));
  out.push_back(static_cast<char>('0' + value % 10));
}

}  // namespace

std::int32_t DateLineReserve(std::int32_t cellHeight) {
  constexpr std::int32_t kReserve = 110, kLineSpace = kReserve - kDateLineGap, kSpare = 3;
  return cellHeight + kSpare > kLineSpace ? kReserve + cellHeight + kSpare - kLineSpace : kReserve;
}

std::string PrintDateLine(std::string_view shortDate, int hour, int minute, int second,
                          const TimeStyle& style) {
  if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    throw std::invalid_argument("PrintDateLine: time of day out of range");
  }
  std::string line = "Page Printed on the  ";
  line.append(shortDate);
  if (hour == 0 && minute == 0 && second == 0) return line;

  if (!shortDate.empty()) line.push_back(' ');
  int shownHour = hour;
  if (style.twelveHourClock) {
    shownHour = hour % 12;
    if (shownHour == 0) shownHour = 12;
  }
  AppendNumber(line, shownHour, style.hourLeadingZero);
  line.push_back(':');
  AppendNumber(line, minute, true);
  line.push_back(':');
  AppendNumber(line, second, true);
  if (style.twelveHourClock) {
    const std::string& designator = hour < 12 ? style.am : style.pm;
    if (!designator.empty()) line.append(" ").append(designator);
  }
  return line;
}

}  // namespace vindelor

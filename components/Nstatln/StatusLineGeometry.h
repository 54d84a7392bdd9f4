// The platform-neutral rules of the status line: where its three boxes go, what the clock box
// says, how the Interval property turns into timer ticks and events, and the progress bar's
// range and position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vindelor {

// A box in the status line's client coordinates. Width or height can come out zero or
// negative on a status line too small for its margins; such a box shows nothing.
struct BoxRect {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;

  [[nodiscard]] std::int32_t Right() const noexcept { return left + width; }
  [[nodiscard]] std::int32_t Bottom() const noexcept { return top + height; }
  [[nodiscard]] bool Empty() const noexcept { return width <= 0 || height <= 0; }
  bool operator==(const BoxRect&) const = default;
};

struct StatusLineLayoutInput {
  std::int32_t width = 0;  // the status line's client size
  std::int32_t height = 0;
  std::int32_t space = 5;  // gap between neighbouring boxes
  std::int32_t vertMargin = 3;
  std::int32_t horizMargin = 3;
  std::int32_t clockWidth = 0;
  std::int32_t progressWidth = 0;
  bool progressShown = false;
};

struct StatusLineLayout {
  BoxRect text;
  BoxRect progress;  // width 0 while the progress display is hidden
  BoxRect clock;
  bool operator==(const StatusLineLayout&) const = default;
};

// Clock box at the right margin; the progress box, while shown, Space pixels left of it; the
// text box from the left margin to Space pixels short of its right neighbour, or to the right
// margin when there is neither a progress box nor a clock.
[[nodiscard]] StatusLineLayout LayOutStatusLine(const StatusLineLayoutInput& input);

// What the text box shows for a Caption: one space, then the caption.
[[nodiscard]] std::string TextBoxCaption(std::string_view caption);

// "<date> <time>", the date or the time alone, or "" when neither is shown.
[[nodiscard]] std::string ClockText(std::string_view date, std::string_view time, bool showDate,
                                    bool showTime);

// The text whose width, in the status line's font, becomes the clock box's width: the clock
// text with two spaces on either side, or "" (width 0) when neither date nor time is shown.
[[nodiscard]] std::string ClockWidthSample(std::string_view clockText, bool showDate,
                                           bool showTime);

// The Interval property: timer period and on which ticks OnTimerRun is raised.
class TimerSchedule {
 public:
  static constexpr std::uint16_t kDefaultInterval = 1000;
  static constexpr std::uint16_t kMinimumInterval = 100;
  static constexpr std::uint32_t kLongPeriod = 1000;  // tick period of intervals above 1000

  // Takes a new interval. Returns false, changing nothing, for the current value or one below
  // kMinimumInterval; true when the timer must be restarted with Period().
  bool SetInterval(std::uint16_t interval) noexcept;
  [[nodiscard]] std::uint16_t Interval() const noexcept { return interval_; }
  // Milliseconds between timer ticks.
  [[nodiscard]] std::uint32_t Period() const noexcept;
  // Ticks per event: 1 up to 1000 ms, else the interval in whole seconds, halves rounded up.
  [[nodiscard]] std::int32_t TicksPerEvent() const noexcept { return reload_; }
  // Counts one tick; true when OnTimerRun is due on it.
  bool Tick() noexcept;

 private:
  std::uint16_t interval_ = kDefaultInterval;
  std::int32_t countdown_ = 1;
  std::int32_t reload_ = 1;
};

// The progress bar's state. Minimum and maximum are 16-bit unsigned values; the position
// always lies within them, as the platform's progress control keeps it.
class ProgressRange {
 public:
  static constexpr std::int32_t kLimit = 65535;

  // Throws tk::Error "Min property out of range" (above the maximum, or outside 0…65535) and
  // changes nothing then.
  void SetMin(std::int32_t min);
  // Throws tk::Error "Max property out of range" (below the minimum, or outside 0…65535).
  void SetMax(std::int32_t max);
  // Clamps into [min, max].
  void SetPosition(std::int32_t position) noexcept;
  // Moves the position by amount, clamped into [min, max].
  void Advance(std::int32_t amount) noexcept;

  [[nodiscard]] std::int32_t Min() const noexcept { return min_; }
  [[nodiscard]] std::int32_t Max() const noexcept { return max_; }
  [[nodiscard]] std::int32_t Position() const noexcept { return position_; }
  // Pixels of a bar `width` wide that the position fills; 0 for an empty range.
  [[nodiscard]] std::int32_t FilledWidth(std::int32_t width) const noexcept;

 private:
  std::int32_t min_ = 0;
  std::int32_t max_ = 100;
  std::int32_t position_ = 0;
};

}  // namespace vindelor

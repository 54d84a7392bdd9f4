#include "components/Nstatln/StatusLineGeometry.h"

#include <algorithm>

#include "toolkit/Error.h"

namespace vindelor {

StatusLineLayout LayOutStatusLine(const StatusLineLayoutInput& in) {
  const std::int32_t top = in.vertMargin;
  const std::int32_t height = in.height - 2 * in.vertMargin;
  StatusLineLayout out;

  out.clock = {in.width - in.horizMargin - in.clockWidth, top, in.clockWidth, height};

  const std::int32_t progressWidth = in.progressShown ? in.progressWidth : 0;
  out.progress = {out.clock.left - in.space - progressWidth, top, progressWidth, height};

  std::int32_t textWidth = 0;
  if (in.progressShown) {
    textWidth = out.progress.left - in.space - in.horizMargin;
  } else if (in.clockWidth <= 0) {
    textWidth = in.width - 2 * in.horizMargin;
  } else {
    textWidth = out.clock.left - in.space - in.horizMargin;
  }
  out.text = {in.horizMargin, top, textWidth, height};
  return out;
}

std::string TextBoxCaption(std::string_view caption) {
  std::string text = " ";
  text += caption;
  return text;
}

std::string ClockText(std::string_view date, std::string_view time, bool showDate,
                      bool showTime) {
  std::string text;
  if (showDate) text += date;
  if (showDate && showTime) text += ' ';
  if (showTime) text += time;
  return text;
}

std::string ClockWidthSample(std::string_view clockText, bool showDate, bool showTime) {
  if (!showDate && !showTime) return {};
  std::string sample = "  ";
  sample += clockText;
  sample += "  ";
  return sample;
}

// --- TimerSchedule ---------------------------------------------------------------------------

bool TimerSchedule::SetInterval(std::uint16_t interval) noexcept {
  if (interval == interval_ || interval < kMinimumInterval) return false;
  interval_ = interval;
  if (interval <= kLongPeriod) {
    reload_ = 1;
  } else {
    // Whole seconds, a half second and more counting as one more.
    const std::int32_t remainder = interval % 1000;
    reload_ = interval / 1000 + (remainder >= 500 ? 1 : 0);
  }
  countdown_ = reload_;
  return true;
}

std::uint32_t TimerSchedule::Period() const noexcept {
  return interval_ <= kLongPeriod ? interval_ : kLongPeriod;
}

bool TimerSchedule::Tick() noexcept {
  if (countdown_ <= 1) {
    countdown_ = reload_;
    return true;
  }
  --countdown_;
  return false;
}

// --- ProgressRange ---------------------------------------------------------------------------

void ProgressRange::SetMin(std::int32_t min) {
  if (min < 0 || min > kLimit || min > max_) {
    throw tk::Error(tk::FormatText("%s property out of range", "Min"));
  }
  min_ = min;
  SetPosition(position_);
}

void ProgressRange::SetMax(std::int32_t max) {
  if (max < 0 || max > kLimit || max < min_) {
    throw tk::Error(tk::FormatText("%s property out of range", "Max"));
  }
  max_ = max;
  SetPosition(position_);
}

void ProgressRange::SetPosition(std::int32_t position) noexcept {
  position_ = std::clamp(position, min_, max_);
}

void ProgressRange::Advance(std::int32_t amount) noexcept {
  const std::int64_t position = std::int64_t{position_} + amount;
  position_ = static_cast<std::int32_t>(std::clamp<std::int64_t>(position, min_, max_));
}

std::int32_t ProgressRange::FilledWidth(std::int32_t width) const noexcept {
  if (max_ <= min_ || width <= 0) return 0;
  const std::int64_t filled =
      std::int64_t{position_ - min_} * std::int64_t{width} / std::int64_t{max_ - min_};
  return static_cast<std::int32_t>(filled);
}

}  // namespace vindelor

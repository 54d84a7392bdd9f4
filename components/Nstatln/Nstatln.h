// TNStatusLine: a status bar docked along its form's bottom edge, with a text box on the left,
// a progress box in the middle while a progress display runs, and a clock box on the right that
// its own timer refreshes. The text box follows the program's hint text; OnTimerRun is
// raised periodically after the clock refresh.
//
// One child window draws everything: its raised bevel, the three lowered boxes and the progress
// bar. The boxes are rectangles (vindelor::BoxRect), laid out by LayOutStatusLine.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "components/Nstatln/StatusLineGeometry.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/Hints.h"
#include "toolkit/Timer.h"

enum class TFormatDate { fdShort, fdFull };  // the system's short or long date format
enum class TFormatTime { ftShort, ftFull };  // the system's time format without or with seconds

// Design values of a status line. The bounds give its height (the position follows from the
// docking); the other members are the published properties, applied as their setters would.
struct TNStatusLineArgs {
  tk::Bounds bounds{0, 0, 0, 25};
  const char* caption = "";  // shown as " " + caption
  const char* hint = "";     // the status line's own hint, shown while the mouse rests on it
  std::int32_t space = 5;
  std::int32_t vertMargin = 3;
  std::int32_t horizMargin = 3;
  std::uint16_t interval = 1000;
  bool showDate = true;
  bool showTime = true;
  TFormatDate formatDate = TFormatDate::fdShort;
  TFormatTime formatTime = TFormatTime::ftFull;
};

class TNStatusLine final : public tk::Control {
 public:
  static constexpr int kProgressBoxWidth = 100;

  // Docks to the owner's bottom edge, starts the clock timer (1000 ms) and follows the hints
  // until destroyed.
  explicit TNStatusLine(tk::Form& owner, const TNStatusLineArgs& args = {});

  // --- published properties; the geometry ones take effect at the next clock refresh or resize
  [[nodiscard]] std::int32_t Space() const noexcept { return space_; }
  void SetSpace(std::int32_t space);
  [[nodiscard]] std::int32_t HorizMargin() const noexcept { return horizMargin_; }
  void SetHorizMargin(std::int32_t margin);
  [[nodiscard]] std::int32_t VertMargin() const noexcept { return vertMargin_; }
  void SetVertMargin(std::int32_t margin);  // also repaints at once
  [[nodiscard]] bool ShowDate() const noexcept { return showDate_; }
  void SetShowDate(bool show);  // refreshes the clock at once
  [[nodiscard]] bool ShowTime() const noexcept { return showTime_; }
  void SetShowTime(bool show);  // refreshes the clock at once
  [[nodiscard]] std::uint16_t Interval() const noexcept { return schedule_.Interval(); }
  // Below 100 or unchanged: nothing. Up to 1000: the timer period, OnTimerRun on every tick.
  // Above: ticks every second, OnTimerRun every Interval/1000 ticks (halves round up).
  void SetInterval(std::uint16_t interval);
  [[nodiscard]] TFormatDate FormatDate() const noexcept { return formatDate_; }
  void SetFormatDate(TFormatDate format);
  [[nodiscard]] TFormatTime FormatTime() const noexcept { return formatTime_; }
  void SetFormatTime(TFormatTime format);
  // The text box's text: " " + the caption last set, or the hint text shown since.
  [[nodiscard]] std::string Caption() const { return Control::Caption(); }
  void SetCaption(const std::string& caption);
  // The status line's colour: its form's unless set.
  [[nodiscard]] COLORREF Color() const noexcept;
  void SetColor(COLORREF color);

  // Raised on the ticks Interval chooses, after the clock refresh.
  std::function<void(TNStatusLine&)> OnTimerRun;

  // --- progress display
  // Applies the minimum, then the maximum (each 0…65535, minimum ≤ maximum, else
  // "Min/Max property out of range" and that step changes nothing), sets the position to 0,
  // shows or hides the progress box, lays out and repaints at once.
  void StartProgress(std::int32_t min, std::int32_t max, bool shown);
  // Moves the position by amount; it stays within the range, so a bar past its end shows full.
  void AdvanceProgress(std::int16_t amount);
  [[nodiscard]] std::int32_t ProgressPosition() const noexcept { return progress_.Position(); }
  [[nodiscard]] std::int32_t ProgressMin() const noexcept { return progress_.Min(); }
  [[nodiscard]] std::int32_t ProgressMax() const noexcept { return progress_.Max(); }
  [[nodiscard]] bool ProgressShown() const noexcept { return progressShown_; }

  // --- what is shown
  [[nodiscard]] const vindelor::BoxRect& TextBox() const noexcept { return layout_.text; }
  [[nodiscard]] const vindelor::BoxRect& ProgressBox() const noexcept { return layout_.progress; }
  [[nodiscard]] const vindelor::BoxRect& ClockBox() const noexcept { return layout_.clock; }
  [[nodiscard]] const std::string& ClockText() const noexcept { return clockText_; }
  // The clock timer: milliseconds between ticks, whether it runs, and the ticks handled so far.
  [[nodiscard]] UINT TimerPeriod() const noexcept { return timer_.Interval(); }
  [[nodiscard]] bool TimerRunning() const noexcept { return timer_.Enabled(); }
  [[nodiscard]] std::uint32_t TickCount() const noexcept { return tickCount_; }
  // How often a layout has asked for the whole status line to be repainted: only while it shows.
  [[nodiscard]] std::uint32_t RepaintRequests() const noexcept { return repaintRequests_; }

  // Refreshes the clock as every tick does: new text, the width when due, then the layout.
  void RefreshClock();
  // Paints the invalid parts at once.
  void Repaint();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Tick();
  void LayOut();
  void ShowText(const std::string& text);
  void Paint(HDC dc) const;
  [[nodiscard]] std::string FormattedDate(const SYSTEMTIME& now) const;
  [[nodiscard]] std::string FormattedTime(const SYSTEMTIME& now) const;
  [[nodiscard]] int TextWidth(const std::string& text) const;

  std::int32_t space_ = 5;
  std::int32_t horizMargin_ = 3;
  std::int32_t vertMargin_ = 3;
  bool showDate_ = true;
  bool showTime_ = true;
  vindelor::TimerSchedule schedule_;
  TFormatDate formatDate_ = TFormatDate::fdShort;
  TFormatTime formatTime_ = TFormatTime::ftFull;
  bool ownColor_ = false;
  COLORREF color_ = 0;
  HFONT font_;  // the font WM_SETFONT gave; owned by the control's own font
  vindelor::StatusLineLayout layout_;
  std::int32_t clockWidth_ = 0;
  std::string clockText_;
  bool recalculateWidth_ = true;
  vindelor::ProgressRange progress_;
  bool progressShown_ = false;
  std::uint32_t tickCount_ = 0;
  std::uint32_t repaintRequests_ = 0;
  tk::Timer timer_{vindelor::TimerSchedule::kDefaultInterval, true};
  tk::HintSubscription hints_;
};

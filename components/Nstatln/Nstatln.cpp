#include "components/Nstatln/Nstatln.h"

#include <algorithm>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace {

constexpr const char* kWindowClass = "VindelorStatusLine";

// The status line's window class: it draws everything itself, so no background brush, and the
// whole window repaints after a size change (the boxes move). As a control, its window is
// subclassed once created, so the class's own procedure is the default one.
const char* StatusLineClass() {
  tk::Window::RegisterClassOnce({.className = kWindowClass,
                                 .classStyle = CS_HREDRAW | CS_VREDRAW,
                                 .procedure = &DefWindowProcA});
  return kWindowClass;
}

// "MS Sans Serif", 8 point, plain, at the 96 pixels per inch the forms are designed for; a form
// shown at another setting scales it together with its own geometry.
constexpr int kDesignPixelsPerInch = 96;
tk::FontSpec StatusLineFont() {
  return {.face = "MS Sans Serif", .height = -MulDiv(8, kDesignPixelsPerInch, 72)};
}

RECT ToRect(const vindelor::BoxRect& box) {
  return {box.left, box.top, box.Right(), box.Bottom()};
}

// Fills with a solid colour through the text background, so painting creates no brushes.
void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  SetBkColor(dc, color);
  ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &rect, "", 0, nullptr);
}

// A 1-pixel bevel: raised has the highlight on top and left and the shadow on bottom and
// right; lowered the reverse. The shadow side owns the top-right and bottom-left corners.
void DrawBevel(HDC dc, const RECT& r, bool raised) {
  COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  COLORREF topLeft = raised ? light : dark;
  COLORREF bottomRight = raised ? dark : light;
  FillSolid(dc, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

RECT Inside(const RECT& r) { return {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}; }

enum class Alignment { Left, Centre };

// One line of text, vertically centred in the rectangle and clipped to it, over the colour.
void DrawLine(HDC dc, const RECT& r, const std::string& text, Alignment alignment,
              COLORREF background) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SIZE extent{};
  auto length = static_cast<UINT>(text.size());
  GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(length), &extent);
  int x = r.left;
  if (alignment == Alignment::Centre) x += (r.right - r.left - extent.cx) / 2;
  int y = r.top + (r.bottom - r.top - metrics.tmHeight) / 2;
  SetBkColor(dc, background);
  ExtTextOutA(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &r, text.c_str(), length, nullptr);
}

}  // namespace

TNStatusLine::TNStatusLine(tk::Form& owner, const TNStatusLineArgs& args)
    : tk::Control(owner, args.bounds, "",
                  {.hint = args.hint, .font = StatusLineFont(), .align = tk::Align::Bottom},
                  StatusLineClass(), 0),
      font_(CurrentFont()) {
  timer_.OnTimer = [this] { Tick(); };
  hints_ = tk::FollowHints([this](const std::string& hint) { ShowText(hint); });
  SetSpace(args.space);
  SetHorizMargin(args.horizMargin);
  SetVertMargin(args.vertMargin);
  showDate_ = args.showDate;
  showTime_ = args.showTime;
  SetFormatDate(args.formatDate);
  SetFormatTime(args.formatTime);
  SetInterval(args.interval);
  SetCaption(args.caption);
  // The design values show from the start rather than from the first tick.
  RefreshClock();
}

// --- properties ------------------------------------------------------------------------------

void TNStatusLine::SetSpace(std::int32_t space) {
  if (space == space_) return;
  space_ = space;
  recalculateWidth_ = true;
}

void TNStatusLine::SetHorizMargin(std::int32_t margin) {
  if (margin == horizMargin_) return;
  horizMargin_ = margin;
  recalculateWidth_ = true;
}

void TNStatusLine::SetVertMargin(std::int32_t margin) {
  if (margin == vertMargin_) return;
  vertMargin_ = margin;
  recalculateWidth_ = true;
  Repaint();
}

void TNStatusLine::SetShowDate(bool show) {
  showDate_ = show;
  recalculateWidth_ = true;
  RefreshClock();
}

void TNStatusLine::SetShowTime(bool show) {
  showTime_ = show;
  recalculateWidth_ = true;
  RefreshClock();
}

void TNStatusLine::SetInterval(std::uint16_t interval) {
  if (!schedule_.SetInterval(interval)) return;
  timer_.SetEnabled(false);
  timer_.SetInterval(schedule_.Period());
  timer_.SetEnabled(true);
}

void TNStatusLine::SetFormatDate(TFormatDate format) {
  if (format == formatDate_) return;
  formatDate_ = format;
  recalculateWidth_ = true;
}

void TNStatusLine::SetFormatTime(TFormatTime format) {
  if (format == formatTime_) return;
  formatTime_ = format;
  recalculateWidth_ = true;
}

void TNStatusLine::SetCaption(const std::string& caption) {
  ShowText(vindelor::TextBoxCaption(caption));
}

COLORREF TNStatusLine::Color() const noexcept {
  return ownColor_ ? color_ : Parent().ContainerColor();
}

void TNStatusLine::SetColor(COLORREF color) {
  ownColor_ = true;
  color_ = color;
  InvalidateRect(Handle(), nullptr, FALSE);
}

// --- progress display ------------------------------------------------------------------------

void TNStatusLine::StartProgress(std::int32_t min, std::int32_t max, bool shown) {
  progress_.SetMin(min);
  progress_.SetMax(max);
  progress_.SetPosition(0);
  progressShown_ = shown;
  LayOut();
  Repaint();
}

void TNStatusLine::AdvanceProgress(std::int16_t amount) {
  progress_.Advance(amount);
  if (!progressShown_) return;
  // As a progress control does: the bar shows its new length at once, even inside long work.
  RECT box = ToRect(layout_.progress);
  RedrawWindow(Handle(), &box, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// --- clock, layout, painting -----------------------------------------------------------------

void TNStatusLine::Tick() {
  if (!Handle()) return;
  ++tickCount_;
  RefreshClock();
  if (schedule_.Tick() && OnTimerRun) OnTimerRun(*this);
}

void TNStatusLine::RefreshClock() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::string date = showDate_ ? FormattedDate(now) : std::string();
  std::string time = showTime_ ? FormattedTime(now) : std::string();
  clockText_ = vindelor::ClockText(date, time, showDate_, showTime_);
  if (recalculateWidth_) {
    clockWidth_ = TextWidth(vindelor::ClockWidthSample(clockText_, showDate_, showTime_));
    recalculateWidth_ = false;
  }
  LayOut();
}

std::string TNStatusLine::FormattedDate(const SYSTEMTIME& now) const {
  DWORD flags = formatDate_ == TFormatDate::fdShort ? DATE_SHORTDATE : DATE_LONGDATE;
  char text[128]{};
  if (GetDateFormatA(LOCALE_USER_DEFAULT, flags, &now, nullptr, text, sizeof(text)) == 0) {
    throw tk::Error("Cannot format the date");
  }
  return text;
}

std::string TNStatusLine::FormattedTime(const SYSTEMTIME& now) const {
  DWORD flags = formatTime_ == TFormatTime::ftShort ? TIME_NOSECONDS : 0;
  char text[128]{};
  if (GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &now, nullptr, text, sizeof(text)) == 0) {
    throw tk::Error("Cannot format the time");
  }
  return text;
}

int TNStatusLine::TextWidth(const std::string& text) const {
  if (text.empty()) return 0;
  tk::WindowDc dc(Handle());
  tk::SelectGuard keepFont(dc.Get(), font_);
  SIZE extent{};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

void TNStatusLine::LayOut() {
  RECT client{};
  GetClientRect(Handle(), &client);
  layout_ = vindelor::LayOutStatusLine({.width = client.right,
                                        .height = client.bottom,
                                        .space = space_,
                                        .vertMargin = vertMargin_,
                                        .horizMargin = horizMargin_,
                                        .clockWidth = clockWidth_,
                                        .progressWidth = kProgressBoxWidth,
                                        .progressShown = progressShown_});
  // A hidden status line has nothing to repaint, and showing its form paints it whole; asking
  // anyway would cost the resident program a round trip to the window system on every tick.
  if (IsWindowVisible(Handle())) {
    ++repaintRequests_;
    InvalidateRect(Handle(), nullptr, FALSE);
  }
}

void TNStatusLine::ShowText(const std::string& text) {
  SetWindowTextA(Handle(), text.c_str());
  RECT box = ToRect(layout_.text);
  InvalidateRect(Handle(), &box, FALSE);
}

void TNStatusLine::Repaint() {
  RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void TNStatusLine::Paint(HDC dc) const {
  RECT client{};
  GetClientRect(Handle(), &client);
  const COLORREF face = Color();
  tk::SavedDcState keep(dc);
  SelectObject(dc, font_);
  SetTextColor(dc, TextColor());
  SetBkMode(dc, OPAQUE);

  struct Box {
    const vindelor::BoxRect* rect;
    bool shown;
  };
  const Box boxes[] = {{&layout_.text, true},
                       {&layout_.progress, progressShown_},
                       {&layout_.clock, true}};

  // The status line's own face, around the boxes (painted separately, so nothing flickers).
  {
    tk::SavedDcState keepClip(dc);
    for (const Box& box : boxes) {
      if (box.shown && !box.rect->Empty()) {
        ExcludeClipRect(dc, box.rect->left, box.rect->top, box.rect->Right(), box.rect->Bottom());
      }
    }
    DrawBevel(dc, client, /*raised=*/true);
    FillSolid(dc, Inside(client), face);
  }

  for (const Box& box : boxes) {
    if (!box.shown || box.rect->Empty()) continue;
    RECT outer = ToRect(*box.rect);
    DrawBevel(dc, outer, /*raised=*/false);
    RECT inner = Inside(outer);
    if (box.rect == &layout_.progress) {
      FillSolid(dc, inner, face);
      RECT bar = inner;
      bar.right = bar.left + progress_.FilledWidth(inner.right - inner.left);
      if (bar.right > bar.left) FillSolid(dc, bar, GetSysColor(COLOR_HIGHLIGHT));
    } else if (box.rect == &layout_.text) {
      DrawLine(dc, inner, Caption(), Alignment::Left, face);
    } else {
      DrawLine(dc, inner, clockText_, Alignment::Centre, face);
    }
  }
}

LRESULT TNStatusLine::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      tk::PaintScope paint(Handle());
      Paint(paint.Get());
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return TRUE;  // painting covers every pixel
    case WM_SIZE:
      LayOut();
      break;
    case WM_SETFONT:
      font_ = wParam ? reinterpret_cast<HFONT>(wParam) : CurrentFont();
      recalculateWidth_ = true;
      if (LOWORD(lParam)) InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    default:
      break;
  }
  return Control::HandleMessage(message, wParam, lParam);
}

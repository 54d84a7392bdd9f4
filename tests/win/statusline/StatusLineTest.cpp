// The status line on a form of its own with the options dialog's design values: layout and
// docking, clock, progress display, hints, the timer event and its errors, painting, handles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "components/Nstatln/Nstatln.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/Font.h"
#include "toolkit/GuiObjects.h"
#include "toolkit/Handles.h"

namespace {

using namespace testing_support;
using vindelor::BoxRect;

constexpr const char* kCredit = "Vindelor V2.0 - a status line test";

class StatusForm final : public tk::Form {
 public:
  StatusForm() : tk::Form({.caption = "Status line", .clientWidth = 305, .clientHeight = 278}) {}
  tk::Button Button1{*this, {184, 24, 101, 25}, "Print",
                     {.tabOrder = 0, .hint = " Prints the Image"}};
  TNStatusLine NStatusLine1{*this, {.bounds = {0, 257, 305, 21}, .caption = kCredit,
                                    .hint = kCredit, .formatTime = TFormatTime::ftShort}};
};

auto Tuple(tk::Bounds b) { return std::tuple(b.left, b.top, b.width, b.height); }

// Refreshes the clock and compares it with the locale's texts, either side of a minute change.
void ExpectClock(TNStatusLine& line, DWORD dateFlags, DWORD timeFlags) {
  auto now = [&] {
    SYSTEMTIME time{};
    GetLocalTime(&time);
    char d[128]{}, t[128]{};
    GetDateFormatA(LOCALE_USER_DEFAULT, dateFlags, &time, nullptr, d, sizeof(d));
    GetTimeFormatA(LOCALE_USER_DEFAULT, timeFlags, &time, nullptr, t, sizeof(t));
    return std::string(d) + " " + t;
  };
  std::string before = now();
  line.RefreshClock();
  EXPECT_TRUE(line.ClockText() == before || line.ClockText() == now()) << line.ClockText();
}

int TextWidth(const TNStatusLine& line, const std::string& text, HFONT font = nullptr) {
  if (!font) font = reinterpret_cast<HFONT>(SendMessageA(line.Handle(), WM_GETFONT, 0, 0));
  tk::WindowDc dc(line.Handle());
  tk::SelectGuard keep(dc.Get(), font);
  SIZE extent{};
  GetTextExtentPoint32A(dc.Get(), text.c_str(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

// The status line as WM_PRINTCLIENT paints it into a bitmap.
class Snapshot {
 public:
  explicit Snapshot(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    tk::WindowDc screen(nullptr);
    dc_.Reset(CreateCompatibleDC(screen.Get()));
    bitmap_.Reset(CreateCompatibleBitmap(screen.Get(), client.right, client.bottom));
    keep_.emplace(dc_.Get(), bitmap_.Get());
    SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.Get()), PRF_CLIENT);
  }
  [[nodiscard]] COLORREF At(int x, int y) const { return GetPixel(dc_.Get(), x, y); }
  // Pixels inside the box's bevel that are not the colour: the text drawn there.
  [[nodiscard]] int CountOther(const BoxRect& box, COLORREF colour) const {
    int count = 0;
    for (int y = box.top + 1; y < box.Bottom() - 1; ++y) {
      for (int x = box.left + 1; x < box.Right() - 1; ++x) count += At(x, y) != colour;
    }
    return count;
  }

 private:
  tk::UniqueMemoryDc dc_;
  tk::UniqueBitmap bitmap_;
  std::optional<tk::SelectGuard> keep_;
};

class StatusLine : public ::testing::Test {
 protected:
  void SetUp() override {
    app_ = std::make_unique<tk::Application>();
    app_->CreateForm(form_);
    form_->Show();
    ASSERT_TRUE(WaitUntil([&] { return form_->Visible(); }));
  }
  void TearDown() override { app_.reset(); }

  std::unique_ptr<tk::Application> app_;
  StatusForm* form_ = nullptr;
};

TEST_F(StatusLine, TheDialogsInstanceHasFifteenPixelBoxesAShortClockAndTheFixedLook) {
  TNStatusLine& line = form_->NStatusLine1;
  EXPECT_EQ(Tuple(line.GetBounds()), std::tuple(0, 257, 305, 21));
  ExpectClock(line, DATE_SHORTDATE, TIME_NOSECONDS);
  const BoxRect& clock = line.ClockBox();
  EXPECT_EQ(clock, (BoxRect{302 - clock.width, 3, clock.width, 15}));
  EXPECT_EQ(clock.width, TextWidth(line, "  " + line.ClockText() + "  "));
  EXPECT_EQ(line.TextBox(), (BoxRect{3, 3, clock.left - 5 - 3, 15}));
  EXPECT_EQ(line.Caption(), std::string(" ") + kCredit);

  LOGFONTA font{};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(line.Handle(), WM_GETFONT, 0, 0)),
             sizeof(font), &font);
  tk::WindowDc screen(nullptr);
  EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen.Get(), LOGPIXELSY), 72));
  EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(GetWindowLongPtrA(line.Handle(), GWL_STYLE) & WS_TABSTOP, 0);
}

TEST_F(StatusLine, ItFollowsTheFormsBottomEdgeAndWidth) {
  TNStatusLine& line = form_->NStatusLine1;
  for (auto [width, height] : {std::pair(400, 320), std::pair(200, 100), std::pair(305, 278)}) {
    form_->SetClientSize(width, height);
    EXPECT_EQ(Tuple(line.GetBounds()), std::tuple(0, height - 21, width, 21));
    EXPECT_EQ(line.ClockBox().Right(), width - 3) << width;
    EXPECT_EQ(line.TextBox().Right(), line.ClockBox().left - 5) << width;
  }
}

TEST_F(StatusLine, AProgressDisplayFillsUpStaysFullAndGoesAgain) {
  TNStatusLine& line = form_->NStatusLine1;
  const COLORREF bar = GetSysColor(COLOR_HIGHLIGHT);
  const COLORREF face = line.Color();
  line.SetCaption("");  // no text where the progress box was, to read its pixels afterwards
  line.StartProgress(0, 10, true);
  const BoxRect progress = line.ProgressBox();
  EXPECT_EQ(progress, (BoxRect{line.ClockBox().left - 5 - 100, 3, 100, 15}));
  EXPECT_EQ(line.TextBox().Right(), progress.left - 5);
  const int y = progress.top + progress.height / 2;
  EXPECT_EQ(Snapshot(line.Handle()).At(progress.left + 1, y), face) << "position 0";
  for (int advance = 1; advance <= 12; ++advance) {
    line.AdvanceProgress(1);
    EXPECT_EQ(line.ProgressPosition(), std::min(advance, 10)) << advance;
    Snapshot shot(line.Handle());
    EXPECT_EQ(shot.At(progress.left + 1, y), bar) << advance;
    EXPECT_EQ(shot.At(progress.Right() - 2, y), advance >= 10 ? bar : face) << advance;
  }

  line.StartProgress(0, 10, false);
  EXPECT_FALSE(line.ProgressShown());
  EXPECT_EQ(line.ProgressPosition(), 0);
  EXPECT_EQ(line.ProgressBox().width, 0);
  EXPECT_EQ(line.TextBox().Right(), line.ClockBox().left - 5) << "the text box widens again";
  Snapshot shot(line.Handle());
  EXPECT_EQ(shot.At(progress.left, y), face) << "no bevel left behind";
  EXPECT_EQ(shot.At(progress.left + 50, y), face) << "no bar left behind";
}

TEST_F(StatusLine, ARangeOutOfBoundsFailsWithThePropertyNameAndThatStepChangesNothing) {
  TNStatusLine& line = form_->NStatusLine1;
  struct Case {
    std::int32_t min, max;
    const char* error;
    std::int32_t minAfter, maxAfter, positionAfter;
  };
  const Case cases[] = {
      {200, 300, "Min property out of range", 0, 100, 7},  // above the current maximum
      {-1, 10, "Min property out of range", 0, 100, 7},
      {0, 65536, "Max property out of range", 0, 100, 7},
      {0, -5, "Max property out of range", 0, 100, 7},
      {50, 20, "Max property out of range", 50, 100, 50},  // the minimum step went through
  };
  for (const Case& c : cases) {
    line.StartProgress(0, 100, false);
    line.AdvanceProgress(7);
    try {
      line.StartProgress(c.min, c.max, true);
      ADD_FAILURE() << c.min << ".." << c.max << " accepted";
    } catch (const tk::Error& error) {
      EXPECT_STREQ(error.what(), c.error) << c.min << ".." << c.max;
    }
    EXPECT_EQ(std::tuple(line.ProgressMin(), line.ProgressMax(), line.ProgressPosition()),
              std::tuple(c.minAfter, c.maxAfter, c.positionAfter))
        << c.min << ".." << c.max;
    EXPECT_FALSE(line.ProgressShown()) << c.min << ".." << c.max;
  }
  line.StartProgress(0, 65535, true);  // the maximum first, so that the minimum may follow
  line.StartProgress(65535, 65535, true);
  EXPECT_EQ(line.ProgressPosition(), 65535);
}

TEST_F(StatusLine, TheTextBoxShowsHintsUnchangedAndCaptionsWithALeadingSpace) {
  TNStatusLine& line = form_->NStatusLine1;
  tk::App().SetHint(" The Image will be centered on page");
  EXPECT_EQ(line.Caption(), " The Image will be centered on page");
  line.SetCaption("Printing");
  EXPECT_EQ(line.Caption(), " Printing");
  tk::App().SetHint("");
  EXPECT_EQ(line.Caption(), "");
  SendMessageA(form_->Button1.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(line.Caption(), " Prints the Image");
  SendMessageA(line.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(line.Caption(), kCredit) << "the status line's own hint";

  // A second status line takes the hints over; when it goes, nobody listens any more.
  line.SetCaption("first");
  int heard = 0;
  {
    TNStatusLine second(*form_);
    tk::App().SetHint("to the second");
    EXPECT_EQ(second.Caption(), "to the second");
    tk::App().SetHintListener([&](const std::string&) { ++heard; });
  }
  tk::App().SetHint("to nobody");
  EXPECT_EQ(line.Caption(), " first");
  EXPECT_EQ(heard, 0);
}

TEST_F(StatusLine, IntervalRaisesOnTimerRunOnTheTicksItChooses) {
  TNStatusLine& line = form_->NStatusLine1;
  std::vector<std::uint32_t> eventTicks;
  line.OnTimerRun = [&](TNStatusLine& sender) { eventTicks.push_back(sender.TickCount()); };
  EXPECT_EQ(line.TimerPeriod(), 1000u);
  struct Case {
    std::uint16_t interval;
    UINT period;
    std::uint32_t ticksPerEvent;
  };
  for (Case c : {Case{200, 200, 1}, Case{1500, 1000, 2}}) {
    line.SetInterval(c.interval);
    eventTicks.clear();
    const std::uint32_t start = line.TickCount();  // the restarted timer has not ticked yet
    EXPECT_EQ(line.TimerPeriod(), c.period);
    ASSERT_TRUE(WaitUntil([&] { return eventTicks.size() >= 3; })) << c.interval;
    for (std::uint32_t i = 0; i < 3; ++i) {
      EXPECT_EQ(eventTicks[i], start + c.ticksPerEvent * (i + 1)) << c.interval << " #" << i;
    }
  }
  line.SetInterval(99);
  EXPECT_EQ(line.Interval(), 1500) << "below 100 is ignored";
  EXPECT_EQ(line.TimerPeriod(), 1000u);
}

TEST_F(StatusLine, AnErrorInATickIsReportedAndTheTimerKeepsTicking) {
  TNStatusLine& line = form_->NStatusLine1;
  int calls = 0;
  line.OnTimerRun = [&](TNStatusLine&) {
    if (++calls == 1) throw tk::Error("The clock went wrong");
  };
  DialogAnswerer answerer;
  line.SetInterval(200);
  ASSERT_TRUE(WaitUntil([&] { return calls >= 4; }));
  EXPECT_TRUE(line.TimerRunning());
  auto seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, tk::App().Title());
  EXPECT_EQ(seen[0].text, "The clock went wrong.");
}

TEST_F(StatusLine, ClockSettingsAndFontsTakeEffectAtTheRefreshTheyWaitFor) {
  TNStatusLine& line = form_->NStatusLine1;
  line.SetShowDate(false);  // refreshes at once
  EXPECT_EQ(line.ClockBox().width, TextWidth(line, "  " + line.ClockText() + "  "));
  line.SetShowTime(false);
  EXPECT_EQ(line.ClockText(), "");
  EXPECT_EQ(line.TextBox(), (BoxRect{3, 3, 299, 15})) << "between the two margins";
  line.SetShowDate(true);
  line.SetShowTime(true);

  const BoxRect clockBefore = line.ClockBox();
  line.SetFormatDate(TFormatDate::fdFull);
  line.SetFormatTime(TFormatTime::ftFull);
  line.SetSpace(10);
  EXPECT_EQ(line.ClockBox(), clockBefore) << "nothing moves before the next refresh";
  ExpectClock(line, DATE_LONGDATE, 0);
  EXPECT_EQ(line.ClockBox().width, TextWidth(line, "  " + line.ClockText() + "  "));
  EXPECT_EQ(line.TextBox().Right(), line.ClockBox().left - 10);

  const int widthBefore = line.ClockBox().width;
  tk::Font big({.height = -24});
  SendMessageA(line.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(big.Handle()), TRUE);
  EXPECT_EQ(line.ClockBox().width, widthBefore);
  line.RefreshClock();
  EXPECT_EQ(line.ClockBox().width, TextWidth(line, "  " + line.ClockText() + "  ", big.Handle()));
  EXPECT_GT(line.ClockBox().width, widthBefore);
  SendMessageA(line.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(line.OwnFont()->Handle()), 0);
}

TEST_F(StatusLine, ItPaintsARaisedLineWithLoweredBoxes) {
  TNStatusLine& line = form_->NStatusLine1;
  line.SetCaption("Paint");  // short: the right part of the text box stays clear
  const COLORREF face = RGB(0, 128, 128);
  line.SetColor(face);
  const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
  const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
  const BoxRect t = line.TextBox();
  const BoxRect c = line.ClockBox();
  struct Pixel {
    int x, y;
    COLORREF colour;
    const char* what;
  };
  const Pixel pixels[] = {
      {0, 0, light, "line: top-left"},      {150, 0, light, "line: top"},
      {0, 10, light, "line: left"},         {150, 20, dark, "line: bottom"},
      {304, 10, dark, "line: right"},       {1, 1, face, "line: margin"},
      {t.Right() + 2, 10, face, "line: gap between boxes"},
      {t.left, 10, dark, "text box: left"}, {t.left + 7, t.top, dark, "text box: top"},
      {t.Right() - 1, 10, light, "text box: right"},
      {t.left + 7, t.Bottom() - 1, light, "text box: bottom"},
      {t.Right() - 2, 10, face, "text box: inside"},
      {c.left, 10, dark, "clock box: left"}, {c.Right() - 1, 10, light, "clock box: right"},
  };
  Snapshot printed(line.Handle());
  for (const Pixel& p : pixels) EXPECT_EQ(printed.At(p.x, p.y), p.colour) << p.what;
  EXPECT_GT(printed.CountOther(t, face), 0) << "the caption is drawn";
  EXPECT_GT(printed.CountOther(c, face), 0) << "the clock is drawn";

  line.Repaint();  // the window itself paints the same
  tk::WindowDc window(line.Handle());
  for (const Pixel& p : pixels) EXPECT_EQ(GetPixel(window.Get(), p.x, p.y), p.colour) << p.what;
}

TEST_F(StatusLine, CreatingAndDestroyingOneGivesBackEveryHandle) {
  auto cycle = [&] {
    auto line = std::make_unique<TNStatusLine>(*form_, TNStatusLineArgs{.caption = "Cycle"});
    line->StartProgress(0, 10, true);
    line->SetInterval(1500);
    { Snapshot shot(line->Handle()); }
    PumpMessagesFor(50ms);
    line.reset();
    tk::App().SetHint(" nobody listens");
  };
  cycle();  // warm-up: the window class and what the system caches
  PumpMessagesFor(100ms);
  const tk::GuiObjectCounts before = tk::CountGuiObjects();
  for (int i = 0; i < 3; ++i) cycle();
  PumpMessagesFor(100ms);
  EXPECT_EQ(tk::CountGuiObjects(), before);
}

}  // namespace

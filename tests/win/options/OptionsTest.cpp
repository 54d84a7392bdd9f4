// The options dialog: Large Form and the colour boxes; the settings in the test prefix's real
// registry (first run, loading, spoiled values, Save Options); and its status line (305 × 21
// pixels, short time): clock, timer and Interval, progress, caption and hint.
#include <algorithm>
#include <array>
#include <map>

#include "options/SettingsStore.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;

using OptionsDialog = ProgramTest;

void ShowDialog() {
  Form2->Show();
  ASSERT_TRUE(WaitUntil([] { return GetActiveWindow() == Form2->Handle(); }));
}
// Left, top, width, height and the height of the font it really uses, of every control.
using Laid = std::vector<std::array<LONG, 5>>;
Laid Layout(const tk::Container& container, Laid laid = {}) {
  for (tk::Control* control : container.Children()) {
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(control->Handle(), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
    const tk::Bounds b = control->GetBounds();
    laid.push_back({b.left, b.top, b.width, b.height, font.lfHeight});
    if (auto* inner = dynamic_cast<tk::Container*>(control)) laid = Layout(*inner, std::move(laid));
  }
  return laid;
}

// Fonts scale by whole point sizes: -11 pixels is 8 points, 10 when large (-13); -12 is 9 points,
// 11 when large (-15). Back at the design size every control is within a pixel of its place.
TEST_F(OptionsDialog, LargeFormScalesBySixFifthsAndBackAndShowsTheDialogAgain) {
  ShowDialog();
  const auto design = Layout(*Form2);
  const std::pair place(Form2->Left(), Form2->Top());
  for (bool large : {true, false}) {
    Form2->CheckBox3.SetFocus();  // as the user toggles it: its hint in the status line
    tk::SetHint(Form2->CheckBox3.EffectiveHint());
    Form2->CheckBox3.SetChecked(large);
    EXPECT_EQ(std::tuple(Form2->ActiveControl(), Form2->NStatusLine1.Caption(),
                         std::pair(Form2->Left(), Form2->Top())),
              std::tuple(&Form2->Button1, std::string(" ") + TForm2::kCreditLine, place));
    const auto now = Layout(*Form2);
    ASSERT_EQ(now.size(), design.size());
    for (std::size_t i = 0; i < now.size(); ++i) {
      EXPECT_EQ(now[i][4], !large ? design[i][4] : design[i][4] == -11 ? -13 : -15) << i;
      for (std::size_t edge = 0; edge < 4 && !large; ++edge)
        EXPECT_NEAR(now[i][edge], design[i][edge], 1) << i;
    }
    EXPECT_EQ(
        std::tuple(Form2->ClientWidth(), Form2->ClientHeight(), Form2->Button1.GetBounds().left),
        large ? std::tuple(366, 334, 221) : std::tuple(305, 278, 184));  // 184 × 6/5 = 220.8
  }
}

// A real release of either mouse button over "Monochrome" or "Inverted Colors" turns the other
// one off, whatever the clicked box's new state; the space bar toggles a box and nothing else.
TEST_F(OptionsDialog, TheColourBoxesExcludeEachOtherOnAMouseReleaseOnly) {
  ShowDialog();
  tk::CheckBox &mono = Form2->CheckBox5, &inverted = Form2->CheckBox7;
  enum Gesture { kLeftClick, kRightClick, kSpace };
  using Boxes = std::pair<bool, bool>;  // Monochrome, Inverted Colors
  const std::tuple<Boxes, tk::CheckBox*, Gesture, Boxes> cases[] = {
      {{false, true}, &mono, kLeftClick, {true, false}},
      {{true, true}, &mono, kRightClick, {true, false}},
      {{true, false}, &inverted, kLeftClick, {false, true}},
      {{true, true}, &inverted, kRightClick, {false, true}},
      {{true, true}, &mono, kSpace, {false, true}}};
  for (const auto& [before, box, gesture, after] : cases) {
    mono.SetChecked(before.first);
    inverted.SetChecked(before.second);
    RECT r{};
    GetWindowRect(box->Handle(), &r);
    if (gesture == kSpace) box->SetFocus(), PressKey(VK_SPACE);
    if (gesture != kSpace) {
      ASSERT_TRUE(MoveMouseTo(r.left + 6, (r.top + r.bottom) / 2));
      SetMouseButton(gesture == kRightClick, true);
      SetMouseButton(gesture == kRightClick, false);
    }
    const Boxes expected = after;
    EXPECT_TRUE(WaitUntil([&] { return Boxes(mono.Checked(), inverted.Checked()) == expected; }))
        << box->Caption() << " " << gesture;
  }
}

using Settings = ProgramTest;

std::string Stored() {  // "name=value;" by stored name: a string's text, a DWORD's signed number
  std::string stored;
  for (const auto& [name, value] : ReadSettings()) {
    const std::string text(value.data.begin(), value.data.end());
    stored += name + "=" +
              (value.type == REG_SZ ? text.c_str() : std::to_string(std::int32_t(value.Dword()))) +
              ";";
  }
  return stored;
}

// The first run stores the defaults at start-up, the dialog centred on the primary monitor. Loaded,
// any non-zero value is on; with both orientations on, Portrait, set last, wins.
TEST_F(Settings, TheFirstRunStoresTheDefaultsLoadingAppliesEveryValueAndSavingWritesThemBack) {
  EndSplash();
  const auto centred = [](int screen, int size) {
    return std::to_string((GetSystemMetrics(screen) - size) / 2);
  };
  EXPECT_EQ(Stored(),
            "Centered=1;Clipboard=0;Date + Time=0;DefPrinter=Default Printer;Immediat Action=0;"
            "Inversed=0;Landscape=1;Mirrored=0;Monochrom=0;Portrait=0;ScaleBy=0;Stretched=0;"
            "WinPosLeft=" +
                centred(SM_CXSCREEN, Form2->Width()) +
                ";WinPosTop=" + centred(SM_CYSCREEN, Form2->Height()) + ";");
  StopProgram();
  SeedSavedSettings(100, 80);
  const std::pair<const char*, std::int32_t> seeds[] = {
      {"Stretched", 2},  {"Mirrored", -1}, {"Monochrom", 1},       {"Inversed", 1},
      {"Landscape", 1},  {"Portrait", 1},  {"Immediat action", 1}, {"WinPosLeft", -20},
      {"WinPosTop", 40}, {"ScaleBy", 1}};
  for (auto [name, value] : seeds) SeedDword(name, std::uint32_t(value));
  StartProgram();
  TForm2& d = *Form2;
  EXPECT_EQ(std::vector<bool>({d.CheckBox1.Checked(), d.CheckBox2.Checked(), d.CheckBox8.Checked(),
                               d.CheckBox5.Checked(), d.CheckBox7.Checked(),
                               d.RadioButton2.Checked(), d.RadioButton1.Checked(),
                               d.CheckBox6.Checked(), Form1->immediat.Checked()}),
            std::vector<bool>({false, true, true, true, true, true, false, true, true}));
  EXPECT_EQ(std::tuple(d.Left(), d.Top(), d.ClientWidth(), d.ClientHeight()),
            std::tuple(-20, 40, 366, 334));
  EXPECT_EQ(Answered([] { Form2->Button5Click(); }),
            Strings{"Information: Settings saved successfully"});
  EXPECT_EQ(Stored(),
            "Centered=0;Clipboard=0;Date + Time=0;DefPrinter=Default Printer;Immediat Action=1;"
            "Inversed=1;Landscape=0;Mirrored=1;Monochrom=1;Portrait=1;ScaleBy=1;Stretched=1;"
            "WinPosLeft=-20;WinPosTop=40;");
}

// Each value of a wrong type, too long or missing: the message names it (a string too long or
// missing is no error), and the stored values stay as they were. Loading stops at a bad value:
// the values before it in the load order are applied, the ones after it are not.
TEST_F(Settings, ASpoiledValueIsReportedByNameLeavesTheStoreAsItWasAndTheHotkeysStillCapture) {
  StopProgram();
  // Seeded away from the design, and how each shows once applied; the position pair is taken
  // when its second value is read. Immediat Action stays off: the hotkey would print at once.
  const std::pair<std::string, bool (*)()> applied[] = {
      {"Centered", [] { return !Form2->CheckBox1.Checked(); }},
      {"Stretched", [] { return Form2->CheckBox2.Checked(); }},
      {"Date + Time", [] { return Form2->CheckBox4.Checked(); }},
      {"Monochrom", [] { return Form2->CheckBox5.Checked(); }},
      {"Mirrored", [] { return Form2->CheckBox8.Checked(); }},
      {"Landscape", [] { return !Form2->RadioButton1.Checked(); }},
      {"Portrait", [] { return Form2->RadioButton2.Checked(); }},
      {"WinPosTop", [] { return std::pair(Form2->Left(), Form2->Top()) == std::pair(100, 80); }},
      {"ScaleBy", [] { return Form2->CheckBox3.Checked(); }},
      {"Inversed", [] { return Form2->CheckBox7.Checked(); }},
      {"Clipboard", [] { return Form2->CheckBox9.Checked(); }}};
  const auto loadPlace = [](const std::string& name) {
    return std::size_t(std::find(std::begin(kSettingNames), std::end(kSettingNames), name) -
                       std::begin(kSettingNames));
  };
  for (const std::string name : kSettingNames) {
    const bool text = name == "DefPrinter";
    const Strings failed =
        text ? Strings{} : Strings{"win_tests: Failed to get data for '" + name + "'."};
    const std::pair<std::function<void()>, Strings> spoils[] = {
        {[&] {
           SeedValue(name, text ? REG_DWORD : REG_SZ, {'1', 0});
         },
         {"win_tests: Invalid data type for '" + name + "'."}},
        {[&] { SeedValue(name, text ? REG_SZ : REG_DWORD, std::vector<std::uint8_t>(8, 'x')); },
         failed},
        {[&] { DeleteValue(name); }, failed}};
    for (const auto& [spoil, messages] : spoils) {
      SeedSavedSettings(100, 80);  // Centered and Landscape off
      for (const char* on : {"Stretched", "Date + Time", "Monochrom", "Mirrored", "Portrait",
                             "ScaleBy", "Inversed", "Clipboard"}) {
        SeedDword(on, 1);
      }
      spoil();
      const auto stored = ReadSettings();
      EXPECT_EQ(Answered([&] { StartProgram(); }), messages) << name;
      EXPECT_EQ(ReadSettings(), stored) << name;
      const std::size_t failedAt = messages.empty() ? std::size(kSettingNames) : loadPlace(name);
      for (const auto& [value, shows] : applied) {
        EXPECT_EQ(shows(), loadPlace(value) < failedAt) << value << ", " << name << " spoiled";
      }
      EndSplash();
      PressPrintScreen();
      EXPECT_TRUE(WaitUntil([] { return Form2->Visible(); })) << name << ": the hotkeys capture";
      StopProgram();
    }
  }
}

// Under a volatile parent the lasting key cannot be made: the first value is named, no success.
TEST_F(Settings, SavingWhereTheKeyCannotBeWrittenReportsTheFirstValue) {
  DeleteSettings();
  HKEY parent = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Osmerdane\\Vindelor\\2.0", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(parent);
  EXPECT_EQ(Answered([] { SendMessageA(Form2->Button5.Handle(), BM_CLICK, 0, 0); }),
            Strings{"win_tests: Failed to set data for 'Centered'."});
  EXPECT_TRUE(ReadSettings().empty());
  EXPECT_TRUE(Form2->Enabled());
}

// The check boxes, radio buttons and printer list by caption as their state is asked for, each
// with the number of values the settings key holds at that moment.
std::string g_asked;
std::map<HWND, WNDPROC> g_askedProcedures;

LRESULT CALLBACK RecordAsking(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BM_GETCHECK || message == CB_GETCURSEL) {
    char caption[64]{};
    GetWindowTextA(window, caption, sizeof(caption));
    g_asked += std::string(caption) + "=" + std::to_string(ReadSettings().size()) + ";";
  }
  return CallWindowProcA(g_askedProcedures.at(window), window, message, wParam, lParam);
}

// Saving into an empty key asks each control for its state just before writing its value: the
// values stored by then give its place in the write order (the position pair takes 10 and 11).
TEST_F(Settings, SavingWritesTheValuesInTheWriteOrderUnderTheSavedNames) {
  DeleteSettings();
  TForm2& d = *Form2;
  g_asked.clear();
  for (tk::Control* control : std::initializer_list<tk::Control*>{
           &d.CheckBox1, &d.CheckBox2, &d.CheckBox3, &d.CheckBox4, &d.CheckBox5, &d.CheckBox6,
           &d.CheckBox7, &d.CheckBox8, &d.CheckBox9, &d.RadioButton1, &d.RadioButton2,
           &d.ComboBox1}) {
    g_askedProcedures[control->Handle()] = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
        control->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&RecordAsking)));
  }
  vindelor::WriteSettings(d);
  for (auto [window, procedure] : g_askedProcedures) {
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
  }
  g_askedProcedures.clear();
  EXPECT_EQ(g_asked,
            "Centered=0;Stretched=1;Date +Time=2;Monochrome=3;Mirrored Image=4;Landscape=5;"
            "Portrait=6;Immediate Action=7;Inverted Colors=8;Copy to Clipboard=9;Large Form=12;"
            "Default Printer=13;");
  std::string names;
  for (const auto& [name, value] : ReadSettings()) names += name + ";";
  EXPECT_EQ(names,
            "Centered;Clipboard;Date + Time;DefPrinter;Immediat action;Inversed;Landscape;"
            "Mirrored;Monochrom;Portrait;ScaleBy;Stretched;WinPosLeft;WinPosTop;");
}

using StatusLine = ProgramTest;
using enum TFormatDate;
using enum TFormatTime;

TNStatusLine& Line() { return Form2->NStatusLine1; }

using Clock = std::tuple<bool, bool, TFormatDate, TFormatTime>;  // date, time and their formats

// Runs a refresh between two readings of the time in the system's formats (a minute turning over
// still matches): the clock is as wide as its text with two spaces either side, at the right
// margin, the text box 5 pixels before it (at the right margin with no clock).
void ExpectClockAfter(const std::function<void()>& refresh, Clock clock) {
  const auto now = [clock] {
    const auto [showDate, showTime, dateFormat, timeFormat] = clock;
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char date[128]{}, time[128]{};
    GetDateFormatA(LOCALE_USER_DEFAULT, dateFormat == fdShort ? DATE_SHORTDATE : DATE_LONGDATE, &t,
                   nullptr, date, sizeof(date));
    GetTimeFormatA(LOCALE_USER_DEFAULT, timeFormat == ftShort ? TIME_NOSECONDS : 0, &t, nullptr,
                   time, sizeof(time));
    return std::string(showDate ? date : "") + (showDate && showTime ? " " : "") +
           (showTime ? time : "");
  };
  const std::string before = now();
  refresh();
  const std::string shown = Line().ClockText(), after = now();
  EXPECT_TRUE(shown == before || shown == after) << shown << " for " << after;
  SIZE extent{};
  tk::WindowDc dc(Line().Handle());
  tk::SelectGuard font(dc.Get(),
                       reinterpret_cast<HFONT>(SendMessageA(Line().Handle(), WM_GETFONT, 0, 0)));
  const std::string sample = shown.empty() ? "" : "  " + shown + "  ";
  GetTextExtentPoint32A(dc.Get(), sample.c_str(), static_cast<int>(sample.size()), &extent);
  const vindelor::BoxRect &box = Line().ClockBox(), &text = Line().TextBox();
  EXPECT_EQ(std::tuple(box.Right(), box.width, text.Right(), box.height, text.height),
            std::tuple(302, extent.cx, box.width > 0 ? box.left - 5 : 302, 15, 15));
}

// A format written between ticks shows from the next tick on; OnTimerRun comes after the refresh.
TEST_F(StatusLine, ClockShowsTheSystemsTimeAsSwitchedEachTickRefreshesItAndIntervalSetsTheTimer) {
  ExpectClockAfter([] { Line().SetShowDate(true); }, {true, true, fdShort, ftShort});
  const Clock clocks[] = {{true, true, fdShort, ftFull},  {true, true, fdFull, ftFull},
                          {false, true, fdFull, ftShort}, {false, false, fdShort, ftShort},
                          {true, false, fdFull, ftFull},  {true, true, fdShort, ftShort}};
  for (int row = 0; const Clock& c : clocks) {
    SCOPED_TRACE(++row);
    Line().SetFormatDate(std::get<2>(c));
    Line().SetFormatTime(std::get<3>(c));
    Line().SetShowDate(std::get<0>(c));
    ExpectClockAfter([&] { Line().SetShowTime(std::get<1>(c)); }, c);
  }
  Strings seen;
  Line().OnTimerRun = [&](TNStatusLine& sender) {
    seen.push_back(&sender == &Line() ? sender.ClockText() : "another sender");
  };
  const std::string shortDate = Line().ClockText();
  Line().SetFormatDate(fdFull);
  EXPECT_EQ(Line().ClockText(), shortDate) << "not before the tick";
  ExpectClockAfter([&] { ASSERT_TRUE(WaitUntil([&] { return !seen.empty(); })); },
                   {true, true, fdFull, ftShort});
  EXPECT_EQ(seen.front(), Line().ClockText());
  // Interval: below 100 ignored; up to 1000 the timer's period; above, the timer ticks every second
  // and OnTimerRun comes every Interval/1000 ticks, halves rounding up.
  for (auto [interval, kept, period] :
       {std::tuple(99, 1000, 1000u), {100, 100, 100u}, {1500, 1500, 1000u}}) {
    Line().SetInterval(std::uint16_t(interval));
    EXPECT_EQ(std::tuple(Line().Interval(), Line().TimerPeriod(), Line().TimerRunning()),
              std::tuple(kept, period, true))
        << interval;
  }
  std::vector<std::uint32_t> raisedOn;
  Line().OnTimerRun = [&](TNStatusLine& sender) { raisedOn.push_back(sender.TickCount()); };
  const std::uint32_t start = Line().TickCount();
  ASSERT_TRUE(WaitUntil([&] { return Line().TickCount() >= start + 3; }));
  EXPECT_EQ(raisedOn, std::vector<std::uint32_t>{start + 2});
  Line().OnTimerRun = nullptr;
}

// Minimum first, then maximum: the step that fails changes nothing, the one before it stays. The
// caption shows after a space, the application's hint as it is, whichever came last.
TEST_F(StatusLine, ProgressShowsBetweenTextAndClockWithinItsRangeAndTheTextBoxCaptionOrHint) {
  const vindelor::BoxRect idleText = Line().TextBox();
  Line().StartProgress(0, 10, true);
  const vindelor::BoxRect& progress = Line().ProgressBox();
  EXPECT_EQ(std::tuple(Line().ProgressShown(), progress.width, progress.height,
                       Line().TextBox().Right() + 5, progress.Right() + 5),
            std::tuple(true, 100, 15, progress.left, Line().ClockBox().left));
  Line().AdvanceProgress(4);
  Line().AdvanceProgress(8);
  EXPECT_EQ(Line().ProgressPosition(), 10);
  Line().StartProgress(0, 10, false);
  EXPECT_EQ(std::tuple(Line().ProgressShown(), Line().ProgressPosition(), progress.width,
                       Line().TextBox()),
            std::tuple(false, 0, 0, idleText));
  // Minimum and maximum asked for, the error, then minimum and maximum kept.
  using Range = std::tuple<std::int32_t, std::int32_t, std::string, std::int32_t, std::int32_t>;
  const Range ranges[] = {{20, 30, "Min", 0, 10},   {5, 2, "Max", 5, 10},
                          {-1, 10, "Min", 5, 10},   {0, 65536, "Max", 0, 10},
                          {3, 65535, "", 3, 65535}, {65535, 65535, "", 65535, 65535}};
  for (const auto& [min, max, error, minAfter, maxAfter] : ranges) {
    std::string thrown;
    try {
      Line().StartProgress(min, max, true);
    } catch (const tk::Error& e) {
      thrown = e.what();
    }
    EXPECT_EQ(std::tuple(thrown, Line().ProgressMin(), Line().ProgressMax()),
              std::tuple(error.empty() ? "" : error + " property out of range", minAfter, maxAfter))
        << min << ".." << max;
  }
  EXPECT_EQ(Line().Caption(), std::string(" ") + TForm2::kCreditLine);
  const std::tuple<bool, const char*, const char*> texts[] = {{false, "Printing", " Printing"},
                                                              {false, "", " "},
                                                              {true, "Print", "Print"},
                                                              {true, "", ""},
                                                              {false, "Done", " Done"}};
  for (auto [hint, text, shown] : texts) {
    hint ? tk::SetHint(text) : Line().SetCaption(text);
    EXPECT_EQ(Line().Caption(), shown) << text;
  }
}

}  // namespace

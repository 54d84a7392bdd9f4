// The credits form's tray icon component with the shell's side recorded: what each change asks
// of the notification area, and what each mouse message the shell reports for the icon raises.
#include <cstring>
#include <memory>
#include <optional>

#include "components/WTaskBar/WTaskBar.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Menu.h"

namespace {

using namespace testing_support;

std::vector<std::pair<DWORD, NOTIFYICONDATAA>> requests;

BOOL WINAPI RecordRequest(DWORD message, PNOTIFYICONDATAA record) {
  requests.emplace_back(message, *record);
  return TRUE;
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {  // ends this thread's menu loop
  KillTimer(nullptr, id);
  EndMenu();
}

class TrayComponent : public ProgramTest {
 protected:
  void SetUp() override {
    requests.clear();
    shellNotify_ = std::exchange(TCustomWinTaskbar::shellNotify, &RecordRequest);
    ProgramTest::SetUp();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    TCustomWinTaskbar::shellNotify = shellNotify_;
  }
  static TWinTaskbar& Tray() { return Form1->WinTaskbar1; }
  // The requests sent since the last call; every record is the same but for icon and tip.
  static std::vector<DWORD> Sent() {
    std::vector<DWORD> sent;
    for (const auto& [message, r] : requests) {
      sent.push_back(message);
      EXPECT_EQ(std::tuple(r.cbSize, r.hWnd, r.uID, r.uFlags, r.uCallbackMessage),
                std::tuple(DWORD{NOTIFYICONDATAA_V1_SIZE}, Tray().CallbackWindow(), 0u,
                           UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP}, kTrayCallbackMessage));
    }
    requests.clear();
    return sent;
  }
  static void Report(UINT mouseMessage) {
    SendMessageA(Tray().CallbackWindow(), kTrayCallbackMessage, 0,
                 static_cast<LPARAM>(mouseMessage));
  }

  TCustomWinTaskbar::ShellNotify shellNotify_ = nullptr;
};

// Start-up writes the hint and the picture while ShowIcon is still false: two deletes of an absent
// entry, then the one add. Destruction always ends with a delete.
TEST_F(TrayComponent, EveryChangeAddsModifiesOrDeletesTheEntryWithTheTipCutTo63Characters) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-+*/";
  const std::string umlaut = std::string(62, 'x') + "\xC3\xA4";  // the ä would end at byte 64
  const HICON program = tk::App().Icon();
  const auto recreateTaskbar = [] {
    SendMessageA(Tray().CallbackWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  };
  struct Step {
    const char* what;
    std::function<void()> change;
    std::vector<DWORD> sent;
    std::optional<std::string> tip = {};  // of the last request; none: the hint
  };
  const Step steps[] = {
      {"start-up", [] {}, {NIM_DELETE, NIM_DELETE, NIM_ADD}, "Vindelor\xC2\xAE V2.0"},
      {"same hint", [] { Tray().SetHint(Tray().Hint()); }, {}},
      {"new hint", [] { Tray().SetHint("Other"); }, {NIM_MODIFY}},
      {"long hint", [&] { Tray().SetHint(letters); }, {NIM_MODIFY}, letters.substr(0, 63)},
      {"whole characters", [&] { Tray().SetHint(umlaut); }, {NIM_MODIFY}, umlaut.substr(0, 62)},
      {"short hint", [] { Tray().SetHint("Short"); }, {NIM_MODIFY}},
      {"new picture", [] { Tray().SetIcon(LoadIcon(nullptr, IDI_WARNING)); }, {NIM_MODIFY}},
      {"taskbar recreated", recreateTaskbar, {NIM_ADD}},
      {"hidden", [] { Tray().SetShowIcon(false); }, {NIM_DELETE}},
      {"taskbar recreated, hidden", recreateTaskbar, {}},
      {"picture while hidden", [&] { Tray().SetIcon(program); }, {NIM_DELETE}},
      {"shown anew", [] { Tray().SetShowIcon(true); }, {NIM_ADD}},
      {"shown again", [] { Tray().SetShowIcon(true); }, {NIM_MODIFY}},
      {"empty picture", [] { Tray().SetIcon(nullptr); }, {NIM_DELETE}},
      {"shown, no picture", [] { Tray().SetShowIcon(true); }, {NIM_DELETE}},
      {"taskbar recreated, no picture", recreateTaskbar, {}},
      {"picture back", [&] { Tray().SetIcon(program); }, {NIM_ADD}},
  };
  for (const Step& step : steps) {
    step.change();
    const auto seen = requests;
    EXPECT_EQ(Sent(), step.sent) << step.what;
    if (seen.empty()) continue;
    const auto& [message, last] = seen.back();
    const HICON shown = message == NIM_DELETE ? nullptr : Tray().Icon().Handle();
    EXPECT_TRUE(last.hIcon == shown && (message == NIM_DELETE || shown)) << step.what;
    EXPECT_EQ(std::string(last.szTip, strnlen(last.szTip, 64)), step.tip.value_or(Tray().Hint()))
        << step.what;
  }
  StopProgram();
  ASSERT_EQ(requests.size(), 1u) << "destroyed";
  EXPECT_TRUE(requests[0].first == NIM_DELETE && !requests[0].second.hIcon);
}

// The shell reports a double click as down, up, double click, up.
TEST_F(TrayComponent, ReleasesClickButTheOneAfterADoubleClickDoesNot) {
  struct Gesture {
    const char* what;
    bool withDoubleClick;
    std::vector<UINT> reported;
    int clicks, doubleClicks;
  };
  const std::vector<UINT> doubleClick = {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK,
                                         WM_LBUTTONUP};
  const Gesture gestures[] = {
      {"click", true, {WM_LBUTTONDOWN, WM_LBUTTONUP}, 1, 0},
      {"double click", true, doubleClick, 1, 1},
      {"then a click", true, {WM_LBUTTONDOWN, WM_LBUTTONUP}, 1, 0},
      {"no OnDblClick", false, doubleClick, 2, 0},
      {"middle double click", true, {WM_MBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONUP}, 1, 1},
      {"other buttons", true, {WM_MOUSEMOVE, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}, 0, 0},
  };
  for (const Gesture& gesture : gestures) {
    int clicks = 0, doubleClicks = 0;
    Tray().OnClick = [&] { ++clicks; };
    Tray().OnDblClick = nullptr;
    if (gesture.withDoubleClick) Tray().OnDblClick = [&] { ++doubleClicks; };
    for (UINT message : gesture.reported) Report(message);
    EXPECT_EQ(std::pair(clicks, doubleClicks), std::pair(gesture.clicks, gesture.doubleClicks))
        << gesture.what;
  }
}

TEST_F(TrayComponent, RightPressOpensTheMenuAndAMenuDestroyedWhileAttachedIsForgotten) {
  int popups = 0;
  const auto count = [&popups] {
    ++popups;
    SetTimer(nullptr, 0, 50, &CloseMenu);
  };
  ASSERT_EQ(Tray().PopUpMenu(), &Form1->PopupMenu1);
  Form1->PopupMenu1.OnPopup = count;
  for (UINT message :
       std::vector<UINT>{WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN, WM_MBUTTONDOWN})
    Report(message);
  EXPECT_EQ(popups, 1) << "the right press alone opens the menu";

  auto menu = std::make_unique<tk::PopupMenu>();
  menu->OnPopup = count;
  Tray().SetPopUpMenu(menu.get());
  Report(WM_RBUTTONDOWN);
  EXPECT_EQ(popups, 2);
  menu.reset();
  ASSERT_EQ(Tray().PopUpMenu(), nullptr);
  Report(WM_RBUTTONDOWN);
  EXPECT_EQ(popups, 2);
  EXPECT_TRUE(FindTopLevelWindows({.className = "#32768", .visibleOnly = true}).empty());
}

}  // namespace

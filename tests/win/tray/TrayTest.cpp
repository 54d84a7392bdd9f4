// The tray commands in-process, and the tray icon component with the shell's side recorded: what
// each change asks of the notification area, what each reported mouse message raises; and what
// wakes the resident program while it waits.
#include <cstring>
#include <map>
#include <set>

#include "components/WTaskBar/WTaskBar.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Menu.h"

namespace {

using namespace testing_support;
using Tray = ProgramTest;

// A key typed after the splash to the menu's owner leaves a suspended program disarmed (in-process:
// Wine's menu loop swallows the Enter that chooses an item).
TEST_F(Tray, SuspendHoldsAgainstTheSplashsEndAndAKeyTypedAfterIt) {
  Form1->SuspendClick();
  EndSplash();
  EXPECT_TRUE(vindelor::Shared().armed) << "the splash arms anyway";
  Form1->SuspendClick();
  Form1->SuspendClick();
  SendMessageA(Form1->Handle(), WM_CHAR, 'a', 1);
  EXPECT_FALSE(vindelor::Shared().armed);
  Form1->immediat.SetChecked(true);
  EXPECT_FALSE(Form2->CheckBox6.Checked()) << "the menu's check mark alone runs nothing";
}

// The messages this thread took from its queue while the hook was set: window and message.
std::vector<std::pair<HWND, UINT>> retrieved;
LRESULT CALLBACK RecordRetrieved(int code, WPARAM removal, LPARAM message) {
  if (code == HC_ACTION && removal == PM_REMOVE) {
    const auto& taken = *reinterpret_cast<const MSG*>(message);
    retrieved.emplace_back(taken.hwnd, taken.message);
  }
  return CallNextHookEx(nullptr, code, removal, message);
}
using UniqueHook = tk::UniqueHandle<HHOOK, &UnhookWindowsHookEx>;

using Resident = ProgramTest;

// Once the splash has ended, the waiting program is woken by its status line's clock alone, one
// timer message a tick: the splash's timer is off, nothing else ticks or is posted, and the hidden
// status line asks for no repaint. Shown, each tick repaints it again.
TEST_F(Resident, OnlyTheClockWakesTheWaitingProgramAndAHiddenClockAsksForNoRepaint) {
  TNStatusLine& line = Form2->NStatusLine1;
  EndSplash();
  EXPECT_FALSE(Form1->Timer1.Enabled());
  ASSERT_FALSE(Form1->Visible() || Form2->Visible());
  // One tick later, what the splash's end left in the queue is gone.
  const std::uint32_t settled = line.TickCount();
  ASSERT_TRUE(WaitUntil([&] { return line.TickCount() > settled; }));
  retrieved.clear();
  const std::uint32_t ticks = line.TickCount(), repaints = line.RepaintRequests();
  {
    const UniqueHook hook{
        SetWindowsHookExA(WH_GETMESSAGE, &RecordRetrieved, nullptr, GetCurrentThreadId())};
    ASSERT_TRUE(hook);
    ASSERT_TRUE(WaitUntil([&] { return line.TickCount() >= ticks + 3; }));
  }
  std::map<UINT, std::uint32_t> kinds;
  std::set<HWND> woken;
  for (const auto& [window, message] : retrieved) ++kinds[message], woken.insert(window);
  EXPECT_EQ(kinds, (std::map<UINT, std::uint32_t>{{WM_TIMER, line.TickCount() - ticks}}));
  EXPECT_EQ(woken.size(), 1u);
  EXPECT_FALSE(woken.contains(Form1->Timer1.Handle()));
  EXPECT_EQ(line.RepaintRequests(), repaints) << "hidden";
  Form2->Show();
  const std::uint32_t shown = line.TickCount(), shownRepaints = line.RepaintRequests();
  ASSERT_TRUE(WaitUntil([&] { return line.TickCount() >= shown + 2; }));
  EXPECT_GE(line.RepaintRequests(), shownRepaints + 2) << "shown";
  Form2->Hide();
}

std::vector<std::pair<DWORD, NOTIFYICONDATAA>> requests;

class TrayComponent : public ProgramTest {
 protected:
  void SetUp() override {
    requests.clear();
    shellNotify_ = std::exchange(TCustomWinTaskbar::shellNotify, [](DWORD message, auto record) {
      requests.emplace_back(message, *record);
      return TRUE;
    });
    ProgramTest::SetUp();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    TCustomWinTaskbar::shellNotify = shellNotify_;
  }
  static TWinTaskbar& Icon() { return Form1->WinTaskbar1; }
  static void Report(UINT mouse) {
    SendMessageA(Icon().CallbackWindow(), kTrayCallbackMessage, 0, static_cast<LPARAM>(mouse));
  }
  TCustomWinTaskbar::ShellNotify shellNotify_ = nullptr;
};

// Start-up writes the hint and the picture while ShowIcon is still false: two deletes of an absent
// entry, then the one add. Every record is the same but for icon and tip.
TEST_F(TrayComponent, EveryChangeAddsModifiesOrDeletesTheEntryWithTheTipCutTo63Characters) {
  const std::string letters = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-+*/";
  const std::string umlaut = std::string(62, 'x') + "\xC3\xA4";  // the ä would end at byte 64
  const HICON program = tk::App().Icon();
  const auto recreated = [] {
    SendMessageA(Icon().CallbackWindow(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  };
  struct Step {
    const char* what;
    std::function<void()> change;
    std::vector<DWORD> sent;
    std::string tip = {};  // of the last request; empty: the hint
  };
  const Step steps[] = {
      {"start-up", [] {}, {NIM_DELETE, NIM_DELETE, NIM_ADD}, "Vindelor\xC2\xAE V2.0"},
      {"same hint", [] { Icon().SetHint(Icon().Hint()); }, {}},
      {"new hint", [] { Icon().SetHint("Other"); }, {NIM_MODIFY}},
      {"long hint", [&] { Icon().SetHint(letters); }, {NIM_MODIFY}, letters.substr(0, 63)},
      {"whole characters", [&] { Icon().SetHint(umlaut); }, {NIM_MODIFY}, umlaut.substr(0, 62)},
      {"short hint", [] { Icon().SetHint("Short"); }, {NIM_MODIFY}},
      {"new picture", [] { Icon().SetIcon(LoadIcon(nullptr, IDI_WARNING)); }, {NIM_MODIFY}},
      {"taskbar recreated", recreated, {NIM_ADD}},
      {"hidden", [] { Icon().SetShowIcon(false); }, {NIM_DELETE}},
      {"taskbar recreated, hidden", recreated, {}},
      {"picture while hidden", [&] { Icon().SetIcon(program); }, {NIM_DELETE}},
      {"shown anew", [] { Icon().SetShowIcon(true); }, {NIM_ADD}},
      {"shown again", [] { Icon().SetShowIcon(true); }, {NIM_MODIFY}},
      {"empty picture", [] { Icon().SetIcon(nullptr); }, {NIM_DELETE}},
      {"shown, no picture", [] { Icon().SetShowIcon(true); }, {NIM_DELETE}},
      {"taskbar recreated, no picture", recreated, {}},
      {"picture back", [&] { Icon().SetIcon(program); }, {NIM_ADD}},
  };
  for (const auto& [what, change, sent, tip] : steps) {
    change();
    std::vector<DWORD> messages;
    for (const auto& [message, r] : requests) {
      messages.push_back(message);
      EXPECT_EQ(std::tuple(r.cbSize, r.hWnd, r.uID, r.uFlags, r.uCallbackMessage),
                std::tuple(DWORD{NOTIFYICONDATAA_V1_SIZE}, Icon().CallbackWindow(), 0u,
                           UINT{NIF_MESSAGE | NIF_ICON | NIF_TIP}, kTrayCallbackMessage));
    }
    EXPECT_EQ(messages, sent) << what;
    if (requests.empty()) continue;
    const auto& [message, last] = requests.back();
    const HICON shown = message == NIM_DELETE ? nullptr : Icon().Icon().Handle();
    EXPECT_TRUE(last.hIcon == shown && (message == NIM_DELETE || shown)) << what;
    EXPECT_EQ(std::string(last.szTip, strnlen(last.szTip, 64)), tip.empty() ? Icon().Hint() : tip)
        << what;
    requests.clear();
  }
  StopProgram();
  ASSERT_EQ(requests.size(), 1u) << "destroyed";
  EXPECT_TRUE(requests[0].first == NIM_DELETE && !requests[0].second.hIcon);
}

// The shell reports a double click as down, up, double click, up.
TEST_F(TrayComponent, ReleasesClickButTheOneAfterADoubleClickDoesNot) {
  const std::vector<UINT> down{WM_LBUTTONDOWN, WM_LBUTTONUP},
      twice{WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP};
  // Reported messages, whether OnDblClick is set, then the clicks and double clicks raised.
  const std::tuple<std::vector<UINT>, bool, int, int> gestures[] = {
      {down, true, 1, 0},
      {twice, true, 1, 1},
      {down, true, 1, 0},
      {twice, false, 2, 0},
      {{WM_MBUTTONDBLCLK, WM_LBUTTONUP, WM_LBUTTONUP}, true, 1, 1},
      {{WM_MOUSEMOVE, WM_RBUTTONUP, WM_MBUTTONDOWN, WM_MBUTTONUP}, true, 0, 0},
  };
  for (int row = 0; const auto& [reported, withDoubleClick, clicks, doubleClicks] : gestures) {
    SCOPED_TRACE(row++);
    std::pair raised(0, 0);
    Icon().OnClick = [&] { ++raised.first; };
    Icon().OnDblClick = nullptr;
    if (withDoubleClick) Icon().OnDblClick = [&] { ++raised.second; };
    for (UINT message : reported) Report(message);
    EXPECT_EQ(raised, std::pair(clicks, doubleClicks));
  }
}

TEST_F(TrayComponent, RightPressOpensTheMenuAndAMenuDestroyedWhileAttachedIsForgotten) {
  int popups = 0;
  const auto count = [&popups] {
    ++popups;  // and the menu loop ends soon after
    SetTimer(nullptr, 0, 50,
             [](HWND, UINT, UINT_PTR id, DWORD) { KillTimer(nullptr, id), EndMenu(); });
  };
  ASSERT_EQ(Icon().PopUpMenu(), &Form1->PopupMenu1);
  Form1->PopupMenu1.OnPopup = count;
  for (UINT message :
       {UINT{WM_RBUTTONDOWN}, UINT{WM_RBUTTONUP}, UINT{WM_LBUTTONDOWN}, UINT{WM_MBUTTONDOWN}})
    Report(message);
  EXPECT_EQ(popups, 1) << "the right press alone opens the menu";
  auto menu = std::make_unique<tk::PopupMenu>();
  menu->OnPopup = count;
  Icon().SetPopUpMenu(menu.get());
  Report(WM_RBUTTONDOWN);
  menu.reset();
  ASSERT_EQ(Icon().PopUpMenu(), nullptr);
  Report(WM_RBUTTONDOWN);
  EXPECT_EQ(popups, 2);
  EXPECT_TRUE(FindTopLevelWindows({.className = "#32768", .visibleOnly = true}).empty());
}

}  // namespace

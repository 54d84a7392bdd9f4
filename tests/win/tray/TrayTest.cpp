// The tray icon component and the tray commands in-process. What reaches the shell is seen
// through a recorder in its place; what a user sees of it is tested on the real program.
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;

std::string g_log;  // requests and events since the last look; the shell refuses every add
NOTIFYICONDATAA g_record{};
BOOL WINAPI RecordRequest(DWORD request, PNOTIFYICONDATAA record) {
  g_log += request == NIM_ADD ? "add " : request == NIM_MODIFY ? "modify " : "delete ";
  g_record = *record;
  return request != NIM_ADD;
}
std::string TakeLog() { return std::exchange(g_log, {}); }

class Tray : public ProgramTest {
  void SetUp() override {
    TCustomWinTaskbar::shellNotify = &RecordRequest;
    TakeLog();
    ProgramTest::SetUp();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    TCustomWinTaskbar::shellNotify = &Shell_NotifyIconA;
  }
};

TEST_F(Tray, TheComponentFollowsItsRulesStepByStep) {
  std::optional<TWinTaskbar> tray(std::in_place, *Form1);
  TakeLog();
  tray->OnClick = [] { g_log += "click "; };
  const auto send = [&](UINT message, LPARAM lParam) {
    return [&tray, message, lParam] { SendMessageA(tray->CallbackWindow(), message, 0, lParam); };
  };
  const auto taskbarCreated = send(RegisterWindowMessageA("TaskbarCreated"), 0);
  const auto up = send(kTrayCallbackMessage, WM_LBUTTONUP);
  const auto doubleClick = [&] {
    up();
    send(kTrayCallbackMessage, WM_LBUTTONDBLCLK)();
    up();
  };
  const std::pair<std::function<void()>, const char*> steps[] = {
      {[&] { tray->SetHint("Tip"); }, "delete "},  // nothing shown yet
      {[&] { tray->SetIcon(tk::App().Icon()); }, "delete "},
      {[&] { tray->SetShowIcon(true); }, "add "},  // refused
      {[&] { tray->SetHint(std::string(70, 'x')); }, "modify "},
      {[&] { tray->SetIcon(nullptr); }, "delete "},
      {taskbarCreated, ""},
      {[&] { tray->SetIcon(tk::App().Icon()); }, "add "},
      {taskbarCreated, "add "},
      {up, "click "},
      {doubleClick, "click click "},
      {[&] { tray->OnDblClick = [] { g_log += "double "; }; }, ""},
      {doubleClick, "click double "},
      {[&] {
         tk::PopupMenu menu;
         tray->SetPopUpMenu(&menu);
       },
       ""},
      {send(kTrayCallbackMessage, WM_RBUTTONDOWN), ""},  // the menu went: nothing opens
      {[&] { tray->SetShowIcon(false); }, "delete "},
      {[&] { tray.reset(); }, "delete "},
  };
  for (std::size_t step = 0; step < std::size(steps); ++step) {
    steps[step].first();
    EXPECT_EQ(TakeLog(), steps[step].second) << "step " << step;
  }
  EXPECT_EQ(std::pair(std::string(g_record.szTip), g_record.cbSize),
            std::pair(std::string(63, 'x'), DWORD{NOTIFYICONDATAA_V1_SIZE}));
}

// A key typed after the splash, while the menu's owner has the focus (Wine's menu loop swallows
// the Enter that chooses an item, so this runs in-process), leaves a suspended program disarmed.
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

}  // namespace

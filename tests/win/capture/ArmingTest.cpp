// Whether Print Screen captures, through the real handlers: each step of a session and the armed
// flag after it, presses that arrive while the dialog is open or while a capture waits for the
// screen to repaint, the drain of a Print Screen still held down, and Open's one capture that
// never prints.
#include "tests/support/HarnessAccess.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Monitors.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;
using Arming = ProgramTest;

// A press of Alt+Print Screen as the system reports a registered hotkey: were it handled, the
// capture would take the foreground window instead of the desktop.
void PostWindowHotkey() {
  PostMessageA(Form2->Handle(), WM_HOTKEY, static_cast<WPARAM>(vindelor::kSourceActiveWindow),
               MAKELPARAM(MOD_ALT, VK_SNAPSHOT));
}

bool CapturedTheDesktop() {
  return vindelor::Shared().captureSource == vindelor::kSourceDesktop &&
         vindelor::Shared().captureRect == tk::VirtualScreen();
}

TEST_F(Arming, EveryStepLeavesTheFlagAsTheRulesSayAndNoPressCountsWhileACaptureRuns) {
  const std::pair<const char*, std::function<void()>> steps[] = {
      {"created", [] {}},
      {"splash ended", [] { EndSplash(); }},
      {"capturing", [] {
         PostWindowHotkey();  // handled during the repaint wait
         CaptureDesktop();
         PostWindowHotkey();  // and while the dialog is open
         PumpMessagesFor(300ms);
         EXPECT_TRUE(CapturedTheDesktop());
       }},
      {"cancelled", [] { Form2->Button4Click(); }},
      {"suspended", [] { Form1->SuspendClick(); }},
      {"captured while suspended", [] { CaptureDesktop(); }},
      {"cancelled while suspended", [] { Form2->Button4Click(); }},
      {"closed while suspended", [] {
         CaptureDesktop();
         SendMessageA(Form2->Handle(), WM_CLOSE, 0, 0);
       }},
      {"resumed", [] { Form1->SuspendClick(); }},
  };
  const bool armed[] = {false, true, false, true, false, false, false, false, true};
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    steps[i].second();
    EXPECT_EQ(vindelor::Shared().armed, armed[i]) << steps[i].first;
  }
  EXPECT_FALSE(Form2->Visible());
}

// A Print Screen still down when the hotkeys come back on is waited out, so that its press
// cannot start a capture the moment they do.
TEST_F(Arming, TheKeyBufferIsClearedOnlyOncePrintScreenIsUp) {
  std::optional<HeldKey> printScreen(std::in_place, WORD{VK_SNAPSHOT});
  ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState(VK_SNAPSHOT) < 0; }));
  tk::Timer release(400, true);
  release.OnTimer = [&] { printScreen.reset(); };
  const auto started = std::chrono::steady_clock::now();
  Form1->ClearKeyBuffer();
  EXPECT_GE(std::chrono::steady_clock::now() - started, 350ms);
  EXPECT_FALSE(printScreen.has_value()) << "returned while the key was down";
}

// Queues: one. Open never prints, not even with Immediate Action, and the capture after it does.
TEST_F(Arming, OpenCapturesWithoutPrintingAndTheNextCapturePrintsWithImmediateAction) {
  EndSplash();
  Form1->immediatClick();
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();
  Form1->Open1Click();
  EXPECT_TRUE(Form2->Visible() && CapturedTheDesktop());
  PumpMessagesFor(500ms);
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  EXPECT_EQ(PageFiles("VindelorA").size(), pages);
  Form2->Button4Click();
  EXPECT_EQ(Answered([] { Form1->Desktop1Click(); }), Strings{});
  EXPECT_EQ(WaitForPages("VindelorA", pages + 1).size(), pages + 1) << "the next one prints";
  EXPECT_FALSE(Form2->Visible());
}

}  // namespace

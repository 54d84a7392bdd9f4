// Start-up, the hotkeys and shutdown in-process, where the timing rules a user cannot reach
// reliably from outside are tested.
#include "tests/support/GuiObjects.h"
#include "tests/support/Pictures.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;
using Program = ProgramTest;

// A key press dispatched inside the fourth tick ends the splash there; the tick then runs the
// same end steps once more, with the same result.
TEST_F(Program, AKeyPressInsideTheLastTickOfTheSplashEndsItOnce) {
  Form1->Show();
  for (int tick = 0; tick < 3; ++tick) Form1->Timer1Timer();
  PostMessageA(Form1->Handle(), WM_CHAR, 'x', 1);
  Form1->Timer1Timer();
  EXPECT_EQ(std::tuple(Form1->SplashTicks(), Form1->Visible(), Form1->Caption(), vindelor::Shared().armed),
            std::tuple(5, false, "", true));
}

TEST_F(Program, PressesWhileTheDialogIsOpenOrDuringTheCaptureWaitAreIgnored) {
  PatternWindow pattern({200, 150, 501, 353});
  EndSplash();
  PressPrintScreen();
  PressAltPrintScreen();  // arrives during the first capture's 200 ms wait
  ASSERT_TRUE(WaitUntil([] { return Form2->Visible(); }));
  PumpMessagesFor(600ms);
  EXPECT_EQ(vindelor::Shared().captureSource, vindelor::kSourceDesktop);
  SetPixel(Work().Surface(), 0, 0, RGB(1, 2, 3));
  PressPrintScreen();
  PressAltPrintScreen();
  PumpMessagesFor(600ms);
  EXPECT_EQ(std::tuple(WorkPixel(0, 0), Work().Width()),
            std::tuple(RGB(1, 2, 3), GetSystemMetrics(SM_CXSCREEN)));
}

TEST_F(Program, AltPrintScreenTakesTheForegroundWindowFrameIncludedUnclippedByTheScreen) {
  for (RECT bounds : {RECT{100, 120, 433, 342}, RECT{-80, -40, 300, 200}}) {
    PatternWindow pattern(bounds);
    EndSplash();
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern.Handle(); }));
    PressAltPrintScreen();
    ASSERT_TRUE(WaitUntil([] { return Form2->Visible(); }));
    const RECT r = pattern.WindowRect();
    EXPECT_EQ(vindelor::Shared().captureRect, (vindelor::CaptureRect{r.left, r.top, r.right, r.bottom}));
    EXPECT_EQ(std::tuple(Work().Width(), Work().Height()), std::tuple(r.right - r.left, r.bottom - r.top));
    Form2->Button4Click();
  }
}

TEST_F(Program, CancelWhilePrintScreenIsHeldReturnsOnlyAfterTheKeyIsReleased) {
  EndSplash();
  Form2->Show();
  vindelor::Shared().armed = false;  // the press must not capture
  SetKeyDown(VK_SNAPSHOT, true);
  ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState(VK_SNAPSHOT) < 0; }));
  tk::Timer release(300, true);
  release.OnTimer = [&] { release.SetEnabled(false); SetKeyDown(VK_SNAPSHOT, false); };
  const DWORD start = GetTickCount();
  Form2->Button4Click();
  EXPECT_GE(GetTickCount() - start, 250u);
  EXPECT_EQ(std::tuple(GetAsyncKeyState(VK_SNAPSHOT), Form2->Visible()), std::tuple(0, false));
}

// Start-up, a capture printed with every transform and copied to the clipboard, and shutdown.
TEST(GuiObjects, AProgramCycleGivesBackEveryGdiAndUserObject) {
  auto cycle = [] {
    DeleteSettings();
    vindelor::ResetSharedState();
    tk::Application app;
    vindelor::CreateForms(app);
    char key = ' ';
    Form1->FormKeyPress(key);
    for (tk::CheckBox* box : {&Form2->CheckBox5, &Form2->CheckBox7, &Form2->CheckBox8, &Form2->CheckBox9}) {
      box->SetChecked(true);
    }
    vindelor::Shared().captureSource = vindelor::kSourceDesktop;
    Form2->CaptureWindow();
    Form2->Button1Click();
  };
  cycle();  // the first cycle fills the system's caches (cached DCs, font mappings, printer data)
  const GuiObjectCounts before = CountGuiObjects();
  cycle();
  EXPECT_GT(before.gdi, 0);
  EXPECT_EQ(CountGuiObjects(), before);
}

}  // namespace

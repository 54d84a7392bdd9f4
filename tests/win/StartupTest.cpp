// Start-up order, the credits splash, shutdown, and the waits Delay and ClearKeyBuffer.
#include <gtest/gtest.h>

#include "tests/win/ProgramFixture.h"
#include "tests/support/GuiObjects.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;
using Startup = ProgramTest;

TEST_F(Startup, CreatesTheThreeFormsInOrderWithTheCreditsFormAsMainForm) {
  EXPECT_EQ(tk::App().MainForm(), Form1);
  ASSERT_NE(Form2, nullptr);
  ASSERT_NE(Form3, nullptr);
  EXPECT_EQ(GetWindow(Form1->Handle(), GW_OWNER), tk::App().Handle());
  EXPECT_FALSE(Form2->Visible());
  EXPECT_FALSE(Form3->Visible());
  EXPECT_FALSE(vindelor::Shared().armed);
  // The overlay, created last, has sized the work image to the screen.
  EXPECT_EQ(Work().Width(), GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(Work().Height(), GetSystemMetrics(SM_CYSCREEN));
  EXPECT_EQ(GetPixel(Work().SurfaceForReading(), 3, 3), RGB(255, 255, 255));
  // The dialog is centred by its outer size.
  EXPECT_EQ(Form2->Left(), (GetSystemMetrics(SM_CXSCREEN) - Form2->Width()) / 2);
  EXPECT_EQ(Form2->Top(), (GetSystemMetrics(SM_CYSCREEN) - Form2->Height()) / 2);
  EXPECT_EQ(tk::App().Title(), "win_tests") << "named after the program file";
}

TEST_F(Startup, TheDialogHoldsBothHotkeys) {
  // A second registration of a held hotkey fails; so both are held by the dialog's window.
  tk::Timer probe;
  EXPECT_FALSE(RegisterHotKey(probe.Handle(), 1, 0, VK_SNAPSHOT));
  EXPECT_FALSE(RegisterHotKey(probe.Handle(), 2, MOD_ALT, VK_SNAPSHOT));
  StopProgram();
  // Gone with the dialog's window at shutdown.
  tk::Application app;
  tk::Timer after;
  EXPECT_TRUE(RegisterHotKey(after.Handle(), 1, 0, VK_SNAPSHOT));
  UnregisterHotKey(after.Handle(), 1);
}

TEST_F(Startup, TheSplashShowsFiveTitlesThenHidesAndArms) {
  Form1->Show();
  std::vector<std::string> titles{Form1->Caption()};
  for (int tick = 0; tick < 5; ++tick) {
    Form1->Timer1Timer();
    titles.push_back(Form1->Caption());
  }
  ASSERT_EQ(titles.size(), 6u);
  EXPECT_EQ(titles[1], "                    For Win95 + NT 4.0");
  EXPECT_EQ(titles[4], "                        Version 2.0");
  EXPECT_EQ(titles[5], "");
  EXPECT_EQ(titles[2].rfind("        ", 0), 0u) << "credit line after 8 blanks";
  EXPECT_EQ(titles[3].rfind(std::string(21, ' '), 0), 0u) << "contact line after 21 blanks";
  EXPECT_FALSE(Form1->Visible());
  EXPECT_FALSE(IsWindowVisible(tk::App().Handle())) << "the taskbar button goes";
  EXPECT_FALSE(Form1->Timer1.Enabled());
  EXPECT_TRUE(vindelor::Shared().armed);
  EXPECT_EQ(Form1->SplashTicks(), 5);
}

TEST_F(Startup, AKeyPressEndsTheSplashAtOnceAlsoInsideTheLastTick) {
  Form1->Show();
  ASSERT_TRUE(WaitUntil([] { return GetFocus() == Form1->Handle(); }));
  PostMessageA(Form1->Handle(), WM_CHAR, 'x', 1);
  PumpMessagesFor(100ms);
  EXPECT_FALSE(Form1->Visible());
  EXPECT_EQ(Form1->Caption(), "");
  EXPECT_TRUE(vindelor::Shared().armed);

  // A key press dispatched inside the fourth tick ends the splash within it; the outer tick
  // then runs the same end steps once more, with the same result.
  StopProgram();
  StartProgram();
  Form1->Show();
  for (int tick = 0; tick < 3; ++tick) Form1->Timer1Timer();
  PostMessageA(Form1->Handle(), WM_CHAR, 'x', 1);
  Form1->Timer1Timer();
  EXPECT_EQ(Form1->SplashTicks(), 5);
  EXPECT_FALSE(Form1->Visible());
  EXPECT_TRUE(vindelor::Shared().armed);
}

TEST_F(Startup, ShutdownDestroysTheFormsLastCreatedFirstAndFreesTheImages) {
  std::vector<HWND> windows{Form1->Handle(), Form2->Handle(), Form3->Handle()};
  StopProgram();
  for (HWND window : windows) EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Form1, nullptr);
  EXPECT_EQ(Form2, nullptr);
  EXPECT_EQ(Form3, nullptr);
  EXPECT_EQ(vindelor::Shared().workImage, nullptr);
  EXPECT_EQ(vindelor::Shared().printImage, nullptr);
}

TEST_F(Startup, DelayProcessesPendingMessagesAtLeastOnceAndWaitsByTheTickCount) {
  for (std::int32_t milliseconds : {0, -5}) {
    int handled = 0;
    Form2->Button1.OnClick = [&] { ++handled; };
    PostMessageA(Form2->Button1.Handle(), BM_CLICK, 0, 0);
    Form1->Delay(milliseconds);
    EXPECT_EQ(handled, 1) << milliseconds;
  }
  DWORD start = GetTickCount();
  Form1->Delay(150);
  EXPECT_GE(GetTickCount() - start, 150u);
}

TEST_F(Startup, CancelWhilePrintScreenIsHeldReturnsOnlyAfterTheKeyIsReleased) {
  EndSplash();
  Form2->Show();
  vindelor::Shared().armed = false;  // the press below must not capture
  SetKeyDown(VK_SNAPSHOT, true);
  ASSERT_TRUE(WaitUntil([] { return GetAsyncKeyState(VK_SNAPSHOT) < 0; }));
  tk::Timer release(300, true);
  release.OnTimer = [&] {
    release.SetEnabled(false);
    SetKeyDown(VK_SNAPSHOT, false);
  };
  DWORD start = GetTickCount();
  Form2->Button4Click();
  EXPECT_GE(GetTickCount() - start, 250u);
  EXPECT_EQ(GetAsyncKeyState(VK_SNAPSHOT), 0);
  EXPECT_FALSE(Form2->Visible());
}

TEST(SecondInstance, EndsInTheCreditsFormsCreationWithExitCodeZeroAndNoDialog) {
  DeleteSettings();
  // Another instance holds the mutex.
  tk::UniqueKernelHandle held{CreateMutexA(nullptr, TRUE, "Vindelor20")};
  ASSERT_TRUE(held);
  vindelor::ResetSharedState();
  {
    tk::Application app;
    EXPECT_THROW(vindelor::CreateForms(app), tk::OrderlyExit);
    EXPECT_NE(Form1, nullptr);
    EXPECT_EQ(Form2, nullptr) << "the dialog is never created";
    EXPECT_EQ(Form3, nullptr) << "nor the overlay";
  }
  EXPECT_EQ(Form1, nullptr) << "the half-made credits form is destroyed on the way out";
  EXPECT_EQ(vindelor::VindelorMain(), 0);
}

TEST(GuiObjects, ACreateCaptureDestroyCycleGivesBackEveryGdiAndUserObject) {
  auto cycle = [] {
    DeleteSettings();
    vindelor::ResetSharedState();
    tk::Application app;
    vindelor::CreateForms(app);
    char key = ' ';
    Form1->FormKeyPress(key);
    vindelor::Shared().captureSource = vindelor::kSourceDesktop;
    Form2->CaptureWindow();
    Form2->Button4Click();
  };
  cycle();  // the first cycle fills the system's caches (cached DCs, font mappings)
  const testing_support::GuiObjectCounts before = testing_support::CountGuiObjects();
  cycle();
  const testing_support::GuiObjectCounts after = testing_support::CountGuiObjects();
  EXPECT_GT(before.gdi, 0);
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

}  // namespace

// The Print Screen hotkeys and CaptureWindow, driven by real key presses through SendInput.
#include <gtest/gtest.h>

#include "tests/support/PatternWindow.h"
#include "tests/win/ProgramFixture.h"

namespace {

using namespace testing_support;
using Capture = ProgramTest;

constexpr COLORREF kMarker = RGB(1, 2, 3);

// Marks the work image so that a test can tell whether a capture overwrote it.
void MarkWorkImage() { SetPixel(vindelor::Shared().workImage->Surface(), 0, 0, kMarker); }
bool WorkImageIsMarked() {
  return GetPixel(vindelor::Shared().workImage->SurfaceForReading(), 0, 0) == kMarker;
}

bool WaitForDialog() { return WaitUntil([] { return Form2->Visible(); }); }

vindelor::CaptureRect ToCaptureRect(RECT r) { return {r.left, r.top, r.right, r.bottom}; }

TEST_F(Capture, HotkeysCaptureOnlyWhileArmed) {
  // During the splash the hotkeys are not armed.
  MarkWorkImage();
  PressPrintScreen();
  PumpMessagesFor(500ms);
  EXPECT_FALSE(Form2->Visible());
  EXPECT_TRUE(WorkImageIsMarked());

  // Resident: Print Screen captures the whole screen into a screen-sized work image.
  EndSplash();
  PressPrintScreen();
  ASSERT_TRUE(WaitForDialog());
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  EXPECT_EQ(vindelor::Shared().captureSource, vindelor::kSourceDesktop);
  EXPECT_EQ(vindelor::Shared().captureRect, (vindelor::CaptureRect{0, 0, width, height}));
  EXPECT_EQ(Work().Width(), width);
  EXPECT_EQ(Work().Height(), height);
  EXPECT_FALSE(vindelor::Shared().armed);

  // With the dialog open after a capture, further presses do nothing.
  MarkWorkImage();
  PressPrintScreen();
  PressAltPrintScreen();
  PumpMessagesFor(600ms);
  EXPECT_TRUE(WorkImageIsMarked());

  // Cancel re-arms them.
  Form2->Button4Click();
  EXPECT_FALSE(Form2->Visible());
  EXPECT_TRUE(vindelor::Shared().armed);
  PressPrintScreen();
  ASSERT_TRUE(WaitForDialog());
  EXPECT_FALSE(WorkImageIsMarked());
}

TEST_F(Capture, APressDuringTheCaptureWaitIsIgnored) {
  PatternWindow pattern({200, 150, 200 + 301, 150 + 203});
  EndSplash();
  PressPrintScreen();
  PressAltPrintScreen();  // arrives during the first capture's 200 ms wait
  ASSERT_TRUE(WaitForDialog());
  PumpMessagesFor(600ms);
  EXPECT_EQ(vindelor::Shared().captureSource, vindelor::kSourceDesktop);
  EXPECT_EQ(Work().Width(), GetSystemMetrics(SM_CXSCREEN));
}

TEST_F(Capture, AltPrintScreenCapturesTheForegroundWindowFrameIncluded) {
  struct Case {
    const char* name;
    RECT bounds;
  };
  // The rectangle is not clipped to the screen.
  for (const Case& c : {Case{"on screen", {100, 120, 100 + 333, 120 + 222}},
                        Case{"partly off screen", {-80, -40, -80 + 380, -40 + 240}}}) {
    SCOPED_TRACE(c.name);
    PatternWindow pattern(c.bounds);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern.Handle(); }));
    EndSplash();
    PressAltPrintScreen();
    ASSERT_TRUE(WaitForDialog());
    const RECT window = pattern.WindowRect();
    EXPECT_EQ(vindelor::Shared().captureSource, vindelor::kSourceActiveWindow);
    EXPECT_EQ(vindelor::Shared().captureRect, ToCaptureRect(window));
    EXPECT_EQ(Work().Width(), window.right - window.left);
    EXPECT_EQ(Work().Height(), window.bottom - window.top);
    if (window.left >= 0 && window.top >= 0) {
      // The pixels are the window's: its pattern sits at the client offset.
      POINT client = pattern.ClientOffset();
      EXPECT_EQ(GetPixel(Work().SurfaceForReading(), client.x + 15, client.y + 15),
                kPatternRed);
      EXPECT_EQ(GetPixel(Work().SurfaceForReading(), client.x + 40, client.y + 60),
                kPatternWhite);
    }
    Form2->Button4Click();
  }
}

TEST_F(Capture, AMonochromeWorkImageStaysOneBitWithOnlyExactWhiteKeptWhite) {
  PatternWindow pattern({100, 100, 500, 300});
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern.Handle(); }));
  Work().SetMonochrome(true);
  EndSplash();
  PressAltPrintScreen();
  ASSERT_TRUE(WaitForDialog());
  EXPECT_TRUE(Work().Monochrome());
  EXPECT_EQ(Work().BitsPerPixel(), 1);
  RECT client{};
  GetClientRect(pattern.Handle(), &client);
  POINT offset = pattern.ClientOffset();
  HDC surface = Work().SurfaceForReading();
  EXPECT_EQ(GetPixel(surface, offset.x + 50, offset.y + 50), RGB(255, 255, 255)) << "white";
  EXPECT_EQ(GetPixel(surface, offset.x + client.right - 20, offset.y + 50), RGB(0, 0, 0))
      << "(254, 255, 255) is not white";
  EXPECT_EQ(GetPixel(surface, offset.x + 15, offset.y + 15), RGB(0, 0, 0)) << "red";
}

TEST_F(Capture, EveryCaptureClearsTheMenuOpenFlagAndTheArmedFlag) {
  EndSplash();
  for (std::int32_t source : {vindelor::kSourceDesktop, vindelor::kSourceActiveWindow}) {
    vindelor::Shared().menuOpen = true;
    vindelor::Shared().armed = true;
    vindelor::Shared().captureSource = source;
    Form2->CaptureWindow();
    EXPECT_FALSE(vindelor::Shared().menuOpen);
    EXPECT_FALSE(vindelor::Shared().armed);
    EXPECT_TRUE(Form2->Visible());
    EXPECT_FALSE(tk::App().CursorHidden());
    Form2->Button4Click();
  }
}

}  // namespace

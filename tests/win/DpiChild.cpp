// Run only by DpiTest.cpp in a process of its own, started with the pixels-per-inch setting
// given in VINDELOR_EXPECT_DPI; CTest does not list it.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/win/ProgramFixture.h"
#include "toolkit/Font.h"
#include "toolkit/Scaling.h"

namespace {

using namespace testing_support;
using DpiChild = ProgramTest;

TEST_F(DpiChild, TheDialogFollowsThePixelsPerInchAndCapturesStayFullSize) {
  const char* expected = std::getenv("VINDELOR_EXPECT_DPI");
  ASSERT_NE(expected, nullptr);
  const int pixelsPerInch = std::atoi(expected);
  {
    tk::WindowDc screen(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen.Get(), LOGPIXELSY), pixelsPerInch);
  }
  // The font follows the setting; everything else the ratio of text heights to 13.
  EXPECT_EQ(Form2->GetFont().Spec().height, tk::ScaleRounded(-11, pixelsPerInch, 96));
  const int textHeight = tk::ScreenTextHeight(Form2->GetFont().Handle());
  EXPECT_GT(textHeight, 13);
  auto scaled = [&](int value) { return tk::ScaleRounded(value, textHeight, 13); };
  EXPECT_EQ(Form2->ClientWidth(), scaled(305));
  EXPECT_EQ(Form2->ClientHeight(), scaled(278));
  const tk::Bounds print = Form2->Button1.GetBounds();
  EXPECT_EQ(print.left, scaled(184));
  EXPECT_EQ(print.top, scaled(24));
  EXPECT_EQ(print.left + print.width, scaled(184 + 101));
  const tk::Bounds combo = Form2->ComboBox1.GetBounds();
  EXPECT_EQ(combo.left, scaled(16));
  EXPECT_EQ(Form2->GroupBox1.OwnFont()->Spec().height, scaled(-12));

  // Captures stay at the screen's full resolution.
  EndSplash();
  vindelor::Shared().captureSource = vindelor::kSourceDesktop;
  Form2->CaptureWindow();
  tk::WindowDc screen(nullptr);
  EXPECT_EQ(Work().Width(), GetDeviceCaps(screen.Get(), HORZRES));
  EXPECT_EQ(Work().Height(), GetDeviceCaps(screen.Get(), VERTRES));
}

}  // namespace

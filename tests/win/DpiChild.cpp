// Run only by DpiTest.cpp in a process of its own, started with the pixels-per-inch setting
// given in VINDELOR_EXPECT_DPI; CTest does not list it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <tuple>

#include "tests/win/ProgramFixture.h"
#include "toolkit/Font.h"

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
  // Worked out by hand: the font follows the setting (-11 × ppi / 96, halves away from zero),
  // everything else the ratio of that font's text height to 13.
  struct Expected {
    int pixelsPerInch, font, textHeight, clientWidth, clientHeight;
    tk::Bounds print;
    int comboLeft, optionsFont;
  };
  constexpr Expected kExpected[] = {{120, -14, 16, 375, 342, {226, 30, 125, 30}, 20, -15},
                                    {144, -17, 20, 469, 428, {283, 37, 155, 38}, 25, -18}};
  const auto* e = std::find_if(std::begin(kExpected), std::end(kExpected),
                               [&](const Expected& x) { return x.pixelsPerInch == pixelsPerInch; });
  ASSERT_NE(e, std::end(kExpected));
  EXPECT_EQ(Form2->GetFont().Spec().height, e->font);
  EXPECT_EQ(tk::ScreenTextHeight(Form2->GetFont().Handle()), e->textHeight);
  EXPECT_EQ(std::tuple(Form2->ClientWidth(), Form2->ClientHeight()),
            std::tuple(e->clientWidth, e->clientHeight));
  const tk::Bounds print = Form2->Button1.GetBounds();
  EXPECT_EQ(std::tuple(print.left, print.top, print.width, print.height),
            std::tuple(e->print.left, e->print.top, e->print.width, e->print.height));
  EXPECT_EQ(Form2->ComboBox1.GetBounds().left, e->comboLeft);
  EXPECT_EQ(Form2->GroupBox1.OwnFont()->Spec().height, e->optionsFont);

  // Captures stay at the screen's full resolution.
  EndSplash();
  vindelor::Shared().captureSource = vindelor::kSourceDesktop;
  Form2->CaptureWindow();
  tk::WindowDc screen(nullptr);
  EXPECT_EQ(Work().Width(), GetDeviceCaps(screen.Get(), HORZRES));
  EXPECT_EQ(Work().Height(), GetDeviceCaps(screen.Get(), VERTRES));
}

}  // namespace

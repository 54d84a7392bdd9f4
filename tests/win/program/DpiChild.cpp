// Run only by DpiTest.cpp, in a process of its own started with the pixels-per-inch setting in
// VINDELOR_EXPECT_DPI; CTest does not list it.
#include <cstdlib>

#include "tests/support/ProgramFixture.h"
#include "toolkit/Font.h"

namespace {

using namespace testing_support;
using DpiChild = ProgramTest;

TEST_F(DpiChild, TheDialogFollowsThePixelsPerInchAndCapturesStayFullSize) {
  const int pixelsPerInch = std::atoi(std::getenv("VINDELOR_EXPECT_DPI"));
  const tk::WindowDc screen(nullptr);
  ASSERT_EQ(GetDeviceCaps(screen.Get(), LOGPIXELSY), pixelsPerInch);
  // Worked out by hand: the font follows the setting (-11 × ppi / 96, halves away from zero),
  // everything else the ratio of that font's text height to 13.
  using Layout = std::tuple<int, int, int, int, int, int, int, int, int, int>;
  const Layout expected = pixelsPerInch == 120 ? Layout{-14, 16, 375, 342, 226, 30, 125, 30, 20, -15}
                                               : Layout{-17, 20, 469, 428, 283, 37, 155, 38, 25, -18};
  const tk::Bounds print = Form2->Button1.GetBounds();
  EXPECT_EQ(Layout(Form2->GetFont().Spec().height, tk::ScreenTextHeight(Form2->GetFont().Handle()),
                   Form2->ClientWidth(), Form2->ClientHeight(), print.left, print.top, print.width,
                   print.height, Form2->ComboBox1.GetBounds().left,
                   Form2->GroupBox1.OwnFont()->Spec().height),
            expected);
  EndSplash();
  CaptureDesktop();
  EXPECT_EQ(std::tuple(Work().Width(), Work().Height()),
            std::tuple(GetDeviceCaps(screen.Get(), HORZRES), GetDeviceCaps(screen.Get(), VERTRES)));
}

}  // namespace

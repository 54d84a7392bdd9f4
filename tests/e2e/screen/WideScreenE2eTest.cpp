// The real program on today's screen (the run gives these tests one of 1920 x 1080): a print of
// the whole screen keeps its proportions on the page, in both orientations.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;
using WideScreen = VindelorTest;

double Aspect(RECT r) {
  const double width = r.right - r.left, height = r.bottom - r.top;
  return height > 0 ? std::max(width, height) / std::min(width, height) : 0;  // either way up
}

TEST_F(WideScreen, PrintScreenWithImmediateActionKeepsTheScreensProportionsOnThePage) {
  const SIZE screen{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  for (bool portrait : {false, true}) {
    ASSERT_TRUE(ChooseFromTrayMenu(3)) << "Open";
    ASSERT_TRUE(WaitUntil([&] { return IsShown(program.OptionsDialog()); }));
    program.SetBox(portrait ? "Portrait" : "Landscape", true);
    program.SetBox("Immediate Action", true);
    program.CancelDialog();
    std::string file;
    {  // a dark screen, so that the picture's edges show on the page, with a red square on it
      const PatternWindow dark({0, 0, screen.cx, screen.cy}, RGB(0, 0, 96));
      const PatternWindow square({600, 300, 1080, 780}, kPatternRed);
      file = program.PrintPage(&PressPrintScreen);
    }  // gone: the tray's icon lies under them
    ASSERT_FALSE(file.empty());
    const Picture page = RenderPage(file, 100);
    const double wanted = double(screen.cx) / screen.cy;
    EXPECT_NEAR(Aspect(page.InkBounds()), wanted, wanted * 0.02) << "portrait " << portrait;
    EXPECT_NEAR(Aspect(page.BoundsOf(0xFF0000)), 1.0, 0.02) << "portrait " << portrait;
  }
}

}  // namespace

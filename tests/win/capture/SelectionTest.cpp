// The real overlay when the mouse is taken from it in the middle of a drag (a window of the
// program or of the system takes the capture): the selection ends as a release would end it, and
// the later release ends nothing. A selection gives back every object it took.
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;
using Selection = ProgramTest;

TEST_F(Selection, ADragWhoseMouseIsTakenEndsThereAndLeavesNothingBehind) {
  EndSplash();
  CaptureDesktop();
  std::optional<ObjectCounts> afterFirst;
  for (int round = 0; round < 2; ++round) {
    Form2->Button6Click();
    ASSERT_TRUE(Form3->Visible());
    ASSERT_TRUE(MoveMouseTo(100, 90));
    SetMouseButton(false, true);
    ASSERT_TRUE(MoveMouseTo(150, 130));
    ASSERT_TRUE(WaitUntil([] { return GetCapture() == Form3->Handle(); })) << "the press holds it";
    ReleaseCapture();  // as when another window takes the mouse
    EXPECT_FALSE(Form3->Visible());
    EXPECT_EQ(std::pair(Work().Width(), Work().Height()), std::pair(50, 40));
    EXPECT_EQ(vindelor::Shared().captureRect, (tk::ScreenRect{100, 90, 150, 130}));
    SetMouseButton(false, false);
    PumpMessagesFor(200ms);
    EXPECT_EQ(std::pair(Work().Width(), Work().Height()), std::pair(50, 40)) << "nothing more";
    if (!afterFirst) {
      afterFirst = CountObjectsOf();
      continue;
    }
    EXPECT_EQ(CountObjectsOf(), *afterFirst);
  }
}

}  // namespace

// The tray commands in-process; the icon itself and its menu are tested on the real program.
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;
using Tray = ProgramTest;

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

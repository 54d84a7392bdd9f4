// The whole program in-process: what a cycle of its work takes, it gives back.
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;

// Start-up, a capture printed with every transform and copied to the clipboard, and shutdown.
TEST(GuiObjects, AProgramCycleGivesBackEveryGdiAndUserObject) {
  auto cycle = [] {
    DeleteSettings();
    vindelor::ResetSharedState();
    tk::Application app;
    vindelor::CreateForms(app);
    char key = ' ';
    Form1->FormKeyPress(key);
    for (tk::CheckBox* box :
         {&Form2->CheckBox5, &Form2->CheckBox7, &Form2->CheckBox8, &Form2->CheckBox9}) {
      box->SetChecked(true);
    }
    vindelor::Shared().captureSource = vindelor::kSourceDesktop;
    Form2->CaptureWindow();
    Form2->Button1Click();
  };
  cycle();  // the first cycle fills the system's caches (cached DCs, font mappings, printer data)
  const ObjectCounts before = CountObjectsOf();
  cycle();
  EXPECT_GT(before.gdi, 0);
  EXPECT_EQ(CountObjectsOf(), before);
}

}  // namespace

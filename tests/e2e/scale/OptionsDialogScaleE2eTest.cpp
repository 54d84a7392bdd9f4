// The options dialog of the real program at the display's scale (VINDELOR_TEST_DPI pixels per
// inch): it grows with its font, from 305 x 278 at 96, and every control stays inside it.
#include "tests/e2e/VindelorProcess.h"

namespace {

using namespace testing_support;

class OptionsDialogScale : public VindelorTest {
 protected:
  void SetUp() override {
    SetProcessDPIAware();  // the program's pixels, not ones scaled for this process
    VindelorTest::SetUp();
  }
};

TEST_F(OptionsDialogScale, TheDialogGrowsWithTheScaleAndHoldsEveryControl) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  ASSERT_TRUE(program.CaptureWithHotkey());
  HWND dialog = program.OptionsDialog();
  RECT client{};
  GetClientRect(dialog, &client);
  // The font's cell, which it follows, grows by whole pixels: within a tenth of the scale.
  EXPECT_NEAR(client.right, 305 * VINDELOR_TEST_DPI / 96, 30 * VINDELOR_TEST_DPI / 96);
  EXPECT_NEAR(client.bottom, 278 * VINDELOR_TEST_DPI / 96, 28 * VINDELOR_TEST_DPI / 96);
  MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
  const std::vector<HWND> controls = Children(dialog);
  EXPECT_GE(controls.size(), 22u);
  for (HWND control : controls) {
    RECT r{};
    GetWindowRect(control, &r);
    EXPECT_TRUE(r.left >= client.left && r.top >= client.top && r.right <= client.right &&
                r.bottom <= client.bottom)
        << WindowText(control) << " outside the dialog";
  }
  program.CancelDialog();
}

}  // namespace

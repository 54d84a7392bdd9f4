// The options dialog and the toolkit's message boxes of the real program at the display's scale
// (VINDELOR_TEST_DPI pixels per inch): the dialog grows with its font from 305 x 278 at 96, a
// message box's icon is as large as the system's icons are there, and every part lies inside its
// window, the parts of a message box also apart from each other.
#include "tests/e2e/VindelorProcess.h"

namespace {

using namespace testing_support;

constexpr int Scaled(int pixels) { return pixels * VINDELOR_TEST_DPI / 96; }

class Scale : public ResidentTest {
 protected:
  Scale() : ResidentTest({120, 90, 421, 293}) {}
  void SetUp() override {
    SetProcessDPIAware();  // the program's pixels, not ones scaled for this process
    ResidentTest::SetUp();
  }
  static void ExpectInside(HWND window, bool apart, std::size_t parts) {
    RECT client{};
    GetClientRect(window, &client);
    std::vector<RECT> seen;
    for (HWND child : Children(window)) {
      RECT r{}, both{};
      GetWindowRect(child, &r);
      MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
      const bool icon = ClassNameOf(child) == "Static" &&
                        (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
      EXPECT_TRUE(!icon || r.right - r.left == Scaled(32)) << "the icon slot";
      EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
          << WindowText(child) << " outside";
      for (const RECT& other : seen) {
        EXPECT_FALSE(apart && IntersectRect(&both, &r, &other))
            << WindowText(child) << " on another";
      }
      seen.push_back(r);
    }
    EXPECT_GE(seen.size(), parts);
  }
  // Checks the message box, then answers it with the key.
  void ExpectBoxLaidOut(const char* title, WORD key) {
    HWND box = program_->WaitForDialog(title);
    ASSERT_NE(box, nullptr) << title;
    ExpectInside(box, true, 3);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == box; }));
    PressKey(key);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  }
};

TEST_F(Scale, TheDialogGrowsWithTheScaleAndEveryWindowKeepsItsPartsInsideAndApart) {
  CaptureThePattern();
  RECT client{};
  GetClientRect(program_->OptionsDialog(), &client);
  // The font's cell, which it follows, grows by whole pixels: within a tenth of the scale.
  EXPECT_NEAR(client.right, Scaled(305), Scaled(30));
  EXPECT_NEAR(client.bottom, Scaled(278), Scaled(28));
  ExpectInside(program_->OptionsDialog(), false, 22);
  ASSERT_TRUE(EmptyTheClipboard());
  program_->Click("Get from Clipboard");
  ExpectBoxLaidOut("Information", VK_RETURN);
  program_->CancelDialog();
  ASSERT_TRUE(ChooseFromTrayMenu(4));
  ExpectBoxLaidOut("Confirm", VK_ESCAPE);
  EXPECT_TRUE(program_->Running()) << "No keeps the program";
}

}  // namespace

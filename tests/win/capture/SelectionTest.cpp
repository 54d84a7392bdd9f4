// The selection overlay driven by real mouse input. A crop must be exactly the frozen screen's
// pixels in the selected rectangle, on the work image and on the clipboard, with no outline.
#include "tests/support/Pictures.h"
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;
using Selection = ProgramTest;

// L/R: that button goes down at the point; M: the pointer moves there; S/s: Shift down/up;
// U: the button held goes up; E: Escape, which reaches the dialog beneath the overlay.
struct Gesture {
  char what;
  int x = 0, y = 0;
};

TEST_F(Selection, TheReleaseCropsTheRectangleDrawnOrKeepsTheWholeDesktop) {
  const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
  struct Case {
    const char* name;
    std::vector<Gesture> gestures;
    RECT crop;  // empty: the work image stays the whole desktop
    bool oneBit = false;
  };
  const Case cases[] = {
      {"bottom-right to top-left", {{'L', 300, 260}, {'M', 200, 200}, {'M', 150, 140}, {'U'}},
       {150, 140, 300, 260}},
      {"top-left to bottom-right, 1 bit", {{'L', 150, 140}, {'M', 300, 260}, {'U'}},
       {150, 140, 300, 260}, true},
      {"13 x 13", {{'L', 400, 300}, {'M', 413, 313}, {'U'}}, {400, 300, 413, 313}},
      {"12 x 200", {{'L', 600, 300}, {'M', 612, 500}, {'U'}}, {}},
      {"a click", {{'L', 500, 400}, {'U'}}, {}},
      {"right box moved", {{'R', 100, 100}, {'M', 120, 90}, {'M', 200, 150}, {'U'}},
       {200, 150, 232, 182}},
      {"right press and release", {{'R', 600, 100}, {'U'}}, {}},
      {"Shift held during the drag",
       {{'L', 100, 400}, {'M', 200, 500}, {'S'}, {'M', 300, 600}, {'U'}, {'s'}}, {100, 400, 200, 500}},
      {"right box across the corner", {{'R', 700, 500}, {'M', w - 10, h - 10}, {'U'}},
       {w - 10, h - 10, w + 22, h + 22}},
      {"Escape cancels the dialog only", {{'R', 50, 50}, {'E'}, {'M', 60, 70}, {'U'}},
       {60, 70, 92, 102}},
  };
  PatternWindow pattern({120, 120, 420, 420});  // something to crop besides the desktop
  EndSplash();
  Form2->CheckBox9.SetChecked(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Work().SetMonochrome(c.oneBit);
    Form2->Button6Click();
    UpdateWindow(Form3->Handle());  // input comes before painting: show the frozen picture first
    const Picture desktop = PictureOf(Work().Handle());
    bool right = false;
    for (const Gesture& g : c.gestures) {
      if (g.what == 'L' || g.what == 'R' || g.what == 'M') {
        ASSERT_TRUE(MoveMouseTo(g.x, g.y));
      }
      if (g.what == 'L' || g.what == 'R') SetMouseButton(right = g.what == 'R', true);
      if (g.what == 'U') SetMouseButton(right, false);
      if (g.what == 'S' || g.what == 's') SetKeyDown(VK_SHIFT, g.what == 'S');
      if (g.what == 'E') PressKey(VK_ESCAPE);
      PumpMessagesFor(50ms);
      EXPECT_TRUE(g.what != 'M' || GetCursor() == LoadCursorA(nullptr, IDC_CROSS));
    }
    ASSERT_TRUE(WaitUntil([] { return !Form3->Visible(); }));
    EXPECT_EQ(Form2->Visible(), c.gestures[1].what != 'E');
    const Picture expected = desktop.Part(IsRectEmpty(&c.crop) ? RECT{0, 0, w, h} : c.crop);
    EXPECT_TRUE(PictureOf(Work().Handle()) == expected);
    EXPECT_TRUE(ClipboardPicture() == expected);
  }
}

}  // namespace

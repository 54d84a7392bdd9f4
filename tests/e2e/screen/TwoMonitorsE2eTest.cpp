// The real program on two monitors of different sizes (the run gives these tests a 1024 x 768
// primary and an 800 x 600 monitor left or right of it): Print Screen copies every monitor, with
// black where none is, Alt+Print Screen a window on either, and the dialog keeps a position saved
// on the second monitor.
#include <algorithm>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using TwoMonitors = VindelorTest;

RECT Offset(RECT r, int dx, int dy) {
  OffsetRect(&r, dx, dy);
  return r;
}

// Every pixel of the picture's part is the colour (0xRRGGBB).
bool AllOf(const Picture& picture, RECT part, std::uint32_t colour) {
  const Picture pixels = PartOf(picture, part);
  return !pixels.pixels.empty() &&
         std::ranges::all_of(pixels.pixels, [&](std::uint32_t p) { return p == colour; });
}

TEST_F(TwoMonitors, CapturesTakeEveryMonitorAndAWindowOnEitherOne) {
  const auto monitors = Monitors();
  ASSERT_EQ(monitors.size(), 2u);
  const RECT primary = monitors[0], second = monitors[1], all = VirtualScreen();
  ASSERT_EQ(std::pair(second.right - second.left, second.bottom - second.top),
            std::pair(800L, 600L));
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  ASSERT_TRUE(program.CaptureWithHotkey());
  program.SetBox("Copy to Clipboard", true);
  program.CancelDialog();
  const RECT onPrimary = Offset({0, 0, 200, 150}, primary.left + 300, primary.top + 500);
  const RECT onSecond = Offset({0, 0, 200, 150}, second.left + 50, second.top + 420);
  const PatternWindow blue(onPrimary, RGB(0, 0, 200)), green(onSecond, RGB(0, 160, 0));
  ASSERT_TRUE(program.CaptureWithHotkey());
  const Picture desktop = ClipboardPicture();
  ASSERT_EQ(std::pair(LONG{desktop.width}, LONG{desktop.height}),
            std::pair(all.right - all.left, all.bottom - all.top));
  const RECT belowTheSecond{second.left, second.bottom, second.right, all.bottom};
  for (auto [part, colour] : {std::pair(onPrimary, 0x0000C8u),
                              {onSecond, 0x00A000u},
                              {belowTheSecond, 0u}}) {  // black where no monitor is
    EXPECT_TRUE(AllOf(desktop, Offset(part, -all.left, -all.top), colour)) << colour;
  }
  program.CancelDialog();
  ASSERT_TRUE(program.CaptureWindow(green.Handle()));
  const Picture window = ClipboardPicture();
  EXPECT_EQ(std::pair(window.width, window.height), std::pair(200, 150));
  EXPECT_TRUE(AllOf(window, {0, 0, 200, 150}, 0x00A000));
  program.CancelDialog();
}

// A position saved on the second monitor is kept exactly; one below it, where no monitor is,
// leaves the dialog centred on the primary monitor.
TEST_F(TwoMonitors, TheDialogKeepsAPositionSavedOnTheSecondMonitor) {
  const RECT second = Monitors().at(1);
  for (auto [left, top, kept] : {std::tuple(second.left + 40, second.top + 30, true),
                                 std::tuple(second.left + 40, second.bottom + 20, false)}) {
    SeedSavedSettings(left, top);
    VindelorProcess program;
    program.EndSplashWithKeyPress();
    ASSERT_TRUE(program.CaptureWithHotkey());
    RECT r{};
    GetWindowRect(program.OptionsDialog(), &r);
    const std::pair centred((GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2,
                            (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2);
    EXPECT_EQ(std::pair(r.left, r.top), kept ? std::pair(LONG{left}, LONG{top}) : centred) << top;
    program.CancelDialog();  // Escape reaches it: it is in front, on the screen
  }
}

}  // namespace

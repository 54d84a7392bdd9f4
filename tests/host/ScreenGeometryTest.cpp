#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "capture/SelectionGeometry.h"
#include "toolkit/ScreenArea.h"

namespace vindelor {
namespace {

using tk::ScreenRect;
using Rects = std::vector<ScreenRect>;

int Holds(const Rects& rects, int x, int y) {
  int in = 0;
  for (const ScreenRect& r : rects) in += r.left <= x && x < r.right && r.top <= y && y < r.bottom;
  return in;
}

// Pixel by pixel: each pixel no monitor shows lies in exactly one part, and no other in any.
TEST(ScreenGeometry, TheUncoveredPartsAreExactlyThePixelsNoMonitorShows) {
  const std::tuple<const char*, ScreenRect, Rects> cases[] = {
      {"one monitor", {0, 0, 64, 48}, {{0, 0, 64, 48}}},
      {"a shorter one on the left", {-50, 0, 64, 48}, {{0, 0, 64, 48}, {-50, 0, 0, 37}}},
      {"a shorter one on the right", {0, 0, 114, 48}, {{0, 0, 64, 48}, {64, 0, 114, 37}}},
      {"one above, narrower", {0, -30, 64, 48}, {{0, 0, 64, 48}, {10, -30, 50, 0}}},
      {"three in an L", {-20, -20, 64, 48}, {{0, 0, 64, 48}, {-20, 0, 0, 48}, {0, -20, 64, 0}}},
      {"mirrored, overlapping", {0, 0, 80, 48}, {{0, 0, 64, 48}, {0, 0, 64, 48}, {40, 8, 80, 40}}},
      {"no monitor", {0, 0, 8, 8}, {}},
      {"an empty area", {5, 5, 5, 9}, {{0, 0, 64, 48}}},
  };
  for (const auto& [name, area, monitors] : cases) {
    const Rects parts = UncoveredParts(area, monitors);
    for (int y = area.top - 1; y <= area.bottom; ++y)
      for (int x = area.left - 1; x <= area.right; ++x)
        ASSERT_EQ(Holds(parts, x, y), Holds({area}, x, y) && !Holds(monitors, x, y))
            << name << " at " << x << "," << y;
  }
}

// Steps such as "pL40,30" (press, the left button alone held, at 40, 30), "mR5,5" (move, the right
// alone), "mO9,9" (anything else held), "u" (release), "e" (Esc). Even redraws leave no trace.
std::pair<std::optional<SelectionGeometry::Ending>, int> Perform(const std::string& gesture) {
  using enum HeldAlone;
  SelectionGeometry selection;
  std::optional<SelectionGeometry::Ending> ending;
  std::map<std::tuple<int, int, int, int>, int> drawn;
  std::istringstream steps(gesture);
  int x = 0, y = 0;
  for (char step = 0, button = 0, comma = 0; steps >> step;) {
    if (step == 'p' || step == 'm') steps >> button >> x >> comma >> y;
    const HeldAlone held = button == 'L' ? Left : button == 'R' ? Right : Other;
    if (step == 'u') ending = selection.Release();
    const Outlines outlines = step == 'u'   ? ending->erase
                              : step == 'e' ? selection.Cancel()
                              : step == 'p' ? selection.Press(held, x, y)
                                            : selection.Move(held, x, y);
    for (const ScreenRect& o : outlines) ++drawn[{o.left, o.top, o.right, o.bottom}];
  }
  int traces = 0;
  for (const auto& [outline, times] : drawn) traces += times % 2;
  return {ending, traces};
}

// What the release selects and whether it crops, with no outline left for the crop or after Esc.
TEST(ScreenGeometry, ASelectionCropsWhatWasDraggedAndLeavesNoOutlineInTheCrop) {
  const std::tuple<const char*, const char*, ScreenRect, bool> cases[] = {
      {"left drag", "pL40,30 mL60,45 mL90,70 u", {40, 30, 90, 70}, true},
      {"reversed drag", "pL90,70 mL40,30 u", {40, 30, 90, 70}, true},
      {"13 x 13", "pL40,30 mL53,43 u", {40, 30, 53, 43}, true},
      {"12 x 200", "pL40,30 mL52,230 u", {40, 30, 52, 230}, false},
      {"200 x 12, upwards", "pL40,30 mL240,18 u", {40, 18, 240, 30}, false},
      {"right box, last lone right", "pR5,5 mR300,200 mO400,400 u", {300, 200, 332, 232}, true},
      {"right box at the corner", "pR5,5 mR1023,767 u", {1023, 767, 1055, 799}, true},
      {"right click", "pR5,5 u", {5, 5, 5, 5}, false},
      {"Shift freezes the outline", "pL40,30 mL80,80 mO200,200 u", {40, 30, 80, 80}, true},
      {"Shift let go: stretches again", "pL40,30 mO200,200 mL120,90 u", {40, 30, 120, 90}, true},
      {"second button: new corners", "pL40,30 mL80,80 pO100,100 u", {100, 100, 100, 100}, false},
      {"a press with a modifier draws nothing", "pO10,10 mL50,50 u", {10, 10, 50, 50}, true},
      {"Esc before a press, and twice during a drag", "e pL10,10 mL50,60 e e", {}, false},
      {"Esc over the right box", "pR10,10 e", {}, false},
      {"Esc after a second button", "pL10,10 mL50,60 pO70,70 e", {}, false},
  };
  for (const auto& [name, gesture, selected, crops] : cases) {
    const auto [ending, traces] = Perform(gesture);
    EXPECT_TRUE(traces == 0 || (ending && !ending->crops)) << name << ": a trace left";
    EXPECT_EQ(std::pair(ending ? ending->selected : ScreenRect{}, ending && ending->crops),
              std::pair(selected, crops))
        << name;
  }
}

}  // namespace
}  // namespace vindelor

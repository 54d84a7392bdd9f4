#include "output/PageLayout.h"

#include <gtest/gtest.h>

#include <limits>

namespace vindelor {
namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

struct Case {
  const char* name;
  PageLayoutInput input;
  PageRect expected;
};

// Printable area, printer dpi, screen dpi, image size, stretched, centered.
PageLayoutInput Input(int32_t pw, int32_t ph, int32_t px, int32_t py, int32_t sx, int32_t sy,
                      int32_t iw, int32_t ih, bool stretched, bool centered) {
  return {pw, ph, px, py, sx, sy, iw, ih, stretched, centered};
}

TEST(PageLayout, PlacesTheImage) {
  const Case cases[] = {
      {"600 dpi, centered", Input(4800, 6600, 600, 600, 96, 96, 800, 600, false, true),
       {0, 1425, 4800, 5175}},
      {"same with a date line", Input(4800, 6490, 600, 600, 96, 96, 800, 600, false, true),
       {0, 1370, 4800, 5120}},
      {"12.5 rounds to 12", Input(100, 100, 240, 240, 96, 96, 5, 5, false, false), {0, 0, 12, 12}},
      {"13.5 rounds to 14", Input(100, 100, 144, 144, 96, 96, 9, 9, false, false), {0, 0, 14, 14}},
      {"spare 7 gives offset 3", Input(19, 20, 192, 192, 96, 96, 6, 4, false, true), {3, 6, 15, 14}},
      {"printer no finer: full width",
       Input(2400, 3300, 96, 300, 96, 96, 800, 600, false, true), {0, 712, 2400, 2587}},
      {"printer coarser", Input(500, 700, 72, 72, 96, 96, 100, 100, false, true), {0, 0, 500, 700}},
      {"only height clipped", Input(5000, 1000, 600, 600, 96, 96, 400, 400, false, true),
       {1250, 0, 3750, 1000}},
      {"stretched wins over centered", Input(4800, 6600, 600, 600, 96, 96, 80, 60, true, true),
       {0, 0, 4800, 6600}},
      {"neither: top-left", Input(4800, 6600, 600, 600, 96, 96, 80, 60, false, false),
       {0, 0, 500, 375}},
      // Robustness: every input gives a rectangle inside the printable area.
      {"screen dpi 0 spans the page", Input(300, 400, 600, 600, 0, 0, 10, 10, false, true),
       {0, 0, 300, 400}},
      {"image 0 x 0", Input(300, 400, 600, 600, 96, 96, 0, 0, false, true), {150, 200, 150, 200}},
      {"image 0 x 0, printer no finer", Input(300, 400, 96, 96, 96, 96, 0, 0, false, true),
       {0, 0, 300, 400}},
      {"huge image", Input(4800, 6600, kMax, kMax, 1, 1, kMax, kMax, false, true),
       {0, 0, 4800, 6600}},
      {"huge page", Input(kMax, kMax, 600, 600, 96, 96, 800, 600, false, true),
       {1073739323, 1073739948, 1073744323, 1073743698}},
      {"negative values count as 0", Input(-5, 400, 600, 600, -96, 96, -10, -10, false, true),
       {0, 200, 0, 200}},
      {"page 0 x 0", Input(0, 0, 600, 600, 96, 96, 800, 600, true, true), {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    const PagePlacement p = PlaceImageOnPage(c.input);
    EXPECT_EQ(p.rect, c.expected) << c.name;
    EXPECT_EQ(p.rect, (PageRect{p.x, p.y, p.x + p.width, p.y + p.height})) << c.name;
  }
}

// The ratio is taken first, in long double: 114 * (150 / 72) lands just below 237.5, whereas
// the exact product (or double precision) gives 238. 30 * (150 / 72) gives 62.5 in long
// double but 63 in double.
TEST(PageLayout, TheRatioIsTakenFirstInExtendedPrecision) {
  ASSERT_EQ(std::numeric_limits<long double>::digits, 64) << "x87 extended precision expected";
  const PagePlacement p =
      PlaceImageOnPage(Input(1000, 1000, 150, 150, 72, 72, 114, 30, false, false));
  EXPECT_EQ(p.width, 237);
  EXPECT_EQ(p.height, 62);
}

}  // namespace
}  // namespace vindelor

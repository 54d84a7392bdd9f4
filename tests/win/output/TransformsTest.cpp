// The print job's image transforms on real bitmaps: monochrome, inverted colours, mirror, and
// the order in which ApplyTransforms runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "output/Transforms.h"
#include "tests/win/output/ImageTables.h"
#include "toolkit/Application.h"

namespace {

using namespace output_testing;

COLORREF Inverse(COLORREF c) {
  return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
}

Pixels Mirrored(const Pixels& pixels) {
  Pixels mirrored = pixels;
  for (auto& row : mirrored) std::reverse(row.begin(), row.end());
  return mirrored;
}

class Transforms : public ::testing::Test {
 protected:
  tk::Application app_;
};

TEST_F(Transforms, MonochromeKeepsOnlyExactWhiteAndBackToColourBlackTakesTheWindowTextColour) {
  struct Case {
    COLORREF colour;
    COLORREF asOneBit;
  };
  const Case cases[] = {
      {kWhite, kWhite},           {RGB(254, 255, 255), kBlack}, {RGB(255, 255, 254), kBlack},
      {RGB(255, 255, 0), kBlack}, {RGB(192, 192, 192), kBlack}, {RGB(200, 220, 255), kBlack},
      {kBlack, kBlack},
  };
  Pixels row(1);
  for (const Case& c : cases) row[0].push_back(c.colour);
  tk::Bitmap image;
  Paint(image, row);

  vindelor::ApplyTransforms(image, /*monochrome=*/true, false, false);
  EXPECT_TRUE(image.Monochrome());
  EXPECT_EQ(image.BitsPerPixel(), 1);
  Pixels seen = Read(image);
  for (std::size_t x = 0; x < std::size(cases); ++x) {
    EXPECT_EQ(seen[0][x], cases[x].asOneBit) << "colour " << std::hex << cases[x].colour;
  }

  // The next job without "Monochrome": colour again, but only black and white come back.
  vindelor::ApplyTransforms(image, false, false, false);
  EXPECT_FALSE(image.Monochrome());
  EXPECT_GT(image.BitsPerPixel(), 1);
  seen = Read(image);
  for (std::size_t x = 0; x < std::size(cases); ++x) {
    COLORREF expected = cases[x].asOneBit == kWhite ? kWhite : GetSysColor(COLOR_WINDOWTEXT);
    EXPECT_EQ(seen[0][x], expected) << "colour " << std::hex << cases[x].colour;
  }
}

TEST_F(Transforms, InvertFlipsEveryBitAndTwiceGivesTheImageBack) {
  for (bool monochrome : {false, true}) {
    SCOPED_TRACE(monochrome ? "1 bit" : "colour");
    const Pixels original = Pattern(9, 4, monochrome);
    tk::Bitmap image;
    Paint(image, original, monochrome);

    vindelor::ApplyTransforms(image, monochrome, /*inverted=*/true, false);
    Pixels expected = original;
    for (auto& row : expected) {
      for (COLORREF& c : row) c = Inverse(c);
    }
    EXPECT_EQ(Read(image), expected);

    vindelor::ApplyTransforms(image, monochrome, /*inverted=*/true, false);
    EXPECT_EQ(Read(image), original) << "a second print shows the captured colours";
  }
}

TEST_F(Transforms, MirrorMovesColumnXToWidthMinusOneMinusXAndKeepsTheRows) {
  for (bool monochrome : {false, true}) {
    for (int width : {1, 2, 3, 8, 101, 513, 1201}) {  // also several blocks
      SCOPED_TRACE(testing::Message() << (monochrome ? "1 bit" : "colour") << ", width " << width);
      const Pixels original = Pattern(width, 3, monochrome);
      tk::Bitmap image;
      Paint(image, original, monochrome);

      vindelor::ApplyTransforms(image, monochrome, false, /*mirrored=*/true);
      EXPECT_EQ(Read(image), Mirrored(original));
      EXPECT_EQ(image.Monochrome(), monochrome);
      EXPECT_EQ(image.Width(), width);

      vindelor::ApplyTransforms(image, monochrome, false, /*mirrored=*/true);
      EXPECT_EQ(Read(image), original) << "a second print is unmirrored";
    }
  }
}

TEST_F(Transforms, AllThreeRunInOrderMonochromeThenInvertThenMirror) {
  // White pixels end up black and everything else white, then the columns swap round.
  const Pixels capture = {{kWhite, RGB(254, 255, 255), RGB(255, 0, 0)},
                          {RGB(10, 10, 10), kWhite, kWhite}};
  tk::Bitmap image;
  Paint(image, capture);

  vindelor::ApplyTransforms(image, true, true, false);
  EXPECT_EQ(Read(image), (Pixels{{kBlack, kWhite, kWhite}, {kWhite, kBlack, kBlack}}));

  Paint(image, capture);
  vindelor::ApplyTransforms(image, true, true, true);
  EXPECT_EQ(Read(image), (Pixels{{kWhite, kWhite, kBlack}, {kBlack, kBlack, kWhite}}));
  EXPECT_TRUE(image.Monochrome());
}

TEST_F(Transforms, AnImageWithoutPixelsOnlyChangesItsState) {
  tk::Bitmap image;
  image.SetSize(5, 0);
  vindelor::ApplyTransforms(image, true, true, true);
  EXPECT_TRUE(image.Empty());
  EXPECT_TRUE(image.Monochrome());
  vindelor::ApplyTransforms(image, false, true, true);
  EXPECT_FALSE(image.Monochrome());
}

}  // namespace

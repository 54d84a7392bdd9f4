// The print job's image transforms on real bitmaps. That a second print undoes inverting and
// mirroring is checked with the print job (tests/win/PrintJobTest.cpp).
#include <gtest/gtest.h>

#include <algorithm>

#include "output/Transforms.h"
#include "tests/win/output/ImageTables.h"
#include "toolkit/Application.h"

namespace {

using namespace output_testing;

class Transforms : public ::testing::Test {
 protected:
  tk::Application app_;
};

TEST_F(Transforms, MonochromeKeepsOnlyExactWhiteAndBackToColourBlackTakesTheWindowTextColour) {
  const Pixels colours = {{kWhite, RGB(254, 255, 255), RGB(255, 255, 254), RGB(192, 192, 192),
                           RGB(200, 220, 255), kBlack}};
  tk::Bitmap image;
  Paint(image, colours);
  vindelor::ApplyTransforms(image, /*monochrome=*/true, false, false);
  EXPECT_EQ(image.BitsPerPixel(), 1);
  const Pixels oneBit = {{kWhite, kBlack, kBlack, kBlack, kBlack, kBlack}};
  EXPECT_EQ(Read(image), oneBit);

  // The next job without "Monochrome": colour again, but only black and white come back.
  vindelor::ApplyTransforms(image, false, false, false);
  EXPECT_GT(image.BitsPerPixel(), 1);
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(Read(image), (Pixels{{kWhite, text, text, text, text, text}}));
}

TEST_F(Transforms, InvertFlipsEveryBitAndMirrorMovesColumnXToWidthMinusOneMinusX) {
  for (bool monochrome : {false, true}) {
    for (int width : {1, 2, 3, 513, 1201}) {  // odd and even; the last two take several blocks
      SCOPED_TRACE(testing::Message() << (monochrome ? "1 bit" : "colour") << ", width " << width);
      Pixels expected = Pattern(width, 3, monochrome);
      tk::Bitmap image;
      Paint(image, expected, monochrome);

      vindelor::ApplyTransforms(image, monochrome, false, /*mirrored=*/true);
      for (auto& row : expected) std::reverse(row.begin(), row.end());
      EXPECT_EQ(Read(image), expected);

      vindelor::ApplyTransforms(image, monochrome, /*inverted=*/true, false);
      for (auto& row : expected) {
        for (COLORREF& c : row) c = RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
      }
      EXPECT_EQ(Read(image), expected);
    }
  }
}

TEST_F(Transforms, AllThreeRunInOrderMonochromeThenInvertThenMirror) {
  // White pixels end up black and everything else white, then the columns swap round.
  tk::Bitmap image;
  Paint(image, {{kWhite, RGB(254, 255, 255), RGB(255, 0, 0)}, {RGB(10, 10, 10), kWhite, kWhite}});
  vindelor::ApplyTransforms(image, true, true, true);
  EXPECT_EQ(Read(image), (Pixels{{kWhite, kWhite, kBlack}, {kBlack, kBlack, kWhite}}));

  tk::Bitmap empty;  // nothing to draw on: only the format changes
  empty.SetSize(5, 0);
  vindelor::ApplyTransforms(empty, true, true, true);
  EXPECT_TRUE(empty.Monochrome());
}

}  // namespace

// The image transforms and the encoding kept for BMP files, on real bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "output/BmpFile.h"
#include "output/Transforms.h"
#include "tests/support/HarnessAccess.h"
#include "toolkit/Application.h"

namespace {

using Pixels = std::vector<std::vector<COLORREF>>;  // rows top to bottom
using Bytes = std::vector<std::uint8_t>;
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

void Paint(tk::Bitmap& image, const Pixels& pixels, bool monochrome = false) {
  image.SetMonochrome(monochrome);
  image.SetSize(static_cast<int>(pixels[0].size()), static_cast<int>(pixels.size()));
  for (std::size_t y = 0; y < pixels.size(); ++y) {
    for (std::size_t x = 0; x < pixels[y].size(); ++x) {
      SetPixel(image.Surface(), static_cast<int>(x), static_cast<int>(y), pixels[y][x]);
    }
  }
}

Pixels Read(tk::Bitmap& image) {
  Pixels pixels(static_cast<std::size_t>(image.Height()));
  for (int y = 0; y < image.Height(); ++y) {
    for (int x = 0; x < image.Width(); ++x) {
      pixels[static_cast<std::size_t>(y)].push_back(GetPixel(image.SurfaceForReading(), x, y));
    }
  }
  return pixels;
}

// Pixels that differ along both axes (in black and white, an irregular pattern).
Pixels Pattern(int width, int height, bool blackAndWhite = false) {
  Pixels pixels;
  for (int y = 0; y < height; ++y) {
    auto& row = pixels.emplace_back();
    for (int x = 0; x < width; ++x) {
      row.push_back(blackAndWhite ? ((x * 7 + y * 3) % 5 < 2 ? kWhite : kBlack)
                                  : RGB(x % 256, (y * 40) % 256, (x * 3 + 11) % 256));
    }
  }
  return pixels;
}

class Output : public ::testing::Test {
 protected:
  Output() {
    scratch_ = testing_support::TemporaryFolder() + "vindelor-output-" +
               std::to_string(GetCurrentProcessId()) + ".bmp";
  }
  ~Output() override { DeleteFileA(scratch_.c_str()); }
  void WriteScratch(const Bytes& bytes) const {
    std::ofstream(scratch_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  [[nodiscard]] Bytes ReadScratch() const {
    const std::string bytes = testing_support::ReadWholeFile(scratch_);
    return {bytes.begin(), bytes.end()};
  }

  tk::Application app_;
  std::string scratch_;
};

// Monochrome keeps only exact white; back in colour, black takes the window-text colour. Mirror
// moves column x to width - 1 - x, invert flips every bit, and all three run in that order.
TEST_F(Output, TheTransformsChangeThePixelsInPlace) {
  tk::Bitmap image;
  Paint(image, {{kWhite, RGB(254, 255, 255), RGB(192, 192, 192), kBlack}});
  vindelor::ApplyTransforms(image, /*monochrome=*/true, false, false);
  EXPECT_EQ(std::pair(image.BitsPerPixel(), Read(image)),
            std::pair(1, Pixels{{kWhite, kBlack, kBlack, kBlack}}));
  vindelor::ApplyTransforms(image, false, false, false);  // the next job without it
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(std::pair(image.BitsPerPixel() > 1, Read(image)),
            std::pair(true, Pixels{{kWhite, text, text, text}}));
  for (bool monochrome : {false, true}) {
    for (int width : {1, 2, 3, 513, 1201}) {  // odd and even; the last two take several blocks
      Pixels expected = Pattern(width, 3, monochrome);
      Paint(image, expected, monochrome);
      vindelor::ApplyTransforms(image, monochrome, false, /*mirrored=*/true);
      for (auto& row : expected) std::reverse(row.begin(), row.end());
      EXPECT_EQ(Read(image), expected) << monochrome << " " << width;
      vindelor::ApplyTransforms(image, monochrome, /*inverted=*/true, false);
      for (auto& row : expected) {
        for (COLORREF& c : row) c = RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c));
      }
      EXPECT_EQ(Read(image), expected) << monochrome << " " << width;
    }
  }
  Paint(image, {{kWhite, RGB(254, 255, 255), RGB(255, 0, 0)}, {RGB(10, 10, 10), kWhite, kWhite}});
  vindelor::ApplyTransforms(image, true, true, true);  // white turns black, and the rest white
  EXPECT_EQ(Read(image), (Pixels{{kWhite, kWhite, kBlack}, {kBlack, kBlack, kWhite}}));
}

TEST_F(Output, TheEncodingIsReusedWhileTheImageIsUnchangedAndRemadeAfterAChange) {
  const std::pair<bool, void (*)(tk::Bitmap&)> changes[] = {
      {false, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, false); }},
      {true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, true, false, false); }},
      {true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, true, false); }},
      {true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, true); }},
      {true, [](tk::Bitmap& b) { SetPixel(b.Surface(), 0, 0, kBlack); }},
      {true, [](tk::Bitmap& b) { b.SetWidth(7); }},
  };
  for (bool readFromFile : {false, true}) {
    for (std::size_t i = 0; i < std::size(changes); ++i) {
      tk::Bitmap image;
      Paint(image, Pattern(6, 4));
      // Marked where the writer puts 0: a file with the mark was written from the kept bytes.
      Bytes marked = vindelor::EncodeBitmap(image);
      marked.at(38) = 0x7F;
      image.SetCachedEncoding(marked);
      if (readFromFile) {
        WriteScratch(marked);
        vindelor::ReadBmpFile(image, scratch_);
      }
      changes[i].second(image);
      vindelor::WriteBmpFile(image, scratch_);
      tk::Bitmap copy;  // the same pixels without a kept encoding
      Paint(copy, Read(image), image.Monochrome());
      EXPECT_EQ(ReadScratch(), changes[i].first ? vindelor::EncodeBitmap(copy) : marked)
          << i << (readFromFile ? ", read from a file" : "");
    }
  }
}

}  // namespace

// The image transforms and BMP files on real bitmaps: the Win32 side of the files. Their byte
// layout is checked on the portable encoder in the host tier, the reference here.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "output/BmpFile.h"
#include "output/BmpFormat.h"
#include "output/Transforms.h"
#include "tests/support/HarnessAccess.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"

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

// The file for the pixels: 24 bits per pixel, or 1 bit with black and white as its colours.
Bytes ExpectedFile(const Pixels& pixels, bool monochrome) {
  vindelor::DibImage dib{static_cast<std::int32_t>(pixels[0].size()),
                         static_cast<std::int32_t>(pixels.size()),
                         monochrome ? std::uint16_t{1} : std::uint16_t{24}, {}, {}};
  if (monochrome) dib.colorTable = {0x000000, 0xFFFFFF};
  const std::size_t rowSize = vindelor::BmpRowSize(dib.width, dib.bitsPerPixel);
  dib.pixels.resize(rowSize * pixels.size());
  for (std::size_t y = 0; y < pixels.size(); ++y) {
    std::uint8_t* row = &dib.pixels[rowSize * (pixels.size() - 1 - y)];  // bottom row first
    for (std::size_t x = 0; x < pixels[y].size(); ++x) {
      const COLORREF c = pixels[y][x];
      if (monochrome && c == kWhite) row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      if (monochrome) continue;
      row[3 * x] = GetBValue(c);
      row[3 * x + 1] = GetGValue(c);
      row[3 * x + 2] = GetRValue(c);
    }
  }
  return vindelor::EncodeBmp(dib);
}

class Output : public ::testing::Test {
 protected:
  Output() {
    char folder[MAX_PATH + 1]{};
    GetTempPathA(MAX_PATH, folder);
    scratch_ = folder + ("vindelor-output-" + std::to_string(GetCurrentProcessId()) + ".bmp");
  }
  ~Output() override { DeleteFileA(scratch_.c_str()); }
  void WriteScratch(const Bytes& bytes) const {
    std::ofstream(scratch_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  }
  [[nodiscard]] Bytes ReadScratch() const {
    const std::string bytes = testing_support::ReadWholeFile(scratch_);
    return {bytes.begin(), bytes.end()};
  }

  tk::Application app_;
  std::string scratch_;
};

TEST_F(Output, MonochromeKeepsOnlyExactWhiteAndBackToColourBlackTakesTheWindowTextColour) {
  tk::Bitmap image;
  Paint(image, {{kWhite, RGB(254, 255, 255), RGB(255, 255, 254), RGB(192, 192, 192), kBlack}});
  vindelor::ApplyTransforms(image, /*monochrome=*/true, false, false);
  EXPECT_EQ(std::pair(image.BitsPerPixel(), Read(image)),
            std::pair(1, Pixels{{kWhite, kBlack, kBlack, kBlack, kBlack}}));
  vindelor::ApplyTransforms(image, false, false, false);  // the next job without it
  const COLORREF text = GetSysColor(COLOR_WINDOWTEXT);
  EXPECT_EQ(Read(image), (Pixels{{kWhite, text, text, text, text}}));
  EXPECT_GT(image.BitsPerPixel(), 1);
}

TEST_F(Output, MirrorMovesColumnXToWidthMinusOneMinusXInvertFlipsEveryBitAndAllThreeRunInOrder) {
  for (bool monochrome : {false, true}) {
    for (int width : {1, 2, 3, 513, 1201}) {  // odd and even; the last two take several blocks
      Pixels expected = Pattern(width, 3, monochrome);
      tk::Bitmap image;
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
  tk::Bitmap image;  // white turns black, everything else white, then the columns swap round
  Paint(image, {{kWhite, RGB(254, 255, 255), RGB(255, 0, 0)}, {RGB(10, 10, 10), kWhite, kWhite}});
  vindelor::ApplyTransforms(image, true, true, true);
  EXPECT_EQ(Read(image), (Pixels{{kWhite, kWhite, kBlack}, {kBlack, kBlack, kWhite}}));
}

TEST_F(Output, WrittenFilesHoldThePixelsAndReadBackByteAndPixelExact) {
  // The test screen has 32 bits per pixel, which files get as 24. Every width pads its rows.
  for (auto [monochrome, width, height] : {std::tuple(false, 1, 2), std::tuple(false, 37, 11),
                                           std::tuple(true, 1, 2), std::tuple(true, 37, 11)}) {
    SCOPED_TRACE(testing::Message() << monochrome << " " << width);
    const Pixels pixels = Pattern(width, height, monochrome);
    tk::Bitmap image, back;
    Paint(image, pixels, monochrome);
    vindelor::WriteBmpFile(image, scratch_);
    EXPECT_EQ(ReadScratch(), ExpectedFile(pixels, monochrome));
    Paint(back, Pattern(4, 4, !monochrome), !monochrome);
    vindelor::ReadBmpFile(back, scratch_);
    EXPECT_EQ(std::pair(back.Monochrome(), Read(back)), std::pair(monochrome, pixels));
    EXPECT_EQ(vindelor::EncodeBitmap(back), ReadScratch());
  }
  tk::Bitmap empty, back;  // no pixels: an existing file is truncated, and reads back empty
  empty.SetSize(7, 0);
  vindelor::WriteBmpFile(empty, scratch_);
  EXPECT_TRUE(ReadScratch().empty());
  Paint(back, Pattern(3, 3));
  vindelor::ReadBmpFile(back, scratch_);
  EXPECT_EQ(std::pair(back.Empty(), back.Handle()), std::pair(true, HBITMAP{}));
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
      EXPECT_EQ(ReadScratch(), changes[i].first ? ExpectedFile(Read(image), image.Monochrome()) : marked)
          << i << (readFromFile ? ", read from a file" : "");
    }
  }
}

TEST_F(Output, FolderPathsAreJoinedWithTheFileNameOrRefusedWhenTheyDoNotFit) {
  const std::string folder244 = "C:\\" + std::string(241, 'a');
  const std::pair<std::string, std::string> cases[] = {  // no path: refused
      {"C:\\Temp\\", "C:\\Temp\\\\Vindelor20.bmp"},
      {folder244, folder244 + "\\Vindelor20.bmp"},  // the longest that fits
      {folder244 + "b", ""},                        // the path would reach MAX_PATH
      {std::string(260, 'c'), ""},                  // the folder does not fit the buffer
      {"", ""}};                                    // the query fails
  for (const auto& [folder, path] : cases) {
    // As GetWindowsDirectoryA: the length, or the size needed when it does not fit.
    auto query = [&folder = folder](char* buffer, unsigned size) {
      return static_cast<unsigned>(folder.size() >= size ? folder.size() + 1
                                                         : folder.copy(buffer, folder.size()));
    };
    std::string joined = "refused";
    try {
      joined = vindelor::BmpPathIn("folder", query);
    } catch (const tk::Error&) {
    }
    EXPECT_EQ(joined, path.empty() ? "refused" : path) << folder;
  }
}

TEST_F(Output, ACorruptOrMissingFileIsRefusedAndTheImageKept) {
  tk::Bitmap image;
  Paint(image, Pattern(4, 4));
  Bytes truncated = vindelor::EncodeBitmap(image);
  truncated.pop_back();
  WriteScratch(truncated);
  EXPECT_THROW(vindelor::ReadBmpFile(image, scratch_), tk::Error);
  EXPECT_THROW(vindelor::ReadBmpFile(image, "C:\\no such folder\\none.bmp"), tk::Error);
  EXPECT_EQ(Read(image), Pattern(4, 4));
}

// As an 8-bit screen gives them: read with the colour table's palette, which the print job uses.
TEST_F(Output, AFileWithAColourTableIsReadWithItsColoursAndPalette) {
  vindelor::DibImage dib{3, 2, 8, {0x0000FF, 0x00FF00, 0xFF0000}, {0, 1, 2, 0, 2, 1, 0, 0}};
  dib.colorTable.resize(256, 0x808080);
  Bytes file = vindelor::EncodeBmp(dib);
  file[22] = 0xFE;  // height -2: the top row first
  file[23] = file[24] = file[25] = 0xFF;
  WriteScratch(file);
  tk::Bitmap image;
  vindelor::ReadBmpFile(image, scratch_);
  const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
  EXPECT_EQ(Read(image), (Pixels{{blue, green, red}, {red, green, blue}}));
  PALETTEENTRY entries[3]{};
  ASSERT_EQ(GetPaletteEntries(vindelor::FileForm(image).MakePalette().Get(), 0, 3, entries), 3u);
  EXPECT_EQ(std::pair(entries[0].peBlue, entries[2].peRed), std::pair(BYTE{255}, BYTE{255}));
}

TEST_F(Output, TheRoundTripFillsThePrintImageKeepsOneCopyOfTheBytesAndDeletesTheFile) {
  tk::Bitmap work, print;
  const Pixels pixels = Pattern(40, 30);
  Paint(work, pixels);
  Paint(print, Pattern(3, 3, true), true);
  vindelor::TemporaryRoundTrip(work, print);
  ASSERT_NE(print.CachedEncoding(), nullptr);
  EXPECT_EQ(std::tuple(work.CachedEncoding(), *print.CachedEncoding(), Read(print)),
            std::tuple(nullptr, ExpectedFile(pixels, false), pixels));
  EXPECT_EQ(GetFileAttributesA(vindelor::TemporaryBmpPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace

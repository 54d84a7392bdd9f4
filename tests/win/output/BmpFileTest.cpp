// BMP files in and out of real bitmaps: the Win32 side of the files. Their byte layout is
// checked on the portable encoder (tests/host/BmpFormatTest.cpp), which these tests take as
// the reference for what the program writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "output/BmpFile.h"
#include "output/BmpFormat.h"
#include "output/Transforms.h"
#include "tests/support/HarnessAccess.h"
#include "tests/win/output/ImageTables.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "tests/support/GuiObjects.h"

namespace {

using namespace output_testing;
using Bytes = std::vector<std::uint8_t>;

// The file for a table of pixels: 24 bits per pixel, or 1 bit with black and white as its two
// colours.
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
      if (monochrome) {
        if (c == kWhite) row[x / 8] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
      } else {
        row[3 * x] = GetBValue(c);
        row[3 * x + 1] = GetGValue(c);
        row[3 * x + 2] = GetRValue(c);
      }
    }
  }
  return vindelor::EncodeBmp(dib);
}

// 8 bits, 256 colours (blue, green, red, then grey), rows stored top row first.
Bytes IndexedFile() {
  vindelor::DibImage dib{3, 2, 8, {0x0000FF, 0x00FF00, 0xFF0000}, {0, 1, 2, 0, 2, 1, 0, 0}};
  dib.colorTable.resize(256, 0x808080);
  Bytes file = vindelor::EncodeBmp(dib);
  file[22] = 0xFE;  // height -2
  file[23] = file[24] = file[25] = 0xFF;
  return file;
}

// Each test has a scratch file in the temporary folder.
class BmpFiles : public ::testing::Test {
 protected:
  BmpFiles() {
    char folder[MAX_PATH + 1]{};
    GetTempPathA(MAX_PATH, folder);
    scratch_ = folder + ("vindelor-output-" + std::to_string(GetCurrentProcessId()) + ".bmp");
  }
  ~BmpFiles() override { DeleteFileA(scratch_.c_str()); }

  void WriteScratch(const Bytes& bytes) const {
    std::ofstream out(scratch_, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }
  [[nodiscard]] Bytes ReadScratch() const {
    const std::string bytes = testing_support::ReadWholeFile(scratch_);
    return {bytes.begin(), bytes.end()};
  }

  tk::Application app_;
  std::string scratch_;
};

TEST_F(BmpFiles, WrittenFilesHoldThePixelsAndReadBackByteAndPixelExact) {
  struct Case { bool monochrome; int width; int height; };
  // The test screen has 32 bits per pixel, which files get as 24. Every width pads its rows.
  const Case cases[] = {{false, 1, 2}, {false, 37, 11}, {true, 1, 2}, {true, 37, 11}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << (c.monochrome ? "1 bit, " : "colour, ") << c.width);
    const Pixels pixels = Pattern(c.width, c.height, c.monochrome);
    tk::Bitmap image;
    Paint(image, pixels, c.monochrome);
    vindelor::WriteBmpFile(image, scratch_);
    const Bytes written = ReadScratch();
    EXPECT_EQ(written, ExpectedFile(pixels, c.monochrome));

    tk::Bitmap back;
    Paint(back, Pattern(4, 4, !c.monochrome), !c.monochrome);
    vindelor::ReadBmpFile(back, scratch_);
    EXPECT_EQ(back.Monochrome(), c.monochrome);
    EXPECT_EQ(Read(back), pixels);
    EXPECT_EQ(vindelor::EncodeBitmap(back), written);
  }
}

TEST_F(BmpFiles, AnImageWithoutPixelsGivesAnEmptyFileThatReadsBackAsAnEmptyImage) {
  for (auto [width, height] : {std::pair{7, 0}, std::pair{0, 3}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    tk::Bitmap image;
    image.SetSize(width, height);
    WriteScratch({1, 2, 3});
    vindelor::WriteBmpFile(image, scratch_);
    EXPECT_TRUE(ReadScratch().empty()) << "an existing file is truncated";

    tk::Bitmap back;
    Paint(back, Pattern(3, 3));
    vindelor::ReadBmpFile(back, scratch_);
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(back.Handle(), nullptr);
  }
}

TEST_F(BmpFiles, TheEncodingIsReusedWhileTheImageIsUnchangedAndRemadeAfterAChange) {
  struct Change { const char* name; bool changes; std::function<void(tk::Bitmap&)> apply; };
  const Change changes[] = {
      {"none", false, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, false); }},
      {"monochrome", true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, true, false, false); }},
      {"inverted", true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, true, false); }},
      {"mirrored", true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, true); }},
      {"drawn on", true, [](tk::Bitmap& b) { SetPixel(b.Surface(), 0, 0, kBlack); }},
  };
  for (bool readFromFile : {false, true}) {
    for (const Change& change : changes) {
      SCOPED_TRACE(testing::Message() << change.name << (readFromFile ? ", read from a file" : ""));
      tk::Bitmap image;
      Paint(image, Pattern(6, 4));
      // Marked where the writer puts 0 (the horizontal resolution): a file with the mark was
      // written from the kept bytes.
      Bytes marked = vindelor::EncodeBitmap(image);
      marked.at(38) = 0x7F;
      if (readFromFile) {
        WriteScratch(marked);
        vindelor::ReadBmpFile(image, scratch_);
      } else {
        image.SetCachedEncoding(marked);
      }
      change.apply(image);
      vindelor::WriteBmpFile(image, scratch_);
      EXPECT_EQ(ReadScratch(),
                change.changes ? ExpectedFile(Read(image), image.Monochrome()) : marked);
    }
  }
}

TEST_F(BmpFiles, FolderPathsAreJoinedWithTheFileNameOrRefusedWhenTheyDoNotFit) {
  struct Case { std::string folder; std::optional<std::string> path; };  // no path: refused
  const std::string folder244 = "C:\\" + std::string(241, 'a');
  const Case cases[] = {
      {"C:\\users\\me\\Temp\\", "C:\\users\\me\\Temp\\\\Vindelor20.bmp"},
      {folder244, folder244 + "\\Vindelor20.bmp"},  // the longest that fits
      {folder244 + "b", std::nullopt},              // the path would reach MAX_PATH
      {std::string(260, 'c'), std::nullopt},        // the folder does not fit the buffer
      {"", std::nullopt},                           // the query fails
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder);
    // Behaves like GetWindowsDirectoryA: the length, or the size needed when it does not fit.
    auto query = [&c](char* buffer, unsigned size) {
      if (c.folder.size() >= size) return static_cast<unsigned>(c.folder.size() + 1);
      return static_cast<unsigned>(c.folder.copy(buffer, c.folder.size()));
    };
    if (c.path) {
      EXPECT_EQ(vindelor::BmpPathIn("folder", query), *c.path);
    } else {
      EXPECT_THROW((void)vindelor::BmpPathIn("folder", query), tk::Error);
    }
  }
}

TEST_F(BmpFiles, ACorruptOrTruncatedFileIsRefusedAndTheImageKept) {
  const Pixels kept = Pattern(4, 4);
  tk::Bitmap image;
  Paint(image, kept);
  const Bytes valid = vindelor::EncodeBitmap(image);
  Bytes noSignature = valid;
  noSignature[0] = 'X';
  const Bytes cases[] = {noSignature, {valid.begin(), valid.begin() + 13},
                         {valid.begin(), valid.end() - 1}};
  for (const Bytes& bytes : cases) {
    SCOPED_TRACE(testing::Message() << bytes.size() << " bytes");
    WriteScratch(bytes);
    EXPECT_THROW(vindelor::ReadBmpFile(image, scratch_), tk::Error);
    EXPECT_EQ(Read(image), kept);
  }
  EXPECT_THROW(vindelor::ReadBmpFile(image, "C:\\no such folder\\none.bmp"), tk::Error);
}

// As an 8-bit screen gives them: read with the colour table's palette, which the print job uses.
TEST_F(BmpFiles, AFileWithAColourTableIsReadWithItsColoursAndPalette) {
  WriteScratch(IndexedFile());
  tk::Bitmap image;
  vindelor::ReadBmpFile(image, scratch_);
  const COLORREF red = RGB(255, 0, 0);
  const COLORREF green = RGB(0, 255, 0);
  const COLORREF blue = RGB(0, 0, 255);
  EXPECT_EQ(Read(image), (Pixels{{blue, green, red}, {red, green, blue}}));
  const tk::UniquePalette palette = vindelor::FileForm(image).MakePalette();
  PALETTEENTRY entries[3]{};
  ASSERT_EQ(GetPaletteEntries(palette.Get(), 0, 3, entries), 3u);
  EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), blue);
  EXPECT_EQ(RGB(entries[2].peRed, entries[2].peGreen, entries[2].peBlue), red);
}

TEST_F(BmpFiles, TheRoundTripFillsThePrintImageKeepsOneCopyOfTheBytesAndDeletesTheFile) {
  tk::Bitmap work;
  tk::Bitmap print;
  const Pixels pixels = Pattern(40, 30);
  Paint(work, pixels);
  Paint(print, Pattern(3, 3, true), true);
  vindelor::TemporaryRoundTrip(work, print);

  EXPECT_EQ(work.CachedEncoding(), nullptr);
  ASSERT_NE(print.CachedEncoding(), nullptr);
  EXPECT_EQ(*print.CachedEncoding(), ExpectedFile(pixels, false));
  EXPECT_EQ(Read(print), pixels);
  EXPECT_EQ(GetFileAttributesA(vindelor::TemporaryBmpPath().c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(BmpFiles, ACycleOfTransformsWritesAndReadsGivesBackEveryHandle) {
  tk::Bitmap work;
  tk::Bitmap print;
  auto cycle = [&] {
    Paint(work, Pattern(64, 48));
    vindelor::ApplyTransforms(work, true, true, true);
    vindelor::ApplyTransforms(work, false, true, true);
    vindelor::TemporaryRoundTrip(work, print);
    (void)print.Handle();  // made from the file form
    WriteScratch(IndexedFile());  // with a palette, as is the print job's
    vindelor::ReadBmpFile(print, scratch_);
    EXPECT_TRUE(vindelor::FileForm(print).MakePalette());
    (void)print.Handle();
  };
  cycle();
  const testing_support::GuiObjectCounts before = testing_support::CountGuiObjects();
  for (int i = 0; i < 5; ++i) cycle();
  const testing_support::GuiObjectCounts after = testing_support::CountGuiObjects();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

}  // namespace

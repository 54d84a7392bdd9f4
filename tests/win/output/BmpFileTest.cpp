// BMP files in and out of real bitmaps: the bytes written, reading back, the kept encoding, the
// file paths, refused files, the print job's round trip and the handles a cycle takes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>

#include "output/BmpFile.h"
#include "output/Transforms.h"
#include "tests/win/output/ImageTables.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "toolkit/GuiObjects.h"

namespace {

using namespace output_testing;

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFFu);
  Put16(out, value >> 16);
}
void Append(std::vector<std::uint8_t>& out, std::initializer_list<int> bytes) {
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
}
void Set32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// A pixel of a written file, by image coordinates (rows are stored bottom row first).
COLORREF FilePixel(const std::vector<std::uint8_t>& file, int x, int y) {
  const std::uint32_t offset = U32(file, 10);
  const auto height = static_cast<int>(U32(file, 22));
  const std::uint32_t bpp = U16(file, 28);
  const std::uint32_t rowSize = U32(file, 34) / static_cast<std::uint32_t>(height);
  const std::size_t row = offset + rowSize * static_cast<std::uint32_t>(height - 1 - y);
  if (bpp == 1) {
    const bool set = (file[row + static_cast<std::size_t>(x / 8)] >> (7 - x % 8)) & 1;
    const std::size_t entry = 54 + (set ? 4u : 0u);
    return RGB(file[entry + 2], file[entry + 1], file[entry]);
  }
  const std::size_t at = row + 3 * static_cast<std::size_t>(x);
  return RGB(file[at + 2], file[at + 1], file[at]);
}

// A copy of the image's kept encoding; empty when it has none.
std::optional<std::vector<std::uint8_t>> Kept(const tk::Bitmap& image) {
  const std::vector<std::uint8_t>* kept = image.CachedEncoding();
  if (kept == nullptr) return std::nullopt;
  return *kept;
}

// Sets an environment variable for the life of the object.
class EnvironmentOverride {
 public:
  EnvironmentOverride(const char* name, const std::string& value) : name_(name) {
    char old[32768];
    if (DWORD length = GetEnvironmentVariableA(name, old, sizeof(old)); length < sizeof(old)) {
      if (length > 0) old_ = std::string(old, length);
    }
    SetEnvironmentVariableA(name, value.c_str());
  }
  EnvironmentOverride(const EnvironmentOverride&) = delete;
  EnvironmentOverride& operator=(const EnvironmentOverride&) = delete;
  ~EnvironmentOverride() { SetEnvironmentVariableA(name_, old_ ? old_->c_str() : nullptr); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const tk::Error& error) {
    return error.what();
  }
  return "(no error)";
}

class BmpFiles : public ::testing::Test {
 protected:
  tk::Application app_;
};

TEST_F(BmpFiles, WrittenFilesHaveTheLayoutWithPaddedRowsBottomRowFirst) {
  struct Case {
    const char* name;
    bool monochrome;
    int width;
    int height;
    std::uint16_t bitsPerPixel;
    std::uint32_t rowSize;
    std::uint32_t pixelOffset;
  };
  // The test screen has 32 bits per pixel, which files get as 24.
  const Case cases[] = {
      {"colour 5 x 3", false, 5, 3, 24, 16, 54},
      {"colour width 1", false, 1, 2, 24, 4, 54},
      {"colour width 101", false, 101, 2, 24, 304, 54},
      {"1 bit width 101", true, 101, 3, 1, 16, 62},
      {"1 bit width 1", true, 1, 2, 1, 4, 62},
      {"1 bit width 33", true, 33, 4, 1, 8, 62},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    tk::Bitmap image;
    const Pixels pixels = Pattern(c.width, c.height, c.monochrome);
    Paint(image, pixels, c.monochrome);
    ScratchFile file("layout");
    vindelor::WriteBmpFile(image, file.Path());
    const std::vector<std::uint8_t> bytes = ReadBytes(file.Path());
    const std::uint32_t fileSize = c.pixelOffset + c.rowSize * static_cast<std::uint32_t>(c.height);
    ASSERT_EQ(bytes.size(), fileSize);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32(bytes, 2), fileSize);
    EXPECT_EQ(U32(bytes, 6), 0u) << "reserved";
    EXPECT_EQ(U32(bytes, 10), c.pixelOffset);
    EXPECT_EQ(U32(bytes, 14), 40u);
    EXPECT_EQ(U32(bytes, 18), static_cast<std::uint32_t>(c.width));
    EXPECT_EQ(U32(bytes, 22), static_cast<std::uint32_t>(c.height)) << "positive: bottom row first";
    EXPECT_EQ(U16(bytes, 26), 1u);
    EXPECT_EQ(U16(bytes, 28), c.bitsPerPixel);
    EXPECT_EQ(U32(bytes, 30), 0u) << "no compression";
    EXPECT_EQ(U32(bytes, 34), c.rowSize * static_cast<std::uint32_t>(c.height));
    for (std::size_t at : {38u, 42u, 46u, 50u}) EXPECT_EQ(U32(bytes, at), 0u) << "offset " << at;
    if (c.monochrome) {
      EXPECT_EQ(U32(bytes, 54), 0x000000u) << "entry 0 black";
      EXPECT_EQ(U32(bytes, 58), 0xFFFFFFu) << "entry 1 white";
    }
    for (int y = 0; y < c.height; ++y) {
      for (int x = 0; x < c.width; ++x) {
        ASSERT_EQ(FilePixel(bytes, x, y),
                  pixels[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)])
            << "x " << x << ", y " << y;
      }
    }
  }
}

TEST_F(BmpFiles, AnImageWithoutPixelsGivesAnEmptyFileThatReadsBackAsAnEmptyImage) {
  for (auto [width, height] : {std::pair{0, 0}, std::pair{7, 0}, std::pair{0, 3}}) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    tk::Bitmap image;
    image.SetSize(width, height);
    EXPECT_TRUE(vindelor::EncodeBitmap(image).empty());
    ScratchFile file("empty");
    WriteBytes(file.Path(), {1, 2, 3});
    vindelor::WriteBmpFile(image, file.Path());
    ASSERT_TRUE(FileExists(file.Path()));
    EXPECT_TRUE(ReadBytes(file.Path()).empty()) << "an existing file is truncated";

    tk::Bitmap back;
    Paint(back, Pattern(3, 3));
    vindelor::ReadBmpFile(back, file.Path());
    EXPECT_TRUE(back.Empty());
    EXPECT_EQ(back.Handle(), nullptr);
  }
}

TEST_F(BmpFiles, WritingAndReadingBackKeepsSizeFormatAndPixels) {
  HDC screen = GetDC(nullptr);
  const int screenDepth = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
  ReleaseDC(nullptr, screen);
  for (bool monochrome : {false, true}) {
    SCOPED_TRACE(monochrome ? "1 bit" : "colour");
    tk::Bitmap image;
    const Pixels pixels = Pattern(37, 11, monochrome);
    Paint(image, pixels, monochrome);
    ScratchFile file("roundtrip");
    vindelor::WriteBmpFile(image, file.Path());

    tk::Bitmap back;
    Paint(back, Pattern(4, 4, !monochrome), !monochrome);
    vindelor::ReadBmpFile(back, file.Path());
    EXPECT_EQ(back.Width(), 37);
    EXPECT_EQ(back.Height(), 11);
    EXPECT_EQ(back.Monochrome(), monochrome);
    EXPECT_EQ(back.BitsPerPixel(), monochrome ? 1 : screenDepth);
    EXPECT_EQ(back.Palette(), nullptr) << "two colours or none: no palette";
    EXPECT_EQ(Read(back), pixels);
    EXPECT_EQ(Kept(back), ReadBytes(file.Path())) << "the file form is kept";
  }
}

TEST_F(BmpFiles, TheEncodingIsKeptWhileTheImageIsUnchangedAndDroppedByEveryTransform) {
  tk::Bitmap image;
  Paint(image, Pattern(6, 4));
  EXPECT_EQ(image.CachedEncoding(), nullptr);
  const std::vector<std::uint8_t> encoded = vindelor::EncodeBitmap(image);
  EXPECT_EQ(Kept(image), encoded);

  // A marked encoding shows that the kept bytes are used as they are.
  std::vector<std::uint8_t> marked = encoded;
  marked.at(38) = 0x7F;  // the horizontal resolution
  image.SetCachedEncoding(marked);
  vindelor::ApplyTransforms(image, false, false, false);  // nothing to do on a colour image
  EXPECT_EQ(vindelor::EncodeBitmap(image), marked);
  ScratchFile file("cache");
  vindelor::WriteBmpFile(image, file.Path());
  EXPECT_EQ(ReadBytes(file.Path()), marked);

  struct Change {
    const char* name;
    std::function<void(tk::Bitmap&)> apply;
  };
  const Change changes[] = {
      {"monochrome", [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, true, false, false); }},
      {"inverted", [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, true, false); }},
      {"mirrored", [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, true); }},
      {"drawn on", [](tk::Bitmap& b) { SetPixel(b.Surface(), 0, 0, kBlack); }},
  };
  for (const Change& change : changes) {
    SCOPED_TRACE(change.name);
    Paint(image, Pattern(6, 4));
    image.SetCachedEncoding(marked);
    change.apply(image);
    EXPECT_EQ(image.CachedEncoding(), nullptr);
    vindelor::WriteBmpFile(image, file.Path());
    const std::vector<std::uint8_t> written = ReadBytes(file.Path());
    EXPECT_NE(written, marked);
    EXPECT_NE(written, encoded) << "the pixels as they are now";
  }
}

TEST_F(BmpFiles, FolderPathsAreJoinedWithTheFileNameOrRefusedWhenTheyDoNotFit) {
  struct Case {
    const char* name;
    std::string folder;
    bool queryFails;
    std::optional<std::string> path;  // none: refused
  };
  const std::string folder244 = "C:\\" + std::string(241, 'a');
  const Case cases[] = {
      {"temporary folder, trailing separator", "C:\\users\\me\\Temp\\", false,
       "C:\\users\\me\\Temp\\\\Vindelor20.bmp"},
      {"Windows directory", "C:\\windows", false, "C:\\windows\\Vindelor20.bmp"},
      {"the longest that fits", folder244, false, folder244 + "\\Vindelor20.bmp"},
      {"one more and the path is too long", folder244 + "b", false, std::nullopt},
      {"folder of 259", std::string(259, 'c'), false, std::nullopt},
      {"folder of 260 does not fit the buffer", std::string(260, 'c'), false, std::nullopt},
      {"folder of 400", std::string(400, 'c'), false, std::nullopt},
      {"the query fails", "", true, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // Behaves like GetWindowsDirectoryA: the length, or the size needed when it does not fit.
    auto query = [&](char* buffer, unsigned size) -> unsigned {
      EXPECT_EQ(size, 260u);
      if (c.queryFails) return 0;
      if (c.folder.size() >= size) return static_cast<unsigned>(c.folder.size() + 1);
      c.folder.copy(buffer, c.folder.size());
      buffer[c.folder.size()] = '\0';
      return static_cast<unsigned>(c.folder.size());
    };
    if (c.path) {
      EXPECT_EQ(vindelor::BmpPathIn("test folder", query), *c.path);
    } else {
      const std::string error = ErrorOf([&] { (void)vindelor::BmpPathIn("test folder", query); });
      EXPECT_NE(error.find("test folder"), std::string::npos) << error;
    }
  }
}

TEST_F(BmpFiles, TheTemporaryAndViewerFilesLieInTheFoldersThePlatformReports) {
  char windows[MAX_PATH + 1]{};
  GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_EQ(vindelor::ViewerBmpPath(), std::string(windows) + "\\Vindelor20.bmp");
  char temporary[MAX_PATH + 1]{};
  GetTempPathA(MAX_PATH, temporary);
  EXPECT_EQ(vindelor::TemporaryBmpPath(), std::string(temporary) + "\\Vindelor20.bmp");

  EnvironmentOverride tmp("TMP", "C:\\" + std::string(300, 't') + "\\");
  EnvironmentOverride temp("TEMP", "C:\\" + std::string(300, 't') + "\\");
  const std::string error = ErrorOf([] { (void)vindelor::TemporaryBmpPath(); });
  EXPECT_NE(error.find("temporary folder"), std::string::npos) << error;
}

TEST_F(BmpFiles, BrokenFilesAreRefusedAndTheImageIsKept) {
  tk::Bitmap source;
  Paint(source, Pattern(3, 2));
  const std::vector<std::uint8_t> valid = vindelor::EncodeBitmap(source);
  ASSERT_EQ(valid.size(), 54u + 2 * 12);
  auto changed = [&](const std::function<void(std::vector<std::uint8_t>&)>& change) {
    std::vector<std::uint8_t> bytes = valid;
    change(bytes);
    return bytes;
  };
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"1 byte", {'B'}},
      {"13 bytes", {valid.begin(), valid.begin() + 13}},
      {"header cut short", {valid.begin(), valid.begin() + 40}},
      {"no BM", changed([](auto& b) { b[0] = 'X'; })},
      {"header size 41", changed([](auto& b) { Set32(b, 14, 41); })},
      {"pixels cut short", {valid.begin(), valid.end() - 1}},
      {"more rows than the file holds", changed([](auto& b) { Set32(b, 22, 100000); })},
      {"a colour table beyond the end", changed([](auto& b) { b[28] = 8; })},
      {"width 0", changed([](auto& b) { Set32(b, 18, 0); })},
      {"compressed", changed([](auto& b) { Set32(b, 30, 1); })},
  };
  const Pixels kept = Pattern(4, 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ScratchFile file("broken");
    WriteBytes(file.Path(), c.bytes);
    tk::Bitmap image;
    Paint(image, kept);
    EXPECT_THROW(vindelor::ReadBmpFile(image, file.Path()), tk::Error);
    EXPECT_EQ(Read(image), kept);
  }
  tk::Bitmap image;
  EXPECT_THROW(vindelor::ReadBmpFile(image, "C:\\no such folder\\none.bmp"), tk::Error);
}

TEST_F(BmpFiles, OtherHeaderKindsAreReadAndKeptInTheFormTheDrawingTakes) {
  const COLORREF red = RGB(255, 0, 0);
  const COLORREF green = RGB(0, 255, 0);
  const COLORREF blue = RGB(0, 0, 255);
  {
    SCOPED_TRACE("12-byte header, wrong file header fields, bytes after the pixels");
    std::vector<std::uint8_t> bytes{'B', 'M'};
    Put32(bytes, 999);
    Put32(bytes, 0);
    Put32(bytes, 7);
    Put32(bytes, 12);
    Put16(bytes, 2);
    Put16(bytes, 2);
    Put16(bytes, 1);
    Put16(bytes, 24);
    Append(bytes, {255, 0, 0, 0, 255, 0, 0, 0});      // blue, green
    Append(bytes, {0, 0, 255, 255, 255, 255, 0, 0});  // red, white
    Append(bytes, {9, 9, 9});
    ScratchFile file("core");
    WriteBytes(file.Path(), bytes);
    tk::Bitmap image;
    vindelor::ReadBmpFile(image, file.Path());
    EXPECT_EQ(Read(image), (Pixels{{red, kWhite}, {blue, green}}));
    const std::vector<std::uint8_t> kept = Kept(image).value_or(std::vector<std::uint8_t>{});
    ASSERT_EQ(kept.size(), 54u + 16);
    EXPECT_EQ(U32(kept, 2), 70u);
    EXPECT_EQ(U32(kept, 10), 54u);
    EXPECT_EQ(U32(kept, 14), 40u);
    EXPECT_EQ(U16(kept, 28), 24u);
    EXPECT_TRUE(std::equal(kept.begin() + 54, kept.end(), bytes.begin() + 26));

    vindelor::FileForm form(image);
    ASSERT_FALSE(form.Empty());
    EXPECT_EQ(form.Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(form.Width(), 2);
    EXPECT_EQ(form.Height(), 2);
    EXPECT_EQ(form.ColorEntries(), 0u);
    EXPECT_EQ(std::memcmp(form.Bits(), kept.data() + 54, 16), 0);
    EXPECT_FALSE(form.MakePalette());
  }
  {
    SCOPED_TRACE("8 bits, 256 colours, rows stored top row first");
    std::vector<std::uint8_t> bytes{'B', 'M'};
    Put32(bytes, 0);
    Put32(bytes, 0);
    Put32(bytes, 0);
    Put32(bytes, 40);
    Put32(bytes, 3);
    Put32(bytes, static_cast<std::uint32_t>(-2));
    Put16(bytes, 1);
    Put16(bytes, 8);
    for (int i = 0; i < 6; ++i) Put32(bytes, 0);
    Put32(bytes, 0x0000FF);  // entries are B, G, R, 0: blue, green, red, then grey
    Put32(bytes, 0x00FF00);
    Put32(bytes, 0xFF0000);
    for (int i = 3; i < 256; ++i) Put32(bytes, 0x808080);
    Append(bytes, {0, 1, 2, 0, 2, 1, 0, 0});
    ScratchFile file("indexed");
    WriteBytes(file.Path(), bytes);
    // Into a new image, and into one of the same size whose bitmap takes the pixels.
    tk::Bitmap fresh;
    tk::Bitmap image;
    Paint(image, Pattern(3, 2));
    for (tk::Bitmap* target : {&fresh, &image}) {
      vindelor::ReadBmpFile(*target, file.Path());
      EXPECT_FALSE(target->Monochrome());
      EXPECT_EQ(Read(*target), (Pixels{{blue, green, red}, {red, green, blue}}));
      EXPECT_NE(target->Palette(), nullptr);
    }

    vindelor::FileForm form(image);
    EXPECT_EQ(form.Height(), 2);
    EXPECT_EQ(form.Info()->bmiHeader.biHeight, -2);
    EXPECT_EQ(form.ColorEntries(), 256u);
    tk::UniquePalette palette = form.MakePalette();
    ASSERT_TRUE(palette);
    PALETTEENTRY entries[3]{};
    ASSERT_EQ(GetPaletteEntries(palette.Get(), 0, 3, entries), 3u);
    EXPECT_EQ(RGB(entries[0].peRed, entries[0].peGreen, entries[0].peBlue), blue);
    EXPECT_EQ(RGB(entries[2].peRed, entries[2].peGreen, entries[2].peBlue), red);
  }
}

TEST_F(BmpFiles, TheRoundTripFillsThePrintImageAndDeletesTheFile) {
  tk::Bitmap work;
  tk::Bitmap print;
  const Pixels pixels = Pattern(40, 30);
  Paint(work, pixels);
  Paint(print, Pattern(3, 3, true), true);
  vindelor::TemporaryRoundTrip(work, print);

  EXPECT_EQ(print.Width(), 40);
  EXPECT_EQ(print.Height(), 30);
  EXPECT_FALSE(print.Monochrome());
  EXPECT_EQ(Read(print), pixels);
  EXPECT_FALSE(FileExists(vindelor::TemporaryBmpPath()));
  EXPECT_FALSE(Kept(work)) << "one copy of the bytes is kept: the print image's file form";
  ASSERT_TRUE(Kept(print));
  vindelor::FileForm form(print);
  EXPECT_EQ(form.Info()->bmiHeader.biBitCount, 24);
  EXPECT_EQ(form.Width(), 40);
  EXPECT_EQ(form.Height(), 30);

  // The next print, after a transform: the print image takes the new pixels.
  vindelor::InvertImage(work);
  const Pixels inverted = Read(work);
  vindelor::TemporaryRoundTrip(work, print);
  EXPECT_EQ(Read(print), inverted);

  // A temporary folder that does not exist: the write fails and the failure comes out.
  EnvironmentOverride tmp("TMP", "C:\\no such folder\\");
  EnvironmentOverride temp("TEMP", "C:\\no such folder\\");
  EXPECT_THROW(vindelor::TemporaryRoundTrip(work, print), tk::Error);
}

TEST_F(BmpFiles, ACycleOfTransformsWritesAndReadsGivesBackEveryHandle) {
  ScratchFile indexed("indexed-cycle");
  {
    // An 8-bit file, so that reading it makes a palette.
    std::vector<std::uint8_t> bytes{'B', 'M'};
    for (std::uint32_t v : {0u, 0u, 0u, 40u, 4u, 1u}) Put32(bytes, v);
    Put16(bytes, 1);
    Put16(bytes, 8);
    for (int i = 0; i < 6; ++i) Put32(bytes, 0);
    for (std::uint32_t i = 0; i < 256; ++i) Put32(bytes, i * 0x010101u);
    Append(bytes, {0, 50, 100, 200});
    WriteBytes(indexed.Path(), bytes);
  }
  ScratchFile file("cycle");
  tk::Bitmap work;
  tk::Bitmap print;
  tk::Bitmap other;
  auto cycle = [&] {
    Paint(work, Pattern(64, 48));
    vindelor::ApplyTransforms(work, true, true, true);
    vindelor::ApplyTransforms(work, false, true, true);
    vindelor::TemporaryRoundTrip(work, print);
    vindelor::WriteBmpFile(work, file.Path());
    vindelor::ReadBmpFile(print, file.Path());
    vindelor::ReadBmpFile(other, indexed.Path());
    vindelor::FileForm form(other);
    tk::UniquePalette palette = form.MakePalette();
    EXPECT_TRUE(palette);
  };
  cycle();
  const tk::GuiObjectCounts before = tk::CountGuiObjects();
  for (int i = 0; i < 5; ++i) cycle();
  const tk::GuiObjectCounts after = tk::CountGuiObjects();
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
}

}  // namespace

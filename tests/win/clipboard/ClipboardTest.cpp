// "Get from Clipboard" against what other programs leave on the clipboard, and the copy that a
// clipboard held by another program refuses.
#include <atomic>
#include <thread>

#include "tests/support/Pictures.h"
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;
using Clipboard = ProgramTest;

const std::vector<std::uint8_t> kZeros(1 << 16);  // black bitmaps, black DIBs
constexpr char kNone[] = "Information: There is no Bitmap on the Clipboard";
constexpr char kTaken[] = "Information: Bitmap taken from Clipboard";

Picture Black(int width, int height, int bits) {
  return {width, height, bits,
          std::vector<std::uint32_t>(static_cast<std::size_t>(width * height))};
}

TEST_F(Clipboard, GetFromClipboardTakesOnlyABitmapWithItsFormatAndPalette) {
  static const LOGPALETTE green{0x300, 1, {{10, 200, 30, 0}}};
  struct Case {
    const char* name;
    void (*put)();  // runs with the clipboard open and emptied
    const char* report;
    Picture pasted;  // empty: the work image is left as it was
    bool palette = false;
  };
  const Case cases[] = {
      {"text", [] { SetClipboardData(CF_TEXT, GlobalAlloc(GHND, 8)); }, kNone},
      {"a bitmap with a palette",
       [] {
         SetClipboardData(CF_BITMAP, CreateBitmap(40, 30, 1, 32, kZeros.data()));
         SetClipboardData(CF_PALETTE, CreatePalette(&green));
       },
       kTaken, Black(40, 30, 32), true},
      {"a one-bit bitmap",
       [] { SetClipboardData(CF_BITMAP, CreateBitmap(33, 17, 1, 1, kZeros.data())); }, kTaken,
       Black(33, 17, 1)},
      {"a bitmap announced but never rendered", [] { SetClipboardData(CF_BITMAP, nullptr); },
       "win_tests: Unsupported clipboard format."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WaitUntil([] { return OpenClipboard(tk::App().Handle()) != FALSE; }));
    EmptyClipboard();
    c.put();
    CloseClipboard();
    const Picture before = PictureOf(Work().Handle());
    EXPECT_EQ(Answered([] { SendMessageA(Form2->Button8.Handle(), BM_CLICK, 0, 0); }),
              Strings{c.report});
    EXPECT_EQ(GetOpenClipboardWindow(), nullptr);
    EXPECT_EQ(PictureOf(Work().Handle()), c.pasted.width ? c.pasted : before);
    PALETTEENTRY entry{};
    EXPECT_EQ(GetPaletteEntries(Work().Palette(), 0, 1, &entry) == 1 && entry.peGreen == 200,
              c.palette);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_BITMAP) || !c.pasted.width)
        << "the clipboard keeps it";
  }
}

TEST_F(Clipboard, AClipboardHeldByAnotherProgramRefusesTheCopyWhichIsFreedAndNoBitmapIsFound) {
  EndSplash();
  Form2->CopyToClipBoard();   // a bitmap to find; the work image makes its bitmap and surface
  std::atomic<int> step = 0;  // another program holds the clipboard open from step 1 to 2
  std::thread holder([&] {
    while (!OpenClipboard(nullptr)) Sleep(5);
    for (step = 1; step == 1;) Sleep(5);
    CloseClipboard();
  });
  while (step == 0) Sleep(5);
  const long before = CountObjectsOf().gdi;
  for (int i = 0; i < 3; ++i) Form2->CopyToClipBoard();
  EXPECT_EQ(CountObjectsOf().gdi, before);
  const Strings seen = Answered([] { Form2->Button8Click(); });
  step = 2;
  holder.join();
  EXPECT_EQ(seen, Strings{kNone});
}

}  // namespace

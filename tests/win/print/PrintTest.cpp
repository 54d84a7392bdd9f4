// The printer list and the print job against the harness's queues (each test names its queues in
// CMakeLists.txt; "three B" is A, B and C with B the default), and the image transforms and the
// BMP encoding kept, on real bitmaps.
#include <algorithm>
#include <fstream>
#include <thread>

#include "output/BmpFile.h"
#include "output/PrintJob.h"
#include "output/Transforms.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/Pictures.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Printer.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;

class PrintJob : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EndSplash();
  }
  static Strings Print() {
    return Answered([] { Form2->Button1Click(); });
  }
  static void ExpectUsableAndReArmed() {  // the end of every path but "No Printer installed"
    EXPECT_EQ(std::tuple(Form2->Visible(), Form2->Enabled(), Form2->NStatusLine1.ProgressShown(),
                         vindelor::Shared().armed),
              std::tuple(false, true, false, true));
  }
  static std::size_t PagesNow(const char* queue = "VindelorA") {  // once every job is done
    EXPECT_TRUE(WaitUntilPrintingIsDone());
    return PageFiles(queue).size();
  }
  // Runs the action once, from the program's loop while a page prints, while the timer lives.
  static std::unique_ptr<tk::Timer> WhileAPagePrints(std::function<void()> action) {
    auto timer = std::make_unique<tk::Timer>(1, true);
    timer->OnTimer = [&inside = *timer, action] {
      if (!inside.Enabled() || !tk::Printer::Instance().Printing()) return;
      inside.SetEnabled(false);
      action();
    };
    return timer;
  }
};
using PrinterSetup = PrintJob;

// Queues: none. The list is empty and disabled, and Printer Setup does nothing.
TEST_F(PrintJob, NoPrinterInstalledLeavesTheDialogOpenUsableAndTheHotkeysDisarmed) {
  EXPECT_EQ(std::pair(Form2->ComboBox1.ItemCount(), Form2->ComboBox1.Enabled()),
            std::pair(0, false));
  EXPECT_EQ(Answered([] { Form2->Button2Click(); }), Strings{});
  CaptureDesktop();
  const std::string caption = Form2->NStatusLine1.Caption();
  EXPECT_EQ(Print(), Strings{"Information: No Printer installed"});
  EXPECT_EQ(std::tuple(Form2->Visible(), Form2->Enabled(), vindelor::Shared().armed,
                       Form2->NStatusLine1.Caption(), Form2->NStatusLine1.ProgressShown()),
            std::tuple(true, true, false, caption, false));
}

// Queues: three B, whose default then goes from the profile: a printer chosen by name still
// prints, before anything has looked up the default.
TEST_F(PrintJob, AChosenPrinterPrintsWhenTheSystemHasNoDefault) {
  Strings entries;
  for (int i = 0; i < Form2->ComboBox1.ItemCount(); ++i)
    entries.push_back(Form2->ComboBox1.Item(i));
  EXPECT_EQ(entries, (Strings{"VindelorA", "VindelorB", "VindelorC", "Default Printer"}));
  CaptureDesktop();
  ASSERT_EQ(tk::Printer::Instance().PrinterIndex(), -1);
  Form2->ComboBox1.SetItemIndex(2);
  ASSERT_TRUE(WriteProfileStringA("windows", "device", nullptr));
  const std::size_t pages = PagesNow("VindelorC") + 1;
  EXPECT_EQ(Print(), Strings{});
  EXPECT_EQ(WaitForPages("VindelorC", pages).size(), pages);
  EXPECT_EQ(tk::Printer::Instance().PrinterIndex(), 2);
  ExpectUsableAndReArmed();
}

// Queues: three B. The setup dialog opens on the printer the list names, "Default Printer" being
// the system's default, and its Cancel leaves the list alone; without a default it does not open.
TEST_F(PrinterSetup, OpensOnThePrinterTheListNamesAndNotAtAllWithoutADefault) {
  const auto setup = [] { SendMessageA(Form2->Button2.Handle(), BM_CLICK, 0, 0); };
  for (auto [entry, shown] : {std::pair(2, "VindelorC"), {3, "VindelorB"}, {0, "VindelorA"}}) {
    Form2->ComboBox1.SetItemIndex(entry);
    Strings combos;  // the text of each combo box of the dialog, which is then cancelled
    std::jthread watcher([&] {
      HWND dialog = WaitForWindow(
          {.className = "#32770", .processId = GetCurrentProcessId(), .visibleOnly = true});
      for (HWND child : Children(dialog)) {
        if (_stricmp(ClassNameOf(child).c_str(), "ComboBox") == 0)
          combos.push_back(WindowText(child));
      }
      if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    setup();
    watcher.join();
    EXPECT_NE(std::ranges::find(combos, shown), combos.end()) << shown;
    EXPECT_EQ(Form2->ComboBox1.ItemIndex(), entry);
  }
  Form2->ComboBox1.SetItemIndex(3);
  ASSERT_TRUE(WriteProfileStringA("windows", "device", nullptr));
  EXPECT_EQ(Answered(setup), Strings{"win_tests: There is no default printer currently selected."});
}

// Queues: A and a default queue that rejects every document, both removed at the end. Every capture
// copies to the clipboard, every print makes the image monochrome and mirrors it. After each fault
// the dialog is hidden, enabled and armed, the temporary file gone and no object left over.
TEST_F(PrintJob, EveryPrintFaultLeavesTheProgramUsableAndReArmedWithNothingLeftOver) {
  for (tk::CheckBox* box : {&Form2->CheckBox5, &Form2->CheckBox8, &Form2->CheckBox9})
    box->SetChecked(true);
  char temporary[MAX_PATH]{};
  GetEnvironmentVariableA("TMP", temporary, MAX_PATH);
  const std::string blocker = std::string(temporary) + "\\vindelor-blocker";
  std::ofstream(blocker) << "a file where the folder should be";
  const auto useTemporary = [](std::string folder) {
    return [folder] { SetEnvironmentVariableA("TMP", folder.c_str()); };
  };
  const auto queues = [](const char* arguments) { return [=] { RunQueuesScript(arguments); }; };
  const auto nothing = [] {};
  std::unique_ptr<tk::Timer> inside;
  const auto stopServerInJob = [&] { inside = WhileAPagePrints(queues("server stop")); };
  const char* const failed =
      "Vindelor V2.0: The Image could not be printed !\r\rCheck the Printer or Printer Setup";
  struct Fault {
    std::function<void()> inject, undo;
    Strings messages;
    std::size_t pages;
    long testHandles = 0;  // Wine keeps one of the test's own for each Unix command it runs
  };
  const Fault faults[] = {
      {nothing, [] { Form2->ComboBox1.SetItemIndex(0); }, {failed}, 0},  // rejected
      {nothing, nothing, {}, 1},                                         // on A
      {useTemporary(blocker), useTemporary(temporary), {failed}, 0},
      {useTemporary(FolderWithFullDiskFile("Vindelor20.bmp")),
       useTemporary(temporary),
       {failed},
       0},
      {queues("disable VindelorA"), queues("enable VindelorA"), {}, 1},
      {stopServerInJob, queues("server start"), {failed}, 0, 1},
      {queues("remove VindelorA"),
       nothing,
       {"win_tests: The printer 'VindelorA' cannot be opened."},
       0},
      {[] { RunQueuesScript("remove VindelorReject"), Form2->ComboBox1.SetItemIndex(2); },
       nothing,
       {"win_tests: There is no default printer currently selected."},
       0},  // "Default Printer"
  };
  long gdiAfterWarmUp = 0;
  for (const Fault& fault : faults) {
    SCOPED_TRACE(&fault - faults);
    CaptureDesktop();
    const std::size_t pages = PagesNow();
    fault.inject();
    const ObjectCounts before = CountObjectsOf();
    EXPECT_EQ(Print(), fault.messages);
    const ObjectCounts after = CountObjectsOf();
    fault.undo();
    ExpectUsableAndReArmed();
    EXPECT_EQ(GetFileAttributesA(vindelor::TemporaryBmpPath().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(PagesNow(), pages + fault.pages);
    if (&fault == &faults[1]) gdiAfterWarmUp = after.gdi;
    EXPECT_TRUE(  // the first print on each printer fills the system's caches
        &fault <= &faults[1] || std::pair(after.windows, after.handles) ==
                                    std::pair(before.windows, before.handles + fault.testHandles));
  }
  EXPECT_EQ(CountObjectsOf().gdi, gdiAfterWarmUp) << "over six captures, copies and transforms";
  DeleteFileA(blocker.c_str());
}

// Queues: one. The tray's "Print the Desktop" with Immediate Action while a page prints: the
// job it starts finds the printer busy and says so, and leaves the outer job's page whole.
TEST_F(PrintJob, AJobStartedInsideAnotherLeavesThatJobsPageWhole) {
  CaptureDesktop();
  Form1->immediatClick();
  bool outerKept = false;
  const auto inside = WhileAPagePrints([&] {
    Form1->Desktop1Click();
    outerKept = tk::Printer::Instance().Printing();
  });
  const std::size_t pages = PagesNow() + 1;
  EXPECT_EQ(Print(),
            Strings{"win_tests: The printer cannot be changed while a document is being printed."});
  EXPECT_TRUE(outerKept) << "its document open, its picture in place";
  const Picture page = RenderPage(WaitForPages("VindelorA", pages).back(), 50);
  const RECT ink = page.InkBounds();
  EXPECT_GT((ink.right - ink.left) * (ink.bottom - ink.top), page.width * page.height * 8 / 10);
  ExpectUsableAndReArmed();
}

using Pixels = std::vector<std::uint32_t>;  // 0xRRGGBB, top row first
constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// The colours given, row after row; without, a pattern that differs along both axes (in black
// and white, an irregular one).
void Paint(tk::Bitmap& image, int width, int height, bool monochrome, Pixels colours = {}) {
  image.SetMonochrome(monochrome);
  image.SetSize(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const auto at = static_cast<std::size_t>(y * width + x);
      SetPixel(image.Surface(), x, y,
               !colours.empty()
                   ? RGB(colours[at] >> 16, colours[at] >> 8 & 0xFF, colours[at] & 0xFF)
               : monochrome ? ((x * 7 + y * 3) % 5 < 2 ? kWhite : kBlack)
                            : RGB(x % 256, (y * 40) % 256, (x * 3 + 11) % 256));
    }
  }
}

class Output : public ::testing::Test {
 protected:
  tk::Application app_;
  const std::string scratch_ = testing_support::TemporaryFolder() + "vindelor-output-" +
                               std::to_string(GetCurrentProcessId()) + ".bmp";
  ~Output() override { DeleteFileA(scratch_.c_str()); }
};

// Monochrome keeps only exact white; back in colour, black takes the window-text colour; mirror,
// invert, and all three in that order.
TEST_F(Output, TheTransformsChangeThePixelsInPlace) {
  tk::Bitmap image;
  Paint(image, 4, 1, false, {0xFFFFFF, 0xFEFFFF, 0xC0C0C0, 0});
  vindelor::ApplyTransforms(image, /*monochrome=*/true, false, false);
  EXPECT_EQ(PictureOf(image.Handle()), (testing_support::Picture{4, 1, 1, {0xFFFFFF, 0, 0, 0}}));
  vindelor::ApplyTransforms(image, false, false, false);  // the next job without it
  const COLORREF t = GetSysColor(COLOR_WINDOWTEXT);
  const std::uint32_t text =
      std::uint32_t{GetRValue(t)} << 16 | std::uint32_t{GetGValue(t)} << 8 | GetBValue(t);
  EXPECT_EQ(std::pair(image.BitsPerPixel() > 1, PictureOf(image.Handle()).pixels),
            std::pair(true, Pixels{0xFFFFFF, text, text, text}));
  for (bool monochrome : {false, true}) {
    for (int width : {1, 2, 3, 513, 1201}) {  // odd and even; the last two take several blocks
      SCOPED_TRACE(std::to_string(monochrome) + " " + std::to_string(width));
      Paint(image, width, 3, monochrome);
      auto expected = PictureOf(image.Handle());
      for (auto row = expected.pixels.begin(); row != expected.pixels.end(); row += width)
        std::reverse(row, row + width);
      vindelor::ApplyTransforms(image, monochrome, false, /*mirrored=*/true);
      EXPECT_EQ(PictureOf(image.Handle()), expected);
      for (std::uint32_t& pixel : expected.pixels) pixel ^= 0xFFFFFF;
      vindelor::ApplyTransforms(image, monochrome, /*inverted=*/true, false);
      EXPECT_EQ(PictureOf(image.Handle()), expected);
    }
  }
  Paint(image, 3, 2, false, {0xFFFFFF, 0xFEFFFF, 0xFF0000, 0x0A0A0A, 0xFFFFFF, 0xFFFFFF});
  vindelor::ApplyTransforms(image, true, true, true);  // white turns black, and the rest white
  EXPECT_EQ(PictureOf(image.Handle()).pixels, (Pixels{0xFFFFFF, 0xFFFFFF, 0, 0, 0, 0xFFFFFF}));
}

// A surface kept past an encoding changes the pixels unseen, which shows whether the encoding
// written next was reused. Read back, the file gives the same pixels as a bitmap again.
TEST_F(Output, TheEncodingIsReusedWhileTheImageIsUnchangedAndRemadeAfterAChange) {
  const std::pair<bool, void (*)(tk::Bitmap&)> changes[] = {
      {false, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, false); }},
      {true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, true, false, false); }},
      {true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, true, false); }},
      {true, [](tk::Bitmap& b) { vindelor::ApplyTransforms(b, false, false, true); }},
      {true, [](tk::Bitmap& b) { SetPixel(b.Surface(), 0, 0, kBlack); }},
      {true, [](tk::Bitmap& b) { b.SetWidth(7); }},
  };
  using Bytes = std::vector<std::uint8_t>;
  for (int row = 0; const auto& [remade, change] : changes) {
    SCOPED_TRACE(row++);
    tk::Bitmap image, copy, readBack;  // the copy: the same pixels, never encoded
    Paint(image, 6, 4, false);
    const HDC kept = image.Surface();
    const std::span<const std::uint8_t> first = vindelor::EncodeBitmap(image);
    const Bytes before(first.begin(), first.end());
    SetPixel(kept, 5, 3, kBlack);
    change(image);
    vindelor::WriteBmpFile(image, scratch_);
    const auto pixels = PictureOf(image.Handle());
    Paint(copy, image.Width(), image.Height(), image.Monochrome(), pixels.pixels);
    const std::string written = testing_support::ReadWholeFile(scratch_);
    const std::span<const std::uint8_t> fresh = vindelor::EncodeBitmap(copy);
    EXPECT_EQ(Bytes(written.begin(), written.end()), remade ? Bytes(fresh.begin(), fresh.end()) : before);
    vindelor::WriteBmpFile(copy, scratch_);
    vindelor::ReadBmpFile(scratch_).CopyInto(readBack);
    EXPECT_EQ(PictureOf(readBack.Handle()), pixels);
  }
}

// Drawn twice its size, every pixel becomes four, and the context keeps its own stretch mode.
TEST_F(Output, ThePrintImageFillsItsRectangleAndLeavesTheStretchModeAlone) {
  tk::Bitmap image, page;
  Paint(image, 2, 2, false, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF});
  vindelor::WriteBmpFile(image, scratch_);
  page.SetSize(4, 4);
  const HDC dc = page.Surface();
  SetStretchBltMode(dc, HALFTONE);
  vindelor::DrawPrintImage(dc, vindelor::ReadBmpFile(scratch_), {0, 0, 4, 4});
  EXPECT_EQ(GetStretchBltMode(dc), HALFTONE);
  EXPECT_EQ(PictureOf(page.Handle()).pixels,
            (Pixels{0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00, 0xFF0000, 0xFF0000, 0x00FF00, 0x00FF00,
                    0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF, 0x0000FF, 0x0000FF, 0xFFFFFF, 0xFFFFFF}));
}

}  // namespace

// Printed pages of the real program, rendered with ghostscript. The queue prints on Letter paper
// at 300 dots per inch, with a printable area of 2450 × 3200 dots 50 dots from the corner.
// Landscape pages come out turned a quarter to the left: the page's left edge runs along the
// sheet's bottom.
#include "output/PageLayout.h"
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;

constexpr int kRenderDpi = 50;  // one picture pixel is 6 printer dots
constexpr int kMargin = 50, kShortSide = 2450, kLongSide = 3200;
constexpr RECT kPatternBounds{100, 100, 420, 340};
constexpr SIZE kPatternSize{320, 240};

// A rectangle of printable-area dots as picture pixels of the rendered sheet.
RECT OnSheet(const vindelor::PageRect& dots, bool landscape) {
  auto px = [](int dot) { return (kMargin + dot) * kRenderDpi / 300; };
  if (!landscape) return {px(dots.left), px(dots.top), px(dots.right), px(dots.bottom)};
  return {px(dots.top), px(kLongSide - dots.right), px(dots.bottom), px(kLongSide - dots.left)};
}

// Where the layout puts an image on the sheet.
RECT Expected(bool landscape, bool stretched, bool centered, int dateReserve = 0,
              SIZE image = kPatternSize) {
  const int width = landscape ? kLongSide : kShortSide, height = landscape ? kShortSide : kLongSide;
  return OnSheet(vindelor::PlaceImageOnPage({width, height - dateReserve, 300, 300, 96, 96,
                                             image.cx, image.cy, stretched, centered})
                     .rect,
                 landscape);
}

void ExpectNear(RECT actual, RECT expected, const char* what) {
  const LONG is[] = {actual.left, actual.top, actual.right, actual.bottom};
  const LONG was[] = {expected.left, expected.top, expected.right, expected.bottom};
  for (int edge = 0; edge < 4; ++edge) EXPECT_NEAR(is[edge], was[edge], 1) << what << ", " << edge;
}

class Printing : public ResidentTest {
 protected:
  Printing() : ResidentTest(kPatternBounds) {}
  // Prints, waits for the page file and for the dialog to go, and renders the page.
  RenderedPage PrintAndRender() {
    EXPECT_TRUE(WaitUntilPrintingIsDone()) << "pages of earlier tests are all in";
    const std::size_t before = PageFiles("VindelorA").size();
    program_->Press("Print");
    const auto files = WaitForPages("VindelorA", before + 1);
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }))
        << "the job hides the dialog";
    if (files.size() == before + 1) {
      EXPECT_NE(ReadWholeFile(files.back()).find("%%Title: Vindelor V2.0 Bitmap\n"),
                std::string::npos);
      return RenderPage(files.back(), kRenderDpi);
    }
    ADD_FAILURE() << "no page";
    return {};
  }
};

TEST_F(Printing, TheImageSitsWhereTheLayoutPutsItInBothOrientationsAndTheDateLineBelowIt) {
  for (auto [portrait, stretched, centered, date] :
       {std::tuple(false, false, true, false), std::tuple(false, false, false, false),
        std::tuple(true, false, true, false), std::tuple(true, true, true, true)}) {
    SCOPED_TRACE(testing::Message() << portrait << stretched << centered << date);
    CaptureThePattern();
    program_->SetBox(portrait ? "Portrait" : "Landscape", true);
    program_->SetBox("Stretched", stretched);
    program_->SetBox("Centered", centered);
    program_->SetBox("Date +Time", date);
    const RenderedPage page = PrintAndRender();
    ASSERT_LT(page.width, page.height) << "a portrait sheet";
    // The date line takes 110 dots off the image area.
    const RECT band = OnSheet({0, kLongSide - 110 + 1, kShortSide, kLongSide}, false);
    const RECT image = page.InkBounds({0, 0, page.width, date ? band.top : page.height});
    ExpectNear(image, Expected(!portrait, stretched, centered, date ? 110 : 0), "image");
    if (!date) continue;
    const RECT text = page.InkBounds(band);
    EXPECT_GT(text.top, image.bottom + 1) << "the date line, below a gap";
  }
}

// The system's default printer, named as long as network printers often are, prints with
// "Default Printer" chosen, and nothing is said.
TEST_F(Printing, ALongNamedDefaultPrinterPrintsWithDefaultPrinterChosen) {
  const std::string queue =
      "Vindelor-Long-Name-Printer-On-The-Second-Floor-Of-The-Old-Building-Next-To-The-Kitchen-"
      "Colour";  // queues.sh long
  CaptureThePattern();
  program_->SetBox("Immediate Action", true);
  program_->CancelDialog();
  PressPrintScreen();
  EXPECT_EQ(WaitForPages(queue, 1).size(), 1u);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }));
  EXPECT_TRUE(FindTopLevelWindows({.className = "#32770", .processId = program_->Id()}).empty());
}

// At 1200 dots per inch the date line's 8 points need a taller cell than the usual 70 dots
// under the image give it: the whole line still lies within the printable area (ghostscript
// draws past it, so the area is the measure).
TEST_F(Printing, TheDateLineOfAFinePrinterLiesWithinThePrintableArea) {
  constexpr int kDpi = 150, kAreaBottom = 780 * kDpi / 72;  // pagefile.ppd: 12 12 600 780
  CaptureThePattern();
  program_->SetBox("Portrait", true);
  program_->SetBox("Date +Time", true);
  program_->Press("Print");
  const auto pages = WaitForPages("VindelorFine", 1);
  ASSERT_EQ(pages.size(), 1u);
  const RenderedPage page = RenderPage(pages.back(), kDpi);
  // Below the image, which ends far above the line's band: only the line.
  const RECT line = page.InkBounds({0, page.height * 3 / 4, page.width, page.height});
  EXPECT_GT(line.bottom - line.top, 10) << "a line of 8-point text";
  EXPECT_LE(line.bottom, kAreaBottom);
}

// A capture goes to the clipboard when asked; a selection on the frozen screen is printed alone.
TEST_F(Printing, CapturesGoToTheClipboardAndSelectionsArePrinted) {
  CaptureThePattern();
  program_->SetBox("Copy to Clipboard", true);
  program_->CancelDialog();
  ASSERT_TRUE(program_->CaptureWithHotkey());
  const Picture desktop = ClipboardPicture();
  EXPECT_EQ(std::pair(desktop.width, desktop.height),
            std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  program_->Press("Select Rectangle");
  ASSERT_TRUE(WaitForWindow(
      {.title = "Vindelor®V2.0", .processId = program_->Id(), .visibleOnly = true}));
  const RECT window = pattern_->WindowRect();
  const POINT corner{window.left + pattern_->ClientOffset().x + kPatternRedSquare.left,
                     window.top + pattern_->ClientOffset().y + kPatternRedSquare.top};
  ShowWindow(pattern_->Handle(), SW_HIDE);  // from now on the red square is the overlay's
  ASSERT_TRUE(WaitUntil([&] {
    return GetPixel(tk::WindowDc(nullptr).Get(), corner.x + 10, corner.y + 10) == kPatternRed;
  }));
  ASSERT_TRUE(MoveMouseTo(corner.x, corner.y));
  SetMouseButton(false, true);
  ASSERT_TRUE(MoveMouseTo(corner.x + 20, corner.y + 20));
  SetMouseButton(false, false);
  const RenderedPage page = PrintAndRender();
  const RECT square = Expected(true, false, true, 0, {20, 20});
  ExpectNear(page.InkBounds(), square, "the selection");
  EXPECT_EQ(page.At((square.left + square.right) / 2, (square.top + square.bottom) / 2),
            kPatternRed);
}

}  // namespace

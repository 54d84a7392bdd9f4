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

// A rectangle of printable-area dots as picture pixels of the rendered sheet.
RECT OnSheet(const vindelor::PageRect& dots, bool landscape) {
  auto px = [](int dot) { return (kMargin + dot) * kRenderDpi / 300; };
  if (!landscape) return {px(dots.left), px(dots.top), px(dots.right), px(dots.bottom)};
  return {px(dots.top), px(kLongSide - dots.right), px(dots.bottom), px(kLongSide - dots.left)};
}

// Where the layout puts an image on the sheet.
RECT Expected(bool landscape, bool stretched, bool centered, int dateReserve = 0,
              SIZE image = {320, 240}) {
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
  Printing() : ResidentTest({100, 100, 420, 340}) {}
  Picture PrintAndRender() {
    const std::string page = program_->PrintPage([&] { program_->Press("Print"); });
    EXPECT_NE(ReadWholeFile(page).find("%%Title: Vindelor V2.0 Bitmap\n"), std::string::npos);
    return page.empty() ? Picture{} : RenderPage(page, kRenderDpi);
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
    const Picture page = PrintAndRender();
    ASSERT_LT(page.width, page.height) << "a portrait sheet";
    // The date line takes 110 dots off the image area.
    const RECT band = OnSheet({0, kLongSide - 110 + 1, kShortSide, kLongSide}, false);
    const RECT image = page.InkBounds({0, 0, page.width, date ? band.top : page.height});
    ExpectNear(image, Expected(!portrait, stretched, centered, date ? 110 : 0), "image");
    EXPECT_TRUE(!date || page.InkBounds(band).top > image.bottom + 1) << "the line, below a gap";
  }
}

// The system's default printer, named as long as network printers often are (queues.sh long),
// prints with "Default Printer" chosen, and nothing is said.
TEST_F(Printing, ALongNamedDefaultPrinterPrintsWithDefaultPrinterChosen) {
  CaptureThePattern();
  program_->SetBox("Immediate Action", true);
  program_->CancelDialog();
  program_->PrintPage(&PressPrintScreen,
                      "Vindelor-Long-Name-Printer-On-The-Second-Floor-Of-The-Old-Building-Next-To-"
                      "The-Kitchen-Colour");
  EXPECT_TRUE(program_->ShowsNoDialog());
}

// At 1200 dots per inch the date line's 8 points need a taller cell than the usual 70 dots
// under the image give it: the whole line still lies within the printable area (ghostscript
// draws past it, so the area is the measure).
TEST_F(Printing, TheDateLineOfAFinePrinterLiesWithinThePrintableArea) {
  constexpr int kDpi = 150, kAreaBottom = 780 * kDpi / 72;  // pagefile.ppd: 12 12 600 780
  CaptureThePattern();
  program_->SetBox("Portrait", true);
  program_->SetBox("Date +Time", true);
  const std::string file = program_->PrintPage([&] { program_->Press("Print"); }, "VindelorFine");
  ASSERT_FALSE(file.empty());
  const Picture page = RenderPage(file, kDpi);
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
  POINT client{0, 0};  // the pattern's client area, where the dialog does not lie
  ClientToScreen(pattern_->Handle(), &client);
  EXPECT_EQ(PartOf(desktop, {client.x, client.y, client.x + 150, client.y + 100}),
            pattern_->Pixels({0, 0, 150, 100}, desktop.bitsPerPixel));
  program_->Press("Select Rectangle");
  ASSERT_TRUE(WaitUntil([&] { return IsShown(program_->SelectionOverlay()); }));
  const POINT corner{client.x + kPatternRedSquare.left, client.y + kPatternRedSquare.top};
  ShowWindow(pattern_->Handle(), SW_HIDE);  // from now on the red square is the overlay's
  ASSERT_TRUE(WaitUntil([&] {
    return GetPixel(tk::WindowDc(nullptr).Get(), corner.x + 10, corner.y + 10) == kPatternRed;
  }));
  ASSERT_TRUE(MoveMouseTo(corner.x, corner.y));
  SetMouseButton(false, true);
  ASSERT_TRUE(MoveMouseTo(corner.x + 20, corner.y + 20));
  SetMouseButton(false, false);
  const Picture page = PrintAndRender();
  const RECT square = Expected(true, false, true, 0, {20, 20});
  ExpectNear(page.InkBounds(), square, "the selection");
  EXPECT_EQ(page.At((square.left + square.right) / 2, (square.top + square.bottom) / 2), 0xFF0000u);
}

}  // namespace

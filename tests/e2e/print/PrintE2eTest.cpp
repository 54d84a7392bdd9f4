// Printed pages from the real program: captures of a test window printed through the harness's
// file queue, rendered with ghostscript and checked pixel by pixel.
//
// The queue prints on Letter paper at 300 dots per inch, with a printable area of 2450 × 3200
// dots 50 dots from the paper's corner. Landscape pages come out turned a quarter to the left
// on the portrait sheet: the page's left edge runs along the sheet's bottom.
#include "output/PageLayout.h"
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/Pictures.h"

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
RECT Expected(bool landscape, bool stretched, bool centered, int dateReserve = 0, SIZE image = kPatternSize) {
  const int width = landscape ? kLongSide : kShortSide, height = landscape ? kShortSide : kLongSide;
  return OnSheet(vindelor::PlaceImageOnPage({width, height - dateReserve, 300, 300, 96, 96, image.cx,
                                             image.cy, stretched, centered}).rect, landscape);
}

void ExpectNear(RECT actual, RECT expected, const char* what) {
  EXPECT_TRUE(std::abs(actual.left - expected.left) <= 1 && std::abs(actual.top - expected.top) <= 1 &&
              std::abs(actual.right - expected.right) <= 1 && std::abs(actual.bottom - expected.bottom) <= 1)
      << what << ": (" << actual.left << ", " << actual.top << ", " << actual.right << ", " << actual.bottom
      << ") for (" << expected.left << ", " << expected.top << ", " << expected.right << ", " << expected.bottom << ")";
}

class Printing : public VindelorTest {
 protected:
  void SetUp() override {
    VindelorTest::SetUp();
    program_.emplace();
    program_->EndSplashWithKeyPress();
    pattern_.emplace(kPatternBounds);
  }
  void TearDown() override {
    program_.reset();
    VindelorTest::TearDown();
  }
  void CaptureThePattern() { ASSERT_TRUE(program_->CaptureWindow(pattern_->Handle())); }
  // Prints, waits for the page file and for the dialog to go, and renders the page.
  RenderedPage PrintAndRender() {
    EXPECT_TRUE(WaitUntilPrintingIsDone()) << "pages of earlier tests are all in";
    const std::size_t before = PageFiles("VindelorA").size();
    program_->Press("Print");
    const auto files = WaitForPages("VindelorA", before + 1);
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); })) << "the job hides the dialog";
    if (files.size() == before + 1) return RenderPage(files.back(), kRenderDpi);
    ADD_FAILURE() << "no page";
    return {};
  }

  std::optional<VindelorProcess> program_;
  std::optional<PatternWindow> pattern_;
};

TEST_F(Printing, TheImageSitsWhereTheLayoutPutsItInBothOrientationsAndTheDateLineBelowIt) {
  for (auto [portrait, stretched, centered, date] : {std::tuple(false, false, true, false), std::tuple(false, false, false, false),
                                                     std::tuple(true, false, true, false), std::tuple(true, true, true, true)}) {
    SCOPED_TRACE(testing::Message() << portrait << stretched << centered << date);
    CaptureThePattern();
    program_->SetBox(portrait ? "Portrait" : "Landscape", true);
    program_->SetBox("Stretched", stretched);
    program_->SetBox("Centered", centered);
    program_->SetBox("Date +Time", date);
    const RenderedPage page = PrintAndRender();
    ASSERT_LT(page.width, page.height) << "a portrait sheet";
    // The date line's band: 110 dots off the image area; its text 40 dots below, at x = 1.
    const RECT band = OnSheet({0, kLongSide - 110 + 1, kShortSide, kLongSide}, false);
    const RECT image = page.InkBounds({0, 0, page.width, date ? band.top : page.height});
    ExpectNear(image, Expected(!portrait, stretched, centered, date ? 110 : 0), "image");
    if (!date) continue;
    const RECT text = page.InkBounds(band);
    const RECT at = OnSheet({1, kLongSide - 110 + 40, 1, kLongSide}, false);
    EXPECT_NEAR(text.left, at.left, 3) << "glyphs this small bleed a pixel or two";
    EXPECT_NEAR(text.top, at.top, 3);
    EXPECT_GT(text.top, image.bottom + 1) << "a gap between the image and the date line";
  }
}

TEST_F(Printing, TheTransformsShowOnThePage) {
  const POINT client = pattern_->ClientOffset();
  const int red = client.x + 15, redRow = client.y + 15, row = client.y + 120;
  const int white = client.x + 60, almostWhite = client.x + (kPatternSize.cx - client.x) * 3 / 4;
  // The colours at the red square, at its mirror image (in the almost-white half), in the white
  // half and in the almost-white half. Monochrome comes last: it lasts into later captures.
  for (auto [box, atRed, atMirroredRed, atWhite, atAlmostWhite] : {
           std::tuple("Inverted Colors", RGB(0, 255, 255), RGB(1, 0, 0), RGB(0, 0, 0), RGB(1, 0, 0)),
           std::tuple("Mirrored Image", RGB(254, 255, 255), RGB(255, 0, 0), RGB(254, 255, 255), RGB(255, 255, 255)),
           std::tuple("Monochrome", RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0))}) {
    CaptureThePattern();
    program_->SetBox("Portrait", true);
    program_->SetBox("Stretched", true);
    for (const char* each : {"Monochrome", "Inverted Colors", "Mirrored Image"}) program_->SetBox(each, std::string(each) == box);
    const RenderedPage page = PrintAndRender();
    // The picture pixel showing image pixel (x, y), stretched over the portrait page.
    auto at = [&](int x, int y) {
      return page.At(static_cast<int>((kMargin + (x + 0.5) * kShortSide / kPatternSize.cx) * kRenderDpi / 300),
                     static_cast<int>((kMargin + (y + 0.5) * kLongSide / kPatternSize.cy) * kRenderDpi / 300));
    };
    EXPECT_EQ(std::tuple(at(red, redRow), at(kPatternSize.cx - 1 - red, redRow), at(white, row)),
              std::tuple(atRed, atMirroredRed, atWhite)) << box;
    if (std::string(box) != "Mirrored Image") {
      EXPECT_EQ(at(almostWhite, row), atAlmostWhite) << box;
    }
  }
}

TEST_F(Printing, ImmediateActionPrintsAHotkeyCaptureAndReArms) {
  CaptureThePattern();
  program_->SetBox("Immediate Action", true);
  program_->CancelDialog();
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t before = PageFiles("VindelorA").size();
  PressPrintScreen();
  EXPECT_EQ(WaitForPages("VindelorA", before + 1).size(), before + 1) << "printed at once";
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }));
  PressPrintScreen();  // armed again
  EXPECT_EQ(WaitForPages("VindelorA", before + 2).size(), before + 2);
}

TEST_F(Printing, CapturesGoToTheClipboardAndPastesAndSelectionsArePrinted) {
  CaptureThePattern();
  program_->SetBox("Copy to Clipboard", true);
  program_->CancelDialog();
  ASSERT_TRUE(program_->CaptureWithHotkey());
  std::vector<UINT> formats;
  const Picture desktop = ClipboardPicture(&formats);
  EXPECT_EQ(std::pair(desktop.width, desktop.height), std::pair(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
  for (UINT format : formats) {  // Wine adds the DIB formats it can make of a bitmap
    EXPECT_TRUE(format == CF_BITMAP || format == CF_DIB || format == CF_DIBV5) << format;
  }
  program_->CancelDialog();
  CaptureThePattern();
  EXPECT_EQ(ClipboardPicture().width, kPatternSize.cx);

  // A black bitmap of another program's is pasted and printed.
  ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
  EmptyClipboard();
  const std::vector<BYTE> black(64 / 8 * 48);
  SetClipboardData(CF_BITMAP, CreateBitmap(64, 48, 1, 1, black.data()));
  CloseClipboard();
  program_->Press("Get from Clipboard");
  EXPECT_EQ(AnswerDialog(program_->Id(), IDOK).value_or(SeenDialog{}).text, "Bitmap taken from Clipboard");
  ExpectNear(PrintAndRender().InkBounds(), Expected(true, false, true, 0, {64, 48}), "the pasted bitmap");

  // Only the red square, selected on the frozen screen, is printed.
  ASSERT_TRUE(program_->CaptureWithHotkey());
  program_->Press("Select Rectangle");
  ASSERT_TRUE(WaitForWindow({.title = "Vindelor\xAEV2.0", .processId = program_->Id(), .visibleOnly = true}));
  const RECT window = pattern_->WindowRect();
  const POINT corner{window.left + pattern_->ClientOffset().x + kPatternRedSquare.left,
                     window.top + pattern_->ClientOffset().y + kPatternRedSquare.top};
  ShowWindow(pattern_->Handle(), SW_HIDE);  // from now on the red square is the overlay's
  ASSERT_TRUE(WaitUntil([&] { return GetPixel(tk::WindowDc(nullptr).Get(), corner.x + 10, corner.y + 10) == kPatternRed; }));
  ASSERT_TRUE(MoveMouseTo(corner.x, corner.y));
  SetMouseButton(false, true);
  ASSERT_TRUE(MoveMouseTo(corner.x + 20, corner.y + 20));
  SetMouseButton(false, false);
  const RenderedPage page = PrintAndRender();
  const RECT square = Expected(true, false, true, 0, {20, 20});
  ExpectNear(page.InkBounds(), square, "the selection");
  EXPECT_EQ(page.At((square.left + square.right) / 2, (square.top + square.bottom) / 2), kPatternRed);
}

}  // namespace

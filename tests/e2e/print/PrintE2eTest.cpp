// Printed pages from the real program: a capture of a test window printed through the harness's
// file queue, rendered with ghostscript and checked pixel by pixel.
//
// The harness's queue prints on Letter paper at 300 dots per inch with a printable area of
// 2450 × 3200 dots starting 50 dots from the paper's corner. Landscape pages come out turned a
// quarter to the left on the portrait sheet: the page's left edge runs along the sheet's bottom.
#include <gtest/gtest.h>

#include <optional>

#include "output/PageLayout.h"
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/PatternWindow.h"
#include "tests/support/Pictures.h"

namespace {

using namespace testing_support;

constexpr char kQueue[] = "VindelorA";  // the harness's default set: one queue
constexpr int kRenderDpi = 50;          // one picture pixel is 6 printer dots
constexpr int kPrinterDpi = 300;
constexpr int kScreenDpi = 96;
constexpr int kMargin = 50;  // dots from the paper's edge to the printable area
constexpr int kShortSide = 2450;
constexpr int kLongSide = 3200;
constexpr RECT kPatternBounds{100, 100, 100 + 320, 100 + 240};

// A rectangle of printable-area dots on the page as picture pixels of the rendered sheet.
RECT OnSheet(const vindelor::PageRect& dots, bool landscape) {
  auto pixels = [](int dot) { return (kMargin + dot) * kRenderDpi / kPrinterDpi; };
  if (!landscape) return {pixels(dots.left), pixels(dots.top), pixels(dots.right), pixels(dots.bottom)};
  return {pixels(dots.top), pixels(kLongSide - dots.right), pixels(dots.bottom),
          pixels(kLongSide - dots.left)};
}

// Where the layout puts the captured window on a page.
vindelor::PageRect Expected(bool landscape, bool stretched, bool centered, int dateReserve = 0,
                            SIZE image = {kPatternBounds.right - kPatternBounds.left,
                                          kPatternBounds.bottom - kPatternBounds.top}) {
  return vindelor::PlaceImageOnPage({.pageWidth = landscape ? kLongSide : kShortSide,
                                     .pageHeight = (landscape ? kShortSide : kLongSide) - dateReserve,
                                     .printerDpiX = kPrinterDpi,
                                     .printerDpiY = kPrinterDpi,
                                     .screenDpiX = kScreenDpi,
                                     .screenDpiY = kScreenDpi,
                                     .imageWidth = image.cx,
                                     .imageHeight = image.cy,
                                     .stretched = stretched,
                                     .centered = centered})
      .rect;
}

void ExpectNear(RECT actual, RECT expected, const char* what) {
  EXPECT_NEAR(actual.left, expected.left, 1) << what;
  EXPECT_NEAR(actual.top, expected.top, 1) << what;
  EXPECT_NEAR(actual.right, expected.right, 1) << what;
  EXPECT_NEAR(actual.bottom, expected.bottom, 1) << what;
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

  // Captures the pattern window with Alt+Print Screen; the dialog opens.
  void CaptureThePattern() {
    SetForegroundWindow(pattern_->Handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern_->Handle(); }));
    ASSERT_TRUE(program_->CaptureWithHotkey(/*alt=*/true));
  }
  HWND Control(const std::string& caption) {
    HWND control = ChildWithText(program_->OptionsDialog(), caption);
    EXPECT_NE(control, nullptr) << caption;
    return control;
  }
  // Clicks without waiting for the reaction: a print runs inside the click.
  void Click(const std::string& caption) { PostMessageA(Control(caption), BM_CLICK, 0, 0); }
  // Runs a push button's command as its click does, without simulating the mouse on it.
  void Press(const std::string& caption) {
    HWND button = Control(caption);
    PostMessageA(program_->OptionsDialog(), WM_COMMAND,
                 MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  }
  // Clicks a box and waits until its state has changed.
  void Toggle(const std::string& caption) {
    HWND box = Control(caption);
    const LRESULT before = SendMessageA(box, BM_GETCHECK, 0, 0);
    Click(caption);
    EXPECT_TRUE(WaitUntil([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) != before; }))
        << caption;
  }
  void SetBox(const std::string& caption, bool checked) {
    if ((SendMessageA(Control(caption), BM_GETCHECK, 0, 0) == BST_CHECKED) != checked) {
      Toggle(caption);
    }
  }
  // Prints, waits for the page file and for the dialog to go, and renders the page.
  RenderedPage PrintAndRender() {
    EXPECT_TRUE(WaitUntilPrintingIsDone()) << "pages of earlier tests are all in";
    const std::size_t before = PageFiles(kQueue).size();
    Press("Print");
    auto files = WaitForPages(kQueue, before + 1);
    EXPECT_EQ(files.size(), before + 1);
    HWND dialog = program_->OptionsDialog();
    EXPECT_TRUE(WaitUntil([&] { return !IsShown(dialog); }))
        << "the job ends by hiding the dialog; the dialog is "
        << (IsWindowEnabled(dialog) ? "enabled" : "disabled (a job runs)")
        << ", Print Screen's key state " << GetAsyncKeyState(VK_SNAPSHOT);
    if (files.size() != before + 1) return {};
    return RenderPage(kQueue, files.back(), kRenderDpi);
  }
  // The picture pixel showing image pixel (x, y) of the capture, stretched over a portrait page.
  static POINT StretchedPixel(int x, int y) {
    const int width = kPatternBounds.right - kPatternBounds.left;
    const int height = kPatternBounds.bottom - kPatternBounds.top;
    const double dotX = kMargin + (x + 0.5) * kShortSide / width;
    const double dotY = kMargin + (y + 0.5) * kLongSide / height;
    return {static_cast<LONG>(dotX * kRenderDpi / kPrinterDpi),
            static_cast<LONG>(dotY * kRenderDpi / kPrinterDpi)};
  }

  std::optional<VindelorProcess> program_;
  std::optional<PatternWindow> pattern_;
};

TEST_F(Printing, TheImageSitsWhereTheLayoutPutsItInBothOrientations) {
  struct Case {
    const char* name;
    bool portrait, stretched, centered;
  };
  for (const Case& c : {Case{"landscape, centred", false, false, true},
                        Case{"landscape, neither", false, false, false},
                        Case{"portrait, centred", true, false, true},
                        Case{"portrait, stretched and centred", true, true, true}}) {
    SCOPED_TRACE(c.name);
    CaptureThePattern();
    SetBox(c.portrait ? "Portrait" : "Landscape", true);
    SetBox("Stretched", c.stretched);
    SetBox("Centered", c.centered);
    const RenderedPage page = PrintAndRender();
    ASSERT_GT(page.width, 0);
    EXPECT_LT(page.width, page.height) << "a portrait sheet";
    ExpectNear(page.InkBounds(), OnSheet(Expected(!c.portrait, c.stretched, c.centered), !c.portrait),
               c.name);
  }
}

TEST_F(Printing, TheDateLineGoesBelowAnImageAreaShortenedBy110Dots) {
  CaptureThePattern();
  SetBox("Portrait", true);
  SetBox("Stretched", true);
  SetBox("Date +Time", true);
  const RenderedPage page = PrintAndRender();
  ASSERT_GT(page.width, 0);
  const RECT image = OnSheet(Expected(false, true, true, 110), false);
  // The image fills the shortened area; the date line's top is 40 dots below it, at x = 1.
  const RECT band = OnSheet({0, kLongSide - 110 + 1, kShortSide, kLongSide}, false);
  const RECT imageInk = page.InkBounds({0, 0, page.width, band.top});
  ExpectNear(imageInk, image, "image");
  const RECT dateInk = page.InkBounds(band);
  ASSERT_NE(dateInk.right, 0) << "text in the date line's band";
  // Glyphs rendered this small bleed a pixel or two beyond their outlines.
  constexpr int kGlyphSlack = 3;
  EXPECT_NEAR(dateInk.left, OnSheet({1, 0, 1, 0}, false).left, kGlyphSlack);
  EXPECT_NEAR(dateInk.top, OnSheet({0, kLongSide - 110 + 40, 0, 0}, false).top, kGlyphSlack);
  EXPECT_GT(dateInk.top, imageInk.bottom + 1) << "a gap between the image and the date line";
  EXPECT_LE(dateInk.bottom, OnSheet({0, 0, 0, kLongSide}, false).bottom);
}

TEST_F(Printing, TheTransformsShowOnThePage) {
  const int width = kPatternBounds.right - kPatternBounds.left;
  const POINT client = pattern_->ClientOffset();
  const int red = client.x + 15;  // a column of the red square
  const int redRow = client.y + 15;
  const int white = client.x + 60;                      // the exactly white half
  const int almostWhite = client.x + (width - client.x) * 3 / 4;  // the (254, 255, 255) half
  const int row = client.y + 120;
  struct Case {
    const char* name;
    const char* box;
    COLORREF atRed, atMirroredRed, atWhite, atAlmostWhite;
  };
  for (const Case& c : {
           // (x, y) shows image column W-1-x when mirrored; the red square's mirror image
           // lies in the almost-white half. Monochrome comes last: after a print with it, the
           // following captures are black and white.
           Case{"inverted", "Inverted Colors", RGB(0, 255, 255), RGB(1, 0, 0), RGB(0, 0, 0),
                RGB(1, 0, 0)},
           Case{"mirrored", "Mirrored Image", RGB(254, 255, 255), RGB(255, 0, 0),
                RGB(254, 255, 255), RGB(255, 255, 255)},
           Case{"monochrome", "Monochrome", RGB(0, 0, 0), RGB(0, 0, 0), RGB(255, 255, 255),
                RGB(0, 0, 0)},
       }) {
    SCOPED_TRACE(c.name);
    CaptureThePattern();
    SetBox("Portrait", true);
    SetBox("Stretched", true);
    for (const char* box : {"Monochrome", "Inverted Colors", "Mirrored Image"}) {
      SetBox(box, std::string(box) == c.box);
    }
    const RenderedPage page = PrintAndRender();
    ASSERT_GT(page.width, 0);
    auto at = [&](int x, int y) {
      POINT p = StretchedPixel(x, y);
      return page.At(p.x, p.y);
    };
    EXPECT_EQ(at(red, redRow), c.atRed);
    EXPECT_EQ(at(width - 1 - red, redRow), c.atMirroredRed);
    EXPECT_EQ(at(white, row), c.atWhite);
    if (std::string(c.box) != "Mirrored Image") {
      EXPECT_EQ(at(almostWhite, row), c.atAlmostWhite);
    }
  }
}

TEST_F(Printing, ImmediateActionPrintsAHotkeyCaptureAndReArms) {
  CaptureThePattern();
  SetBox("Immediate Action", true);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }));
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t before = PageFiles(kQueue).size();
  PressPrintScreen();
  EXPECT_EQ(WaitForPages(kQueue, before + 1).size(), before + 1) << "printed at once";
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }));
  PressPrintScreen();  // armed again
  EXPECT_EQ(WaitForPages(kQueue, before + 2).size(), before + 2);
}

TEST_F(Printing, CapturesGoToTheClipboardAndPastesAndSelectionsArePrinted) {
  auto cancel = [&] {
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(program_->OptionsDialog()); }));
  };
  CaptureThePattern();
  SetBox("Copy to Clipboard", true);
  cancel();
  ASSERT_TRUE(program_->CaptureWithHotkey());
  std::vector<UINT> formats;
  const Picture desktop = ClipboardPicture(&formats);
  EXPECT_EQ(desktop.width, GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(desktop.height, GetSystemMetrics(SM_CYSCREEN));
  for (UINT format : formats) {  // Wine adds the DIB formats it can make of a bitmap
    EXPECT_TRUE(format == CF_BITMAP || format == CF_DIB || format == CF_DIBV5) << format;
  }
  cancel();
  CaptureThePattern();
  EXPECT_EQ(ClipboardPicture().width, kPatternBounds.right - kPatternBounds.left);

  // A black bitmap of another program's is pasted and printed.
  ASSERT_TRUE(WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }));
  EmptyClipboard();
  const std::vector<BYTE> black(64 / 8 * 48);
  SetClipboardData(CF_BITMAP, CreateBitmap(64, 48, 1, 1, black.data()));
  CloseClipboard();
  Press("Get from Clipboard");
  EXPECT_EQ(AnswerDialog(program_->Id(), IDOK).value_or(SeenDialog{}).text,
            "Bitmap taken from Clipboard");
  ExpectNear(PrintAndRender().InkBounds(), OnSheet(Expected(true, false, true, 0, {64, 48}), true),
             "the pasted bitmap");

  // Only the red square, selected on the frozen screen, is printed.
  ASSERT_TRUE(program_->CaptureWithHotkey());
  Press("Select Rectangle");
  ASSERT_TRUE(WaitForWindow({.title = "Vindelor\xAEV2.0", .processId = program_->Id(), .visibleOnly = true}));
  ShowWindow(pattern_->Handle(), SW_HIDE);  // from now on the red square is the overlay's
  const POINT corner{pattern_->WindowRect().left + pattern_->ClientOffset().x + kPatternRedSquare.left,
                     pattern_->WindowRect().top + pattern_->ClientOffset().y + kPatternRedSquare.top};
  ASSERT_TRUE(WaitUntil([&] {
    tk::WindowDc screen(nullptr);
    return GetPixel(screen.Get(), corner.x + 10, corner.y + 10) == kPatternRed;
  }));
  ASSERT_TRUE(MoveMouseTo(corner.x, corner.y));
  SetMouseButton(false, true);
  ASSERT_TRUE(MoveMouseTo(corner.x + 20, corner.y + 20));
  SetMouseButton(false, false);
  const RenderedPage page = PrintAndRender();
  const RECT square = OnSheet(Expected(true, false, true, 0, {20, 20}), true);
  ExpectNear(page.InkBounds(), square, "the selection");
  EXPECT_EQ(page.At((square.left + square.right) / 2, (square.top + square.bottom) / 2), kPatternRed);
}

}  // namespace

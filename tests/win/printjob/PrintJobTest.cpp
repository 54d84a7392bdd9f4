// The print job in-process: what it leaves in the work image, and how every failure returns the
// dialog to a usable state. Each test names its print queues in CMakeLists.txt.
#include <thread>

#include "output/BmpFile.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/Pictures.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Printer.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;

constexpr char kPrintFailed[] =
    "Vindelor V2.0: The Image could not be printed !\r\rCheck the Printer or Printer Setup";

class PrintJob : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EndSplash();
  }
  // The end state of every path but "No Printer installed".
  static void ExpectUsableAndReArmed() {
    EXPECT_EQ(std::tuple(Form2->Visible(), Form2->Enabled(), Form2->NStatusLine1.ProgressShown(),
                         vindelor::Shared().armed),
              std::tuple(false, true, false, true));
  }
  // The count of pages in the queue once every job so far is done.
  static std::size_t PagesNow(const char* queue = "VindelorA") {
    EXPECT_TRUE(WaitUntilPrintingIsDone());
    return PageFiles(queue).size();
  }
};

// Queues: none.
TEST_F(PrintJob, NoPrinterInstalledLeavesTheDialogOpenUsableAndTheHotkeysDisarmed) {
  CaptureDesktop();
  const std::string caption = Form2->NStatusLine1.Caption();
  EXPECT_EQ(Print(), Strings{"Information: No Printer installed"});
  EXPECT_EQ(std::tuple(Form2->Visible(), Form2->Enabled(), vindelor::Shared().armed,
                       Form2->NStatusLine1.Caption(), Form2->NStatusLine1.ProgressShown()),
            std::tuple(true, true, false, caption, false));
}

// Queues: one, whose queue is removed while the program runs.
TEST_F(PrintJob, TheDefaultQueueRemovedDuringTheRunIsReportedAndTheDialogComesBack) {
  CaptureDesktop();
  RunQueuesScript("remove VindelorA");
  ASSERT_TRUE(WaitUntil([] {
    char device[100] = "?";
    GetProfileStringA("windows", "device", "", device, sizeof(device));
    return device[0] == '\0';
  }));
  EXPECT_EQ(Print(), Strings{"win_tests: There is no default printer currently selected."});
  ExpectUsableAndReArmed();
}

// Queues: three B, whose default then goes from the profile: a printer chosen by name still
// prints, before anything has looked up the default.
TEST_F(PrintJob, AChosenPrinterPrintsWhenTheSystemHasNoDefault) {
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

// Queues: A and a default queue that rejects every document.
TEST_F(PrintJob, ARejectedDocumentOrAnUnwritableTemporaryFileIsReportedAndNothingComesOut) {
  for (bool unwritable : {false, true}) {
    CaptureDesktop();
    const std::size_t pages = PagesNow();
    if (unwritable) Form2->ComboBox1.SetItemIndex(0);  // A; else the rejecting default
    char temporary[MAX_PATH]{};
    GetEnvironmentVariableA("TMP", temporary, MAX_PATH);
    if (unwritable) SetEnvironmentVariableA("TMP", "C:\\no such folder");
    EXPECT_EQ(Print(), Strings{kPrintFailed}) << unwritable;
    SetEnvironmentVariableA("TMP", temporary);
    ExpectUsableAndReArmed();
    PumpMessagesFor(1s);
    EXPECT_EQ(PagesNow(), pages) << "no document on A was begun";
  }
}

// Queues: one. "Save as BMP" afterwards writes the image as the print left it.
TEST_F(PrintJob, InvertingAndMirroringAlternateOverPrintsOfOneCapture) {
  PatternWindow pattern({100, 100, 420, 340});
  CaptureWindowOf(pattern.Handle());
  Form2->CheckBox7.SetChecked(true);
  Form2->CheckBox8.SetChecked(true);
  const POINT red{pattern.ClientOffset().x + 15, pattern.ClientOffset().y + 15};
  const int mirroredX = Work().Width() - 1 - red.x;
  ASSERT_EQ(WorkPixel(red.x, red.y), kPatternRed);
  const std::size_t pages = PagesNow();
  EXPECT_EQ(Print(), Strings{});
  EXPECT_EQ(WorkPixel(mirroredX, red.y), RGB(0, 255, 255)) << "inverted and mirrored in place";
  char temporary[MAX_PATH + 1]{};
  GetTempPathA(MAX_PATH, temporary);
  const std::string saved = std::string(temporary) + "vindelor-inverted.bmp";
  std::thread answer([&] {
    HWND dialog = WaitForWindow({.className = "#32770", .title = " Save the Image as Windows Bitmap",
                                 .processId = GetCurrentProcessId(), .visibleOnly = true});
    SendMessageA(SaveDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(saved.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  Form2->Button7Click();
  answer.join();
  tk::Bitmap file;
  vindelor::ReadBmpFile(file, saved);
  DeleteFileA(saved.c_str());
  EXPECT_EQ(GetPixel(file.SurfaceForReading(), mirroredX, red.y), RGB(0, 255, 255));
  EXPECT_EQ(Print(), Strings{});
  EXPECT_EQ(WorkPixel(red.x, red.y), kPatternRed) << "the second print turns it back";

  const auto files = WaitForPages("VindelorA", pages + 2);  // transformed, then as captured
  ASSERT_EQ(files.size(), pages + 2);
  const RenderedPage first = RenderPage(files[pages], 50), second = RenderPage(files[pages + 1], 50);
  ASSERT_EQ(first.rgb.size(), second.rgb.size());
  int different = 0;
  for (std::size_t i = 0; i < first.rgb.size(); ++i) different += first.rgb[i] != second.rgb[i];
  EXPECT_GT(different, 1000);
}

// Queues: one.
TEST_F(PrintJob, MonochromeLastsIntoLaterCapturesUntilAPrintWithoutIt) {
  PatternWindow pattern({100, 100, 420, 340});
  const POINT red{pattern.ClientOffset().x + 15, pattern.ClientOffset().y + 15};
  for (bool monochrome : {true, false}) {
    CaptureWindowOf(pattern.Handle());
    Form2->CheckBox5.SetChecked(monochrome);
    EXPECT_EQ(Print(), Strings{});
    CaptureWindowOf(pattern.Handle());
    EXPECT_EQ(std::pair(Work().Monochrome(), WorkPixel(red.x, red.y)),
              std::pair(monochrome, monochrome ? RGB(0, 0, 0) : kPatternRed)) << "the next capture";
  }
}

// Queues: one. Both orientations stored as off: the job sets landscape first and portrait only
// when that button is on.
TEST_F(PrintJob, WithNeitherOrientationStoredThePageIsLandscape) {
  StopProgram();
  SeedDword("Landscape", 0);
  SeedDword("Portrait", 0);
  StartProgram();
  EndSplash();
  ASSERT_FALSE(Form2->RadioButton1.Checked() || Form2->RadioButton2.Checked());
  CaptureDesktop();
  const std::size_t pages = PagesNow() + 1;
  EXPECT_EQ(Print(), Strings{});
  EXPECT_EQ(WaitForPages("VindelorA", pages).size(), pages);
  EXPECT_EQ(tk::Printer::Instance().Orientation(), tk::Printer::kLandscape);
}

// Queues: one. The tray's "Print the Desktop" with Immediate Action while a page prints: the
// job it starts finds the printer busy and says so, and leaves the outer job's page whole.
TEST_F(PrintJob, AJobStartedInsideAnotherLeavesThatJobsPageWhole) {
  CaptureDesktop();
  Form1->immediatClick();
  bool outerKept = false;
  tk::Timer inside(1, true);
  inside.OnTimer = [&] {
    if (!tk::Printer::Instance().Printing() || !inside.Enabled()) return;
    inside.SetEnabled(false);
    Form1->Desktop1Click();
    outerKept = tk::Printer::Instance().Printing() && !vindelor::Shared().printImage->Empty();
  };
  const std::size_t pages = PagesNow() + 1;
  EXPECT_EQ(Print(), Strings{"win_tests: The printer cannot be changed while a document is being printed."});
  EXPECT_TRUE(outerKept) << "its document open, its picture in place";
  const RenderedPage page = RenderPage(WaitForPages("VindelorA", pages).back(), 50);
  const RECT ink = page.InkBounds();
  EXPECT_GT((ink.right - ink.left) * (ink.bottom - ink.top), page.width * page.height * 8 / 10);
  ExpectUsableAndReArmed();
}

}  // namespace

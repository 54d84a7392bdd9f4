// The print job in-process: what it leaves behind in the work image, and how every failure
// returns the dialog to a usable state. Each test names its print queues in CMakeLists.txt.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "output/BmpFile.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/PatternWindow.h"
#include "tests/win/ProgramFixture.h"
#include "toolkit/Printer.h"
#include "toolkit/Timer.h"

namespace {

using namespace testing_support;

constexpr char kPrintFailed[] =
    "The Image could not be printed !\r\rCheck the Printer or Printer Setup";

class PrintJob : public ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    EndSplash();
  }
  // Captures the desktop, as Print Screen does; the dialog opens.
  static void CaptureDesktop() {
    vindelor::Shared().captureSource = vindelor::kSourceDesktop;
    Form2->CaptureWindow();
  }
  // Captures a pattern window, as Alt+Print Screen does.
  static void CaptureWindowOf(const PatternWindow& window) {
    SetForegroundWindow(window.Handle());
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window.Handle(); }));
    vindelor::Shared().captureSource = vindelor::kSourceActiveWindow;
    Form2->CaptureWindow();
  }
  static std::vector<SeenDialog> Print() {
    DialogAnswerer answerer;
    Form2->Button1Click();
    return answerer.Seen();
  }
  // The end state every path but "No Printer installed" reaches.
  static void ExpectUsableAndReArmed() {
    EXPECT_FALSE(Form2->Visible());
    EXPECT_TRUE(Form2->Enabled());
    EXPECT_FALSE(Form2->NStatusLine1.ProgressShown());
    EXPECT_TRUE(vindelor::Shared().armed);
  }
};

// Queues: none.
TEST_F(PrintJob, NoPrinterInstalledLeavesTheDialogOpenUsableAndTheHotkeysDisarmed) {
  CaptureDesktop();
  const std::string caption = Form2->NStatusLine1.Caption();
  auto seen = Print();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Information");
  EXPECT_EQ(seen[0].text, "No Printer installed");
  EXPECT_TRUE(Form2->Visible());
  EXPECT_TRUE(Form2->Enabled());
  EXPECT_FALSE(vindelor::Shared().armed);
  EXPECT_EQ(Form2->NStatusLine1.Caption(), caption) << "the status line is untouched";
  EXPECT_FALSE(Form2->NStatusLine1.ProgressShown());
}

// Queues: one, then the default (only) queue is removed while the program runs.
TEST_F(PrintJob, TheDefaultQueueRemovedDuringTheRunIsReportedAndTheDialogComesBack) {
  CaptureDesktop();
  RunQueuesScript("remove VindelorA");
  ASSERT_TRUE(WaitUntil([] {
    char device[100] = "?";
    GetProfileStringA("windows", "device", "", device, sizeof(device));
    return device[0] == '\0';
  }));
  auto seen = Print();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, tk::App().Title());
  EXPECT_EQ(seen[0].text, "There is no default printer currently selected.");
  ExpectUsableAndReArmed();
}

// Queues A, B and C with B as the default, whose profile entry then goes away: a printer chosen
// by name still prints, before anything has looked up the default.
TEST_F(PrintJob, AChosenPrinterPrintsWhenTheSystemHasNoDefault) {
  CaptureDesktop();
  ASSERT_EQ(tk::Printer::Instance().PrinterIndex(), -1);
  Form2->ComboBox1.SetItemIndex(2);
  ASSERT_TRUE(WriteProfileStringA("windows", "device", nullptr));
  const std::size_t pages = PageFiles("VindelorC").size();
  EXPECT_TRUE(Print().empty()) << "no message";
  EXPECT_EQ(WaitForPages("VindelorC", pages + 1).size(), pages + 1);
  EXPECT_EQ(tk::Printer::Instance().PrinterIndex(), 2);
  ExpectUsableAndReArmed();
}

// Queues: one plus a default queue that rejects every document.
TEST_F(PrintJob, ARejectedDocumentIsReportedAndTheDialogComesBackReArmed) {
  CaptureDesktop();
  auto seen = Print();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Vindelor V2.0");
  EXPECT_EQ(seen[0].text, kPrintFailed);
  ExpectUsableAndReArmed();
}

// Queues: one.
TEST_F(PrintJob, AnUnwritableTemporaryFileGivesTheMessageAndNoPage) {
  CaptureDesktop();
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();
  char temporary[MAX_PATH]{};
  GetEnvironmentVariableA("TMP", temporary, MAX_PATH);
  SetEnvironmentVariableA("TMP", "C:\\no such folder");
  auto seen = Print();
  SetEnvironmentVariableA("TMP", temporary[0] ? temporary : nullptr);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, kPrintFailed);
  ExpectUsableAndReArmed();
  PumpMessagesFor(1s);
  EXPECT_EQ(PageFiles("VindelorA").size(), pages) << "no document was begun";
}

// Queues: one.
TEST_F(PrintJob, InvertingAndMirroringAlternateOverPrintsOfOneCapture) {
  PatternWindow pattern({100, 100, 420, 340});
  CaptureWindowOf(pattern);
  Form2->CheckBox7.SetChecked(true);
  Form2->CheckBox8.SetChecked(true);
  const POINT client = pattern.ClientOffset();
  const int width = Work().Width();
  auto redAt = [&](int x) {
    return GetPixel(Work().SurfaceForReading(), x, client.y + 15) == RGB(255, 0, 0);
  };
  ASSERT_TRUE(redAt(client.x + 15));
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();

  EXPECT_TRUE(Print().empty());
  // Inverted and mirrored in place: the red square is now cyan, on the other side; "Save as BMP"
  // writes it so.
  EXPECT_EQ(GetPixel(Work().SurfaceForReading(), width - 1 - (client.x + 15), client.y + 15),
            RGB(0, 255, 255));
  char temporary[MAX_PATH + 1]{};
  GetTempPathA(MAX_PATH, temporary);
  const std::string saved = std::string(temporary) + "vindelor-inverted.bmp";
  std::thread answer([&] {
    HWND dialog = WaitForWindow({.className = "#32770",
                                 .title = " Save the Image as Windows Bitmap",
                                 .processId = GetCurrentProcessId(),
                                 .visibleOnly = true});
    SendMessageA(SaveDialogNameField(dialog), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(saved.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  });
  Form2->Button7Click();
  answer.join();
  tk::Bitmap file;
  vindelor::ReadBmpFile(file, saved);
  DeleteFileA(saved.c_str());
  EXPECT_EQ(GetPixel(file.SurfaceForReading(), width - 1 - (client.x + 15), client.y + 15),
            RGB(0, 255, 255));
  EXPECT_TRUE(Print().empty());
  EXPECT_TRUE(redAt(client.x + 15)) << "the second print turns it back";

  // Two pages: the first with the transforms, the second with the captured pixels.
  auto files = WaitForPages("VindelorA", pages + 2);
  ASSERT_EQ(files.size(), pages + 2);
  const RenderedPage first = RenderPage("VindelorA", files[pages], 50);
  const RenderedPage second = RenderPage("VindelorA", files[pages + 1], 50);
  ASSERT_GT(first.width, 0);
  ASSERT_EQ(first.width, second.width);
  int different = 0;
  for (std::size_t i = 0; i < first.rgb.size(); ++i) different += first.rgb[i] != second.rgb[i];
  EXPECT_GT(different, 1000);
}

// Queues: one.
TEST_F(PrintJob, MonochromeLastsIntoLaterCapturesUntilAPrintWithoutIt) {
  PatternWindow pattern({100, 100, 420, 340});
  CaptureWindowOf(pattern);
  Form2->CheckBox5.SetChecked(true);
  EXPECT_TRUE(Print().empty());
  EXPECT_TRUE(Work().Monochrome());
  CaptureWindowOf(pattern);
  EXPECT_TRUE(Work().Monochrome()) << "the next capture is black and white at once";
  const POINT client = pattern.ClientOffset();
  EXPECT_EQ(GetPixel(Work().SurfaceForReading(), client.x + 15, client.y + 15), RGB(0, 0, 0));

  Form2->CheckBox5.SetChecked(false);
  EXPECT_TRUE(Print().empty());
  EXPECT_FALSE(Work().Monochrome());
  CaptureWindowOf(pattern);
  EXPECT_FALSE(Work().Monochrome());
  EXPECT_EQ(GetPixel(Work().SurfaceForReading(), client.x + 15, client.y + 15), RGB(255, 0, 0))
      << "colour again";
}

// Queues: one. Both orientations stored as off: neither radio button is on, and the page is
// landscape, as the job sets landscape first and portrait only when that button is on.
TEST_F(PrintJob, WithNeitherOrientationStoredThePageIsLandscape) {
  StopProgram();
  SeedDword("Landscape", 0);
  SeedDword("Portrait", 0);
  StartProgram();
  EndSplash();
  EXPECT_FALSE(Form2->RadioButton1.Checked());
  EXPECT_FALSE(Form2->RadioButton2.Checked());
  CaptureDesktop();
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();
  EXPECT_TRUE(Print().empty());
  EXPECT_EQ(WaitForPages("VindelorA", pages + 1).size(), pages + 1);
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
  ASSERT_TRUE(WaitUntilPrintingIsDone());
  const std::size_t pages = PageFiles("VindelorA").size();
  const auto seen = Print();
  EXPECT_TRUE(outerKept) << "its document open, its picture in place";
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "The printer cannot be changed while a document is being printed.");
  const auto files = WaitForPages("VindelorA", pages + 1);
  const RenderedPage page = RenderPage("VindelorA", files.back(), 50);
  const RECT ink = page.InkBounds();
  EXPECT_GT((ink.right - ink.left) * (ink.bottom - ink.top), page.width * page.height * 8 / 10);
  ExpectUsableAndReArmed();
}

}  // namespace

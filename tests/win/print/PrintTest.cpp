// The printer list and the print job against the harness's queues: which printer is current,
// what a job leaves in the work image, and how a failure returns the dialog to a usable state.
// Each test names its queues in CMakeLists.txt; "three B" is A, B and C with B the default.

#include <algorithm>
#include <fstream>
#include <optional>
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
  // The end state of every path but "No Printer installed"
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

using PrinterSetup = PrintJob;

void ClickPrinterSetup() { SendMessageA(Form2->Button2.Handle(), BM_CLICK, 0, 0); }

// The text of each combo box of the setup dialog once it shows; the dialog is then cancelled.
Strings SetupDialogCombos(const std::function<void()>& open) {
  Strings combos;
  std::jthread watcher([&] {
    HWND dialog = WaitForWindow(
        {.className = "#32770", .processId = GetCurrentProcessId(), .visibleOnly = true});
    for (HWND child : Children(dialog)) {
      if (_stricmp(ClassNameOf(child).c_str(), "ComboBox") == 0) combos.push_back(WindowText(child));
    }
    if (dialog) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  open();
  watcher.join();
  return combos;
}

// Queues: three B. The setup dialog opens on the printer the list names, "Default Printer" being
// the system's default, and its Cancel leaves the list alone; without a default it does not open.
TEST_F(PrinterSetup, OpensOnThePrinterTheListNamesAndNotAtAllWithoutADefault) {
  for (auto [entry, shown] : {std::pair(2, "VindelorC"), {3, "VindelorB"}, {0, "VindelorA"}}) {
    Form2->ComboBox1.SetItemIndex(entry);
    const Strings combos = SetupDialogCombos(ClickPrinterSetup);
    EXPECT_NE(std::ranges::find(combos, shown), combos.end()) << shown;
    EXPECT_EQ(Form2->ComboBox1.ItemIndex(), entry);
  }
  Form2->ComboBox1.SetItemIndex(3);
  ASSERT_TRUE(WriteProfileStringA("windows", "device", nullptr));
  EXPECT_EQ(Answered(ClickPrinterSetup),
            Strings{"win_tests: There is no default printer currently selected."});
}

// Queues: A and a default queue that rejects every document, both deleted at the end while the
// program runs. After each fault the dialog is
// hidden, enabled and armed, the temporary file is gone and no object is left over; a job held
// by a disabled queue comes out once the queue is enabled again.
TEST_F(PrintJob, EveryPrintFaultLeavesTheProgramUsableAndReArmedWithNothingLeftOver) {
  char temporary[MAX_PATH]{};
  GetEnvironmentVariableA("TMP", temporary, MAX_PATH);
  const std::string blocker = std::string(temporary) + "\\vindelor-blocker";
  std::ofstream(blocker) << "a file where the folder should be";
  auto useTemporary = [](std::string folder) {
    return [folder] { SetEnvironmentVariableA("TMP", folder.c_str()); };
  };
  bool stopServerInJob = false;
  tk::Timer inside(1, true);
  inside.OnTimer = [&] {
    if (!stopServerInJob || !tk::Printer::Instance().Printing()) return;
    stopServerInJob = false;
    RunQueuesScript("server stop");
  };
  const auto queues = [](const char* arguments) { return [=] { RunQueuesScript(arguments); }; };
  const auto nothing = [] {};
  struct Fault {
    std::function<void()> inject, undo;
    Strings messages;
    std::size_t pages;
    long testHandles = 0;  // Wine keeps one of the test's own for each Unix command it runs
  };
  const Fault faults[] = {
      {nothing, [] { Form2->ComboBox1.SetItemIndex(0); }, {kPrintFailed}, 0},  // rejected
      {nothing, nothing, {}, 1},                                                 // on A
      {useTemporary(blocker), useTemporary(temporary), {kPrintFailed}, 0},
      {useTemporary(FolderWithFullDiskFile("Vindelor20.bmp")), useTemporary(temporary),
       {kPrintFailed}, 0},
      {queues("disable VindelorA"), queues("enable VindelorA"), {}, 1},
      {[&] { stopServerInJob = true; }, queues("server start"), {kPrintFailed}, 0, 1},
      {queues("remove VindelorA"), nothing,
       {"win_tests: The printer 'VindelorA' cannot be opened."}, 0},
      {[] { RunQueuesScript("remove VindelorReject"), Form2->ComboBox1.SetItemIndex(2); }, nothing,
       {"win_tests: There is no default printer currently selected."}, 0},  // "Default Printer"
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
    if (&fault > &faults[1]) {  // the first print on each printer fills the system's caches
      EXPECT_EQ(std::pair(after.windows, after.handles),
                std::pair(before.windows, before.handles + fault.testHandles));
    }
  }
  EXPECT_EQ(CountObjectsOf().gdi, gdiAfterWarmUp);
  DeleteFileA(blocker.c_str());
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
  EXPECT_EQ(Print(),
            Strings{"win_tests: The printer cannot be changed while a document is being printed."});
  EXPECT_TRUE(outerKept) << "its document open, its picture in place";
  const Picture page = RenderPage(WaitForPages("VindelorA", pages).back(), 50);
  const RECT ink = page.InkBounds();
  EXPECT_GT((ink.right - ink.left) * (ink.bottom - ink.top), page.width * page.height * 8 / 10);
  ExpectUsableAndReArmed();
}

}  // namespace

// The printer object against the harness's queues: the list, the current index and the system
// default, device settings per printer, contexts, documents and the setup dialog.
#include <windows.h>
#include <dlgs.h>
#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/HarnessAccess.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"
#include "toolkit/Error.h"
#include "tests/support/GuiObjects.h"
#include "toolkit/Printer.h"

namespace {

using namespace testing_support;

class Printer : public ::testing::Test {
 protected:
  void SetUp() override { ThePrinter().Reset(); }
  void TearDown() override { ThePrinter().Reset(); }
  static tk::Printer& ThePrinter() { return tk::Printer::Instance(); }
  static std::vector<std::string> Names() {
    std::vector<std::string> names;
    for (const auto& entry : ThePrinter().Printers()) names.push_back(entry.name);
    return names;
  }

  tk::Application app_;
};
using PrinterSetup = Printer;

const std::vector<std::string> kThree = {"VindelorA", "VindelorB", "VindelorC"};
constexpr int kPortrait = tk::Printer::kPortrait;
constexpr int kLandscape = tk::Printer::kLandscape;
const char kNoDefault[] = "There is no default printer currently selected";
const char kOutOfRange[] = "Printer index out of range";

// The text of the tk::Error the action raises; empty when it raises none.
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const tk::Error& error) {
    return error.what();
  }
  return "";
}

TEST_F(Printer, ListsTheQueuesAndResolvesTheDefaultOnEveryUseAfterMinusOne) {
  ASSERT_EQ(Names(), kThree);
  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().PrinterIndex(), -1) << "-1 stays stored until the printer is used";
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorB");
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1);

  ThePrinter().SetPrinterIndex(2);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorC");
  for (int index : {3, -2}) {
    EXPECT_EQ(ErrorOf([&] { ThePrinter().SetPrinterIndex(index); }), kOutOfRange) << index;
  }
  EXPECT_EQ(ThePrinter().PrinterIndex(), 2);
}

TEST_F(Printer, WithoutQueuesTheListIsEmptyAndNothingNeedingThePrinterWorks) {
  EXPECT_TRUE(ThePrinter().Printers().empty());
  EXPECT_EQ(ErrorOf([] { ThePrinter().SetPrinterIndex(0); }), kOutOfRange);
  EXPECT_EQ(ErrorOf([] { ThePrinter().SetPrinterIndex(-1); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { static_cast<void>(ThePrinter().Handle()); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { ThePrinter().BeginDoc(); }), kNoDefault);
  EXPECT_FALSE(ThePrinter().Printing());
  // The setup dialog is not shown at all (else this would wait for it).
  EXPECT_EQ(ErrorOf([] { ThePrinter().ExecuteSetupDialog(nullptr); }), kNoDefault);
}

TEST_F(Printer, OrientationTurnsThePageAndTheFontKeepsItsPointSize) {
  EXPECT_EQ(std::pair(ThePrinter().PageWidth(), ThePrinter().PageHeight()), std::pair(2450, 3200));
  ThePrinter().SetOrientation(kLandscape);
  EXPECT_EQ(std::pair(ThePrinter().PageWidth(), ThePrinter().PageHeight()), std::pair(3200, 2450));
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetOrientation(0); }).empty());
  EXPECT_EQ(ThePrinter().Orientation(), kLandscape);

  // 8 points at 300 dots per inch: 33.3 dots, rounded to 33.
  ASSERT_EQ(GetDeviceCaps(ThePrinter().Handle(), LOGPIXELSY), 300);
  LOGFONTA font{};
  ASSERT_NE(GetObjectA(ThePrinter().MakeFont().Handle(), sizeof(font), &font), 0);
  EXPECT_EQ(font.lfHeight, -33);
}

TEST_F(Printer, SettingsStayWithTheSamePrinterAndAreReplacedForAnother) {
  ThePrinter().SetPrinterIndex(0);
  ThePrinter().SetOrientation(kLandscape);
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kLandscape);
  ThePrinter().SetPrinterIndex(1);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "B starts from its driver's settings";
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "A's settings went when B came";

  // The default printer always starts from its driver's settings, even when it is current.
  ThePrinter().SetPrinterIndex(1);
  ThePrinter().SetOrientation(kLandscape);
  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait);
}

TEST_F(Printer, PrintsADocumentToTheDefaultQueueUnderTheFirst31CharactersOfItsTitle) {
  const std::size_t earlier = PageFiles("VindelorB").size();
  ThePrinter().BeginDoc();  // an abandoned document prints nothing
  ThePrinter().Abort();
  EXPECT_TRUE(ThePrinter().Aborted());
  EXPECT_EQ(ErrorOf([] { ThePrinter().EndDoc(); }), "No document is being printed");

  const std::string title = "Vindelor V2.0 Bitmap of a long capture title";
  ThePrinter().SetTitle(title);
  ThePrinter().BeginDoc();
  EXPECT_TRUE(ThePrinter().Printing());
  // While the document is open, the printer and its settings stay as they are.
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetPrinterIndex(0); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetOrientation(kLandscape); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().BeginDoc(); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().ExecuteSetupDialog(nullptr); }).empty());
  ThePrinter().WriteText(1, 3000, "Page Printed on the  1/2/03 4:05:06");
  ThePrinter().EndDoc();
  EXPECT_FALSE(ThePrinter().Printing());

  auto files = WaitForPages("VindelorB", earlier + 1);
  ASSERT_EQ(files.size(), earlier + 1) << "one page file, none for the abandoned document";
  const std::string page = ReadWholeFile(PagesFolder("VindelorB") + "\\" + files.back());
  EXPECT_NE(page.find("%%Title: " + title.substr(0, 31) + "\n"), std::string::npos);
}

TEST_F(Printer, ContextsAndDocumentsGiveBackEveryGdiObject) {
  auto cycle = [] {
    ThePrinter().BeginDoc();
    ThePrinter().WriteText(10, 10, "cycle");
    ThePrinter().EndDoc();
    ThePrinter().BeginDoc();
    ThePrinter().Abort();
    static_cast<void>(ThePrinter().Handle());
    ThePrinter().SetOrientation(kPortrait);  // releases the context
  };
  cycle();  // the first use loads what the system keeps for good
  const testing_support::GuiObjectCounts before = testing_support::CountGuiObjects();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(testing_support::CountGuiObjects(), before);
}

TEST_F(Printer, ADocumentTheQueueRejectsFailsInEndDocAndIsNoLongerPrinting) {
  ASSERT_EQ(ThePrinter().CurrentName(), "VindelorReject");
  ThePrinter().BeginDoc();
  ThePrinter().WriteText(10, 10, "rejected");
  EXPECT_EQ(ErrorOf([] { ThePrinter().EndDoc(); }), "The printed document could not be finished");
  EXPECT_FALSE(ThePrinter().Printing());
  ThePrinter().SetPrinterIndex(0);  // the printer is usable again
  ThePrinter().BeginDoc();
  ThePrinter().Abort();
}

TEST_F(Printer, TheDefaultFollowsTheSystemWhileTheProgramRuns) {
  ASSERT_EQ(ThePrinter().CurrentName(), "VindelorB");
  // Without B, CUPS has no default and Wine takes the first queue by name.
  RunQueuesScript("remove VindelorB");
  EXPECT_TRUE(WaitUntil([] {
    ThePrinter().SetPrinterIndex(-1);
    return ThePrinter().CurrentName() == "VindelorA";
  })) << ThePrinter().CurrentName();
  EXPECT_EQ(ThePrinter().PrinterIndex(), 0);
  EXPECT_EQ(Names(), kThree) << "the list stays as it was first read";
}

struct SetupSeen {
  RECT bounds{};
  std::string printer;  // the printer the dialog opened on
  bool landscape = false;
  bool chosen = false;  // what ExecuteSetupDialog returned
};

// Runs the setup dialog: a helper thread reads it, chooses the printer (if given) and landscape
// (if asked), then presses the button, while the dialog's modal loop runs on this thread.
SetupSeen RunSetupDialog(const char* printer, bool landscape, int button) {
  auto answered = std::async(std::launch::async, [=] {
    SetupSeen seen;
    HWND dialog = WaitForWindow(
        {.className = "#32770", .processId = GetCurrentProcessId(), .visibleOnly = true});
    if (!dialog) return seen;
    // Set up once it names its printer, and painted as a user would see it.
    HWND printers = GetDlgItem(dialog, cmb1);
    WaitUntil([&] { return !(seen.printer = WindowText(printers)).empty(); });
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    GetWindowRect(dialog, &seen.bounds);
    seen.landscape = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
    if (printer) {
      SendMessageA(printers, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(printer));
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(printers));
    }
    if (landscape) SendMessageA(GetDlgItem(dialog, rad2), BM_CLICK, 0, 0);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    return seen;
  });
  const bool chosen = tk::Printer::Instance().ExecuteSetupDialog(nullptr);
  SetupSeen seen = answered.get();
  seen.chosen = chosen;
  return seen;
}

TEST_F(PrinterSetup, OpensCentredOnTheCurrentPrinterWithItsSettingsAndOkMakesItsChoiceCurrent) {
  ThePrinter().SetPrinterIndex(0);
  ThePrinter().SetOrientation(kLandscape);
  const SetupSeen seen = RunSetupDialog("VindelorC", true, IDOK);
  ASSERT_EQ(seen.printer, "VindelorA") << "opens on the current printer";
  const int width = seen.bounds.right - seen.bounds.left;
  const int height = seen.bounds.bottom - seen.bounds.top;
  EXPECT_EQ(seen.bounds.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(seen.bounds.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 3);
  EXPECT_TRUE(seen.landscape) << "with its settings";

  EXPECT_TRUE(seen.chosen);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 2);
  EXPECT_EQ(ThePrinter().PageWidth(), 3200) << "the context is opened with the chosen settings";
  // The dialog names the printer with its port; the entry without one is the same printer.
  EXPECT_EQ(Names(), kThree);
  // What the dialog opened with did not become A's driver settings.
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait);
}

TEST_F(PrinterSetup, CancelChangesNothingAndGivesBackWhatTheDialogTook) {
  ThePrinter().SetPrinterIndex(0);
  ASSERT_EQ(RunSetupDialog(nullptr, false, IDCANCEL).printer, "VindelorA");  // first-use caches
  const HDC before = ThePrinter().Handle();
  const testing_support::GuiObjectCounts counts = testing_support::CountGuiObjects();

  const SetupSeen seen = RunSetupDialog("VindelorC", true, IDCANCEL);
  ASSERT_EQ(seen.printer, "VindelorA");
  EXPECT_FALSE(seen.chosen);
  EXPECT_EQ(ThePrinter().Handle(), before) << "the open context stays";
  EXPECT_EQ(testing_support::CountGuiObjects(), counts);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorA");
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait);
}

}  // namespace

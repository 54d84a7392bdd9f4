// The printer object against the harness's queues: the list, the current index and the system
// default, device settings per printer, contexts and documents.
#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/WinTestSupport.h"
#include "tests/win/printer/PrinterTestSupport.h"
#include "toolkit/GuiObjects.h"

namespace printer_test {
namespace {

using namespace testing_support;
using Printer = PrinterTest;
using Names = std::vector<std::string>;

const Names kThree = {"VindelorA", "VindelorB", "VindelorC"};
constexpr int kPortrait = tk::Printer::kPortrait;
constexpr int kLandscape = tk::Printer::kLandscape;
const char kNoDefault[] = "There is no default printer currently selected";
const char kOutOfRange[] = "Printer index out of range";

// The value of "%%Title: " in the PostScript, up to the end of its line.
std::string PostScriptTitle(const std::string& page) {
  const std::string key = "%%Title: ";
  auto at = page.find(key);
  if (at == std::string::npos) return "(no title)";
  at += key.size();
  return page.substr(at, page.find_first_of("\r\n", at) - at);
}

// Waits for page files of the queue beyond the given count.
TEST_F(Printer, ListsTheQueuesAndResolvesTheDefaultOnEveryUseAfterMinusOne) {
  ASSERT_EQ(Names(), kThree);
  for (const auto& entry : ThePrinter().Printers()) {
    EXPECT_EQ(entry.displayText, entry.name);
    EXPECT_EQ(entry.port, "");
  }
  EXPECT_EQ(ThePrinter().PrinterIndex(), -1) << "the object starts on the default printer";

  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().PrinterIndex(), -1) << "-1 stays stored until the printer is used";
  EXPECT_NE(ThePrinter().Handle(), nullptr);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorB");

  ThePrinter().SetPrinterIndex(-1);
  ThePrinter().SetPrinterIndex(2);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 2);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorC");

  for (int index : {3, -2, 1000}) {
    EXPECT_EQ(ErrorOf([&] { ThePrinter().SetPrinterIndex(index); }), kOutOfRange) << index;
  }
  EXPECT_EQ(ThePrinter().PrinterIndex(), 2);
  EXPECT_EQ(Names(), kThree);
}

TEST_F(Printer, WithoutQueuesTheListIsEmptyAndNothingNeedingThePrinterWorks) {
  EXPECT_TRUE(ThePrinter().Printers().empty());
  EXPECT_EQ(ErrorOf([] { ThePrinter().SetPrinterIndex(-1); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { ThePrinter().SetPrinterIndex(0); }), kOutOfRange);
  EXPECT_EQ(ErrorOf([] { static_cast<void>(ThePrinter().Handle()); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { static_cast<void>(ThePrinter().Orientation()); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { ThePrinter().BeginDoc(); }), kNoDefault);
  EXPECT_FALSE(ThePrinter().Printing());
  // The setup dialog is not shown at all (else this would wait for it).
  EXPECT_EQ(ErrorOf([] { ThePrinter().ExecuteSetupDialog(nullptr); }), kNoDefault);
  EXPECT_EQ(ThePrinter().PrinterIndex(), -1);
}

TEST_F(Printer, OrientationTurnsThePageAndTheFontKeepsItsPointSize) {
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait);
  EXPECT_EQ(ThePrinter().PageWidth(), 2450);
  EXPECT_EQ(ThePrinter().PageHeight(), 3200);

  ThePrinter().SetOrientation(kLandscape);
  EXPECT_EQ(ThePrinter().Orientation(), kLandscape);
  EXPECT_EQ(ThePrinter().PageWidth(), 3200);
  EXPECT_EQ(ThePrinter().PageHeight(), 2450);
  ThePrinter().SetOrientation(kPortrait);
  EXPECT_EQ(ThePrinter().PageWidth(), 2450);
  EXPECT_EQ(ThePrinter().PageHeight(), 3200);
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetOrientation(0); }).empty());
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait);

  // 8 points at 300 dots per inch: 33.3 dots, rounded to 33.
  ASSERT_EQ(GetDeviceCaps(ThePrinter().Handle(), LOGPIXELSY), 300);
  tk::Font font = ThePrinter().MakeFont();
  LOGFONTA logFont{};
  ASSERT_NE(GetObjectA(font.Handle(), sizeof(logFont), &logFont), 0);
  EXPECT_EQ(logFont.lfHeight, -33);
  EXPECT_EQ(logFont.lfWeight, FW_NORMAL);
  EXPECT_FALSE(logFont.lfItalic);
  EXPECT_STREQ(logFont.lfFaceName, "MS Sans Serif");
  EXPECT_EQ(font.Spec().color, GetSysColor(COLOR_WINDOWTEXT));
}

TEST_F(Printer, SettingsStayWithTheSamePrinterAndAreReplacedForAnother) {
  ThePrinter().SetPrinterIndex(0);
  ThePrinter().SetOrientation(kLandscape);
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kLandscape);
  EXPECT_EQ(ThePrinter().PageWidth(), 3200);

  ThePrinter().SetPrinterIndex(1);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "B starts from its driver's settings";
  EXPECT_EQ(ThePrinter().PageWidth(), 2450);
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "A's settings went when B came";

  // The default printer always starts from its driver's settings, even when it is current.
  ThePrinter().SetPrinterIndex(1);
  ThePrinter().SetOrientation(kLandscape);
  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1);
}

TEST_F(Printer, PrintsADocumentToTheDefaultQueueUnderTheFirst31CharactersOfItsTitle) {
  const std::size_t earlier = PageFiles("VindelorB").size();
  ThePrinter().SetPrinterIndex(-1);

  // An abandoned document prints nothing.
  ThePrinter().BeginDoc();
  ThePrinter().Abort();
  EXPECT_FALSE(ThePrinter().Printing());
  EXPECT_TRUE(ThePrinter().Aborted());
  EXPECT_EQ(ErrorOf([] { ThePrinter().EndDoc(); }), "No document is being printed");

  const std::string title = "Vindelor V2.0 Bitmap of a long capture title";
  ThePrinter().SetTitle(title);
  ThePrinter().BeginDoc();
  EXPECT_TRUE(ThePrinter().Printing());
  EXPECT_FALSE(ThePrinter().Aborted());
  EXPECT_EQ(GetDeviceCaps(ThePrinter().Handle(), TECHNOLOGY), DT_RASPRINTER);
  // While the document is open, the printer and its settings stay as they are.
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetPrinterIndex(0); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetPrinterIndex(-1); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetOrientation(kLandscape); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().BeginDoc(); }).empty());
  EXPECT_FALSE(ErrorOf([] { ThePrinter().ExecuteSetupDialog(nullptr); }).empty());
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "reading is allowed";
  ThePrinter().WriteText(1, 3000, "Page Printed on the  1/2/03 4:05:06");
  ThePrinter().EndDoc();
  EXPECT_FALSE(ThePrinter().Printing());
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1);

  auto files = WaitForPages("VindelorB", earlier + 1);
  ASSERT_EQ(files.size(), earlier + 1) << "one page file, none for the abandoned document";
  const std::string page = ReadWholeFile(PagesFolder("VindelorB") + "\\" + files.back());
  EXPECT_EQ(PostScriptTitle(page), title.substr(0, 31));
}

TEST_F(Printer, ContextsAndDocumentsGiveBackEveryGdiObject) {
  auto cycle = [] {
    static_cast<void>(ThePrinter().PageWidth());
    ThePrinter().SetOrientation(kLandscape);
    static_cast<void>(ThePrinter().PageHeight());
    ThePrinter().BeginDoc();
    ThePrinter().WriteText(10, 10, "cycle");
    ThePrinter().EndDoc();
    static_cast<void>(ThePrinter().PageWidth());
    ThePrinter().BeginDoc();
    ThePrinter().Abort();
    static_cast<void>(ThePrinter().Handle());
    ThePrinter().SetOrientation(kPortrait);  // releases the context
  };
  cycle();  // the first use loads what the system keeps for good
  const tk::GuiObjectCounts before = tk::CountGuiObjects();
  for (int i = 0; i < 3; ++i) cycle();
  EXPECT_EQ(tk::CountGuiObjects(), before);
  static_cast<void>(ThePrinter().Handle());
  EXPECT_EQ(tk::CountGuiObjects().gdi, before.gdi + 1) << "only the information context";
}

TEST_F(Printer, ADocumentTheQueueRejectsFailsInEndDocAndIsNoLongerPrinting) {
  ThePrinter().SetPrinterIndex(-1);
  ASSERT_EQ(ThePrinter().CurrentName(), "VindelorReject");
  ThePrinter().BeginDoc();
  ThePrinter().WriteText(10, 10, "rejected");
  EXPECT_EQ(ErrorOf([] { ThePrinter().EndDoc(); }), "The printed document could not be finished");
  EXPECT_FALSE(ThePrinter().Printing());
  EXPECT_EQ(GetDeviceCaps(ThePrinter().Handle(), TECHNOLOGY), DT_RASPRINTER);
  // The printer is usable again.
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorA");
  ThePrinter().BeginDoc();
  ThePrinter().Abort();
}

TEST_F(Printer, TheDefaultFollowsTheSystemWhileTheProgramRuns) {
  ThePrinter().SetPrinterIndex(-1);
  ASSERT_EQ(ThePrinter().CurrentName(), "VindelorB");

  // Without B, CUPS has no default and Wine takes the first queue by name.
  RunQueuesScript("remove VindelorB");
  ASSERT_TRUE(WaitUntil([] { return DefaultDeviceEntry().rfind("VindelorA,", 0) == 0; }))
      << DefaultDeviceEntry();
  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().PrinterIndex(), -1);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorA");
  EXPECT_EQ(ThePrinter().PrinterIndex(), 0);
  EXPECT_EQ(Names(), kThree) << "the list stays as it was first read";

  RunQueuesScript("remove VindelorA");
  ASSERT_TRUE(WaitUntil([] { return DefaultDeviceEntry().rfind("VindelorC,", 0) == 0; }))
      << DefaultDeviceEntry();
  ThePrinter().SetPrinterIndex(1);  // the stored index is no longer -1: nothing is resolved
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorB");
  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorC");
}

}  // namespace
}  // namespace printer_test

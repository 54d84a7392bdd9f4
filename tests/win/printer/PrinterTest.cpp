// The printer object and the dialog's printer list against the harness's queues: the list, the
// current printer and the system default, settings per printer, documents and the setup dialog.
// Each test names its queue set in CMakeLists.txt; "three B" is A, B and C with B the default.
#include <windows.h>
#include <dlgs.h>  // needs windows.h first

#include <future>

#include "options/PrinterList.h"
#include "tests/support/GuiObjects.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/ProgramFixture.h"
#include "toolkit/Error.h"
#include "toolkit/Printer.h"

namespace {

using namespace testing_support;
using Printer = ProgramTest;
using PrinterSetup = ProgramTest;

tk::Printer& ThePrinter() { return tk::Printer::Instance(); }
constexpr int kPortrait = tk::Printer::kPortrait, kLandscape = tk::Printer::kLandscape;

// The text of the tk::Error the action raises; empty when it raises none.
std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const tk::Error& error) {
    return error.what();
  }
  return "";
}

Strings Entries(const tk::ComboBox& combo) {
  Strings entries;
  for (int i = 0; i < combo.ItemCount(); ++i) entries.push_back(combo.Item(i));
  return entries;
}

// Queues: three B.
TEST_F(Printer, TheQueuesAreListedAndTheChoiceOrTheSystemDefaultResolvedOnUseIsCurrent) {
  tk::ComboBox& combo = Form2->ComboBox1;
  EXPECT_EQ(Entries(combo), (Strings{"VindelorA", "VindelorB", "VindelorC", "Default Printer"}));
  combo.SetItemIndex(2);
  vindelor::ApplyPrinterChoice(combo);
  EXPECT_EQ(std::pair(ThePrinter().PrinterIndex(), ThePrinter().CurrentName()), std::pair(2, std::string("VindelorC")));
  for (int index : {3, -1}) {  // "Default Printer" and no selection: -1 until the printer is used
    combo.SetItemIndex(index);
    vindelor::ApplyPrinterChoice(combo);
    EXPECT_EQ(ThePrinter().PrinterIndex(), -1) << index;
    EXPECT_EQ(ThePrinter().CurrentName(), "VindelorB");
    EXPECT_EQ(ThePrinter().PrinterIndex(), 1) << "resolved";
  }
  for (int index : {4, -2}) EXPECT_EQ(ErrorOf([&] { ThePrinter().SetPrinterIndex(index); }), "Printer index out of range");

  // Without B, CUPS has no default and Wine takes the first queue by name; the list stays.
  ThePrinter().SetPrinterIndex(-1);
  RunQueuesScript("remove VindelorB");
  EXPECT_TRUE(WaitUntil([] {
    ThePrinter().SetPrinterIndex(-1);
    return ThePrinter().CurrentName() == "VindelorA";
  }));
  EXPECT_EQ(ThePrinter().Printers().size(), 3u);
}

// Queues: one. The text, not the place, makes the extra entry: a printer named so is the default.
TEST_F(Printer, AnEntryReadingDefaultPrinterStandsForTheSystemDefault) {
  Form2->ComboBox1.ClearItems();
  Form2->ComboBox1.AddItem("Default Printer");
  Form2->ComboBox1.AddItem("Default Printer");
  Form2->ComboBox1.SetItemIndex(0);
  vindelor::ApplyPrinterChoice(Form2->ComboBox1);
  EXPECT_EQ(ThePrinter().PrinterIndex(), -1);
}

// Queues: none.
TEST_F(Printer, WithoutQueuesTheListIsEmptyAndDisabledAndNothingNeedingThePrinterWorks) {
  EXPECT_EQ(std::tuple(Form2->ComboBox1.ItemCount(), Form2->ComboBox1.Enabled(), Form2->ComboBox1.Caption()),
            std::tuple(0, false, std::string("Default Printer")));
  EXPECT_EQ(Answered([] { Form2->Button2Click(); }), Strings{}) << "no setup dialog and no error";
  const char kNoDefault[] = "There is no default printer currently selected";
  EXPECT_EQ(ErrorOf([] { ThePrinter().SetPrinterIndex(0); }), "Printer index out of range");
  EXPECT_EQ(ErrorOf([] { ThePrinter().SetPrinterIndex(-1); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { ThePrinter().BeginDoc(); }), kNoDefault);
  EXPECT_EQ(ErrorOf([] { ThePrinter().ExecuteSetupDialog(nullptr); }), kNoDefault);  // not shown
  EXPECT_FALSE(ThePrinter().Printing());
}

// Queues: one.
TEST_F(Printer, OrientationTurnsThePageAndTheFontKeepsItsPointSize) {
  EXPECT_EQ(std::pair(ThePrinter().PageWidth(), ThePrinter().PageHeight()), std::pair(2450, 3200));
  ThePrinter().SetOrientation(kLandscape);
  EXPECT_FALSE(ErrorOf([] { ThePrinter().SetOrientation(0); }).empty());
  EXPECT_EQ(std::tuple(ThePrinter().PageWidth(), ThePrinter().PageHeight(), ThePrinter().Orientation()),
            std::tuple(3200, 2450, kLandscape));
  LOGFONTA font{};  // 8 points at 300 dots per inch: 33.3 dots
  ASSERT_NE(GetObjectA(ThePrinter().MakeFont().Handle(), sizeof(font), &font), 0);
  EXPECT_EQ(font.lfHeight, -33);
}

// Queues: three B.
TEST_F(Printer, SettingsStayWithTheSamePrinterAndAreReplacedForAnother) {
  auto orientationAfter = [](int first, int then) {
    ThePrinter().SetPrinterIndex(first);
    ThePrinter().SetOrientation(kLandscape);
    ThePrinter().SetPrinterIndex(then);
    return ThePrinter().Orientation();
  };
  EXPECT_EQ(orientationAfter(0, 0), kLandscape);
  EXPECT_EQ(orientationAfter(0, 1), kPortrait) << "B starts from its driver's settings";
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "A's settings went when B came";
  EXPECT_EQ(orientationAfter(1, -1), kPortrait) << "the default always starts afresh";
}

// Queues: three B.
TEST_F(Printer, ADocumentGoesToTheDefaultQueueUnderTheFirst31CharactersOfItsTitle) {
  const std::size_t earlier = PageFiles("VindelorB").size();
  ThePrinter().BeginDoc();  // an abandoned document prints nothing
  ThePrinter().Abort();
  EXPECT_EQ(ErrorOf([] { ThePrinter().EndDoc(); }), "No document is being printed");
  const std::string title = "Vindelor V2.0 Bitmap of a long capture title";
  ThePrinter().SetTitle(title);
  ThePrinter().BeginDoc();
  // While the document is open, the printer and its settings stay as they are.
  for (auto change : {+[] { ThePrinter().SetPrinterIndex(0); }, +[] { ThePrinter().SetOrientation(kLandscape); },
                      +[] { ThePrinter().BeginDoc(); }, +[] { ThePrinter().ExecuteSetupDialog(nullptr); }}) {
    EXPECT_FALSE(ErrorOf(change).empty());
  }
  ThePrinter().WriteText(1, 3000, "Page Printed on the  1/2/03 4:05:06");
  ThePrinter().EndDoc();
  const auto files = WaitForPages("VindelorB", earlier + 1);
  ASSERT_EQ(files.size(), earlier + 1) << "one page file, none for the abandoned document";
  EXPECT_NE(ReadWholeFile(files.back()).find("%%Title: " + title.substr(0, 31) + "\n"), std::string::npos);
}

struct SetupSeen {
  RECT bounds{};
  std::string printer;  // the printer it opened on
  bool landscape = false, chosen = false;
};

// A helper thread reads the setup dialog, chooses the printer (if given) and landscape, then
// presses the button, while the dialog's modal loop runs on this thread.
SetupSeen RunSetupDialog(const char* printer, int button,
                         bool (*open)() = [] { return ThePrinter().ExecuteSetupDialog(nullptr); }) {
  auto answered = std::async(std::launch::async, [=] {
    SetupSeen seen;
    HWND dialog = WaitForWindow({.className = "#32770", .processId = GetCurrentProcessId(), .visibleOnly = true});
    HWND printers = GetDlgItem(dialog, cmb1);
    WaitUntil([&] { return !(seen.printer = WindowText(printers)).empty(); });  // set up
    GetWindowRect(dialog, &seen.bounds);
    seen.landscape = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
    if (printer) {
      SendMessageA(printers, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(printer));
      SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE), reinterpret_cast<LPARAM>(printers));
      SendMessageA(GetDlgItem(dialog, rad2), BM_CLICK, 0, 0);
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    return seen;
  });
  const bool chosen = open();
  SetupSeen seen = answered.get();
  seen.chosen = chosen;
  return seen;
}

// Queues: three B.
TEST_F(PrinterSetup, OpensCentredOnTheCurrentPrinterWithItsSettingsAndOkMakesItsChoiceCurrent) {
  ThePrinter().SetPrinterIndex(0);
  ThePrinter().SetOrientation(kLandscape);
  const SetupSeen seen = RunSetupDialog("VindelorC", IDOK);
  const int width = seen.bounds.right - seen.bounds.left, height = seen.bounds.bottom - seen.bounds.top;
  EXPECT_EQ(std::tuple(seen.printer, seen.landscape, seen.bounds.left, seen.bounds.top, seen.chosen),
            std::tuple(std::string("VindelorA"), true, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                       (GetSystemMetrics(SM_CYSCREEN) - height) / 3, true));
  EXPECT_EQ(std::tuple(ThePrinter().PrinterIndex(), ThePrinter().PageWidth(), ThePrinter().Printers().size()),
            std::tuple(2, 3200, std::size_t{3})) << "the chosen printer with the chosen settings";
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), kPortrait) << "what the dialog opened with stays the dialog's";
}

// Queues: three B. Opened with "Default Printer" chosen in the dialog's list, then cancelled.
TEST_F(PrinterSetup, OpensOnTheSystemDefaultAndCancelChangesNothingAndGivesBackWhatItTook) {
  Form2->ComboBox1.SetItemIndex(3);
  const auto open = [] { Form2->Button2Click(); return false; };
  EXPECT_EQ(RunSetupDialog("VindelorC", IDCANCEL, open).printer, "VindelorB");  // fills caches
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1) << "resolved on opening; Cancel keeps it";
  const HDC before = ThePrinter().Handle();
  const GuiObjectCounts counts = CountGuiObjects();
  const SetupSeen seen = RunSetupDialog("VindelorC", IDCANCEL);
  EXPECT_EQ(std::tuple(seen.printer, seen.chosen, ThePrinter().Handle(), ThePrinter().CurrentName(), ThePrinter().Orientation()),
            std::tuple(std::string("VindelorB"), false, before, std::string("VindelorB"), kPortrait));
  EXPECT_EQ(CountGuiObjects(), counts);
}

}  // namespace

// The printer list of the options dialog against the harness's real print queues; each test
// runs with its own set (see CMakeLists.txt).
#include <windows.h>
#include <dlgs.h>  // needs windows.h first
#include <gtest/gtest.h>

#include <thread>

#include "options/PrinterList.h"
#include "tests/win/ProgramFixture.h"
#include "toolkit/Printer.h"

namespace {

using namespace testing_support;
using PrinterList = ProgramTest;

std::vector<std::string> Entries(const tk::ComboBox& combo) {
  std::vector<std::string> entries;
  for (int i = 0; i < combo.ItemCount(); ++i) entries.push_back(combo.Item(i));
  return entries;
}

// Queues A, B and C with B as the system default.
TEST_F(PrinterList, ThreeQueuesAreListedInOrderAndTheChoiceBecomesTheCurrentPrinter) {
  tk::ComboBox& combo = Form2->ComboBox1;
  EXPECT_EQ(Entries(combo), (std::vector<std::string>{"VindelorA", "VindelorB", "VindelorC",
                                                      "Default Printer"}));
  tk::Printer& printer = tk::Printer::Instance();
  combo.SetItemIndex(2);
  vindelor::ApplyPrinterChoice(combo);
  EXPECT_EQ(printer.PrinterIndex(), 2);

  // "Default Printer" and no selection both mean the system's default, resolved when used.
  for (int index : {3, -1}) {
    combo.SetItemIndex(index);
    vindelor::ApplyPrinterChoice(combo);
    EXPECT_EQ(printer.PrinterIndex(), -1) << index;
    EXPECT_EQ(printer.CurrentName(), "VindelorB") << index;
  }
}

// One queue. A printer whose name reads "Default Printer" counts as the extra entry: the text,
// not the place, decides. (Queue names cannot hold a blank, so the list is made here.)
TEST_F(PrinterList, AnEntryReadingDefaultPrinterStandsForTheSystemDefault) {
  tk::ComboBox& combo = Form2->ComboBox1;
  combo.ClearItems();
  combo.AddItem("Default Printer");
  combo.AddItem("Default Printer");
  combo.SetItemIndex(0);
  vindelor::ApplyPrinterChoice(combo);
  EXPECT_EQ(tk::Printer::Instance().PrinterIndex(), -1);
}

// No queue at all.
TEST_F(PrinterList, WithoutPrintersTheListIsEmptyAndDisabledAndPrinterSetupDoesNothing) {
  tk::ComboBox& combo = Form2->ComboBox1;
  EXPECT_EQ(combo.ItemCount(), 0);
  EXPECT_FALSE(combo.Enabled());
  EXPECT_EQ(combo.Caption(), "Default Printer");
  DialogAnswerer answerer;
  Form2->Button2Click();
  PumpMessagesFor(300ms);
  EXPECT_TRUE(answerer.Seen().empty()) << "no setup dialog and no error";
}

// Queues A, B and C with B as the system default.
TEST_F(PrinterList, PrinterSetupWithDefaultPrinterChosenOpensOnTheSystemDefault) {
  tk::ComboBox& combo = Form2->ComboBox1;
  combo.SetItemIndex(3);  // "Default Printer"
  std::string shown;
  std::thread reader([&] {
    // The setup dialog names its printer in its printer list (cmb1).
    if (HWND dialog = WaitForWindow({.className = "#32770", .processId = GetCurrentProcessId(),
                                     .visibleOnly = true})) {
      WaitUntil([&] { return !(shown = WindowText(GetDlgItem(dialog, cmb1))).empty(); });
      PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  });
  Form2->Button2Click();
  reader.join();
  EXPECT_EQ(shown, "VindelorB");
  EXPECT_EQ(tk::Printer::Instance().PrinterIndex(), 1) << "resolved on opening; Cancel keeps it";
}

}  // namespace


// The printer setup dialog of the printer object, answered from a helper thread while the
// dialog's modal loop runs on the test's thread.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>

#include <future>
#include <string>
#include <utility>

#include "tests/support/WinTestSupport.h"
#include "tests/win/printer/PrinterTestSupport.h"
#include "toolkit/GuiObjects.h"

namespace printer_test {
namespace {

using namespace testing_support;
using PrinterSetup = PrinterTest;
using Names = std::vector<std::string>;
const Names kThree = {"VindelorA", "VindelorB", "VindelorC"};

struct SetupAnswer {
  const char* printer = nullptr;  // choose this printer in the dialog
  bool landscape = false;         // click "Landscape"
  int button = IDOK;
};

struct SeenSetup {
  bool shown = false;
  RECT bounds{};
  std::string printer;  // the printer the dialog opened on
  bool landscape = false;
};

SeenSetup AnswerSetupDialog(const SetupAnswer& answer) {
  SeenSetup seen;
  HWND dialog = nullptr;
  const auto end = std::chrono::steady_clock::now() + kDefaultTimeout;
  for (;;) {
    auto found = FindTopLevelWindows(
        {.className = "#32770", .processId = GetCurrentProcessId(), .visibleOnly = true});
    if (!found.empty()) {
      dialog = found.front();
      break;
    }
    if (std::chrono::steady_clock::now() >= end) return seen;
    Sleep(20);
  }
  Sleep(200);  // let the dialog finish its set-up
  seen.shown = true;
  GetWindowRect(dialog, &seen.bounds);
  HWND printers = GetDlgItem(dialog, cmb1);
  seen.printer = WindowText(printers);
  seen.landscape = IsDlgButtonChecked(dialog, rad2) == BST_CHECKED;
  if (answer.printer) {
    SendMessageA(printers, CB_SELECTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(answer.printer));
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(printers));
  }
  if (answer.landscape) SendMessageA(GetDlgItem(dialog, rad2), BM_CLICK, 0, 0);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(answer.button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, answer.button)));
  return seen;
}

// Runs the printer object's setup dialog, answered as given.
std::pair<bool, SeenSetup> RunSetupDialog(const SetupAnswer& answer) {
  auto seen = std::async(std::launch::async, [answer] { return AnswerSetupDialog(answer); });
  const bool chosen = tk::Printer::Instance().ExecuteSetupDialog(nullptr);
  return {chosen, seen.get()};
}

TEST_F(PrinterSetup, OpensCentredOnTheCurrentPrinterWithItsSettingsAndOkKeepsThem) {
  ThePrinter().SetPrinterIndex(0);
  ThePrinter().SetOrientation(tk::Printer::kLandscape);

  auto [chosen, seen] = RunSetupDialog({});
  ASSERT_TRUE(seen.shown);
  const int width = seen.bounds.right - seen.bounds.left;
  const int height = seen.bounds.bottom - seen.bounds.top;
  EXPECT_EQ(seen.bounds.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(seen.bounds.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 3);
  EXPECT_EQ(seen.printer, "VindelorA");
  EXPECT_TRUE(seen.landscape);

  EXPECT_TRUE(chosen);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 0);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorA");
  EXPECT_EQ(ThePrinter().Orientation(), tk::Printer::kLandscape);
  // The dialog names the printer with its port; the entry without one is the same printer.
  EXPECT_EQ(Names(), kThree);

  // What the dialog was given did not become the driver's own settings.
  ThePrinter().SetPrinterIndex(1);
  ThePrinter().SetPrinterIndex(0);
  EXPECT_EQ(ThePrinter().Orientation(), tk::Printer::kPortrait);
}

TEST_F(PrinterSetup, OkMakesThePrinterAndSettingsChosenThereCurrent) {
  ThePrinter().SetPrinterIndex(0);
  auto [chosen, seen] = RunSetupDialog({.printer = "VindelorC", .landscape = true});
  ASSERT_TRUE(seen.shown);
  EXPECT_FALSE(seen.landscape);
  EXPECT_TRUE(chosen);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 2);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorC");
  EXPECT_EQ(ThePrinter().Orientation(), tk::Printer::kLandscape);
  EXPECT_EQ(ThePrinter().PageWidth(), 3200) << "the context is opened with the chosen settings";
  EXPECT_EQ(Names(), kThree);
}

TEST_F(PrinterSetup, CancelChangesNothingAndGivesBackWhatTheDialogTook) {
  ThePrinter().SetPrinterIndex(0);
  ASSERT_TRUE(RunSetupDialog({.button = IDCANCEL}).second.shown);  // Wine's first-use caches
  const HDC before = ThePrinter().Handle();
  const tk::GuiObjectCounts counts = tk::CountGuiObjects();

  auto [chosen, seen] =
      RunSetupDialog({.printer = "VindelorC", .landscape = true, .button = IDCANCEL});
  ASSERT_TRUE(seen.shown);
  EXPECT_FALSE(chosen);
  EXPECT_EQ(ThePrinter().Handle(), before) << "the open context stays";
  EXPECT_EQ(tk::CountGuiObjects(), counts);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 0);
  EXPECT_EQ(ThePrinter().CurrentName(), "VindelorA");
  EXPECT_EQ(ThePrinter().Orientation(), tk::Printer::kPortrait);
  EXPECT_EQ(Names(), kThree);
}

TEST_F(PrinterSetup, SettingsChosenForTheDefaultPrinterLastUntilTheDefaultIsChosenAgain) {
  ThePrinter().SetPrinterIndex(-1);
  auto [chosen, seen] = RunSetupDialog({.landscape = true});
  ASSERT_TRUE(seen.shown);
  EXPECT_EQ(seen.printer, "VindelorB");
  EXPECT_TRUE(chosen);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1);

  // Chosen by its own entry, the printer keeps what the dialog set...
  ThePrinter().SetPrinterIndex(1);
  EXPECT_EQ(ThePrinter().Orientation(), tk::Printer::kLandscape);
  // ... chosen as the default printer, it starts from its driver's settings again.
  ThePrinter().SetPrinterIndex(-1);
  EXPECT_EQ(ThePrinter().Orientation(), tk::Printer::kPortrait);
  EXPECT_EQ(ThePrinter().PrinterIndex(), 1);
}

}  // namespace
}  // namespace printer_test

// The settings and the options dialog of the real program, from outside.
#include <gtest/gtest.h>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;

using OptionsE2e = VindelorTest;

TEST_F(OptionsE2e, TheFirstRunStoresTheDefaultsWithTheDialogsCentredPosition) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  HWND dialog = program.OptionsDialog();
  ASSERT_NE(dialog, nullptr);
  RECT bounds{};
  GetWindowRect(dialog, &bounds);
  auto values = ReadSettings();
  ASSERT_EQ(values.size(), 14u);
  EXPECT_EQ(static_cast<LONG>(values["WinPosLeft"].Dword()), bounds.left);
  EXPECT_EQ(static_cast<LONG>(values["WinPosTop"].Dword()), bounds.top);
  EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
  EXPECT_EQ(values["Centered"].Dword(), 1u);
  EXPECT_EQ(values["Landscape"].Dword(), 1u);
  EXPECT_EQ(values["DefPrinter"].WrittenText(), "Default Printer");
}

// The report stays open longer than the splash lasts: the splash ends behind it and does not
// come back once the start-up goes on.
TEST_F(OptionsE2e, AMissingValueIsReportedByNameAndTheProgramStillCaptures) {
  {
    VindelorProcess first;  // writes the defaults
    first.EndSplashWithKeyPress();
  }
  EndAllVindelorProcesses();
  DeleteValue("Monochrom");
  VindelorProcess program;
  ASSERT_TRUE(WaitForWindow({.className = "#32770", .processId = program.Id()}));
  ASSERT_TRUE(WaitUntil([&] {
    return program.CreditsForm() && WindowText(program.CreditsForm()).empty();
  })) << "the fifth tick empties the title";
  auto report = AnswerDialog(program.Id(), IDOK);
  ASSERT_TRUE(report.has_value()) << "the error is reported at start-up";
  EXPECT_EQ(report->caption, "Vindelor");
  EXPECT_EQ(report->text, "Failed to get data for 'Monochrom'.");
  EXPECT_TRUE(program.CaptureWithHotkey());
  EXPECT_FALSE(IsShown(program.CreditsForm()));
  EXPECT_FALSE(IsShown(GetWindow(program.CreditsForm(), GW_OWNER))) << "no taskbar button";
}

}  // namespace

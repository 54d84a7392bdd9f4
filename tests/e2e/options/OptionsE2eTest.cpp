// The stored settings of the real program, from outside.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using OptionsE2e = VindelorTest;

// By stored name: the booleans, the printer name and the dialog's centred position.
TEST_F(OptionsE2e, TheFirstRunStoresExactlyTheFourteenDefaultsWithTheDialogsCentredPosition) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  RECT bounds{};
  GetWindowRect(program.OptionsDialog(), &bounds);
  EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
  std::string stored;
  for (const auto& [name, value] : ReadSettings()) {
    const std::string text(value.data.begin(), value.data.end());
    stored +=
        name + "=" + (value.type == REG_SZ ? text.c_str() : std::to_string(value.Dword())) + ";";
  }
  EXPECT_EQ(stored,
            "Centered=1;Clipboard=0;Date + Time=0;DefPrinter=Default Printer;Immediat "
            "Action=0;Inversed=0;Landscape=1;Mirrored=0;Monochrom=0;Portrait=0;ScaleBy=0;"
            "Stretched=0;WinPosLeft=" +
                std::to_string(bounds.left) + ";WinPosTop=" + std::to_string(bounds.top) + ";");
}

// The report stays open longer than the splash lasts: the splash ends behind it and does not
// come back once the start-up goes on.
TEST_F(OptionsE2e, AMissingValueIsReportedByNameAndTheProgramStillCaptures) {
  {
    VindelorProcess first;  // writes the defaults
    first.EndSplashWithKeyPress();
  }
  DeleteValue("Monochrom");
  VindelorProcess program;
  ASSERT_TRUE(WaitForWindow({.className = "#32770", .processId = program.Id()}));
  ASSERT_TRUE(WaitUntil([&] {
    return program.CreditsForm() && WindowText(program.CreditsForm()).empty();
  })) << "the fifth tick empties the title";
  const auto report = AnswerDialog(program.Id(), IDOK);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->caption + ": " + report->text, "Vindelor: Failed to get data for 'Monochrom'.");
  EXPECT_TRUE(program.CaptureWithHotkey());
  EXPECT_FALSE(IsShown(program.CreditsForm()));
  EXPECT_FALSE(IsShown(GetWindow(program.CreditsForm(), GW_OWNER))) << "no taskbar button";
}

}  // namespace

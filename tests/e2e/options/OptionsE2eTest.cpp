// The stored settings of the real program, from outside.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using OptionsE2e = VindelorTest;

TEST_F(OptionsE2e, TheFirstRunStoresExactlyTheFourteenDefaultsWithTheDialogsCentredPosition) {
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  RECT bounds{};
  GetWindowRect(program.OptionsDialog(), &bounds);
  EXPECT_EQ(bounds.left, (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2);
  std::map<std::string, std::uint32_t> stored;
  auto values = ReadSettings();
  for (const auto& [name, value] : values) stored[name] = value.Dword();
  EXPECT_EQ(stored, (std::map<std::string, std::uint32_t>{
                        {"Centered", 1}, {"Stretched", 0}, {"Date + Time", 0}, {"Monochrom", 0},
                        {"Mirrored", 0}, {"Landscape", 1}, {"Portrait", 0}, {"Immediat Action", 0},
                        {"Inversed", 0}, {"Clipboard", 0}, {"ScaleBy", 0}, {"DefPrinter", 0xDEADBEEF},
                        {"WinPosLeft", static_cast<std::uint32_t>(bounds.left)},
                        {"WinPosTop", static_cast<std::uint32_t>(bounds.top)}}));
  EXPECT_EQ(std::pair(values["DefPrinter"].type, values["DefPrinter"].WrittenText()),
            std::pair(DWORD{REG_SZ}, std::string("Default Printer")));
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
  ASSERT_TRUE(WaitUntil([&] { return program.CreditsForm() && WindowText(program.CreditsForm()).empty(); }))
      << "the fifth tick empties the title";
  const auto report = AnswerDialog(program.Id(), IDOK);
  ASSERT_TRUE(report.has_value());
  EXPECT_EQ(report->caption + ": " + report->text, "Vindelor: Failed to get data for 'Monochrom'.");
  EXPECT_TRUE(program.CaptureWithHotkey());
  EXPECT_FALSE(IsShown(program.CreditsForm()));
  EXPECT_FALSE(IsShown(GetWindow(program.CreditsForm(), GW_OWNER))) << "no taskbar button";
}

}  // namespace

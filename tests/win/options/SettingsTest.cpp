// The stored settings in the test prefix's real registry: loading with the controls' click
// reactions, malformed values, and Save Options. (The first run's defaults are tested from
// outside.)
#include "options/SettingsStore.h"
#include "tests/support/ProgramFixture.h"

namespace {

using namespace testing_support;

class Settings : public ProgramTest {
 protected:
  void SetUp() override {  // each test seeds, then starts the program
    DeleteSettings();
    // What a previous "Save Options" wrote, all booleans off.
    for (const char* name :
         {"Centered", "Stretched", "Date + Time", "Monochrom", "Mirrored", "Landscape", "Portrait",
          "Immediat action", "Inversed", "Clipboard", "ScaleBy"}) {
      SeedDword(name, 0);
    }
    SeedDword("WinPosLeft", 100);
    SeedDword("WinPosTop", 80);
    const std::string printer = "Default Printer";
    SeedValue("DefPrinter", REG_SZ, {printer.begin(), printer.end()});
  }
};

TEST_F(Settings, LoadingAppliesEveryValueWithTheControlsClickReactionsAndSavingWritesThemBack) {
  SeedDword("Stretched", 2);           // any non-zero value is on
  SeedDword("Mirrored", 0xFFFFFFFFu);  // -1 too
  SeedDword("Monochrom", 1);
  SeedDword("Inversed", 1);  // loading cannot enforce the exclusion
  SeedDword("Landscape", 1);
  SeedDword("Portrait", 1);         // both on: Portrait, set last, wins
  SeedDword("Immediat action", 1);  // as Save Options spells it
  SeedDword("WinPosLeft", static_cast<std::uint32_t>(-20));
  SeedDword("WinPosTop", 40);
  SeedDword("ScaleBy", 1);
  StartProgram();
  TForm2& d = *Form2;
  EXPECT_EQ(std::vector<bool>({d.CheckBox1.Checked(), d.CheckBox2.Checked(), d.CheckBox8.Checked(),
                               d.CheckBox5.Checked(), d.CheckBox7.Checked(),
                               d.RadioButton2.Checked(), d.RadioButton1.Checked(),
                               d.CheckBox6.Checked(), Form1->immediat.Checked()}),
            std::vector<bool>({false, true, true, true, true, true, false, true, true}));
  // "Large Form" grows the dialog from its restored position.
  EXPECT_EQ(std::tuple(d.Left(), d.Top(), d.ClientWidth(), d.ClientHeight()),
            std::tuple(-20, 40, 366, 334));

  // Booleans go back as 0 or 1, the position as signed numbers.
  EXPECT_EQ(Answered([] { Form2->Button5Click(); }),
            Strings{"Information: Settings saved successfully"});
  auto values = ReadSettings();
  EXPECT_EQ(std::tuple(values["Stretched"].Dword(), values["Mirrored"].Dword(),
                       values["WinPosLeft"].Dword(), values["ScaleBy"].Dword(), values.size()),
            std::tuple(1u, 1u, static_cast<std::uint32_t>(-20), 1u, std::size_t{14}))
      << "\"Immediat action\" is the same value as \"Immediat Action\"";
}

TEST_F(Settings, AMalformedValueIsReportedLoadingStopsThereAndTheHotkeysStillCapture) {
  struct Case {
    std::function<void()> spoil;
    const char* message;
  };
  const Case cases[] = {
      {[] { DeleteValue("Mirrored"); }, "win_tests: Failed to get data for 'Mirrored'."},
      {[] { SeedValue("Mirrored", REG_SZ, {'1'}); },
       "win_tests: Invalid data type for 'Mirrored'."},
      {[] { SeedValue("Mirrored", REG_DWORD, std::vector<std::uint8_t>(8)); },
       "win_tests: Failed to get data for 'Mirrored'."},
  };
  for (const Case& c : cases) {
    SetUp();
    SeedDword("Monochrom", 1);  // before the bad value: applied
    SeedDword("Landscape", 0);  // after it: not applied, so the design state stays
    SeedDword("ScaleBy", 1);
    c.spoil();
    EXPECT_EQ(Answered([&] { StartProgram(); }), Strings{c.message});
    EXPECT_EQ(
        std::tuple(Form2->CheckBox5.Checked(), Form2->RadioButton1.Checked(), Form2->ClientWidth()),
        std::tuple(true, true, 305))
        << c.message;
    EndSplash();
    PressPrintScreen();
    EXPECT_TRUE(WaitUntil([] { return Form2->Visible(); })) << "the hotkeys are registered";
    StopProgram();
  }
}

}  // namespace

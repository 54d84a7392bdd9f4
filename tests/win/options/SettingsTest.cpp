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
    SeedSavedSettings(100, 80);
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
  EXPECT_EQ(values.size(), std::size_t{14})
      << "\"Immediat action\" is the same value as \"Immediat Action\"";
  const std::map<std::string, std::uint32_t> saved{
      {"Centered", 0}, {"Stretched", 1}, {"Date + Time", 0}, {"Monochrom", 1},
      {"Mirrored", 1}, {"Landscape", 0}, {"Portrait", 1},    {"Inversed", 1},
      {"Clipboard", 0}, {"WinPosLeft", static_cast<std::uint32_t>(-20)},
      {"WinPosTop", 40}, {"ScaleBy", 1}};
  for (const auto& [name, value] : saved) EXPECT_EQ(values[name].Dword(), value) << name;
}

// Each value of a wrong type, too long or missing: the message names it (a string too long or
// missing is no error), and the stored values stay as they were. Loading stops at a bad value:
// Monochrom, before Mirrored, is applied; Landscape, after it, keeps its design state.
TEST_F(Settings, ASpoiledValueIsReportedByNameLeavesTheStoreAsItWasAndTheHotkeysStillCapture) {
  for (const std::string name :
       {"Centered", "Stretched", "Date + Time", "Monochrom", "Mirrored", "Landscape", "Portrait",
        "Immediat Action", "WinPosLeft", "WinPosTop", "ScaleBy", "Inversed", "Clipboard",
        "DefPrinter"}) {
    const bool text = name == "DefPrinter";
    const std::string failed = "win_tests: Failed to get data for '" + name + "'.";
    const std::pair<std::function<void()>, Strings> spoils[] = {
        {[&] { SeedValue(name, text ? REG_DWORD : REG_SZ, {'1', 0}); },
         {"win_tests: Invalid data type for '" + name + "'."}},
        {[&] { SeedValue(name, text ? REG_SZ : REG_DWORD, std::vector<std::uint8_t>(8, 'x')); },
         text ? Strings{} : Strings{failed}},
        {[&] { DeleteValue(name); }, text ? Strings{} : Strings{failed}},
    };
    for (const auto& [spoil, messages] : spoils) {
      SetUp();
      SeedDword("Monochrom", 1);
      SeedDword("Landscape", 0);
      spoil();
      const auto stored = ReadSettings();
      EXPECT_EQ(Answered([&] { StartProgram(); }), messages) << name;
      EXPECT_EQ(ReadSettings(), stored) << name;
      if (name == "Mirrored") {
        EXPECT_EQ(std::pair(Form2->CheckBox5.Checked(), Form2->RadioButton1.Checked()),
                  std::pair(true, true));
      }
      EndSplash();
      PressPrintScreen();
      EXPECT_TRUE(WaitUntil([] { return Form2->Visible(); })) << name << ": the hotkeys capture";
      StopProgram();
    }
  }
}

// Under a volatile parent the lasting key cannot be made: the first value is named, no success
// is claimed, nothing is stored, and the dialog stays usable.
TEST_F(Settings, SavingWhereTheKeyCannotBeWrittenReportsTheFirstValue) {
  StartProgram();
  DeleteSettings();
  HKEY parent = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\Osmerdane\\Vindelor\\2.0", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &parent, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(parent);
  EXPECT_EQ(Answered([] { SendMessageA(Form2->Button5.Handle(), BM_CLICK, 0, 0); }),
            Strings{"win_tests: Failed to set data for 'Centered'."});
  EXPECT_TRUE(ReadSettings().empty());
  EXPECT_TRUE(Form2->Enabled());
}

}  // namespace

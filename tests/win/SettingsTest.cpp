// The settings in the test prefix's real registry: the first run's defaults, loading with its
// click reactions, malformed values, and Save Options.
#include <gtest/gtest.h>

#include "options/SettingsStore.h"
#include "tests/win/ProgramFixture.h"

namespace {

using namespace testing_support;

class Settings : public ProgramTest {
 protected:
  void SetUp() override { DeleteSettings(); }  // each test seeds, then starts the program

  // Seeds the values a previous "Save Options" would have written, all booleans off.
  static void SeedSavedSettings() {
    for (const char* name : {"Centered", "Stretched", "Date + Time", "Monochrom", "Mirrored",
                             "Landscape", "Portrait", "Immediat action", "Inversed", "Clipboard",
                             "ScaleBy"}) {
      SeedDword(name, 0);
    }
    SeedDword("WinPosLeft", 100);
    SeedDword("WinPosTop", 80);
    SeedString("DefPrinter", "Default Printer");
  }

  // Saves through the dialog's button, answering the confirmation.
  static std::vector<SeenDialog> SaveOptions() {
    DialogAnswerer answerer;
    Form2->Button5Click();
    return answerer.Seen();
  }
};

TEST_F(Settings, TheFirstRunWritesExactlyTheFourteenDefaultsWithTheCentredPosition) {
  StartProgram();
  auto values = ReadSettings();
  std::map<std::string, std::uint32_t> expected{
      {"Centered", 1}, {"Stretched", 0}, {"Date + Time", 0}, {"Monochrom", 0},
      {"Mirrored", 0}, {"Landscape", 1}, {"Portrait", 0},    {"Immediat Action", 0},
      {"Inversed", 0}, {"Clipboard", 0}, {"ScaleBy", 0}};
  ASSERT_EQ(values.size(), 14u);
  for (const auto& [name, value] : expected) {
    ASSERT_TRUE(values.contains(name)) << name;
    EXPECT_EQ(values[name].Dword(), value) << name;
  }
  EXPECT_EQ(static_cast<std::int32_t>(values["WinPosLeft"].Dword()), Form2->Left());
  EXPECT_EQ(static_cast<std::int32_t>(values["WinPosTop"].Dword()), Form2->Top());
  EXPECT_EQ(Form2->Left(), (GetSystemMetrics(SM_CXSCREEN) - Form2->Width()) / 2);
  EXPECT_EQ(values["DefPrinter"].type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(values["DefPrinter"].WrittenText(), "Default Printer");

  // The controls keep their design states, and the saved name preselects the extra entry.
  EXPECT_TRUE(Form2->CheckBox1.Checked());
  EXPECT_TRUE(Form2->RadioButton1.Checked());
  EXPECT_FALSE(Form2->RadioButton2.Checked());
  EXPECT_FALSE(Form2->CheckBox6.Checked());
  EXPECT_EQ(vindelor::SavedPrinterName(), "Default Printer");
  EXPECT_EQ(Form2->ComboBox1.ItemIndex(), Form2->ComboBox1.ItemCount() - 1);
}

TEST_F(Settings, LoadingAppliesEveryValueWithTheControlsClickReactions) {
  SeedSavedSettings();
  SeedDword("Stretched", 2);             // any non-zero value is on
  SeedDword("Mirrored", 0xFFFFFFFFu);    // -1 too
  SeedDword("Monochrom", 1);
  SeedDword("Inversed", 1);              // loading cannot enforce the exclusion
  SeedDword("Landscape", 1);
  SeedDword("Portrait", 1);              // both on: Portrait, set last, wins
  SeedDword("Immediat action", 1);       // as Save Options spells it
  SeedDword("WinPosLeft", static_cast<std::uint32_t>(-20));
  SeedDword("WinPosTop", 40);
  SeedDword("ScaleBy", 1);
  StartProgram();

  EXPECT_FALSE(Form2->CheckBox1.Checked());
  EXPECT_TRUE(Form2->CheckBox2.Checked());
  EXPECT_TRUE(Form2->CheckBox8.Checked());
  EXPECT_TRUE(Form2->CheckBox5.Checked());
  EXPECT_TRUE(Form2->CheckBox7.Checked());
  EXPECT_TRUE(Form2->RadioButton2.Checked());
  EXPECT_FALSE(Form2->RadioButton1.Checked());
  EXPECT_TRUE(Form2->CheckBox6.Checked());
  EXPECT_TRUE(Form1->immediat.Checked()) << "the tray menu item follows the check box";
  // "Large Form" grows the dialog from its restored position.
  EXPECT_EQ(Form2->Left(), -20);
  EXPECT_EQ(Form2->Top(), 40);
  EXPECT_EQ(Form2->ClientWidth(), 366);
  EXPECT_EQ(Form2->ClientHeight(), 334);

  // Save Options writes booleans back as 0 or 1 and the position as signed numbers.
  auto seen = SaveOptions();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].caption, "Information");
  EXPECT_EQ(seen[0].text, "Settings saved successfully");
  auto values = ReadSettings();
  EXPECT_EQ(values["Stretched"].Dword(), 1u);
  EXPECT_EQ(values["Mirrored"].Dword(), 1u);
  EXPECT_EQ(static_cast<std::int32_t>(values["WinPosLeft"].Dword()), -20);
  EXPECT_EQ(values["ScaleBy"].Dword(), 1u);
  EXPECT_EQ(values.size(), 14u) << "\"Immediat action\" is the same value as \"Immediat Action\"";
}

TEST_F(Settings, AMalformedValueIsReportedLoadingStopsThereAndTheHotkeysStillCapture) {
  struct Case {
    const char* name;
    std::function<void()> spoil;
    const char* message;
  };
  const Case cases[] = {
      {"missing value", [] { DeleteValue("Mirrored"); }, "Failed to get data for 'Mirrored'."},
      {"string for a boolean", [] { SeedString("Mirrored", "1"); },
       "Invalid data type for 'Mirrored'."},
      {"eight bytes for a boolean", [] { SeedValue("Mirrored", REG_DWORD, {1, 0, 0, 0, 0, 0, 0, 0}); },
       "Failed to get data for 'Mirrored'."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteSettings();
    SeedSavedSettings();
    SeedDword("Monochrom", 1);  // before the bad value: applied
    SeedDword("Landscape", 0);  // after it: not applied
    SeedDword("ScaleBy", 1);
    c.spoil();
    {
      DialogAnswerer answerer;
      StartProgram();
      auto seen = answerer.Seen();
      ASSERT_EQ(seen.size(), 1u);
      EXPECT_EQ(seen[0].caption, tk::App().Title());
      EXPECT_EQ(seen[0].text, c.message);
    }
    EXPECT_TRUE(Form2->CheckBox5.Checked());
    EXPECT_FALSE(Form2->CheckBox1.Checked());
    EXPECT_TRUE(Form2->RadioButton1.Checked()) << "keeps its design state";
    EXPECT_FALSE(Form2->CheckBox3.Checked());
    EXPECT_EQ(Form2->ClientWidth(), 305);

    EndSplash();
    PressPrintScreen();
    EXPECT_TRUE(WaitUntil([] { return Form2->Visible(); })) << "the hotkeys are registered";
    StopProgram();
  }
}

TEST_F(Settings, ThePrinterNameIsReadWhateverItsTerminatorAndAWrongTypeIsReported) {
  struct Case {
    const char* name;
    std::function<void()> seed;
    const char* savedName;
  };
  const Case cases[] = {
      {"no terminator", [] { SeedString("DefPrinter", "Default Printer"); }, "Default Printer"},
      {"with terminator", [] { SeedString("DefPrinter", "Default Printer", true); },
       "Default Printer"},
      {"cut at the first NUL",
       [] { SeedValue("DefPrinter", REG_SZ, {'V', 'i', 'n', 0, 'x', 'y', 0}); }, "Vin"},
      {"missing", [] { DeleteValue("DefPrinter"); }, ""},
      {"empty", [] { SeedValue("DefPrinter", REG_SZ, {}); }, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DeleteSettings();
    SeedSavedSettings();
    c.seed();
    StartProgram();
    EXPECT_EQ(vindelor::SavedPrinterName(), c.savedName);
    StopProgram();
  }

  DeleteSettings();
  SeedSavedSettings();
  SeedDword("DefPrinter", 1);
  DialogAnswerer answerer;
  StartProgram();
  auto seen = answerer.Seen();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].text, "Invalid data type for 'DefPrinter'.");
}

TEST_F(Settings, SavingWithoutASelectedPrinterStoresAnEmptyName) {
  SeedSavedSettings();
  SeedString("DefPrinter", "A printer that was removed");
  StartProgram();
  EXPECT_EQ(Form2->ComboBox1.ItemIndex(), -1);
  EXPECT_EQ(Form2->ComboBox1.Caption(), "Default Printer") << "the edit field keeps its text";
  SaveOptions();
  auto values = ReadSettings();
  EXPECT_EQ(values["DefPrinter"].type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(values["DefPrinter"].WrittenText(), "");
  EXPECT_EQ(vindelor::SavedPrinterName(), "A printer that was removed")
      << "saving does not change the name held for this run";
}

}  // namespace

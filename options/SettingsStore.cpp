#include "options/SettingsStore.h"

#include <cstdint>

#include "forms/Unit2.h"
#include "options/PrinterList.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Monitors.h"
#include "toolkit/Registry.h"

namespace vindelor {
namespace {

std::string g_savedPrinterName;

void WriteDefaults(const tk::Registry& store, const TForm2& dialog) {
  store.WriteBool("Centered", true);
  store.WriteBool("Stretched", false);
  store.WriteBool("Date + Time", false);
  store.WriteBool("Monochrom", false);
  store.WriteBool("Mirrored", false);
  store.WriteBool("Landscape", true);
  store.WriteBool("Portrait", false);
  store.WriteBool("Immediat Action", false);
  store.WriteBool("Inversed", false);
  store.WriteBool("Clipboard", false);
  store.WriteInteger("WinPosLeft", dialog.Left());
  store.WriteInteger("WinPosTop", dialog.Top());
  store.WriteBool("ScaleBy", false);
  store.WriteString("DefPrinter", kDefaultPrinterEntry);
}

// Setting a control behaves like the user's change: its click reaction runs when the state
// changes ("Large Form" grows the dialog, "Immediate Action" moves the tray menu's check).
void ApplyStoredValues(const tk::Registry& store, TForm2& dialog) {
  dialog.CheckBox1.SetChecked(store.ReadBool("Centered"));
  dialog.CheckBox2.SetChecked(store.ReadBool("Stretched"));
  dialog.CheckBox4.SetChecked(store.ReadBool("Date + Time"));
  dialog.CheckBox5.SetChecked(store.ReadBool("Monochrom"));
  dialog.CheckBox8.SetChecked(store.ReadBool("Mirrored"));
  dialog.RadioButton1.SetChecked(store.ReadBool("Landscape"));
  dialog.RadioButton2.SetChecked(store.ReadBool("Portrait"));
  dialog.CheckBox6.SetChecked(store.ReadBool("Immediat Action"));
  // A position saved on a monitor that is gone (or on a larger screen) would hide the dialog:
  // it is taken only when at least half of the dialog lies on one monitor, else the dialog
  // stays centred.
  const std::int32_t left = store.ReadInteger("WinPosLeft");
  const std::int32_t top = store.ReadInteger("WinPosTop");
  if (tk::HalfOnOneMonitor(left, top, dialog.Width(), dialog.Height(), tk::MonitorRects())) {
    dialog.SetLeft(left);
    dialog.SetTop(top);
  }
  dialog.CheckBox3.SetChecked(store.ReadBool("ScaleBy"));
  dialog.CheckBox7.SetChecked(store.ReadBool("Inversed"));
  dialog.CheckBox9.SetChecked(store.ReadBool("Clipboard"));
  g_savedPrinterName = store.ReadString("DefPrinter");
}

}  // namespace

void LoadSettings(TForm2& dialog) {
  tk::Registry store;
  if (tk::Registry::KeyExists(kSettingsKey)) {
    store.OpenKey(kSettingsKey, /*create=*/false);
    ApplyStoredValues(store, dialog);
  } else {
    // First run. A key that exists but does not open with full access lands here too; its
    // first write then fails.
    store.OpenKey(kSettingsKey, /*create=*/true);
    WriteDefaults(store, dialog);
    g_savedPrinterName = kDefaultPrinterEntry;
  }
}  // the key is closed here

void SaveSettings(TForm2& dialog) {
  WriteSettings(dialog);
  tk::ShowInformation("Settings saved successfully");
}

void WriteSettings(TForm2& dialog) {
  {
    tk::Registry store;
    store.OpenKey(kSettingsKey, /*create=*/true);
    store.WriteBool("Centered", dialog.CheckBox1.Checked());
    store.WriteBool("Stretched", dialog.CheckBox2.Checked());
    store.WriteBool("Date + Time", dialog.CheckBox4.Checked());
    store.WriteBool("Monochrom", dialog.CheckBox5.Checked());
    store.WriteBool("Mirrored", dialog.CheckBox8.Checked());
    store.WriteBool("Landscape", dialog.RadioButton1.Checked());
    store.WriteBool("Portrait", dialog.RadioButton2.Checked());
    // Value names are not case-sensitive: this is the value the load reads as "Immediat Action".
    store.WriteBool("Immediat action", dialog.CheckBox6.Checked());
    store.WriteBool("Inversed", dialog.CheckBox7.Checked());
    store.WriteBool("Clipboard", dialog.CheckBox9.Checked());
    store.WriteInteger("WinPosLeft", dialog.Left());
    store.WriteInteger("WinPosTop", dialog.Top());
    store.WriteBool("ScaleBy", dialog.CheckBox3.Checked());
    store.WriteString("DefPrinter", PrinterChoiceText(dialog.ComboBox1));
  }  // the key is closed here
}

const std::string& SavedPrinterName() { return g_savedPrinterName; }

}  // namespace vindelor

#include "options/SettingsStore.h"

#include <array>
#include <cstddef>
#include <cstdint>

#include "forms/Unit2.h"
#include "options/PrinterList.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Monitors.h"
#include "toolkit/Registry.h"

namespace vindelor {
namespace {

std::string g_savedPrinterName;

// A check box or radio button of the dialog. Setting it behaves like the user's change: its
// click reaction runs when the state changes ("Large Form" grows the dialog, "Immediate Action"
// moves the tray menu's check).
struct Toggle {
  bool (*checked)(const TForm2&);
  void (*setChecked)(TForm2&, bool);
};

template <auto kControl>
constexpr Toggle kToggle{[](const TForm2& dialog) { return (dialog.*kControl).Checked(); },
                         [](TForm2& dialog, bool on) { (dialog.*kControl).SetChecked(on); }};

// A toggle is a REG_DWORD 0 or 1 (read: any non-zero value is on), the position's edges are
// REG_DWORDs, the printer is a REG_SZ.
enum class Kind { kToggle, kLeft, kTop, kPrinter };

struct Setting {
  const char* name;       // read by loading, written by the first run
  const char* savedName;  // written by "Save Options"
  std::size_t loadPosition;
  Kind kind;
  const Toggle* toggle = nullptr;
  bool byDefault = false;  // the first run's value of a toggle
};

// In the write order of the first run and of "Save Options"; loading goes by loadPosition.
// Value names are not case-sensitive: "Immediat action" is the value loading reads as "Immediat
// Action".
constexpr Setting kSettings[] = {
    {"Centered", "Centered", 0, Kind::kToggle, &kToggle<&TForm2::CheckBox1>, true},
    {"Stretched", "Stretched", 1, Kind::kToggle, &kToggle<&TForm2::CheckBox2>},
    {"Date + Time", "Date + Time", 2, Kind::kToggle, &kToggle<&TForm2::CheckBox4>},
    {"Monochrom", "Monochrom", 3, Kind::kToggle, &kToggle<&TForm2::CheckBox5>},
    {"Mirrored", "Mirrored", 4, Kind::kToggle, &kToggle<&TForm2::CheckBox8>},
    {"Landscape", "Landscape", 5, Kind::kToggle, &kToggle<&TForm2::RadioButton1>, true},
    {"Portrait", "Portrait", 6, Kind::kToggle, &kToggle<&TForm2::RadioButton2>},
    {"Immediat Action", "Immediat action", 7, Kind::kToggle, &kToggle<&TForm2::CheckBox6>},
    {"Inversed", "Inversed", 11, Kind::kToggle, &kToggle<&TForm2::CheckBox7>},
    {"Clipboard", "Clipboard", 12, Kind::kToggle, &kToggle<&TForm2::CheckBox9>},
    {"WinPosLeft", "WinPosLeft", 8, Kind::kLeft},
    {"WinPosTop", "WinPosTop", 9, Kind::kTop},
    {"ScaleBy", "ScaleBy", 10, Kind::kToggle, &kToggle<&TForm2::CheckBox3>},
    {"DefPrinter", "DefPrinter", 13, Kind::kPrinter},
};

constexpr auto kLoadOrder = [] {
  std::array<const Setting*, std::size(kSettings)> order{};
  for (const Setting& setting : kSettings) {
    order.at(setting.loadPosition) = &setting;
  }
  return order;
}();

// Each setting has a load position of its own, and the left edge is read just before the top
// edge: loading takes the position when it reads the top edge.
static_assert([] {
  for (std::size_t i = 0; i < kLoadOrder.size(); ++i) {
    if (kLoadOrder[i] == nullptr) return false;
    if (kLoadOrder[i]->kind == Kind::kTop) return i > 0 && kLoadOrder[i - 1]->kind == Kind::kLeft;
  }
  return false;
}());

// The first run writes the defaults under the names loading reads, "Save Options" the dialog's
// state under the saved names.
void WriteAll(const tk::Registry& store, const TForm2& dialog, bool firstRun) {
  for (const Setting& setting : kSettings) {
    const char* name = firstRun ? setting.name : setting.savedName;
    switch (setting.kind) {
      case Kind::kToggle:
        store.WriteBool(name, firstRun ? setting.byDefault : setting.toggle->checked(dialog));
        break;
      case Kind::kLeft:
        store.WriteInteger(name, dialog.Left());
        break;
      case Kind::kTop:
        store.WriteInteger(name, dialog.Top());
        break;
      case Kind::kPrinter:
        store.WriteString(name,
                          firstRun ? kDefaultPrinterEntry : PrinterChoiceText(dialog.ComboBox1));
        break;
    }
  }
}

void ApplyStoredValues(const tk::Registry& store, TForm2& dialog) {
  std::int32_t left = 0;
  for (const Setting* setting : kLoadOrder) {
    switch (setting->kind) {
      case Kind::kToggle:
        setting->toggle->setChecked(dialog, store.ReadBool(setting->name));
        break;
      case Kind::kLeft:
        left = store.ReadInteger(setting->name);
        break;
      case Kind::kTop: {
        // A position saved on a monitor that is gone (or on a larger screen) would hide the
        // dialog: it is taken only when at least half of the dialog lies on one monitor, else
        // the dialog stays centred.
        const std::int32_t top = store.ReadInteger(setting->name);
        if (tk::HalfOnOneMonitor(left, top, dialog.Width(), dialog.Height(), tk::MonitorRects())) {
          dialog.SetLeft(left);
          dialog.SetTop(top);
        }
        break;
      }
      case Kind::kPrinter:
        g_savedPrinterName = store.ReadString(setting->name);
        break;
    }
  }
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
    WriteAll(store, dialog, /*firstRun=*/true);
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
    WriteAll(store, dialog, /*firstRun=*/false);
  }  // the key is closed here
}

const std::string& SavedPrinterName() { return g_savedPrinterName; }

}  // namespace vindelor

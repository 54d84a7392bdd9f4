// The option set of the options dialog in HKEY_CURRENT_USER\SOFTWARE\Osmerdane\Vindelor\2.0\Setup:
// read once while the dialog is created, written back by "Save Options". The dialog's controls
// are the only copy of the options in memory.
#pragma once

#include <string>

class TForm2;

namespace vindelor {

inline constexpr char kSettingsKey[] = "SOFTWARE\\Osmerdane\\Vindelor\\2.0\\Setup";

// Applies the stored values to the dialog's controls and position, in the load order, and
// keeps the saved printer name; the stored position is taken when at least half of the dialog
// lies on one monitor there; on the first run writes the defaults instead and leaves the
// controls as designed. A failing value raises tk::Error: the values before it are applied,
// the ones after it are not.
void LoadSettings(TForm2& dialog);

// "Save Options": WriteSettings, then the information message "Settings saved successfully".
void SaveSettings(TForm2& dialog);

// Writes all fourteen values from the dialog's current state, in the write order. A failing
// value raises tk::Error and stops the writing there.
void WriteSettings(TForm2& dialog);

// The "DefPrinter" text read at start-up ("Default Printer" on the first run). Saving does not
// change it; it only affects the next start.
[[nodiscard]] const std::string& SavedPrinterName();

}  // namespace vindelor

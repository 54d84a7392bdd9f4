// The printer combo box of the options dialog: the system's printers in their order, then
// "Default Printer", which stands for whatever printer the system has as default at the moment
// of printing. Its enabled state says whether any printer exists.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tk {
class ComboBox;
}

namespace vindelor {

inline constexpr char kDefaultPrinterEntry[] = "Default Printer";

// Enables the box and lists the printers, then "Default Printer"; with no printer the box stays
// empty and is disabled. The edit field keeps its text.
void FillPrinterList(tk::ComboBox& combo);

// Selects the entry PreselectedEntry gives; none when it gives -1.
void PreselectPrinter(tk::ComboBox& combo, const std::string& savedName);

// The last entry whose text equals the saved name exactly, case included, or -1 when none does
// (the printer has gone, or nothing was saved). A saved "Default Printer" is the last entry.
[[nodiscard]] int PreselectedEntry(const std::vector<std::string>& entries,
                                   std::string_view savedName);

// The selected entry's text, or "" when no entry is selected. Typed text never counts.
[[nodiscard]] std::string PrinterChoiceText(const tk::ComboBox& combo);

// At least one printer existed when the list was filled (the box is enabled).
[[nodiscard]] bool PrinterAvailable(const tk::ComboBox& combo);

// Makes the choice the printer object's current printer: "Default Printer" (and no selection)
// mean the system's default, any other entry the printer at the same position.
void ApplyPrinterChoice(const tk::ComboBox& combo);

}  // namespace vindelor

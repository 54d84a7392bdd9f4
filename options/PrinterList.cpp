#include "options/PrinterList.h"

#include "toolkit/Control.h"
#include "toolkit/Printer.h"

namespace vindelor {

void FillPrinterList(tk::ComboBox& combo) {
  combo.SetEnabled(true);
  combo.ClearItems();
  for (const tk::PrinterEntry& printer : tk::Printer::Instance().Printers()) {
    combo.AddItem(printer.displayText);
  }
  if (combo.ItemCount() > 0) {
    combo.AddItem(kDefaultPrinterEntry);
  } else {
    combo.SetEnabled(false);
  }
}

void PreselectPrinter(tk::ComboBox& combo, const std::string& savedName) {
  std::vector<std::string> entries;
  for (int index = 0; index < combo.ItemCount(); ++index) entries.push_back(combo.Item(index));
  if (const int entry = PreselectedEntry(entries, savedName); entry >= 0) combo.SetItemIndex(entry);
}

std::string PrinterChoiceText(const tk::ComboBox& combo) {
  int selected = combo.ItemIndex();
  return selected < 0 ? std::string() : combo.Item(selected);
}

bool PrinterAvailable(const tk::ComboBox& combo) { return combo.Enabled(); }

void ApplyPrinterChoice(const tk::ComboBox& combo) {
  // The list holds the printers in the printer object's order, so positions agree; the extra
  // entry is last, and no selection gives -1 as well.
  tk::Printer::Instance().SetPrinterIndex(
      PrinterChoiceText(combo) == kDefaultPrinterEntry ? -1 : combo.ItemIndex());
}

}  // namespace vindelor

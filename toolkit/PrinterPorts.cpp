#include "toolkit/PrinterPorts.h"

namespace tk {
namespace {

std::string_view SkipBlanks(std::string_view text) {
  auto first = text.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string_view{} : text.substr(first);
}

}  // namespace

std::string PrinterOnPort(std::string_view name, std::string_view port) {
  // Joined, not formatted: a printer name may itself contain "%s".
  std::string text(name);
  text += " on ";
  text += port;
  return text;
}

std::string DefaultPrinterName(std::string_view deviceEntry) {
  return std::string(SkipBlanks(deviceEntry.substr(0, deviceEntry.find(','))));
}

int FindPrinterByName(const std::vector<PrinterEntry>& printers, std::string_view name) {
  for (std::size_t i = 0; i < printers.size(); ++i) {
    if (printers[i].name == name) return static_cast<int>(i);
  }
  return kNoPrinter;
}

int FindChosenPrinter(const std::vector<PrinterEntry>& printers, std::string_view name,
                      std::string_view port) {
  for (std::size_t i = 0; i < printers.size(); ++i) {
    const PrinterEntry& entry = printers[i];
    if (entry.name == name && (entry.port.empty() || entry.port == port)) {
      return static_cast<int>(i);
    }
  }
  return kNoPrinter;
}

}  // namespace tk

// Platform-neutral pieces of the printer object (no <windows.h>): the entries of the printer
// list, the name in the default printer's profile entry, and the searches in the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// One printer of the printer list: what the user sees, and the device it stands for. The port
// is empty for a printer listed once whatever its ports; a printer that the setup dialog chose
// and added carries the port it chose.
struct PrinterEntry {
  std::string displayText;
  std::string name;
  std::string port;

  bool operator==(const PrinterEntry&) const = default;
};

// "<name> on <port>", the display text of a printer that the setup dialog chose and added.
[[nodiscard]] std::string PrinterOnPort(std::string_view name, std::string_view port);

// The printer name in the profile's default device entry ("name,driver,port"): the text up to
// the first comma, without its leading blanks.
[[nodiscard]] std::string DefaultPrinterName(std::string_view deviceEntry);

inline constexpr int kNoPrinter = -1;

// The index of the first entry whose name equals name exactly, or kNoPrinter.
[[nodiscard]] int FindPrinterByName(const std::vector<PrinterEntry>& printers,
                                    std::string_view name);

// The index of the first entry for the printer a setup dialog chose, or kNoPrinter: the name
// must be equal, and the port as well unless the entry's port is empty (an entry for the
// printer on whatever port).
[[nodiscard]] int FindChosenPrinter(const std::vector<PrinterEntry>& printers,
                                    std::string_view name, std::string_view port);

}  // namespace tk

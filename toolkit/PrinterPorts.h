// Platform-neutral pieces of the printer object (no <windows.h>): the entries of the printer
// list, how a printer's port list becomes entries, the name in the default printer's profile
// entry, and the searches in the list.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// One printer of the printer list: what the user sees, and the device it stands for. The port
// is empty for printers that are listed once whatever their ports (Windows NT family).
struct PrinterEntry {
  std::string displayText;
  std::string name;
  std::string port;

  bool operator==(const PrinterEntry&) const = default;
};

// The ports of a comma-separated port list, in order. Leading blanks of each port are skipped
// (trailing ones stay); the first port that is then empty ends the list.
// "LPT1:, FILE:" -> {"LPT1:", "FILE:"}; ",LPT1:" -> {}; "  LPT1:,,FILE:" -> {"LPT1:"}.
[[nodiscard]] std::vector<std::string> SplitPortList(std::string_view ports);

// "<name> on <port>", the display text of a printer listed per port.
[[nodiscard]] std::string PrinterOnPort(std::string_view name, std::string_view port);

// One entry per port of the printer's port list (Windows 95 family).
[[nodiscard]] std::vector<PrinterEntry> EntriesOnPorts(std::string_view name,
                                                       std::string_view ports);

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

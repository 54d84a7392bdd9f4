#include "options/PrinterList.h"

namespace vindelor {

int PreselectedEntry(const std::vector<std::string>& entries, std::string_view savedName) {
  for (auto entry = entries.size(); entry-- > 0;) {
    if (entries[entry] == savedName) return static_cast<int>(entry);
  }
  return -1;
}

}  // namespace vindelor

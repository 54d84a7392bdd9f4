#include "tests/win/printer/PrinterTestSupport.h"

#include <windows.h>


#include "toolkit/Error.h"

namespace printer_test {

std::vector<std::string> PrinterTest::Names() {
  std::vector<std::string> names;
  for (const auto& entry : ThePrinter().Printers()) names.push_back(entry.name);
  return names;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const tk::Error& error) {
    return error.what();
  }
  return "";
}

std::string DefaultDeviceEntry() {
  char entry[256] = "";
  GetProfileStringA("windows", "device", "", entry, sizeof(entry));
  return entry;
}

}  // namespace printer_test

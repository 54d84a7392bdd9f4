#include "tests/support/RegistryFixture.h"

#include "toolkit/Handles.h"

namespace testing_support {

std::uint32_t RegistryValue::Dword() const {
  if (type != REG_DWORD || data.size() != 4) return 0xDEADBEEF;
  return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
         std::uint32_t{data[3]} << 24;
}

void DeleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Osmerdane"); }

void SeedValue(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsPath, name.c_str(), type, data.data(),
                  static_cast<DWORD>(data.size()));
}

void SeedDword(const std::string& name, std::uint32_t value) {
  SeedValue(name, REG_DWORD,
            {std::uint8_t(value), std::uint8_t(value >> 8), std::uint8_t(value >> 16),
             std::uint8_t(value >> 24)});
}

void DeleteValue(const std::string& name) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsPath, name.c_str());
}

void SeedSavedSettings(std::int32_t left, std::int32_t top) {
  DeleteSettings();
  for (const std::string name : kSettingNames) {
    SeedDword(name, name == "WinPosLeft"  ? std::uint32_t(left)
                    : name == "WinPosTop" ? std::uint32_t(top)
                                          : 0);
  }
  const std::string printer = "Default Printer";
  SeedValue("DefPrinter", REG_SZ, {printer.begin(), printer.end()});
}

std::map<std::string, RegistryValue> ReadSettings() {
  std::map<std::string, RegistryValue> values;
  tk::UniqueKey key;
  RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_READ, key.Put());
  for (DWORD index = 0; key; ++index) {
    char name[256]{};
    DWORD nameLength = sizeof(name), size = 4096, type = REG_NONE;
    std::vector<std::uint8_t> data(size);
    if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, data.data(), &size)) {
      break;
    }
    data.resize(size);
    values[std::string(name, nameLength)] = {type, data};
  }
  return values;
}

}  // namespace testing_support

#include "tests/support/RegistryFixture.h"

#include "toolkit/Handles.h"

namespace testing_support {

std::uint32_t RegistryValue::Dword() const {
  if (type != REG_DWORD || data.size() != 4) return 0xDEADBEEF;
  return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
         std::uint32_t{data[3]} << 24;
}

std::string RegistryValue::WrittenText() const {
  std::string text(data.begin(), data.end());
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

void DeleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Osmerdane"); }

void SeedValue(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data) {
  RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsPath, name.c_str(), type, data.data(),
                  static_cast<DWORD>(data.size()));
}

void SeedDword(const std::string& name, std::uint32_t value) {
  SeedValue(name, REG_DWORD, {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
                              static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void SeedString(const std::string& name, const std::string& text) {
  SeedValue(name, REG_SZ, {text.begin(), text.end()});
}

void DeleteValue(const std::string& name) {
  RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsPath, name.c_str());
}

std::map<std::string, RegistryValue> ReadSettings() {
  std::map<std::string, RegistryValue> values;
  tk::UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_READ, key.Put()) != ERROR_SUCCESS) {
    return values;
  }
  for (DWORD index = 0;; ++index) {
    char name[256]{};
    DWORD nameLength = sizeof(name), size = 4096, type = REG_NONE;
    std::vector<std::uint8_t> data(size);
    if (RegEnumValueA(key.Get(), index, name, &nameLength, nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
      return values;
    }
    data.resize(size);
    values[std::string(name, nameLength)] = {type, data};
  }
}

}  // namespace testing_support

#include "tests/support/RegistryFixture.h"

#include <stdexcept>

namespace testing_support {
namespace {

HKEY CreateSettingsKey() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    throw std::runtime_error("cannot create the settings key");
  }
  return key;
}

}  // namespace

std::uint32_t RegistryValue::Dword() const {
  if (type != REG_DWORD || data.size() != 4) throw std::runtime_error("not a 4-byte DWORD");
  return std::uint32_t{data[0]} | std::uint32_t{data[1]} << 8 | std::uint32_t{data[2]} << 16 |
         std::uint32_t{data[3]} << 24;
}

std::string RegistryValue::Text() const { return {data.begin(), data.end()}; }

std::string RegistryValue::WrittenText() const {
  std::string text = Text();
  if (!text.empty() && text.back() == '\0') text.pop_back();
  return text;
}

void DeleteSettings() { RegDeleteTreeA(HKEY_CURRENT_USER, "SOFTWARE\\Osmerdane"); }

void SeedValue(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data) {
  HKEY key = CreateSettingsKey();
  RegSetValueExA(key, name.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
}

void SeedDword(const std::string& name, std::uint32_t value) {
  SeedValue(name, REG_DWORD,
            {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
             static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)});
}

void SeedString(const std::string& name, const std::string& text, bool withTerminator) {
  std::vector<std::uint8_t> data(text.begin(), text.end());
  if (withTerminator) data.push_back(0);
  SeedValue(name, REG_SZ, data);
}

void DeleteValue(const std::string& name) {
  HKEY key = CreateSettingsKey();
  RegDeleteValueA(key, name.c_str());
  RegCloseKey(key);
}

std::map<std::string, RegistryValue> ReadSettings() {
  std::map<std::string, RegistryValue> values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsPath, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return values;
  }
  for (DWORD index = 0;; ++index) {
    char name[256]{};
    DWORD nameLength = sizeof(name);
    std::vector<std::uint8_t> data(4096);
    DWORD size = static_cast<DWORD>(data.size());
    DWORD type = REG_NONE;
    if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data.data(), &size) !=
        ERROR_SUCCESS) {
      break;
    }
    data.resize(size);
    values[std::string(name, nameLength)] = {type, data};
  }
  RegCloseKey(key);
  return values;
}

}  // namespace testing_support

// The settings key of the test prefix's real registry: seed values (also of wrong types and
// sizes), delete them, and read back what the program wrote.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr char kSettingsPath[] = "SOFTWARE\\Osmerdane\\Vindelor\\2.0\\Setup";

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;
  [[nodiscard]] std::uint32_t Dword() const;
  [[nodiscard]] std::string Text() const;  // the bytes as they are, NULs included
  // The text as the program wrote it. Wine's RegSetValueExA appends the terminating NUL that
  // the program leaves out, so one trailing NUL is dropped here.
  [[nodiscard]] std::string WrittenText() const;
  bool operator==(const RegistryValue&) const = default;
};

// Removes the whole Osmerdane key: the next start is a first run.
void DeleteSettings();
void SeedValue(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data);
void SeedDword(const std::string& name, std::uint32_t value);
void SeedString(const std::string& name, const std::string& text, bool withTerminator = false);
void DeleteValue(const std::string& name);
// Every value of the settings key by its stored name (case as written).
[[nodiscard]] std::map<std::string, RegistryValue> ReadSettings();

}  // namespace testing_support

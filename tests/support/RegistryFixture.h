// The settings key of the test prefix's registry: seed values (also of wrong types and sizes),
// delete them, and read back what the program wrote.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

inline constexpr char kSettingsPath[] = "SOFTWARE\\Osmerdane\\Vindelor\\2.0\\Setup";
// The fourteen stored values in the order the program loads them ("Save Options" writes the
// eighth as "Immediat action": the registry ignores case).
inline constexpr const char* kSettingNames[] = {
    "Centered",  "Stretched", "Date + Time",     "Monochrom",  "Mirrored",
    "Landscape", "Portrait",  "Immediat Action", "WinPosLeft", "WinPosTop",
    "ScaleBy",   "Inversed",  "Clipboard",       "DefPrinter"};

struct RegistryValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> data;
  [[nodiscard]] std::uint32_t Dword() const;  // 0xDEADBEEF unless a 4-byte DWORD
  bool operator==(const RegistryValue&) const = default;
};

void DeleteSettings();  // the whole Osmerdane key: the next start is a first run
void SeedValue(const std::string& name, DWORD type, const std::vector<std::uint8_t>& data);
void SeedDword(const std::string& name, std::uint32_t value);
void DeleteValue(const std::string& name);
// What "Save Options" writes with every box off, the dialog at (left, top) and "Default Printer".
void SeedSavedSettings(std::int32_t left, std::int32_t top);
[[nodiscard]] std::map<std::string, RegistryValue> ReadSettings();  // by stored name

}  // namespace testing_support

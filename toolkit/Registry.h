// Access to one registry key under HKEY_CURRENT_USER, opened with full access, with the typed
// reads and writes the settings need. Failures raise tk::Error with the value's name:
// "Failed to get data for '%s'", "Invalid data type for '%s'", "Failed to set data for '%s'".
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "toolkit/Handles.h"

namespace tk {

class Registry {
 public:
  // True when the key opens with full access (it is closed again at once).
  [[nodiscard]] static bool KeyExists(const std::string& path);
  // Opens the key with full access, creating every missing level when create is true. The
  // result is not an error: without a key every later read or write fails.
  bool OpenKey(const std::string& path, bool create);
  void CloseKey() noexcept { key_.Reset(); }

  // A 4-byte REG_DWORD. Shorter data reads zero-extended; longer data or a missing value fails.
  [[nodiscard]] std::int32_t ReadInteger(const std::string& name) const;
  // Any non-zero value is true.
  [[nodiscard]] bool ReadBool(const std::string& name) const { return ReadInteger(name) != 0; }
  // REG_SZ or REG_EXPAND_SZ, read in full and cut at its first NUL; missing or empty gives "".
  [[nodiscard]] std::string ReadString(const std::string& name) const;

  void WriteInteger(const std::string& name, std::int32_t value) const;
  void WriteBool(const std::string& name, bool value) const { WriteInteger(name, value ? 1 : 0); }
  // REG_SZ holding the characters without a terminating NUL.
  void WriteString(const std::string& name, const std::string& value) const;

 private:
  UniqueKey key_;
};

}  // namespace tk

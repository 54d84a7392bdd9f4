#include "toolkit/Registry.h"

#include "toolkit/Error.h"
#include "toolkit/RegistryData.h"

namespace tk {
namespace {

static_assert(kRegistryString == REG_SZ && kRegistryExpandString == REG_EXPAND_SZ &&
              kRegistryDword == REG_DWORD);

[[noreturn]] void FailToSet(const std::string& name) {
  throw Error(FormatText("Failed to set data for '%s'", name));
}

}  // namespace

bool Registry::KeyExists(const std::string& path) {
  UniqueKey closedAtOnce;
  return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS,
                       closedAtOnce.Put()) == ERROR_SUCCESS;
}

bool Registry::OpenKey(const std::string& path, bool create) {
  HKEY* opened = key_.Put();
  LSTATUS status =
      create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, opened, nullptr)
             : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, opened);
  if (status != ERROR_SUCCESS) static_cast<void>(key_.Release());  // no key to close
  return status == ERROR_SUCCESS;
}

std::int32_t Registry::ReadInteger(const std::string& name) const {
  std::uint8_t data[4]{};
  DWORD size = sizeof(data);
  DWORD type = REG_NONE;
  if (!key_ || RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, data, &size) !=
                   ERROR_SUCCESS) {
    throw FailedToGetData(name);  // missing, or more than the 4 bytes
  }
  return DecodeRegistryInteger(type, {data, size}, name);
}

std::string Registry::ReadString(const std::string& name) const {
  DWORD size = 0;
  DWORD type = REG_NONE;
  if (!key_) throw FailedToGetData(name);
  LSTATUS status = RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type, nullptr, &size);
  if (status == ERROR_FILE_NOT_FOUND) return {};
  if (status != ERROR_SUCCESS) throw FailedToGetData(name);
  std::string data(size, '\0');
  if (size != 0 && RegQueryValueExA(key_.Get(), name.c_str(), nullptr, &type,
                                    reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS) {
    throw FailedToGetData(name);
  }
  data.resize(size);
  return DecodeRegistryString(type, data, name);
}

void Registry::WriteInteger(const std::string& name, std::int32_t value) const {
  auto data = static_cast<DWORD>(value);  // a negative value is stored as its two's complement
  if (!key_ || RegSetValueExA(key_.Get(), name.c_str(), 0, REG_DWORD,
                              reinterpret_cast<const BYTE*>(&data),
                              sizeof(data)) != ERROR_SUCCESS) {
    FailToSet(name);
  }
}

void Registry::WriteString(const std::string& name, const std::string& value) const {
  if (!key_ || RegSetValueExA(key_.Get(), name.c_str(), 0, REG_SZ,
                              reinterpret_cast<const BYTE*>(value.data()),
                              static_cast<DWORD>(value.size())) != ERROR_SUCCESS) {
    FailToSet(name);
  }
}

}  // namespace tk

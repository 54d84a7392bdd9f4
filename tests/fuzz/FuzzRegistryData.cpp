// libFuzzer target for the decoding of registry values. Input: a 4-byte type code, the value name
// ended by a NUL (as the registry takes it), then the data. A wrong value or error text aborts.
#include <bit>
#include <cstdlib>
#include <cstring>

#include "toolkit/RegistryData.h"

static_assert(std::endian::native == std::endian::little);  // memcpy reads the type and value

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* input, size_t size) {
  if (size < 5 || !std::memchr(input + 4, 0, size - 4)) return 0;
  uint32_t type = 0, value = 0;
  std::memcpy(&type, input, 4);
  const std::string_view name(reinterpret_cast<const char*>(input) + 4);  // up to its NUL
  const std::string_view data(name.data() + name.size() + 1, size - 5 - name.size());
  const bool tooLong = data.size() > 4,  // fails before the type is looked at
      isString = type == tk::kRegistryString || type == tk::kRegistryExpandString;
  std::memcpy(&value, data.data(), tooLong ? 4 : data.size());
  const auto error = [&](const char* what) { return what + (" for '" + std::string(name) + "'"); };
  bool ok = false;  // both decodes right
  try {
    const auto got = tk::DecodeRegistryInteger(type, {input + 5 + name.size(), data.size()}, name);
    ok = !tooLong && type == tk::kRegistryDword && uint32_t(got) == value;
  } catch (const tk::Error& e) {
    ok = (tooLong || type != tk::kRegistryDword) &&
         e.what() == error(tooLong ? "Failed to get data" : "Invalid data type");
  }
  try {
    const std::string text = tk::DecodeRegistryString(type, data, name);
    ok = ok && isString && text.find('\0') == text.npos && data.starts_with(text) &&
         (text.size() == data.size() || data[text.size()] == '\0');
  } catch (const tk::Error& e) {
    ok = ok && !isString && e.what() == error("Invalid data type");
  }
  if (!ok) std::abort();
  return 0;
}

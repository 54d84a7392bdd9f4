#include "toolkit/RegistryData.h"

namespace tk {
namespace {

Error InvalidDataType(std::string_view name) {
  return Error(FormatText("Invalid data type for '%s'", name));
}

}  // namespace

Error FailedToGetData(std::string_view name) {
  return Error(FormatText("Failed to get data for '%s'", name));
}

std::int32_t DecodeRegistryInteger(std::uint32_t type, std::span<const std::uint8_t> data,
                                   std::string_view name) {
  // The size goes first: a longer value does not fit the 4-byte buffer it is read into.
  if (data.size() > 4) throw FailedToGetData(name);
  if (type != kRegistryDword) throw InvalidDataType(name);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}

std::string DecodeRegistryString(std::uint32_t type, std::string_view data, std::string_view name) {
  if (type != kRegistryString && type != kRegistryExpandString) throw InvalidDataType(name);
  return std::string(data.substr(0, data.find('\0')));
}

}  // namespace tk

#include "toolkit/RegistryData.h"

#include <stdexcept>

namespace tk {

std::int32_t DecodeRegistryInteger(std::span<const std::uint8_t> data) {
  if (data.size() > 4) throw std::invalid_argument("more than 4 bytes for an integer");
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < data.size(); ++i) value |= std::uint32_t{data[i]} << (8 * i);
  return static_cast<std::int32_t>(value);
}

std::string DecodeRegistryString(std::string_view data) {
  return std::string(data.substr(0, data.find('\0')));
}

}  // namespace tk

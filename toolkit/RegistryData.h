// Decoding of registry value data (platform-neutral).
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace tk {

// Up to 4 little-endian bytes as a signed 32-bit integer; missing high bytes are zero.
[[nodiscard]] std::int32_t DecodeRegistryInteger(std::span<const std::uint8_t> data);

// String data read in full, cut at its first NUL: with or without a terminator it reads the same.
[[nodiscard]] std::string DecodeRegistryString(std::string_view data);

}  // namespace tk

// Decoding of registry value data (platform-neutral): what a stored value of a given type reads
// as, or the tk::Error that names the value.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "toolkit/Error.h"

namespace tk {

// The value types the settings use, numbered as in <windows.h> (checked in Registry.cpp).
inline constexpr std::uint32_t kRegistryString = 1;        // REG_SZ
inline constexpr std::uint32_t kRegistryExpandString = 2;  // REG_EXPAND_SZ
inline constexpr std::uint32_t kRegistryDword = 4;         // REG_DWORD

// "Failed to get data for '<name>'": the value is missing, unreadable or too long.
[[nodiscard]] Error FailedToGetData(std::string_view name);

// REG_DWORD data of up to 4 little-endian bytes, zero-extended. More than 4 bytes of any type
// fail to get; 4 bytes or fewer of any other type are an invalid data type.
[[nodiscard]] std::int32_t DecodeRegistryInteger(std::uint32_t type,
                                                 std::span<const std::uint8_t> data,
                                                 std::string_view name);

// REG_SZ or REG_EXPAND_SZ data read in full, cut at its first NUL: with or without a terminator
// it reads the same. Any other type is an invalid data type.
[[nodiscard]] std::string DecodeRegistryString(std::uint32_t type, std::string_view data,
                                               std::string_view name);

}  // namespace tk

// Platform-neutral helpers of the toolkit (no <windows.h>).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tk {

// The application title: the program file's name without folder and extension (from the first
// full stop on), with every letter after the first in lower case. "C:\\x\\VINDELOR.EXE" -> "Vindelor".
[[nodiscard]] std::string ApplicationTitleFromPath(std::string_view modulePath);

// True once at least `interval` milliseconds of the 32-bit tick counter have passed since
// startTicks, counting correctly across the counter's wrap-around.
[[nodiscard]] bool TickIntervalElapsed(std::uint32_t startTicks, std::uint32_t nowTicks,
                                       std::int32_t interval);

// The program's texts and every name it handles are UTF-8. Windows counts the lengths of paths
// in UTF-16 units: one per character, two for a character beyond U+FFFF. This is that count.
[[nodiscard]] std::size_t Utf16Length(std::string_view utf8);

// The longest start of `utf8` of at most maxBytes bytes that does not end inside a character.
// (A run of stray continuation bytes longer than a character is cut like single bytes.)
[[nodiscard]] std::string_view CutToWholeCharacters(std::string_view utf8, std::size_t maxBytes);

// Bytes a buffer needs for `characters` UTF-16 units of UTF-8 text: three each at most.
constexpr std::size_t kUtf8BytesPerUnit = 3;

}  // namespace tk

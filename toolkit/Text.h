// Platform-neutral helpers of the toolkit (no <windows.h>).
#pragma once

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

}  // namespace tk

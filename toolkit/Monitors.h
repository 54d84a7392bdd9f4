// The monitors of the desktop as the system reports them.
#pragma once

#include <vector>

#include "toolkit/ScreenArea.h"

namespace tk {

// Each monitor's rectangle in screen coordinates, the primary one at (0, 0).
[[nodiscard]] std::vector<ScreenRect> MonitorRects();
// The virtual screen, the rectangle that holds every monitor. Its left and top are negative when
// a monitor lies left of or above the primary one.
[[nodiscard]] ScreenRect VirtualScreen();

}  // namespace tk

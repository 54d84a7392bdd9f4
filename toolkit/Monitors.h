// The monitors of the desktop as the system reports them.
#pragma once

#include <vector>

#include "toolkit/ScreenArea.h"

namespace tk {

// Each monitor's rectangle in screen coordinates, the primary one at (0, 0).
[[nodiscard]] std::vector<ScreenRect> MonitorRects();

}  // namespace tk

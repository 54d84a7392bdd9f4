// The application state that every part of the program shares. There is exactly one of each,
// touched only on the user-interface thread.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/Bitmap.h"
#include "toolkit/ScreenArea.h"

namespace vindelor {

// Capture sources; the same numbers identify the two hotkeys.
inline constexpr std::int32_t kSourceDesktop = -2;       // Print Screen
inline constexpr std::int32_t kSourceActiveWindow = -1;  // Alt+Print Screen

// The captured window's rectangle in screen pixels, later the selected area.
using CaptureRect = tk::ScreenRect;

struct SharedState {
  // The current capture; read by every output, changed in place by captures and transforms.
  // Created by the options dialog's creation, freed by the credits form's destruction.
  std::unique_ptr<tk::Bitmap> workImage;
  // Set by every caller of CaptureWindow just before the call.
  std::int32_t captureSource = 0;
  // The hotkeys capture only while this is set.
  bool armed = false;
  // Set by the tray's "Open" so that the next capture does not print on its own.
  bool menuOpen = false;
  // The captured window's rectangle, later the selected area.
  CaptureRect captureRect;
};

// The program-wide instance. Start-up resets it.
[[nodiscard]] SharedState& Shared();
void ResetSharedState();

}  // namespace vindelor

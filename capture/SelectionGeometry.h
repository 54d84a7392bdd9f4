// The geometry of a selection on the overlay (platform-neutral): where the dotted outlines go
// as the mouse is pressed, moved and released, and which rectangle the release selects. Every
// outline is drawn so that drawing it again erases it; the overlay draws what these return, in
// order, and crops what the release selects.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "toolkit/ScreenArea.h"

namespace vindelor {

// What a mouse event holds, as far as a selection cares: the left button alone, the right
// button alone, or anything else (a modifier key, a second button, a double click).
enum class HeldAlone { Left, Right, Other };

// Outlines in overlay client pixels: corners as dragged, in any order, right and bottom edge
// excluded.
using Outlines = std::vector<tk::ScreenRect>;

class SelectionGeometry {
 public:
  static constexpr std::int32_t kBoxSize = 32;             // the right button's box
  static constexpr std::int32_t kLargestRefusedSide = 12;  // a crop needs more in both directions

  struct Ending {
    Outlines erase;           // the outline on show, drawn again
    tk::ScreenRect selected;  // the corners, normalised
    bool crops = false;       // more than 12 pixels in both directions
  };

  // Every press sets both corners; only a lone button draws (an empty outline, or the box).
  // Each call returns the outlines to draw, in order.
  Outlines Press(HeldAlone held, std::int32_t x, std::int32_t y);
  // The left button stretches the outline to the pointer, the right one moves the box there.
  Outlines Move(HeldAlone held, std::int32_t x, std::int32_t y);
  // Any button's release ends the selection; its position does not count.
  Ending Release();
  // Esc: the outline on show, if any, drawn again so that the picture is pure.
  Outlines Cancel();

 private:
  void Erase(Outlines& drawn);
  void Show(const tk::ScreenRect& outline, Outlines& drawn);

  std::int32_t x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
  std::optional<tk::ScreenRect> shown_;  // the one outline on show, if any
};

}  // namespace vindelor

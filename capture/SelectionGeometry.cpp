#include "capture/SelectionGeometry.h"

#include <utility>

namespace vindelor {

// Erasing draws the outline on show again, not the one the corners give: after a press with a
// modifier held, which draws nothing, those two differ, and drawing the corners' outline would
// leave a trace in the crop.
void SelectionGeometry::Erase(Outlines& drawn) {
  if (shown_) drawn.push_back(*std::exchange(shown_, std::nullopt));
}

void SelectionGeometry::Show(const tk::ScreenRect& outline, Outlines& drawn) {
  drawn.push_back(outline);
  shown_ = outline;
}

Outlines SelectionGeometry::Press(HeldAlone held, std::int32_t x, std::int32_t y) {
  Outlines drawn;
  Erase(drawn);
  x1_ = x2_ = x;
  y1_ = y2_ = y;
  if (held == HeldAlone::Left) Show({x1_, y1_, x2_, y2_}, drawn);
  if (held == HeldAlone::Right) Show({x1_, y1_, x1_ + kBoxSize, y1_ + kBoxSize}, drawn);
  return drawn;
}

Outlines SelectionGeometry::Move(HeldAlone held, std::int32_t x, std::int32_t y) {
  Outlines drawn;
  if (held == HeldAlone::Other) return drawn;
  Erase(drawn);
  if (held == HeldAlone::Left) {
    x2_ = x;
    y2_ = y;
  } else {
    x1_ = x;
    y1_ = y;
    x2_ = x + kBoxSize;
    y2_ = y + kBoxSize;
  }
  Show({x1_, y1_, x2_, y2_}, drawn);
  return drawn;
}

SelectionGeometry::Ending SelectionGeometry::Release() {
  Ending ending;
  Erase(ending.erase);
  if (x2_ < x1_) std::swap(x1_, x2_);
  if (y2_ < y1_) std::swap(y1_, y2_);
  ending.selected = {x1_, y1_, x2_, y2_};
  ending.crops = x2_ - x1_ > kLargestRefusedSide && y2_ - y1_ > kLargestRefusedSide;
  return ending;
}

Outlines SelectionGeometry::Cancel() {
  Outlines drawn;
  Erase(drawn);
  return drawn;
}

}  // namespace vindelor

// An icon picture owned by its object. Assigning copies the picture, so the source stays with
// whoever owns it.
#pragma once

#include <windows.h>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"

namespace tk {

class Icon {
 public:
  // A copy of the picture; null empties the icon.
  void Assign(HICON picture) {
    UniqueIcon copy{picture ? CopyIcon(picture) : nullptr};
    if (picture && !copy) throw Error("Out of system resources");
    icon_ = std::move(copy);
  }
  [[nodiscard]] HICON Handle() const noexcept { return icon_.Get(); }
  [[nodiscard]] bool Empty() const noexcept { return !icon_; }

 private:
  UniqueIcon icon_;
};

}  // namespace tk

// Counts of the GDI and USER objects this process holds, so that tests can prove a cycle of
// work gives back every handle it took.
#pragma once

namespace testing_support {

struct GuiObjectCounts {
  long gdi = 0;
  long user = 0;
  bool operator==(const GuiObjectCounts&) const = default;
};

// GetGuiResources where the system implements it. Wine answers 0 there, so under Wine the GDI
// count comes from the process's GDI handle table and the USER count is the number of this
// process's windows (top-level, message-only and children).
[[nodiscard]] GuiObjectCounts CountGuiObjects();

}  // namespace testing_support

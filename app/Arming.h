// Whether the Print Screen hotkeys capture: every change of the armed flag, in one table.
//
//   event                                   armed afterwards
//   the credits form is created             false
//   the splash ends (fifth tick, a key)     true, whatever the Suspend item shows
//   a capture starts (any source)           false
//   the dialog's Cancel, also at the end
//   of every print job                      true unless the Suspend item is checked
//   Suspend checked                         false
//   Suspend unchecked                       true
//
// The callers drain the Print Screen key (ClearKeyBuffer) first where the flag comes back on.
// A print refused for want of a printer changes nothing.
#pragma once

namespace vindelor {

enum class ArmingEvent {
  CreditsFormCreated,
  SplashEnded,
  CaptureStarted,
  DialogCancelled,
  SuspendChecked,
  SuspendUnchecked,
};

void ApplyArmingRule(ArmingEvent event);

}  // namespace vindelor

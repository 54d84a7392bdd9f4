#include "app/Arming.h"

#include "app/SharedState.h"
#include "forms/Unit1.h"

namespace vindelor {

void ApplyArmingRule(ArmingEvent event) {
  bool& armed = Shared().armed;
  switch (event) {
    case ArmingEvent::CreditsFormCreated:
    case ArmingEvent::CaptureStarted:
    case ArmingEvent::SuspendChecked:
      armed = false;
      break;
    case ArmingEvent::SplashEnded:
    case ArmingEvent::SuspendUnchecked:
      armed = true;
      break;
    case ArmingEvent::DialogCancelled:
      if (!Form1->Suspend.Checked()) armed = true;
      break;
  }
}

}  // namespace vindelor

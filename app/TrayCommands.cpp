// Commands of the tray menu, and the help box that a left click on the tray icon shows too.
#include <windows.h>

#include "app/Arming.h"
#include "app/SharedState.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "toolkit/Dialogs.h"

namespace {

// Lines end with a lone carriage return.
constexpr char kHelpText[] =
    "To print the Desktop press the <PrintScreen> key\r"
    "To print the Active Window press <Alt> + <PrintScreen>\r"
    "\r"
    "The Printscreen key is mostly labeled PrintScrn/SysRq\r"
    "\r"
    "Right Click the Icon to get more Options\r"
    "\r"
    "Open      =  Opens the Vindelor dialog\r"
    "Close      =  terminate Vindelor\r"
    "Suspend =  Vindelor is deactivated\r"
    "\r"
    "Vindelor V2.0 is freeware by Osmerdane\r"
    "Osmerdane, Postbox 17, Vindeln\r"
    "info@osmerdane.example\r"
    "http://www.osmerdane.example/vindelor";
constexpr char kHelpCaption[] = "Vindelor HELP";
constexpr char kCloseQuestion[] = "Do you really want to Close Vindelor V2.0";

}  // namespace

// Neither capture command looks at the armed flag or at Suspend; while the dialog is open it
// stays on the screen and is captured with the rest.
void TForm1::Desktop1Click() {
  vindelor::Shared().captureSource = vindelor::kSourceDesktop;
  Form2->CaptureWindow();
}

void TForm1::Open1Click() {
  // The capture never prints on its own; CaptureWindow clears the flag again.
  vindelor::Shared().menuOpen = true;
  vindelor::Shared().captureSource = vindelor::kSourceDesktop;
  Form2->CaptureWindow();
}

void TForm1::HelpClick() { (void)tk::ShowMessageBox(kHelpText, kHelpCaption, MB_SYSTEMMODAL); }

void TForm1::Remove1Click() {
  MessageBeep(MB_ICONQUESTION);
  if (tk::ConfirmYesNo("Confirm", kCloseQuestion)) Close();
}

void TForm1::SuspendClick() {
  if (!Suspend.Checked()) {
    Suspend.SetChecked(true);
    vindelor::ApplyArmingRule(vindelor::ArmingEvent::SuspendChecked);
  } else {
    Suspend.SetChecked(false);
    ClearKeyBuffer();
    vindelor::ApplyArmingRule(vindelor::ArmingEvent::SuspendUnchecked);
  }
}

// The menu's check mark is the switch a capture reads; the dialog's box is the one the settings
// keep. Moving the box runs its click, which copies its state back here.
void TForm1::immediatClick() {
  immediat.SetChecked(!immediat.Checked());
  Form2->CheckBox6.SetChecked(immediat.Checked());
}

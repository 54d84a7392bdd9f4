// The selection overlay: it covers the desktop as just captured, every monitor, shows it frozen,
// and crops the work image to the rectangle the user drags with the left button, or to the
// 32-pixel box the user moves with the right button.
#include <windows.h>

#include <algorithm>

#include "app/SharedState.h"
#include "capture/SelectionGeometry.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "toolkit/Application.h"

namespace {

// The selection in overlay client pixels; the capture rectangle gets it in screen pixels. Every
// press sets both corners, and nothing carries over from one selection to the next.
vindelor::SelectionGeometry g_selection;

vindelor::HeldAlone HeldAloneIn(const tk::ShiftState& shift) {
  if (shift.OnlyLeft()) return vindelor::HeldAlone::Left;
  if (shift.OnlyRight()) return vindelor::HeldAlone::Right;
  return vindelor::HeldAlone::Other;
}

// Draws the dotted outlines in order; one drawn a second time is erased.
void Draw(const vindelor::Outlines& outlines) {
  for (const tk::ScreenRect& outline : outlines) {
    Form3->GetCanvas().Rectangle(outline.left, outline.top, outline.right, outline.bottom);
  }
}

// The work image becomes the selected part of what the overlay shows, white where that part
// reaches beyond the overlay (a box at the screen's edge).
void CropWorkImage(const tk::ScreenRect& selected) {
  tk::Bitmap& work = *vindelor::Shared().workImage;
  work.SetSize(selected.right - selected.left, selected.bottom - selected.top);  // same format
  HDC crop = work.Surface();
  PatBlt(crop, 0, 0, work.Width(), work.Height(), WHITENESS);
  const int left = std::max(selected.left, 0), top = std::max(selected.top, 0);
  const int right = std::min(selected.right, Form3->ClientWidth());
  const int bottom = std::min(selected.bottom, Form3->ClientHeight());
  if (right <= left || bottom <= top) return;
  tk::WindowDc shown(Form3->Handle());
  BitBlt(crop, left - selected.left, top - selected.top, right - left, bottom - top, shown.Get(),
         left, top, SRCCOPY);
}  // the overlay's context is released here

}  // namespace

void TForm3::FormCreate() {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The work image, still empty, becomes a white image of the screen's size.
  tk::Bitmap& work = *vindelor::Shared().workImage;
  work.SetWidth(screenWidth);
  work.SetHeight(screenHeight);
  SetBounds(0, 0, screenWidth, screenHeight);  // each selection places it again
  // A dotted outline whose dots invert the pixels beneath; drawing it again restores them.
  GetCanvas().pen.mode = R2_NOTXORPEN;
  GetCanvas().pen.style = PS_DOT;
}

void TForm3::FormPaint() { GetCanvas().Draw(0, 0, *vindelor::Shared().workImage); }

void TForm3::FormMouseDown(tk::MouseButton, tk::ShiftState shift, int x, int y) {
  GetCanvas().brush.hollow = true;
  Draw(g_selection.Press(HeldAloneIn(shift), x, y));
}

void TForm3::FormMouseMove(tk::ShiftState shift, int x, int y) {
  Draw(g_selection.Move(HeldAloneIn(shift), x, y));
}

void TForm3::FormMouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  const vindelor::SelectionGeometry::Ending ending = g_selection.Release();
  Draw(ending.erase);  // the overlay shows the pure frozen picture again
  const tk::ScreenRect& selected = ending.selected;
  vindelor::Shared().captureRect = {selected.left + Left(), selected.top + Top(),
                                    selected.right + Left(), selected.bottom + Top()};
  if (ending.crops) {
    CropWorkImage(selected);
    tk::App().ProcessMessages();
    if (Form2->CheckBox9.Checked()) Form2->CopyToClipBoard();
  }
  Close();
}

void TForm3::FormKeyDown(WORD key) {
  if (key != VK_ESCAPE) return;
  Draw(g_selection.Cancel());  // no crop: the work image stays the whole desktop
  Close();
}

void TForm2::Button6Click() {
  Hide();
  vindelor::Shared().captureSource = vindelor::kSourceDesktop;
  CaptureWindow();
  // Monitors come and go while the program runs: the overlay lies where the capture just was.
  const tk::ScreenRect& desktop = vindelor::Shared().captureRect;
  Form3->SetBounds(desktop.left, desktop.top, desktop.right - desktop.left,
                   desktop.bottom - desktop.top);
  g_selection = {};
  Form3->Show();
  Show();  // beneath the overlay, which stays on top and takes the keys
}

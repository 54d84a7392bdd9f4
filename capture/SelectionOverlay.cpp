// The selection overlay: it covers the screen, shows the frozen desktop, and crops the work
// image to the rectangle the user drags.
#include <windows.h>

#include "app/SharedState.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"

void TForm3::FormCreate() {
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  // The work image, still empty, becomes a white image of the screen's size.
  tk::Bitmap& work = *vindelor::Shared().workImage;
  work.SetWidth(screenWidth);
  work.SetHeight(screenHeight);
  SetBounds(0, 0, screenWidth, screenHeight);
  // A dotted outline whose dots invert the pixels beneath; drawing it again restores them.
  GetCanvas().pen.mode = R2_NOTXORPEN;
  GetCanvas().pen.style = PS_DOT;
}

void TForm3::FormPaint() { GetCanvas().Draw(0, 0, *vindelor::Shared().workImage); }

void TForm3::FormMouseDown(tk::MouseButton, tk::ShiftState, int, int) {
  // Left button: starts the outline at the press point. Right button: the 32-pixel box.
}

void TForm3::FormMouseMove(tk::ShiftState, int, int) {
  // Stretches the outline, or drags the box, erasing the previous one.
}

void TForm3::FormMouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  // Crops the work image to the selection (13 × 13 pixels at least) and closes the overlay.
}

void TForm2::Button6Click() {
  // "Select Rectangle": hide the dialog, capture the desktop afresh, show the overlay.
}

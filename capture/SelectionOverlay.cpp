// The selection overlay: it covers the screen, shows the frozen desktop, and crops the work
// image to the rectangle the user drags with the left button, or to the 32-pixel box the user
// moves with the right button.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/SharedState.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"
#include "toolkit/Application.h"

namespace {

constexpr std::int32_t kBoxSize = 32;
constexpr std::int32_t kLargestRefusedSide = 12;  // a crop needs more pixels in both directions

// The selection's first and second corner in overlay pixels, which are screen pixels. Every
// press sets all four.
struct Corners {
  std::int32_t x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};
Corners corners;

// Draws the dotted outline, or erases it when the same corners were drawn last.
void Outline(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom) {
  Form3->GetCanvas().Rectangle(left, top, right, bottom);
}

}  // namespace

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

void TForm3::FormMouseDown(tk::MouseButton, tk::ShiftState shift, int x, int y) {
  auto& [x1, y1, x2, y2] = corners;
  GetCanvas().brush.hollow = true;
  x1 = x2 = x;
  y1 = y2 = y;
  // Only a lone button starts something: with a modifier, a second button or a double click
  // held, the press merely sets the corners.
  if (shift.OnlyLeft()) Outline(x1, y1, x2, y2);
  if (shift.OnlyRight()) Outline(x1, y1, x1 + kBoxSize, y1 + kBoxSize);
}

void TForm3::FormMouseMove(tk::ShiftState shift, int x, int y) {
  auto& [x1, y1, x2, y2] = corners;
  if (shift.OnlyLeft()) {
    Outline(x1, y1, x2, y2);
    x2 = x;
    y2 = y;
    Outline(x1, y1, x2, y2);
  } else if (shift.OnlyRight()) {
    Outline(x1, y1, x1 + kBoxSize, y1 + kBoxSize);
    x1 = x;
    y1 = y;
    x2 = x + kBoxSize;
    y2 = y + kBoxSize;
    Outline(x1, y1, x2, y2);
  }
}

void TForm3::FormMouseUp(tk::MouseButton, tk::ShiftState, int, int) {
  auto& [x1, y1, x2, y2] = corners;
  Outline(x1, y1, x2, y2);  // the overlay shows the pure frozen picture again
  if (x2 < x1) std::swap(x1, x2);
  if (y2 < y1) std::swap(y1, y2);
  vindelor::Shared().captureRect = {x1, y1, x2, y2};
  if (x2 - x1 > kLargestRefusedSide && y2 - y1 > kLargestRefusedSide) {
    tk::Bitmap& work = *vindelor::Shared().workImage;
    work.SetSize(x2 - x1, y2 - y1);  // keeps the pixel format
    HDC crop = work.Surface();
    // A box reaching beyond the screen's edge is white where the screen ends.
    PatBlt(crop, 0, 0, work.Width(), work.Height(), WHITENESS);
    {
      tk::WindowDc shown(Handle());
      BitBlt(crop, 0, 0, std::min(x2, ClientWidth()) - x1, std::min(y2, ClientHeight()) - y1,
             shown.Get(), x1, y1, SRCCOPY);
    }  // the overlay's context is released here
    tk::App().ProcessMessages();
    if (Form2->CheckBox9.Checked()) Form2->CopyToClipBoard();
  }
  Close();
}

void TForm2::Button6Click() {
  Hide();
  vindelor::Shared().captureSource = vindelor::kSourceDesktop;
  CaptureWindow();
  Form3->Show();
  Show();  // beneath the overlay, which stays on top; the dialog keeps the keys
}

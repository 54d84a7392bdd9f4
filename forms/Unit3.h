// The selection overlay: a borderless, always-on-top form covering every monitor that shows the
// frozen desktop while the user drags the rectangle to keep. The drag holds the mouse, and while
// the overlay is up every key is its own: Esc closes it, no other key does anything.
#pragma once

#include "toolkit/Form.h"

class TForm3 final : public tk::Form {
 public:
  TForm3();

  void FormCreate() override;
  void FormPaint() override;
  void FormMouseDown(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;
  void FormMouseMove(tk::ShiftState shift, int x, int y) override;
  void FormMouseUp(tk::MouseButton button, tk::ShiftState shift, int x, int y) override;
  void FormKeyDown(WORD key) override;
};

extern TForm3* Form3;

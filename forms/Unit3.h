// The selection overlay: a borderless, always-on-top form covering the screen that shows the
// frozen desktop while the user drags the rectangle to keep.
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
};

extern TForm3* Form3;

#include "forms/Unit2.h"

TForm2* Form2 = nullptr;

TForm2::TForm2()
    : tk::Form({.caption = "Vindelor V2.0",
                .clientWidth = 305,
                .clientHeight = 278,
                .border = tk::FormBorder::Dialog,
                .font = tk::FontSpec{.height = -11},
                .dialogKeys = true}) {
  Button1.OnClick = [this] { Button1Click(); };
  Button2.OnClick = [this] { Button2Click(); };
  Button3.OnClick = [this] { Button3Click(); };
  Button4.OnClick = [this] { Button4Click(); };
  Button5.OnClick = [this] { Button5Click(); };
  Button6.OnClick = [this] { Button6Click(); };
  Button7.OnClick = [this] { Button7Click(); };
  Button8.OnClick = [this] { Button8Click(); };
  CheckBox3.OnClick = [this] { CheckBox3Click(); };
  CheckBox6.OnClick = [this] { CheckBox6Click(); };
  CheckBox5.OnMouseUp = [this](auto button, auto shift, int x, int y) {
    CheckBox5MouseUp(button, shift, x, y);
  };
  CheckBox7.OnMouseUp = [this](auto button, auto shift, int x, int y) {
    CheckBox7MouseUp(button, shift, x, y);
  };
  // Designed at 96 pixels per inch with a font 13 pixels high.
  ScaleToScreen(96, 13);
}

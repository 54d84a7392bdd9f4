#include "forms/Unit1.h"

TForm1* Form1 = nullptr;

TForm1::TForm1()
    : tk::Form({.caption = "Vindelor",
                .clientWidth = 281,
                .clientHeight = 159,
                .border = tk::FormBorder::Dialog,
                .systemMenu = false,
                .alwaysOnTop = true,
                .position = tk::FormPosition::ScreenCenter,
                .font = tk::FontSpec{.height = -11},
                .color = tk::kSilver}) {
  Timer1.OnTimer = [this] { Timer1Timer(); };
  Desktop1.OnClick = [this] { Desktop1Click(); };
  Help.OnClick = [this] { HelpClick(); };
  Open1.OnClick = [this] { Open1Click(); };
  Remove1.OnClick = [this] { Remove1Click(); };
  Suspend.OnClick = [this] { SuspendClick(); };
  immediat.OnClick = [this] { immediatClick(); };
}

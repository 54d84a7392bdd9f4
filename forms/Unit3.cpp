#include "forms/Unit3.h"

#include <windows.h>

TForm3* Form3 = nullptr;

TForm3::TForm3()
    : tk::Form({.caption = "Vindelor®V2.0",
                .clientWidth = 104,
                .clientHeight = 60,
                .left = (GetSystemMetrics(SM_CXSCREEN) - 104) / 2,
                .top = (GetSystemMetrics(SM_CYSCREEN) - 60) / 2,
                .border = tk::FormBorder::None,
                .alwaysOnTop = true,
                .font = tk::FontSpec{.height = -11},
                .cursor = LoadCursorA(nullptr, IDC_CROSS),
                .activatable = false,
                .capturesMouse = true,
                .takesAllKeys = true}) {}

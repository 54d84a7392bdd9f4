// Resource IDs shared by Vindelor.rc and the program.
#pragma once

// windres sees only the preprocessor, so the .rc uses the macros below.
#define VINDELOR_ICON_MAIN 1  // also the icon Explorer shows for Vindelor.exe

#ifndef RC_INVOKED
constexpr int kIconMain = VINDELOR_ICON_MAIN;
#endif

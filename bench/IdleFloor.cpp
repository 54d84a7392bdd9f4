// The least an idle Windows program does under Wine, without Vindelor's code: one hidden
// top-level window and a message loop, nothing else (no timer, no tray icon, no hook). What it
// costs idle (wake-ups, CPU, memory) is the floor of the resident program's figures;
// bench/idle.sh measures the two side by side.
//
//   IdleFloor.exe         the floor
//   IdleFloor.exe clock   the floor and a 1000 ms timer whose ticks do nothing: what the one
//                         timer the resident program must keep (its status line's clock) costs
//                         the system by itself
//
// Once its window exists and its loop is about to wait, it prints one line and flushes it, so
// that the script knows when to start counting. It runs until it is ended (WM_CLOSE, or the
// process killed).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "toolkit/Handles.h"

namespace {
constexpr char kClass[] = "VindelorIdleFloor";
}  // namespace

int main(int argc, char** argv) {
  const bool clock = argc > 1 && std::strcmp(argv[1], "clock") == 0;
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  const WNDCLASSEXA windowClass{.cbSize = sizeof(WNDCLASSEXA),
                                .lpfnWndProc = &DefWindowProcA,
                                .hInstance = instance,
                                .lpszClassName = kClass};
  if (!RegisterClassExA(&windowClass)) {
    std::printf("idle floor: the window class could not be registered\n");
    return 1;
  }
  const tk::UniqueWindow window{CreateWindowExA(0, kClass, "Idle floor", WS_OVERLAPPEDWINDOW, 0, 0,
                                                200, 100, nullptr, nullptr, instance, nullptr)};
  if (!window) {
    std::printf("idle floor: the window could not be made\n");
    return 1;
  }
  if (clock && !SetTimer(window.Get(), 1, 1000, nullptr)) {
    std::printf("idle floor: no timer\n");
    return 1;
  }
  std::printf("idle floor: hidden window %p%s, in its message loop\n",
              static_cast<void*>(window.Get()), clock ? " with a 1000 ms timer" : "");
  std::fflush(stdout);
  MSG message{};
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}

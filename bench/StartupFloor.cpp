// The least any start of the program has to do, without Vindelor's code: one shown window, the
// printer list (EnumPrinters as the printer object asks for it, once per process), the stored
// settings (their key opened and every value read), then the message loop. Timed as
// StartupBench times the program: from the first step to the loop's first wait.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "toolkit/Handles.h"

namespace {

constexpr char kClassName[] = "StartupFloorWindow";
constexpr char kSettingsKey[] = "SOFTWARE\\Osmerdane\\Vindelor\\2.0\\Setup";
constexpr const char* kSettingNames[] = {
    "Centered",  "Stretched",       "Date + Time", "Monochrom", "Mirrored",
    "Landscape", "Portrait",        "Immediat Action", "Inversed", "Clipboard",
    "WinPosLeft", "WinPosTop",      "ScaleBy",     "DefPrinter"};

// The printer list, fetched the first time only, as the program's printer object keeps it.
DWORD CountPrinters() {
  static DWORD count = [] {
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD found = 0;
    EnumPrintersA(flags, nullptr, 4, nullptr, 0, &needed, &found);
    std::vector<BYTE> buffer(needed);
    if (!EnumPrintersA(flags, nullptr, 4, buffer.data(), needed, &needed, &found)) return DWORD{0};
    return found;
  }();
  return count;
}

// The number of stored values read; -1 when the key is missing.
int ReadSettings() {
  tk::UniqueKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_ALL_ACCESS, key.Put()) !=
      ERROR_SUCCESS) {
    return -1;
  }
  int read = 0;
  for (const char* name : kSettingNames) {
    BYTE data[256]{};
    DWORD size = sizeof(data);
    if (RegQueryValueExA(key.Get(), name, nullptr, nullptr, data, &size) == ERROR_SUCCESS) ++read;
  }
  return read;
}

// One start: milliseconds from its first step to the loop's first wait; -1 on failure.
double StartOnce(DWORD& printers, int& settings) {
  const bench::Stopwatch since;
  WNDCLASSEXA windowClass{.cbSize = sizeof(WNDCLASSEXA),
                          .lpfnWndProc = &DefWindowProcA,
                          .hInstance = GetModuleHandleA(nullptr),
                          .hCursor = LoadCursorA(nullptr, IDC_ARROW),
                          .hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                          .lpszClassName = kClassName};
  if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return -1;
  const tk::UniqueWindow window{CreateWindowExA(0, kClassName, "Start-up floor",
                                                WS_OVERLAPPEDWINDOW, 100, 100, 400, 200, nullptr,
                                                nullptr, GetModuleHandleA(nullptr), nullptr)};
  if (!window) return -1;
  printers = CountPrinters();
  settings = ReadSettings();
  ShowWindow(window.Get(), SW_SHOWNORMAL);
  PostQuitMessage(0);
  double startup = -1;
  MSG message{};
  for (bool first = true;; first = false) {
    if (first) startup = since.Milliseconds();
    if (GetMessageA(&message, nullptr, 0, 0) <= 0) break;
    DispatchMessageA(&message);
  }
  return startup;
}

}  // namespace

int main() {
  constexpr int kRuns = 15;
  std::vector<double> samples;
  DWORD printers = 0;
  int settings = 0;
  for (int run = 0; run < kRuns; ++run) {
    const double startup = StartOnce(printers, settings);
    if (startup < 0 || settings < 0) {
      std::printf("start %d failed (window, or no settings key: run Vindelor once first)\n", run);
      return 1;
    }
    if (run == 0) std::printf("%-44s %9.3f ms\n", "floor start-up, first run in the process", startup);
    samples.push_back(startup);
  }
  std::printf("%lu printers listed, %d stored values read\n", static_cast<unsigned long>(printers),
              settings);
  bench::Report("floor start-up, entry to message loop", bench::Summarize(samples));
  return 0;
}

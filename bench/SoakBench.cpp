// The resident program over a long run, driven from outside: capture cycles (every tenth a tray
// "Open" → Cancel instead), then prints with Immediate Action, every print transformed and every
// capture copied. After a warm-up and at the end it must hold the same GDI objects, windows and
// handles; the private memory is printed for bench/soak.sh.   SoakBench [CYCLES [PRINTS]]
#include <cstdio>
#include <cstdlib>

#include "tests/e2e/VindelorProcess.h"
// After <windows.h>.
#include <psapi.h>

#include "tests/support/HarnessAccess.h"

using namespace testing_support;

namespace {

double PrivateMegabytesOf(DWORD processId) {
  const tk::UniqueKernelHandle process{OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId)};
  PROCESS_MEMORY_COUNTERS counters{.cb = sizeof(counters)};
  GetProcessMemoryInfo(process.Get(), &counters, sizeof(counters));
  return static_cast<double>(counters.PagefileUsage) / (1 << 20);  // Wine fills no PrivateUsage
}

int Soak(int cycles, int prints) {
  EndAllVindelorProcesses();
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  HWND dialog = program.OptionsDialog();
  if (!program.CaptureWithHotkey()) return std::printf("no dialog for Print Screen\n"), 1;
  for (const char* box : {"Monochrome", "Mirrored Image", "Copy to Clipboard"}) {
    program.SetBox(box, true);
  }
  if (program.PrintPage([&] { program.Press("Print"); }).empty()) return 1;  // fills the caches
  auto sample = [&](const char* when) {
    const ObjectCounts now = CountObjectsOf(program.Id());
    std::printf("%s: private %.2f MB, GDI objects %ld, windows %ld, handles %ld\n", when,
                PrivateMegabytesOf(program.Id()), now.gdi, now.windows, now.handles);
    return now;
  };
  ObjectCounts warm;
  for (int cycle = 1; cycle <= cycles + prints; ++cycle) {
    if (cycle > cycles) {
      if (cycle == cycles + 1 && !ChooseFromTrayMenu(6)) return 1;  // Immediate Action on
      if (program.PrintPage(&PressPrintScreen).empty()) return std::printf("cycle %d\n", cycle), 1;
    } else if (cycle % 10 != 0) {
      if (!program.CaptureWithHotkey()) return std::printf("cycle %d\n", cycle), 1;
      program.CancelDialog();
    } else {
      if (!ChooseFromTrayMenu(3) || !WaitUntil([&] { return IsShown(dialog); })) return 1;
      program.Press("Cancel");
      if (!WaitUntil([&] { return !IsShown(dialog); })) return 1;
    }
    if (cycle == 20) warm = sample("after 20 cycles");
    if (cycle == cycles + 20) sample("after 20 prints");  // memory as after a print
  }
  const bool kept = sample("at the end") == warm;
  std::printf("%s\n", kept ? "objects given back" : "objects grew");
  return kept ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return Soak(argc > 1 ? std::atoi(argv[1]) : 500, argc > 2 ? std::atoi(argv[2]) : 100);
}

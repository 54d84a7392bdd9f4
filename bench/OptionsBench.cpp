// The options dialog's creation (with whatever print queues the run has: bench/run-benchmarks.sh
// gives it three), the settings' Load and Save, and the resident program's idle cost: message
// wake-ups and CPU per second and private memory after start-up with the dialog hidden.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "app/SharedState.h"
#include "bench/BenchSupport.h"
#include "bench/ResidentProgram.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "options/SettingsStore.h"
#include "toolkit/Application.h"
#include "toolkit/Printer.h"

namespace {

double CpuMilliseconds() {
  FILETIME created{}, exited{}, kernel{}, user{};
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto ticks = [](FILETIME t) {
    return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                               t.dwLowDateTime);
  };
  return (ticks(kernel) + ticks(user)) / 10'000.0;
}

}  // namespace

int main() {
  constexpr int kRuns = 15;
  std::printf("printers: %zu\n", tk::Printer::Instance().Printers().size());
  std::vector<double> creations;
  std::vector<double> loads;
  std::vector<double> saves;
  for (int run = 0; run < kRuns; ++run) {
    vindelor::ResetSharedState();
    tk::Application app;
    app.CreateForm(Form1);
    bench::Stopwatch create;
    app.CreateForm(Form2);
    creations.push_back(create.Milliseconds());
    bench::Stopwatch save;
    vindelor::WriteSettings(*Form2);
    saves.push_back(save.Milliseconds());
    bench::Stopwatch load;
    vindelor::LoadSettings(*Form2);
    loads.push_back(load.Milliseconds());
  }
  bench::Report("options dialog creation (forms 1 and 2 made)", bench::Summarize(creations));
  bench::Report("settings Load", bench::Summarize(loads));
  bench::Report("settings Save (without the message)", bench::Summarize(saves));

  // The resident program: splash over, dialog hidden; count what wakes the thread.
  bench::ResidentProgram program;
  constexpr DWORD kIdleMilliseconds = 10'000;
  int wakeUps = 0;
  const double cpuBefore = CpuMilliseconds();
  const DWORD start = GetTickCount();
  for (DWORD now = start; now - start < kIdleMilliseconds; now = GetTickCount()) {
    if (MsgWaitForMultipleObjects(0, nullptr, FALSE, kIdleMilliseconds - (now - start),
                                  QS_ALLINPUT) == WAIT_OBJECT_0) {
      ++wakeUps;
      program.app.ProcessMessages();
    }
  }
  const double seconds = kIdleMilliseconds / 1000.0;
  std::printf("%-44s %9.2f per second\n", "idle wake-ups", wakeUps / seconds);
  std::printf("%-44s %9.3f ms per second\n", "idle CPU", (CpuMilliseconds() - cpuBefore) / seconds);
  std::printf("%-44s %9.1f MB (work image %.1f MB, not yet made)\n",
              "private bytes after start-up", static_cast<double>(bench::PrivateBytes()) / 1048576.0,
              static_cast<double>(vindelor::Shared().workImage->Width()) *
                  vindelor::Shared().workImage->Height() * 4 / 1048576.0);
  return 0;
}

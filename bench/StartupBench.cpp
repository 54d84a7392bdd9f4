// Start-up time of the program itself: from the application object's creation (the first step
// of the entry point) to the message loop's first wait, measured in-process over several runs.
#include <cstdio>
#include <vector>

#include "app/Startup.h"
#include "bench/BenchSupport.h"
#include "toolkit/Application.h"

int main() {
  constexpr int kRuns = 15;
  std::vector<double> samples;
  for (int run = 0; run < kRuns; ++run) {
    double startup = 0;
    int exitCode = vindelor::VindelorMain();  // replaced by the helper's measurement
    if (exitCode != 0) {
      std::printf("run %d ended with exit code %d\n", run, exitCode);
      return 1;
    }
    if (run == 0) std::printf("%-44s %9.3f ms\n", "start-up, first run in the process", startup);
    samples.push_back(startup);
  }
  bench::Report("start-up, entry to message loop", bench::Summarize(samples));
  return 0;
}

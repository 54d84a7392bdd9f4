// Small timing helpers for the benchmark programs.
#pragma once

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

namespace bench {

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&start_); }
  [[nodiscard]] double Milliseconds() const {
    LARGE_INTEGER now{};
    LARGE_INTEGER frequency{};
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_{};
};

// Milliseconds from `since` until the condition holds, looked at every `pause` ms without
// processing messages in between; -1 after 30 s.
template <class Condition>
double MillisecondsUntil(const Stopwatch& since, Condition condition, DWORD pause = 0) {
  while (!condition()) {
    if (since.Milliseconds() > 30000) return -1;
    Sleep(pause);
  }
  return since.Milliseconds();
}

struct Summary {
  double min = 0;
  double median = 0;
  double max = 0;
};

inline Summary Summarize(std::vector<double> samples) {
  std::sort(samples.begin(), samples.end());
  return {samples.front(), samples[samples.size() / 2], samples.back()};
}

inline void Report(const char* what, const Summary& s) {
  std::printf("%-44s min %9.3f ms   median %9.3f ms   max %9.3f ms\n", what, s.min, s.median,
              s.max);
}

// PagefileUsage: the process's committed private bytes now, the figure PrivateUsage repeats on
// Windows (Wine leaves PrivateUsage 0). Wine reports PeakPagefileUsage as the current figure
// too, not as a peak, so the peak is sampled.
inline SIZE_T PrivateBytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PagefileUsage;
}

// The working set (resident pages) now, under Wine the process's resident memory.
inline SIZE_T WorkingSet() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.WorkingSetSize;
}

inline SIZE_T ReportedPeak() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof(counters);
  GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof(counters));
  return counters.PeakPagefileUsage;
}

// Samples PrivateUsage every millisecond on a thread of its own and keeps the highest value.
class PeakSampler {
 public:
  explicit PeakSampler(SIZE_T (*measure)() = &PrivateBytes)
      : measure_(measure), thread_([this] {
          while (!stop_) {
            SIZE_T now = measure_();
            if (now > peak_) peak_ = now;
            Sleep(1);
          }
        }) {}
  PeakSampler(const PeakSampler&) = delete;
  PeakSampler& operator=(const PeakSampler&) = delete;
  ~PeakSampler() { Stop(); }
  SIZE_T Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
    SIZE_T now = measure_();
    if (now > peak_) peak_ = now;
    return peak_;
  }

 private:
  SIZE_T (*measure_)();
  std::atomic<bool> stop_{false};
  std::atomic<SIZE_T> peak_{0};
  std::thread thread_;
};

}  // namespace bench

// Small timing helpers for the benchmark programs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
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

}  // namespace bench

// The capture's pixel copy (without its 200 ms wait): desktop window into the work image, next
// to a plain memcpy of the same number of bytes in the same run.
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "app/SharedState.h"
#include "bench/BenchSupport.h"
#include "bench/ResidentProgram.h"
#include "capture/CaptureWindow.h"

int main() {
  constexpr int kRuns = 25;
  bench::ResidentProgram program;

  HWND desktop = GetDesktopWindow();
  tk::Bitmap& work = *vindelor::Shared().workImage;
  bench::Stopwatch first;
  vindelor::CopyWindowIntoWorkImage(desktop);
  const double firstCopy = first.Milliseconds();

  const auto bytes = static_cast<std::size_t>(work.Width()) *
                     static_cast<std::size_t>(work.Height()) *
                     static_cast<std::size_t>(work.BitsPerPixel() / 8);
  std::vector<unsigned char> from(bytes, 0x5A);
  std::vector<unsigned char> to(bytes, 0);

  std::vector<double> copies;
  std::vector<double> memcpys;
  for (int run = 0; run < kRuns; ++run) {
    bench::Stopwatch copy;
    vindelor::CopyWindowIntoWorkImage(desktop);
    copies.push_back(copy.Milliseconds());
    bench::Stopwatch plain;
    std::memcpy(to.data(), from.data(), bytes);
    memcpys.push_back(plain.Milliseconds());
    from[static_cast<std::size_t>(run) % bytes] = to[bytes - 1];  // keep the copies observable
  }
  std::printf("screen %d x %d, %d bits per pixel, %zu bytes\n", work.Width(), work.Height(),
              work.BitsPerPixel(), bytes);
  std::printf("%-44s %9.3f ms\n", "capture copy, first (allocates the image)", firstCopy);
  const bench::Summary capture = bench::Summarize(copies);
  const bench::Summary plain = bench::Summarize(memcpys);
  bench::Report("capture copy (steps 4-9)", capture);
  bench::Report("memcpy of the same bytes", plain);
  std::printf("%-44s %9.2f x   (target <= 3)\n", "capture / memcpy, medians",
              capture.median / plain.median);
  return 0;
}

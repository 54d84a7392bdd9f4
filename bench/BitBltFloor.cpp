// The least a Windows program does to copy the screen, without Vindelor's code: the screen's DC,
// a bitmap of the screen's own format and of the virtual screen's size (every monitor), one
// BitBlt from the virtual screen's top-left corner. Per run, the way the capture copies
// into its kept work image (the DC fetched, BitBlt, the DC released), and, beside it, the whole
// sequence with a fresh bitmap each time.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "bench/BenchSupport.h"
#include "toolkit/Handles.h"

namespace {

const int kLeft = GetSystemMetrics(SM_XVIRTUALSCREEN), kTop = GetSystemMetrics(SM_YVIRTUALSCREEN);

// Milliseconds to copy the screen into the bitmap selected into `target`.
double CopyScreen(HDC target, int width, int height) {
  const bench::Stopwatch copy;
  const tk::WindowDc screen(nullptr);
  BitBlt(target, 0, 0, width, height, screen.Get(), kLeft, kTop, SRCCOPY);
  return copy.Milliseconds();
}

// Milliseconds for the whole sequence: DC, a new compatible bitmap, BitBlt, all given back.
double CopyScreenIntoNewBitmap(int width, int height) {
  const bench::Stopwatch copy;
  const tk::WindowDc screen(nullptr);
  const tk::UniqueBitmap bitmap{CreateCompatibleBitmap(screen.Get(), width, height)};
  const tk::UniqueMemoryDc memory{CreateCompatibleDC(screen.Get())};
  const tk::SelectGuard selected(memory.Get(), bitmap.Get());
  BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), kLeft, kTop, SRCCOPY);
  return copy.Milliseconds();
}

}  // namespace

int main() {
  constexpr int kRuns = 25;
  const int width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
  const int height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  tk::UniqueBitmap bitmap;
  {
    const tk::WindowDc screen(nullptr);
    bitmap.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
  }
  const tk::UniqueMemoryDc memory{CreateCompatibleDC(nullptr)};
  if (!bitmap || !memory) return std::printf("no bitmap of %d x %d\n", width, height), 1;
  const tk::SelectGuard selected(memory.Get(), bitmap.Get());
  BITMAP info{};
  GetObjectA(bitmap.Get(), sizeof(info), &info);

  CopyScreen(memory.Get(), width, height);  // outside the runs, as CaptureBench's first copy
  // One kind of copy after the other, as CaptureBench repeats its copy: under Wine, a copy into
  // the kept bitmap right after one into a new bitmap takes markedly less time than one after
  // another copy into the kept bitmap, which would put the floor below what a program that
  // copies repeatedly can reach.
  std::vector<double> kept;
  std::vector<double> fresh;
  for (int run = 0; run < kRuns; ++run) kept.push_back(CopyScreen(memory.Get(), width, height));
  for (int run = 0; run < kRuns; ++run) fresh.push_back(CopyScreenIntoNewBitmap(width, height));
  std::printf("screen %d x %d, bitmap of %d bits per pixel\n", width, height,
              info.bmPlanes * info.bmBitsPixel);
  bench::Report("floor BitBlt, kept bitmap", bench::Summarize(kept));
  bench::Report("floor BitBlt, new bitmap each time", bench::Summarize(fresh));
  return 0;
}

// The clipboard exchange and the selection's end at the screen's size: the copy to the
// clipboard (without its 50 ms wait) and the paste, next to a plain BitBlt of the same pixels
// in the same run, and the time from the mouse release to the cropped image and the closed
// overlay.
#include <windows.h>

#include <cstdio>
#include <functional>
#include <utility>
#include <vector>

#include "app/SharedState.h"
#include "bench/BenchSupport.h"
#include "bench/ResidentProgram.h"
#include "capture/CaptureWindow.h"
#include "capture/Clipboard.h"
#include "forms/Unit2.h"
#include "forms/Unit3.h"

namespace {

constexpr int kRuns = 15;

bench::Summary Time(const std::function<void()>& action) {
  std::vector<double> samples;
  for (int run = 0; run < kRuns; ++run) {
    bench::Stopwatch watch;
    action();
    samples.push_back(watch.Milliseconds());
  }
  return bench::Summarize(samples);
}

}  // namespace

int main() {
  bench::ResidentProgram program;
  tk::Bitmap& work = *vindelor::Shared().workImage;
  vindelor::CopyWindowIntoWorkImage(GetDesktopWindow());
  const int width = work.Width();
  const int height = work.Height();
  std::printf("screen %d x %d, %d bits per pixel\n", width, height, work.BitsPerPixel());

  tk::Bitmap target;
  target.SetSize(width, height);
  bench::Report("plain BitBlt of the work image", Time([&] {
    BitBlt(target.Surface(), 0, 0, width, height, work.Surface(), 0, 0, SRCCOPY);
  }));
  // What CopyToClipBoard does before its wait: the copy, then the clipboard's share of the
  // work (under Wine, SetClipboardData turns the bitmap into device-independent data for the
  // server).
  std::vector<double> copies;
  std::vector<double> handovers;
  for (int run = 0; run < kRuns; ++run) {
    bench::Stopwatch copyWatch;
    tk::UniqueBitmap copy = work.CopyPixels();
    copies.push_back(copyWatch.Milliseconds());
    bench::Stopwatch putWatch;
    vindelor::OpenedClipboard opened;
    opened.PutBitmap(std::move(copy));
    handovers.push_back(putWatch.Milliseconds());
  }
  bench::Report("copy to the clipboard: the copy", bench::Summarize(copies));
  bench::Report("copy to the clipboard: handing it over", bench::Summarize(handovers));
  // What "Get from Clipboard" does between its two messages.
  bench::Report("paste from the clipboard", Time([&] {
    vindelor::OpenedClipboard opened;
    work.AssignFrom(static_cast<HBITMAP>(GetClipboardData(CF_BITMAP)), nullptr, false);
  }));

  // A selection of half the screen each way: press, drag, then the timed release.
  std::vector<double> releases;
  for (int run = 0; run < kRuns; ++run) {
    Form2->Button6Click();
    UpdateWindow(Form3->Handle());
    HWND overlay = Form3->Handle();
    SendMessageA(overlay, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(width / 4, height / 4));
    SendMessageA(overlay, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(width * 3 / 4, height * 3 / 4));
    bench::Stopwatch watch;
    SendMessageA(overlay, WM_LBUTTONUP, 0, MAKELPARAM(width * 3 / 4, height * 3 / 4));
    releases.push_back(watch.Milliseconds());
    if (Form3->Visible() || work.Width() != width / 2) std::printf("the selection did not end\n");
    Form2->Button4Click();
  }
  bench::Report("release to crop and closed overlay", bench::Summarize(releases));
  return 0;
}

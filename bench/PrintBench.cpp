// The print job's phases on a capture of the whole screen, each timed on its own: the
// transforms (all three), the temporary file round trip, the layout, and drawing the page
// through to the spool; then a whole job, and the peak private memory against the image's bytes.
#include <windows.h>

#include <cstdio>
#include <vector>

#include "app/SharedState.h"
#include "bench/BenchSupport.h"
#include "bench/ResidentProgram.h"
#include "capture/CaptureWindow.h"
#include "forms/Unit2.h"
#include "output/BmpFile.h"
#include "output/PageLayout.h"
#include "output/PrintJob.h"
#include "output/Transforms.h"
#include "toolkit/Application.h"
#include "toolkit/Printer.h"

namespace {

constexpr int kRuns = 5;
constexpr double kMegabyte = 1024.0 * 1024.0;

void CaptureScreen() { vindelor::CopyWindowIntoWorkImage(GetDesktopWindow()); }

}  // namespace

int main() {
  bench::ResidentProgram program;
  tk::Bitmap& work = *vindelor::Shared().workImage;
  vindelor::FileForm print;
  tk::Printer& printer = tk::Printer::Instance();
  printer.SetPrinterIndex(-1);
  (void)printer.Handle();

  // First a whole job from the dialog on a fresh capture, inverted and mirrored but in colour
  // (the most memory a job takes: a one-bit image is 32 times smaller): the peak
  // of resident memory while the job runs, above the resident program's before the capture
  // (so the work image counts), against the image's bytes.
  const SIZE_T resident = bench::WorkingSet();
  CaptureScreen();
  bench::PeakSampler sampler(&bench::WorkingSet);
  const double imageBytes = static_cast<double>(work.Width()) * work.Height() * 4;
  std::printf("screen %d x %d (%.1f MB as 32-bit pixels), printer %s\n", work.Width(),
              work.Height(), imageBytes / kMegabyte, printer.CurrentName().c_str());
  Form2->CheckBox7.SetChecked(true);
  Form2->CheckBox8.SetChecked(true);
  bench::Stopwatch job;
  Form2->Button1Click();
  const double jobMilliseconds = job.Milliseconds();
  const SIZE_T peak = sampler.Stop();
  std::printf("%-44s %9.1f ms (with its 190 ms of waits)\n", "whole print job", jobMilliseconds);
  const double above = static_cast<double>(peak - resident);
  std::printf("%-44s %9.1f MB = %.2f x the image's bytes (target <= 2.5 x + 16 MB)\n",
              "peak resident memory in the job", above / kMegabyte, above / imageBytes);
  std::printf("%-44s %9.1f MB\n", "resident program before the capture",
              static_cast<double>(resident) / kMegabyte);

  // Then each phase on its own.
  std::vector<double> transforms, roundTrips, layouts, drawings;
  for (int run = 0; run < kRuns; ++run) {
    CaptureScreen();
    bench::Stopwatch transform;
    vindelor::ApplyTransforms(work, true, true, true);
    transforms.push_back(transform.Milliseconds());
    vindelor::ApplyTransforms(work, false, false, false);  // colour again for the next capture

    bench::Stopwatch roundTrip;
    print = vindelor::TemporaryRoundTrip(work);
    roundTrips.push_back(roundTrip.Milliseconds());

    printer.SetOrientation(tk::Printer::kLandscape);
    const int pageWidth = printer.PageWidth();
    const int pageHeight = printer.PageHeight();
    bench::Stopwatch layout;
    const vindelor::PagePlacement placement = vindelor::PlaceImageOnPage(
        {pageWidth, pageHeight, 300, 300, 96, 96, print.Width(), print.Height(), false, true});
    layouts.push_back(layout.Milliseconds());

    bench::Stopwatch drawing;
    tk::PrintDocument document(printer, "Vindelor V2.0 Bitmap",
                               [] { tk::App().ProcessMessages(); });
    vindelor::DrawPrintImage(printer.Handle(), print, placement.rect);
    document.End();
    drawings.push_back(drawing.Milliseconds());
  }
  bench::Report("transforms (monochrome, inverted, mirrored)", bench::Summarize(transforms));
  bench::Report("temporary file round trip", bench::Summarize(roundTrips));
  bench::Report("page layout", bench::Summarize(layouts));
  bench::Report("drawing the page through to the spool", bench::Summarize(drawings));
  return 0;
}

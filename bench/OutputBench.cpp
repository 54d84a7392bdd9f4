// The output side without the printer, at the screen's size: each image transform, BMP writing
// and reading next to plain file I/O of the same bytes, and the print job's temporary round
// trip (bench/PrintBench.cpp measures the job's memory).
#include <windows.h>

#include <psapi.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <span>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "bench/BenchSupport.h"
#include "output/BmpFile.h"
#include "output/Transforms.h"
#include "toolkit/Application.h"
#include "toolkit/Bitmap.h"
#include "toolkit/Error.h"
#include "toolkit/Handles.h"

namespace {

constexpr int kRuns = 15;
constexpr double kMegabyte = 1024.0 * 1024.0;

// The desktop's pixels, as a capture takes them.
void Capture(tk::Bitmap& image) {
  image.SetMonochrome(false);
  image.SetSize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  tk::WindowDc desktop(GetDesktopWindow(), tk::WindowDc::Area::WholeWindow);
  BitBlt(image.Surface(), 0, 0, image.Width(), image.Height(), desktop.Get(), 0, 0, SRCCOPY);
}

// The desktop is mostly one colour under Xvfb; bands of colour and white give the transforms
// something to do on every pixel.
void Decorate(tk::Bitmap& image) {
  HDC dc = image.Surface();
  for (int x = 0; x < image.Width(); x += 16) {
    tk::UniqueBrush brush{
        CreateSolidBrush(x % 48 == 0 ? RGB(255, 255, 255) : RGB(x % 256, (x / 4) % 256, 128))};
    RECT band{x, 0, x + 16, image.Height() / 2};
    FillRect(dc, &band, brush.Get());
  }
}

// The same work image before each run, outside the timing.
void Restore(tk::Bitmap& image, tk::Bitmap& source) {
  image.SetMonochrome(false);
  image.SetSize(source.Width(), source.Height());
  BitBlt(image.Surface(), 0, 0, image.Width(), image.Height(), source.Surface(), 0, 0,
         SRCCOPY);
}

bench::Summary Time(const std::function<void()>& prepare, const std::function<void()>& action) {
  std::vector<double> samples;
  for (int run = 0; run < kRuns; ++run) {
    prepare();
    bench::Stopwatch watch;
    action();
    samples.push_back(watch.Milliseconds());
  }
  return bench::Summarize(samples);
}

// Two actions timed in the same runs, taking turns at going first, so that both meet the same
// state of the machine (page cache, write-back, other work).
std::pair<bench::Summary, bench::Summary> TimeSideBySide(const std::function<void()>& prepare,
                                                         const std::function<void()>& first,
                                                         const std::function<void()>& second) {
  std::vector<double> firstSamples;
  std::vector<double> secondSamples;
  for (int run = 0; run < kRuns; ++run) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool firstNow = (run + turn) % 2 == 0;
      prepare();
      bench::Stopwatch watch;
      (firstNow ? first : second)();
      (firstNow ? firstSamples : secondSamples).push_back(watch.Milliseconds());
    }
  }
  return {bench::Summarize(firstSamples), bench::Summarize(secondSamples)};
}

void RawWrite(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  tk::UniqueFile file{CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  DWORD written = 0;
  if (!file ||
      !WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr)) {
    throw tk::Error("raw write failed");
  }
}

std::vector<std::uint8_t> RawRead(const std::string& path) {
  tk::UniqueFile file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)};
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.Get(), &size)) throw tk::Error("raw read failed");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) {
    throw tk::Error("raw read failed");
  }
  return bytes;
}

void ReportThroughput(const char* what, const bench::Summary& s, std::size_t bytes) {
  bench::Report(what, s);
  std::printf("%-44s %9.1f MB/s\n", "", static_cast<double>(bytes) / kMegabyte / (s.median / 1000));
}

void ReportRatio(const char* what, const bench::Summary& ours, const bench::Summary& raw) {
  std::printf("%-44s %9.2f x medians, %.2f x minimums   (target <= 1.5)\n", what,
              ours.median / raw.median, ours.min / raw.min);
}

}  // namespace

int main() {
  tk::Application app;
  const std::string scratch = vindelor::TemporaryBmpPath() + ".raw";

  std::printf("screen %d x %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));

  // --- Transforms ---------------------------------------------------------------------------
  tk::Bitmap source;
  Capture(source);
  Decorate(source);
  tk::Bitmap work;
  auto restore = [&] { Restore(work, source); };
  auto restoreOneBit = [&] {
    Restore(work, source);
    work.SetMonochrome(true);
  };
  const bench::Summary on = Time(restore, [&] { work.SetMonochrome(true); });
  const bench::Summary off = Time(restoreOneBit, [&] { work.SetMonochrome(false); });
  const bench::Summary onOff = Time(restore, [&] {
    work.SetMonochrome(true);
    work.SetMonochrome(false);
  });
  const bench::Summary invert = Time(restore, [&] { vindelor::InvertImage(work); });
  const bench::Summary mirror = Time(restore, [&] { vindelor::MirrorImage(work); });
  const bench::Summary mirrorOneBit = Time(restoreOneBit, [&] { vindelor::MirrorImage(work); });
  const bench::Summary all =
      Time(restore, [&] { vindelor::ApplyTransforms(work, true, true, true); });
  const bench::Summary invertMirror =
      Time(restore, [&] { vindelor::ApplyTransforms(work, false, true, true); });
  const bench::Summary again =
      Time(restoreOneBit, [&] { vindelor::ApplyTransforms(work, true, true, true); });
  bench::Report("monochrome on (colour to 1 bit)", on);
  bench::Report("monochrome off (1 bit to colour)", off);
  bench::Report("monochrome on + off", onOff);
  bench::Report("invert (colour)", invert);
  bench::Report("mirror (colour)", mirror);
  bench::Report("mirror (1 bit)", mirrorOneBit);
  bench::Report("all three, on a colour image", all);
  std::printf("%-44s %9.3f ms   (target <= 150 ms at 3840 x 2160)\n", "", all.median);
  bench::Report("all three, on a 1-bit image (next print)", again);
  bench::Report("invert + mirror, colour", invertMirror);
  std::printf("\n");

  // --- Files ------------------------------------------------------------------------------------
  Restore(work, source);
  const std::span<const std::uint8_t> encoded = vindelor::EncodeBitmap(work);
  const std::vector<std::uint8_t> bytes(encoded.begin(), encoded.end());
  auto changed = [&] { SetPixel(work.Surface(), 0, 0, RGB(1, 2, 3)); };  // a new stamp
  auto nothing = [] {};
  const std::string file = scratch + ".bmp";
  auto writeBmp = [&] { vindelor::WriteBmpFile(work, file); };
  auto writeRaw = [&] { RawWrite(scratch, bytes); };
  const auto [encodeWrite, rawWrite] = TimeSideBySide(changed, writeBmp, writeRaw);
  const auto [keptWrite, rawWrite2] = TimeSideBySide(nothing, writeBmp, writeRaw);
  const bench::Summary encodeOnly = Time(changed, [&] { (void)vindelor::EncodeBitmap(work); });
  vindelor::FileForm print;
  const auto [read, rawRead] = TimeSideBySide(
      [&] { print.Clear(); }, [&] { print = vindelor::ReadBmpFile(file); },
      [&] { (void)RawRead(scratch); });
  tk::Bitmap printBitmap;
  const bench::Summary copied = Time([] {}, [&] { print.CopyInto(printBitmap); });
  ReportThroughput("encode + write (image changed)", encodeWrite, bytes.size());
  ReportThroughput("raw write of the same bytes, same runs", rawWrite, bytes.size());
  bench::Report("  encoding alone (GetDIBits into a new file)", encodeOnly);
  ReportThroughput("write, kept encoding", keptWrite, bytes.size());
  ReportThroughput("raw write of the same bytes, same runs", rawWrite2, bytes.size());
  ReportThroughput("read as the print image's file form", read, bytes.size());
  ReportThroughput("raw read of the same bytes, same runs", rawRead, bytes.size());
  ReportThroughput("file form into a new bitmap (no DIB printer)", copied, bytes.size());
  std::printf("\n");

  // --- The print job's round trip ----------------------------------------------------------------
  const std::string temporary = vindelor::TemporaryBmpPath();
  auto roundTrip = [&] { print = vindelor::TemporaryRoundTrip(work); };
  auto rawTrip = [&] {
    RawWrite(temporary, bytes);
    (void)RawRead(temporary);
    DeleteFileA(temporary.c_str());
  };
  const auto [tripChanged, rawTrip1] = TimeSideBySide(changed, roundTrip, rawTrip);
  const auto [tripKept, rawTrip2] = TimeSideBySide(nothing, roundTrip, rawTrip);
  bench::Report("round trip, image changed (after a transform)", tripChanged);
  bench::Report("raw write + read + delete, same runs", rawTrip1);
  ReportRatio("  round trip / raw I/O", tripChanged, rawTrip1);
  bench::Report("round trip, kept encoding (no transform)", tripKept);
  bench::Report("raw write + read + delete, same runs", rawTrip2);
  ReportRatio("  round trip / raw I/O", tripKept, rawTrip2);

  DeleteFileA(scratch.c_str());
  DeleteFileA((scratch + ".bmp").c_str());
  return 0;
}

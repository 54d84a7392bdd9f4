#include "bench/BigScreenChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "bench/BenchSupport.h"
#include "output/PageLayout.h"
#include "tests/support/HarnessAccess.h"

namespace bench {
namespace {

using namespace std::chrono_literals;

// The queue prints Letter at 300 dots per inch, with a printable area of 2450 × 3200 dots 50 dots
// from the corner; landscape pages come out turned, the page's left edge along the sheet's bottom.
constexpr int kMargin = 50, kShortSide = 2450, kLongSide = 3200, kPrinterDpi = 300;
constexpr int kRenderDpi = 100;  // a sheet pixel is 3 printer dots
constexpr int kTolerance = 6;    // per colour channel, for ghostscript's colour conversion
constexpr int kSamplesAcross = 32, kSamplesDown = 18;

template <class... Parts>
std::string Text(const Parts&... parts) {
  std::ostringstream text;
  (text << ... << parts);
  return text.str();
}

std::string Hex(std::uint32_t rgb) {
  char text[16]{};
  std::snprintf(text, sizeof(text), "%06X", static_cast<unsigned>(rgb & 0xFFFFFF));
  return text;
}

// A screen pixel, white beyond the screen's edges.
std::uint32_t ScreenAt(const ScreenShot& screen, int x, int y) {
  if (x < 0 || y < 0 || x >= screen.width || y >= screen.height) return 0xFFFFFF;
  return screen.At(x, y);
}

bool Even(const ScreenShot& screen, int x, int y, int radius) {
  const std::uint32_t centre = ScreenAt(screen, x, y);
  for (int dy = -radius; dy <= radius; ++dy) {
    for (int dx = -radius; dx <= radius; ++dx) {
      if (ScreenAt(screen, x + dx, y + dy) != centre) return false;
    }
  }
  return true;
}

bool Near(std::uint32_t a, std::uint32_t b) {
  for (int shift : {16, 8, 0}) {
    if (std::abs(static_cast<int>(a >> shift & 0xFF) - static_cast<int>(b >> shift & 0xFF)) >
        kTolerance)
      return false;
  }
  return true;
}

// Printable-area dots of a landscape page as pixels of the rendered sheet.
int SheetPixel(double dots) {
  return static_cast<int>(std::floor(dots * kRenderDpi / kPrinterDpi));
}
POINT OnSheet(double pageX, double pageY) {
  return {SheetPixel(kMargin + pageY), SheetPixel(kMargin + kLongSide - pageX)};
}

std::string FileHead(const std::string& path) {
  std::string head(4096, '\0');
  std::ifstream file(path, std::ios::binary);
  file.read(head.data(), static_cast<std::streamsize>(head.size()));
  return head;
}

// Waits until the file has the size and its writer has closed it.
bool WaitForWholeFile(const std::string& path, std::uint64_t size) {
  return testing_support::WaitUntil(
      [&] {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            (std::uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow) != size) {
          return false;
        }
        const tk::UniqueFile alone{CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr,
                                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)};
        return static_cast<bool>(alone);
      },
      2min);
}

std::uint32_t Get32(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  std::memcpy(&value, bytes.data() + at, sizeof(value));
  return value;
}

}  // namespace

void Checks::Report(const std::string& what, bool passed, const std::string& detail) {
  if (!passed) ++failures_;
  std::printf("%-44s %-6s %s\n", what.c_str(), passed ? "ok" : "FAILED",
              passed ? "" : detail.c_str());
  std::fflush(stdout);
}

void Checks::CheckPage(const std::string& pageFile, const ScreenShot& screen, RECT area,
                       const std::string& what) {
  Report(what + ": the job's title",
         FileHead(pageFile).find("%%Title: Vindelor V2.0 Bitmap\n") != std::string::npos, "");
  const Stopwatch rendering;
  const testing_support::Picture page = testing_support::RenderPage(pageFile, kRenderDpi);
  std::printf("%-44s %9.0f ms at %d dpi\n", (what + ": rendering the page").c_str(),
              rendering.Milliseconds(), kRenderDpi);
  if (page.pixels.empty() || page.width >= page.height) {
    Report(what + ": a portrait sheet", false, Text(page.width, " x ", page.height));
    return;
  }
  const int width = area.right - area.left, height = area.bottom - area.top;
  const tk::WindowDc display(nullptr);
  const vindelor::PagePlacement placed = vindelor::PlaceImageOnPage(
      {kLongSide, kShortSide, kPrinterDpi, kPrinterDpi, GetDeviceCaps(display.Get(), LOGPIXELSX),
       GetDeviceCaps(display.Get(), LOGPIXELSY), width, height, false, true});
  const POINT topLeft = OnSheet(placed.rect.right, placed.rect.top);  // the sheet's top left
  const POINT bottomRight = OnSheet(placed.rect.left, placed.rect.bottom);
  const RECT expected{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  const RECT ink = page.InkBounds();
  const bool placedRight =
      std::abs(ink.left - expected.left) <= 1 && std::abs(ink.top - expected.top) <= 1 &&
      std::abs(ink.right - expected.right) <= 1 && std::abs(ink.bottom - expected.bottom) <= 1;
  Report(what + ": where the layout puts it", placedRight,
         Text("ink (", ink.left, ",", ink.top, ")-(", ink.right, ",", ink.bottom, "), layout (",
              expected.left, ",", expected.top, ")-(", expected.right, ",", expected.bottom, ")"));

  // A sheet pixel spans this many screen pixels at most; samples need even screen around them.
  const double dotsPerPixelX = static_cast<double>(placed.width) / width;
  const double dotsPerPixelY = static_cast<double>(placed.height) / height;
  const int radius = static_cast<int>(std::ceil(kPrinterDpi / kRenderDpi /
                                                std::min(dotsPerPixelX, dotsPerPixelY))) +
                     2;
  int compared = 0, differing = 0;
  std::string first;
  for (int row = 0; row < kSamplesDown; ++row) {
    for (int column = 0; column < kSamplesAcross; ++column) {
      const int x = area.left + (2 * column + 1) * width / (2 * kSamplesAcross);
      const int y = area.top + (2 * row + 1) * height / (2 * kSamplesDown);
      if (!Even(screen, x, y, radius)) continue;
      ++compared;
      const POINT at = OnSheet(placed.x + (x - area.left + 0.5) * dotsPerPixelX,
                               placed.y + (y - area.top + 0.5) * dotsPerPixelY);
      const std::uint32_t printed = page.At(at.x, at.y);
      if (Near(ScreenAt(screen, x, y), printed)) continue;
      if (differing++ == 0) {
        first = Text("screen (", x, ",", y, ") ", Hex(ScreenAt(screen, x, y)), ", sheet (", at.x,
                     ",", at.y, ") ", Hex(printed));
      }
    }
  }
  Report(Text(what, ": colours at ", compared, " places"), compared > 0 && differing == 0,
         Text(differing, " differ; first: ", first));
}

void Checks::CheckBmp(const std::string& path, const ScreenShot& screen, RECT area) {
  const int width = area.right - area.left, height = area.bottom - area.top;
  const std::size_t rowSize = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
  const std::size_t size = 54 + rowSize * static_cast<std::size_t>(height);
  const std::string what = Text("BMP ", width, " x ", height);
  if (!WaitForWholeFile(path, size)) {
    Report(what + ": 54 + row size x height bytes", false, Text("expected ", size, " bytes"));
    return;
  }
  const std::string bytes = testing_support::ReadWholeFile(path);
  const bool headers = bytes.size() == size && bytes.compare(0, 2, "BM") == 0 &&
                       Get32(bytes, 2) == size && Get32(bytes, 10) == 54 &&
                       Get32(bytes, 14) == 40 && Get32(bytes, 18) == std::uint32_t(width) &&
                       Get32(bytes, 22) == std::uint32_t(height) && Get32(bytes, 28) == 24;
  Report(what + ": size and headers", headers, Text(bytes.size(), " bytes"));
  if (!headers) return;
  std::size_t differing = 0;
  std::string first;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = 54 + rowSize * static_cast<std::size_t>(height - 1 - y);
    for (int x = 0; x < width; ++x) {
      const auto* pixel = reinterpret_cast<const unsigned char*>(bytes.data() + row + 3 * x);
      const std::uint32_t saved =
          std::uint32_t{pixel[2]} << 16 | std::uint32_t{pixel[1]} << 8 | std::uint32_t{pixel[0]};
      const std::uint32_t shown = ScreenAt(screen, area.left + x, area.top + y);
      if (saved != shown && differing++ == 0) {
        first = Text("(", x, ",", y, ") is ", Hex(saved), ", the screen ", Hex(shown));
      }
    }
  }
  Report(what + ": every pixel is the screen's", differing == 0,
         Text(differing, " differ; first ", first));
}

}  // namespace bench

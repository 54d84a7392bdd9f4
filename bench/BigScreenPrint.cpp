// The least a program can hold to print the screen through the same driver, as the floor that the
// big-screen benchmark measures Vindelor.exe's print against: a bitmap of the screen's size and
// format filled from the screen, and one landscape page of the default printer on which
// StretchDIBits draws it where Vindelor's layout puts a picture of that size. Nothing else.
// It waits two seconds first, so that the memory sampler has found it before it allocates.
//
//   BigScreenPrint [BITS]   BITS per pixel of the bitmap (24: the rows Vindelor.exe hands over);
//                           the screen's format if not given
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "output/PageLayout.h"
#include "toolkit/Handles.h"

namespace {

using UniquePrinter = tk::UniqueHandle<HANDLE, &ClosePrinter>;

std::string DefaultPrinter() {
  char name[256]{};
  DWORD size = sizeof(name);
  return GetDefaultPrinterA(name, &size) ? name : "";
}

// The driver's defaults for the printer, turned to landscape; empty when it gives none.
std::vector<unsigned char> LandscapeSettings(std::string printer) {
  UniquePrinter handle;
  if (!OpenPrinterA(printer.data(), handle.Put(), nullptr)) return {};
  const LONG size = DocumentPropertiesA(nullptr, handle.Get(), printer.data(), nullptr, nullptr, 0);
  if (size < static_cast<LONG>(sizeof(DEVMODEA))) return {};
  std::vector<unsigned char> settings(static_cast<std::size_t>(size));
  auto* mode = reinterpret_cast<DEVMODEA*>(settings.data());
  if (DocumentPropertiesA(nullptr, handle.Get(), printer.data(), mode, nullptr, DM_OUT_BUFFER) !=
      IDOK) {
    return {};
  }
  mode->dmOrientation = DMORIENT_LANDSCAPE;
  mode->dmFields |= DM_ORIENTATION;
  return settings;
}

// The driver named in the profile's device list ("name=driver,port").
std::string DriverOf(const std::string& printer) {
  char entry[256]{};
  GetProfileStringA("devices", printer.c_str(), "", entry, sizeof(entry));
  const std::string text = entry;
  return text.substr(0, text.find(','));
}

int Fail(const char* what) {
  std::printf("BigScreenPrint: %s (error %lu)\n", what, GetLastError());
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  Sleep(2000);
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  const tk::WindowDc screen(nullptr);
  BITMAPINFO format{.bmiHeader = {.biSize = sizeof(BITMAPINFOHEADER),
                                  .biWidth = width,
                                  .biHeight = height,
                                  .biPlanes = 1,
                                  .biBitCount = static_cast<WORD>(
                                      GetDeviceCaps(screen.Get(), BITSPIXEL)),
                                  .biCompression = BI_RGB}};
  if (argc > 1) format.bmiHeader.biBitCount = static_cast<WORD>(std::atoi(argv[1]));
  if (format.bmiHeader.biBitCount != 24) format.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  const tk::UniqueBitmap picture{
      CreateDIBSection(screen.Get(), &format, DIB_RGB_COLORS, &bits, nullptr, 0)};
  const tk::UniqueMemoryDc pictureDc{CreateCompatibleDC(screen.Get())};
  if (!picture || !pictureDc) return Fail("no bitmap of the screen's size");
  {
    const tk::SelectGuard selected(pictureDc.Get(), picture.Get());
    BitBlt(pictureDc.Get(), 0, 0, width, height, screen.Get(), 0, 0, SRCCOPY);
    GdiFlush();
  }

  const std::string printer = DefaultPrinter();
  std::vector<unsigned char> settings = LandscapeSettings(printer);
  if (settings.empty()) return Fail("no settings for the default printer");
  const std::string driver = DriverOf(printer);
  const tk::UniqueMemoryDc page{CreateDCA(driver.empty() ? nullptr : driver.c_str(),
                                          printer.c_str(), nullptr,
                                          reinterpret_cast<DEVMODEA*>(settings.data()))};
  if (!page) return Fail("the printer cannot be opened");
  const vindelor::PagePlacement placement = vindelor::PlaceImageOnPage(
      {.pageWidth = GetDeviceCaps(page.Get(), HORZRES),
       .pageHeight = GetDeviceCaps(page.Get(), VERTRES),
       .printerDpiX = GetDeviceCaps(page.Get(), LOGPIXELSX),
       .printerDpiY = GetDeviceCaps(page.Get(), LOGPIXELSY),
       .screenDpiX = GetDeviceCaps(screen.Get(), LOGPIXELSX),
       .screenDpiY = GetDeviceCaps(screen.Get(), LOGPIXELSY),
       .imageWidth = width,
       .imageHeight = height,
       .stretched = false,
       .centered = true});

  DOCINFOA document{.cbSize = sizeof(DOCINFOA), .lpszDocName = "Vindelor bench floor"};
  if (StartDocA(page.Get(), &document) <= 0) return Fail("StartDoc failed");
  if (StartPage(page.Get()) <= 0) return Fail("StartPage failed");
  SetStretchBltMode(page.Get(), COLORONCOLOR);
  const int drawn = StretchDIBits(page.Get(), placement.x, placement.y, placement.width,
                                  placement.height, 0, 0, width, height, bits, &format,
                                  DIB_RGB_COLORS, SRCCOPY);
  if (drawn <= 0) return Fail("StretchDIBits failed");
  if (EndPage(page.Get()) <= 0) return Fail("EndPage failed");
  if (EndDoc(page.Get()) <= 0) return Fail("EndDoc failed");
  std::printf("BigScreenPrint: printed %d x %d at %d bits per pixel on %s\n", width, height,
              format.bmiHeader.biBitCount, printer.c_str());
  return 0;
}

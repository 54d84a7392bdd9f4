// What a Windows program sees of the harness's printers.
//
//   printers.exe [--no-print] [--hold SECONDS] [--crash]
//
// Prints "printer NAME" for each local and connected printer and "default
// DEVICE" (the [windows] device profile string), then prints one page to the
// default printer ("page WxH at N dpi", then "printed JOB" or "print failed
// STEP ERROR").
// --hold first keeps the process (and with it Wine's spooler state) alive for
// SECONDS and lists again; --crash dereferences null.
// Build: x86_64-w64-mingw32-g++-posix -std=c++20 -static -o printers.exe
//        printers.cpp -lwinspool -lgdi32
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr DWORD kEnumFlags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;

int ListPrinters() {
  DWORD needed = 0;
  DWORD count = 0;
  EnumPrintersA(kEnumFlags, nullptr, 4, nullptr, 0, &needed, &count);
  std::vector<BYTE> buffer(needed + 1);
  if (!EnumPrintersA(kEnumFlags, nullptr, 4, buffer.data(), needed, &needed, &count)) {
    std::printf("enum failed %lu\n", GetLastError());
    return 1;
  }
  const auto* info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data());
  for (DWORD i = 0; i < count; ++i) std::printf("printer %s\n", info[i].pPrinterName);
  return 0;
}

std::string DefaultDevice() {
  char device[512] = "";
  GetProfileStringA("windows", "device", "", device, sizeof device);
  return device;
}

int PrintPage(const std::string& device) {
  const std::string name = device.substr(0, device.find(','));
  if (name.empty()) {
    std::printf("print failed no-default 0\n");
    return 1;
  }
  HDC dc = CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr);
  if (!dc) {
    std::printf("print failed CreateDC %lu\n", GetLastError());
    return 1;
  }
  std::printf("page %dx%d at %d dpi\n", GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES),
              GetDeviceCaps(dc, LOGPIXELSX));
  DOCINFOA doc{};
  doc.cbSize = sizeof doc;
  doc.lpszDocName = "Vindelor probe page";
  const int job = StartDocA(dc, &doc);
  int result = 1;
  if (job <= 0) {
    std::printf("print failed StartDoc %lu\n", GetLastError());
  } else {
    const char kText[] = "Vindelor probe page";
    StartPage(dc);
    TextOutA(dc, 300, 300, kText, static_cast<int>(std::strlen(kText)));
    Rectangle(dc, 300, 450, 1200, 900);
    const int pageEnd = EndPage(dc);
    const int docEnd = EndDoc(dc);
    if (pageEnd > 0 && docEnd > 0) {
      std::printf("printed %d\n", job);
      result = 0;
    } else {
      std::printf("print failed EndPage/EndDoc %d/%d %lu\n", pageEnd, docEnd, GetLastError());
    }
  }
  DeleteDC(dc);
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  bool print = true;
  DWORD holdSeconds = 0;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--no-print")) {
      print = false;
    } else if (!std::strcmp(argv[i], "--hold") && i + 1 < argc) {
      holdSeconds = static_cast<DWORD>(std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--crash")) {
      volatile int* nowhere = nullptr;
      *nowhere = 1;
    }
  }
  int result = ListPrinters();
  std::string device = DefaultDevice();
  std::printf("default %s\n", device.c_str());
  std::fflush(stdout);
  if (holdSeconds > 0) {
    Sleep(holdSeconds * 1000);
    std::printf("after hold\n");
    result |= ListPrinters();
    device = DefaultDevice();
    std::printf("default %s\n", device.c_str());
  }
  if (print) result |= PrintPage(device);
  std::fflush(stdout);
  return result;
}

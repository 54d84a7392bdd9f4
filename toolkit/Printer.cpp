#include "toolkit/Printer.h"

#include <algorithm>
#include <string>

#include "toolkit/Error.h"
#include "toolkit/PrinterDriver.h"
#include "toolkit/Text.h"
#include "toolkit/Window.h"

namespace tk {
namespace {

// Every local or connected printer once, under its name.
std::vector<PrinterEntry> ListPrinters() {
  const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
  const DWORD level = 4;
  std::vector<BYTE> buffer;
  DWORD count = 0;
  for (int attempt = 0;; ++attempt) {
    DWORD needed = 0;
    if (spooler::EnumPrinters(flags, nullptr, level, buffer.data(),
                              static_cast<DWORD>(buffer.size()), &needed, &count)) {
      break;
    }
    // The list may grow between asking for the size and fetching it: ask again, twice at most.
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0 || attempt == 2) return {};
    buffer.assign(needed, 0);
  }
  auto text = [](const char* s) { return std::string(s ? s : ""); };
  std::vector<PrinterEntry> printers;
  for (DWORD i = 0; i < count; ++i) {
    const auto& info = reinterpret_cast<const PRINTER_INFO_4A*>(buffer.data())[i];
    printers.push_back({text(info.pPrinterName), text(info.pPrinterName), ""});
  }
  return printers;
}

// A whole entry of the system's profile (printer names reach 220 characters, and an entry
// holds the name twice), up to a bound no real entry comes near; empty when there is none.
std::string ProfileEntry(const char* section, const char* key) {
  constexpr std::size_t kLongestEntry = 64 * 1024;
  std::string entry(256, '\0');
  for (;;) {
    const DWORD length =
        GetProfileStringA(section, key, "", entry.data(), static_cast<DWORD>(entry.size()));
    // A value cut to fit comes back one character short of the buffer.
    if (length + 1 < entry.size() || entry.size() >= kLongestEntry) {
      entry.resize(length);
      return entry;
    }
    entry.resize(entry.size() * 2);
  }
}

}  // namespace

// The printer's driver as the profile's device list names it ("name=driver,port"); empty when
// unknown.
std::string DriverName(const std::string& printer) {
  const std::string entry = ProfileEntry("devices", printer.c_str());
  return entry.substr(0, entry.find(','));
}

// The driver's default settings for the printer; empty when it gives none.
std::vector<unsigned char> DriverDefaults(const std::string& printer) {
  std::string name = printer;  // the calls want writable strings
  UniquePrinterHandle handle;
  if (!spooler::OpenPrinter(name.data(), handle.Put(), nullptr)) return {};
  LONG size = spooler::DocumentProperties(nullptr, handle.Get(), name.data(), nullptr, nullptr, 0);
  if (size <= 0) return {};
  std::vector<unsigned char> settings(std::max(static_cast<std::size_t>(size), sizeof(DEVMODEA)),
                                      0);
  if (spooler::DocumentProperties(nullptr, handle.Get(), name.data(),
                                  reinterpret_cast<DEVMODEA*>(settings.data()), nullptr,
                                  DM_OUT_BUFFER) != IDOK) {
    return {};
  }
  return settings;
}

Printer& Printer::Instance() {
  static Printer printer;
  return printer;
}

const std::vector<PrinterEntry>& Printer::Printers() {
  if (!listed_) {
    printers_ = ListPrinters();
    listed_ = true;
  }
  return printers_;
}

void Printer::ThrowIfPrinting(const char* what) const {
  if (printing_) throw Error(what);
}

void Printer::SetPrinterIndex(int index) {
  ThrowIfPrinting("The printer cannot be changed while a document is being printed");
  if (index == kDefaultPrinter) {
    ResolveDefault();
    index_ = kDefaultPrinter;
    return;
  }
  if (index < 0 || index >= static_cast<int>(Printers().size())) {
    throw Error("Printer index out of range");
  }
  // A printer named by its index needs no default; the held settings belong to name_.
  MakeCurrent(index, /*freshSettings=*/false);
}

std::string Printer::CurrentName() {
  EnsureCurrent();
  return name_;
}

void Printer::EnsureCurrent() {
  if (index_ == kDefaultPrinter) ResolveDefault();
}

void Printer::ResolveDefault() {
  const int found =
      FindPrinterByName(Printers(), DefaultPrinterName(ProfileEntry("windows", "device")));
  if (found == kNoPrinter) throw Error("There is no default printer currently selected");
  MakeCurrent(found, /*freshSettings=*/true);
}

void Printer::MakeCurrent(int index, bool freshSettings) {
  const PrinterEntry& entry = printers_[static_cast<std::size_t>(index)];
  if (freshSettings || entry.name != name_ || settings_.empty()) {
    settings_ = DriverDefaults(entry.name);
  }
  ReleaseContext();
  index_ = index;
  name_ = entry.name;
  port_ = entry.port;
}

DEVMODEA* Printer::Settings() noexcept {
  return settings_.empty() ? nullptr : reinterpret_cast<DEVMODEA*>(settings_.data());
}

HDC Printer::Handle() {
  if (!context_) {
    EnsureCurrent();
    OpenContext(/*forDocument=*/false);
  }
  return context_.Get();
}

void Printer::OpenContext(bool forDocument) {
  spooler::Load();  // the driver uses the spooler too: it must find it loaded from the system
  const std::string driver = DriverName(name_);
  const char* driverName = driver.empty() ? nullptr : driver.c_str();
  HDC dc = forDocument ? CreateDCA(driverName, name_.c_str(), nullptr, Settings())
                       : CreateICA(driverName, name_.c_str(), nullptr, Settings());
  if (!dc) throw Error(FormatText("The printer '%s' cannot be opened", name_));
  context_.Reset(dc);
}

void Printer::ReleaseContext() noexcept { context_.Reset(); }

int Printer::Orientation() {
  EnsureCurrent();
  const DEVMODEA* settings = Settings();
  if (!settings) throw Error(FormatText("The printer '%s' has no device settings", name_));
  return (settings->dmFields & DM_ORIENTATION) ? settings->dmOrientation : kPortrait;
}

void Printer::SetOrientation(int orientation) {
  ThrowIfPrinting("The orientation cannot be changed while a document is being printed");
  if (orientation != kPortrait && orientation != kLandscape) {
    throw Error("The orientation must be portrait or landscape");
  }
  EnsureCurrent();
  DEVMODEA* settings = Settings();
  if (!settings) throw Error(FormatText("The printer '%s' has no device settings", name_));
  settings->dmOrientation = static_cast<short>(orientation);
  settings->dmFields |= DM_ORIENTATION;
  ReleaseContext();
}

BOOL CALLBACK Printer::AbortProc(HDC, int) {
  // Runs inside the GDI calls of printing: errors of the handlers it runs stop here.
  try {
    if (const auto& whileSpooling = Instance().whileSpooling_) whileSpooling();
  } catch (...) {
    ReportCurrentException();
  }
  return Instance().aborted_ ? FALSE : TRUE;
}

void Printer::BeginDoc(std::function<void()> whileSpooling) {
  ThrowIfPrinting("A document is being printed already");
  whileSpooling_ = std::move(whileSpooling);
  EnsureCurrent();
  ReleaseContext();
  OpenContext(/*forDocument=*/true);
  HDC dc = context_.Get();
  aborted_ = false;
  if (SetAbortProc(dc, &AbortProc) <= 0) {
    ReleaseContext();
    throw Error("The print document cannot be started");
  }
  const std::string documentName(CutToWholeCharacters(title_, kMaxDocumentName));
  DOCINFOA document{};
  document.cbSize = sizeof(document);
  document.lpszDocName = documentName.c_str();
  if (StartDocA(dc, &document) <= 0) {
    ReleaseContext();
    throw Error("The print document cannot be started");
  }
  if (StartPage(dc) <= 0) {
    AbortDoc(dc);
    ReleaseContext();
    throw Error("The page cannot be started");
  }
  printing_ = true;
}

void Printer::EndDoc() {
  if (!printing_) throw Error("No document is being printed");
  if (ending_) throw Error("The document is being ended already");
  ending_ = true;
  HDC dc = context_.Get();
  const bool pageEnded = EndPage(dc) > 0;
  bool documentEnded = true;
  // Abort, while the abort procedure ran handlers, only marked the document.
  if (aborted_) {
    AbortDoc(dc);
  } else {
    documentEnded = ::EndDoc(dc) > 0;
  }
  EndDocument();
  if (!pageEnded || !documentEnded) throw Error("The printed document could not be finished");
}

void Printer::Abort() {
  if (!printing_) return;
  aborted_ = true;
  if (ending_) return;  // the abort procedure answers for it, EndDoc finishes
  AbortDoc(context_.Get());
  EndDocument();
}

void Printer::EndDocument() noexcept {
  ending_ = false;
  printing_ = false;
  whileSpooling_ = nullptr;
  ReleaseContext();
}

PrintDocument::PrintDocument(Printer& printer, std::string title,
                             std::function<void()> whileSpooling)
    : printer_(printer) {
  printer_.SetTitle(std::move(title));
  printer_.BeginDoc(std::move(whileSpooling));
}

PrintDocument::~PrintDocument() {
  if (open_) printer_.Abort();
}

void PrintDocument::End() {
  if (!open_) return;
  open_ = false;
  if (printer_.Printing()) printer_.EndDoc();
}

Font Printer::MakeFont() {
  const int dotsPerInch = GetDeviceCaps(Handle(), LOGPIXELSY);
  const int height = MulDiv(kFontPoints, dotsPerInch, 72);
  return Font({.face = kFontFace,
               .height = -height,
               .bold = false,
               .color = GetSysColor(COLOR_WINDOWTEXT)});
}

SIZE Printer::TextSize(std::string_view text) {
  HDC dc = Handle();
  Font font = MakeFont();
  SelectGuard keep(dc, font.Handle());
  SIZE size{};
  if (!GetTextExtentPoint32A(dc, text.data(), static_cast<int>(text.size()), &size)) {
    throw Error("The text cannot be measured");
  }
  return size;
}

void Printer::WriteText(int x, int y, std::string_view text) {
  HDC dc = Handle();
  Font font = MakeFont();
  SavedDcState keep(dc);
  SelectObject(dc, font.Handle());
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  SetTextColor(dc, font.Spec().color);
  SetBkColor(dc, kWhite);
  SetBkMode(dc, OPAQUE);
  if (!TextOutA(dc, x, y, text.data(), static_cast<int>(text.size()))) {
    throw Error("The text cannot be printed");
  }
}

}  // namespace tk

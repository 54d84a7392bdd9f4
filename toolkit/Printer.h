// The printer object: one for the whole process. It lists the system's printers, holds the
// current printer (index -1 standing for the system's default printer) with its device settings,
// opens its information or device context on demand, prints documents and runs the printer
// setup dialog.
//
// The current index and the default printer:
// - The object starts at index -1. Whenever the index is -1 and an operation needs the current
//   printer (its context, its orientation, its name, the setup dialog), the default printer is
//   looked up again in the profile's "device" entry: the first list entry with that name
//   becomes current, with its driver's default settings, and its index is stored. No such
//   entry: Error "There is no default printer currently selected".
// - SetPrinterIndex(0…n-1) makes that printer current without looking at the default.
// - SetPrinterIndex(-1) resolves the default at once (with the same error) but stores -1, so the
//   next use resolves it again and follows a default changed in the meantime.
//
// Device settings belong to one printer: a driver's private part of the settings means nothing
// to another driver. So when the current printer becomes a different printer, its settings are
// replaced by that printer's driver defaults; when it stays the same printer (same name), the
// held settings stay in force, such as those chosen in the setup dialog. Resolving the default
// printer always starts from the driver's defaults.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Font.h"
#include "toolkit/Handles.h"
#include "toolkit/PrinterPorts.h"

namespace tk {

class Printer {
 public:
  static constexpr int kDefaultPrinter = -1;
  static constexpr int kPortrait = DMORIENT_PORTRAIT;
  static constexpr int kLandscape = DMORIENT_LANDSCAPE;
  // The document name is the start of the title, at most this many bytes, cut between characters.
  static constexpr std::size_t kMaxDocumentName = 31;
  // The text surface: "MS Sans Serif" 8 points, regular, in the window-text colour, opaque on
  // a white background; the font keeps its point size on the printer.
  static constexpr const char* kFontFace = "MS Sans Serif";
  static constexpr int kFontPoints = 8;

  [[nodiscard]] static Printer& Instance();

  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  // The system's printers, listed on first use and then kept unchanged for the whole run (the
  // setup dialog may append a printer it chose). Empty when the listing fails.
  [[nodiscard]] const std::vector<PrinterEntry>& Printers();

  // The index as stored: -1 until the default printer has been used (see above).
  [[nodiscard]] int PrinterIndex() const noexcept { return index_; }
  // -1 or 0 … n-1; anything else: Error "Printer index out of range". Refused while printing.
  // The open context is released, so that the next use opens the chosen printer.
  void SetPrinterIndex(int index);
  // The name of the current printer, the default printer resolved if needed.
  [[nodiscard]] std::string CurrentName();

  // The current context: the device context while a document is printed, else an information
  // context opened on demand with the current settings. Owned by the printer object.
  [[nodiscard]] HDC Handle();
  [[nodiscard]] int PageWidth() { return GetDeviceCaps(Handle(), HORZRES); }
  [[nodiscard]] int PageHeight() { return GetDeviceCaps(Handle(), VERTRES); }

  // kPortrait or kLandscape, from the held settings. Setting it releases the open context so
  // that the next query reflects it. Both fail when the printer has no device settings; setting
  // fails while a document is printed.
  [[nodiscard]] int Orientation();
  void SetOrientation(int orientation);

  [[nodiscard]] const std::string& Title() const noexcept { return title_; }
  void SetTitle(std::string title) { title_ = std::move(title); }

  // Opens the device context, starts the document (no output file; an abort procedure that
  // runs whileSpooling, which keeps the program's messages flowing) and its first page.
  void BeginDoc(std::function<void()> whileSpooling = {});
  // Ends the page and, unless aborted, the document. The printing flag is cleared and the
  // device context released even when that fails; the failure is then raised as an Error.
  void EndDoc();
  // Abandons the document being printed (AbortDoc); nothing happens when none is. Called from a
  // handler that runs while EndDoc waits, it makes the spooler drop the document.
  void Abort();
  [[nodiscard]] bool Printing() const noexcept { return printing_; }
  // Whether the last document was abandoned.
  [[nodiscard]] bool Aborted() const noexcept { return aborted_; }

  // The text surface's font for the current context: its character height in dots is
  // 8 points at the context's vertical resolution, rounded.
  [[nodiscard]] Font MakeFont();
  // The text's extent on the current context in the surface's font (its cell height as cy).
  [[nodiscard]] SIZE TextSize(std::string_view text);
  // Draws the text with its top-left corner at (x, y) on the current context, in the surface's
  // font, colour and opaque white background.
  void WriteText(int x, int y, std::string_view text);

  // The printer setup dialog on the current printer and a copy of its settings, horizontally
  // centred on the screen with a third of the spare height above it. On OK the printer and
  // settings chosen there become current (a printer not yet listed is appended to the list) and
  // the result is true; on Cancel nothing changes.
  bool ExecuteSetupDialog(HWND owner);

 private:
  Printer() = default;

  void ThrowIfPrinting(const char* what) const;
  void EnsureCurrent();
  void ResolveDefault();
  void MakeCurrent(int index, bool freshSettings);
  void OpenContext(bool forDocument);
  void ReleaseContext() noexcept;
  void EndDocument() noexcept;
  [[nodiscard]] DEVMODEA* Settings() noexcept;
  static BOOL CALLBACK AbortProc(HDC dc, int error);

  std::vector<PrinterEntry> printers_;
  bool listed_ = false;
  int index_ = kDefaultPrinter;
  std::string name_;                  // the current printer; empty before the first use
  std::string port_;
  std::vector<unsigned char> settings_;  // DEVMODEA with the driver's private part, or empty
  UniqueMemoryDc context_;
  std::string title_;
  bool printing_ = false;
  bool aborted_ = false;
  bool ending_ = false;  // inside EndDoc, where the abort procedure may run handlers
  std::function<void()> whileSpooling_;
};

// A begun document: the title set and the document begun on construction, ended by End. One
// that is still open when the object goes, because an exception leaves the code that began it,
// is abandoned.
class PrintDocument {
 public:
  PrintDocument(Printer& printer, std::string title, std::function<void()> whileSpooling);
  PrintDocument(const PrintDocument&) = delete;
  PrintDocument& operator=(const PrintDocument&) = delete;
  ~PrintDocument();

  // Ends the page and the document, unless the printer holds none any more (it was abandoned).
  // Throws tk::Error when the spooler refuses the document.
  void End();

 private:
  Printer& printer_;
  bool open_ = true;
};

}  // namespace tk

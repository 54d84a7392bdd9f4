// The print job ("Print", also run right after a capture with Immediate Action): the work image
// on one page, with the transforms, the temporary file round trip, the layout, an optional date
// line and the progress display, ending with the dialog's Cancel.
#include "output/PrintJob.h"

#include <windows.h>

#include <exception>
#include <optional>
#include <string>

#include "app/SharedState.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "options/PrinterList.h"
#include "output/BmpFile.h"
#include "output/PageLayout.h"
#include "output/PrintDateLine.h"
#include "output/Transforms.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Printer.h"

namespace {

constexpr char kDocumentTitle[] = "Vindelor V2.0 Bitmap";
constexpr std::int32_t kAfterPrinterChoiceWait = 50;
constexpr std::int32_t kAfterDrawingWait = 20;
constexpr std::int32_t kBeforeEndWait = 100;

struct Resolutions {
  int printerX = 0;
  int printerY = 0;
  int screenX = 0;
  int screenY = 0;
};

Resolutions ReadResolutions(tk::Printer& printer) {
  Resolutions dpi;
  HDC printerDc = printer.Handle();
  dpi.printerX = GetDeviceCaps(printerDc, LOGPIXELSX);
  dpi.printerY = GetDeviceCaps(printerDc, LOGPIXELSY);
  tk::UniqueMemoryDc display{CreateDCA("DISPLAY", nullptr, nullptr, nullptr)};
  dpi.screenX = GetDeviceCaps(display.Get(), LOGPIXELSX);
  dpi.screenY = GetDeviceCaps(display.Get(), LOGPIXELSY);
  return dpi;
}

std::string LocaleText(LCTYPE item) {
  char text[100]{};
  GetLocaleInfoA(LOCALE_USER_DEFAULT, item, text, sizeof(text));
  return text;
}

// The current local date in the user's short date format, then the time unless it is exactly
// midnight.
std::string DateAndTime() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  std::string pattern = LocaleText(LOCALE_SSHORTDATE);
  if (pattern.empty()) pattern = "M/d/yy";
  char date[100]{};
  GetDateFormatA(LOCALE_USER_DEFAULT, 0, &now, pattern.c_str(), date, sizeof(date));
  const vindelor::TimeStyle style{.hourLeadingZero = LocaleText(LOCALE_ITLZERO) == "1",
                                  .twelveHourClock = LocaleText(LOCALE_ITIME) == "0",
                                  .am = LocaleText(LOCALE_S1159),
                                  .pm = LocaleText(LOCALE_S2359)};
  return vindelor::PrintDateLine(date, now.wHour, now.wMinute, now.wSecond, style);
}

void ReportPrintFailure() {
  MessageBeep(MB_ICONEXCLAMATION);
  tk::ShowMessageBox("The Image could not be printed !\r\rCheck the Printer or Printer Setup",
                     "Vindelor V2.0", MB_OK | MB_ICONERROR);
}

}  // namespace

namespace vindelor {

void DrawPrintImage(HDC printerDc, const FileForm& image, const PageRect& to) {
  const int width = to.right - to.left;
  const int height = to.bottom - to.top;
  if (image.Empty() || width <= 0 || height <= 0) return;
  const tk::SavedDcState restored(printerDc);  // the stretch mode and palette as they were
  // Dropping rows and columns keeps colours pure; a one-bit image keeps the context's mode.
  if (!image.Monochrome()) SetStretchBltMode(printerDc, COLORONCOLOR);
  const tk::UniquePalette palette = image.MakePalette();
  const tk::PaletteGuard realized(printerDc, palette.Get());
  int drawn = 0;
  if (GetDeviceCaps(printerDc, RASTERCAPS) & RC_STRETCHDIB) {
    drawn = StretchDIBits(printerDc, to.left, to.top, width, height, 0, 0, image.Width(),
                          image.Height(), image.Bits(), image.Info(), DIB_RGB_COLORS, SRCCOPY);
  } else {
    tk::Bitmap copy;  // a screen-compatible copy for a printer that stretches only those
    image.CopyInto(copy);
    drawn = StretchBlt(printerDc, to.left, to.top, width, height, copy.Surface(), 0, 0,
                       copy.Width(), copy.Height(), SRCCOPY);
  }
  if (drawn <= 0) throw tk::Error("The image could not be drawn");  // 0 or GDI_ERROR
}

}  // namespace vindelor

namespace {

void AdvanceProgressTwice(TForm2& dialog) {
  dialog.NStatusLine1.AdvanceProgress(1);
  dialog.NStatusLine1.AdvanceProgress(1);
}

// One job, from the dialog's options to the page and the closing steps. A job run inside
// another (the tray's "Print the Desktop" with Immediate Action while a page prints) has a
// document and a print image of its own, so it never ends or frees the outer job's.
class PrintJob {
 public:
  explicit PrintJob(TForm2& dialog) : dialog_(dialog) {}
  void Run();

 private:
  bool Prepare();
  bool PrintPage();

  TForm2& dialog_;
  Resolutions dpi_;
  vindelor::FileForm printImage_;
  std::optional<tk::PrintDocument> document_;  // once begun
};

void PrintJob::Run() {
  dialog_.NStatusLine1.StartProgress(0, 10, true);
  dialog_.NStatusLine1.SetCaption(" Printing ...");
  dialog_.NStatusLine1.Repaint();
  dialog_.SetEnabled(false);
  const bool prepared = Prepare();
  const bool printed = prepared && PrintPage();
  if (prepared && !printed) ReportPrintFailure();

  // The closing steps, whatever happened before. A begun document is ended even after a
  // failure, so whatever is on its page is printed.
  tk::App().ProcessMessages();
  if (document_) {
    try {
      document_->End();
    } catch (const std::exception&) {
      // The spooler refused the document: a failed print too, not a silent success.
      if (printed) ReportPrintFailure();
    }
  }
  printImage_.Clear();  // read back for each job: its pixels need not wait for the next one
  Form1->Delay(kBeforeEndWait);
  dialog_.SetEnabled(true);
  AdvanceProgressTwice(dialog_);
  dialog_.NStatusLine1.StartProgress(0, 10, false);
  dialog_.Button4Click();
}

// Choosing the printer, reading its resolution and transforming the image come before the
// page. Their failures (such as "There is no default printer currently selected") are reported
// here, and the job then ends as every other path does: dialog enabled, progress hidden, dialog
// hidden and hotkeys re-armed.
bool PrintJob::Prepare() {
  try {
    tk::Printer& printer = tk::Printer::Instance();
    vindelor::ApplyPrinterChoice(dialog_.ComboBox1);
    Form1->Delay(kAfterPrinterChoiceWait);
    dpi_ = ReadResolutions(printer);
    AdvanceProgressTwice(dialog_);
    vindelor::ApplyTransforms(*vindelor::Shared().workImage, dialog_.CheckBox5.Checked(),
                              dialog_.CheckBox7.Checked(), dialog_.CheckBox8.Checked());
    return true;
  } catch (const std::exception& error) {
    tk::App().ShowException(error);
    return false;
  }
}

// The guarded part of the job: any failure in here skips the rest of the page.
bool PrintJob::PrintPage() {
  try {
    tk::Printer& printer = tk::Printer::Instance();
    printImage_ = vindelor::TemporaryRoundTrip(*vindelor::Shared().workImage);
    AdvanceProgressTwice(dialog_);
    printer.SetOrientation(tk::Printer::kLandscape);
    if (dialog_.RadioButton2.Checked()) printer.SetOrientation(tk::Printer::kPortrait);
    const int pageWidth = printer.PageWidth();  // read now: they follow the orientation
    int pageHeight = printer.PageHeight();
    // The line is measured in the printer's font, so that a fine printer's taller cell fits.
    std::string dateLine;
    if (dialog_.CheckBox4.Checked()) {
      dateLine = DateAndTime();
      pageHeight -= vindelor::DateLineReserve(printer.TextSize(dateLine).cy);
    }
    AdvanceProgressTwice(dialog_);
    const vindelor::PagePlacement placement =
        vindelor::PlaceImageOnPage({.pageWidth = pageWidth,
                                    .pageHeight = pageHeight,
                                    .printerDpiX = dpi_.printerX,
                                    .printerDpiY = dpi_.printerY,
                                    .screenDpiX = dpi_.screenX,
                                    .screenDpiY = dpi_.screenY,
                                    .imageWidth = printImage_.Width(),
                                    .imageHeight = printImage_.Height(),
                                    .stretched = dialog_.CheckBox2.Checked(),
                                    .centered = dialog_.CheckBox1.Checked()});
    document_.emplace(printer, kDocumentTitle, [] { tk::App().ProcessMessages(); });
    AdvanceProgressTwice(dialog_);
    tk::App().ProcessMessages();
    vindelor::DrawPrintImage(printer.Handle(), printImage_, placement.rect);
    Form1->Delay(kAfterDrawingWait);
    if (dialog_.CheckBox4.Checked()) {
      printer.WriteText(1, pageHeight + vindelor::kDateLineGap, dateLine);
    }
    Form1->Delay(kAfterDrawingWait);
    AdvanceProgressTwice(dialog_);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

void TForm2::Button1Click() {
  if (!vindelor::PrinterAvailable(ComboBox1)) {
    MessageBeep(MB_ICONEXCLAMATION);
    tk::ShowInformation("No Printer installed");
    return;
  }
  PrintJob(*this).Run();
}

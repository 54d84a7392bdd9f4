// The print job ("Print", also run right after a capture with Immediate Action): the work image
// on one page, with the transforms, the temporary file round trip, the layout, an optional date
// line and the progress display, ending with the dialog's Cancel.
#include <windows.h>

#include <exception>
#include <string>

#include "output/PrintJob.h"

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
  MessageBoxA(nullptr,
              "The Image could not be printed !\r\rCheck the Printer or Printer Setup",
              "Vindelor V2.0", MB_OK | MB_ICONERROR);
}

}  // namespace

namespace vindelor {

void DrawPrintImage(HDC printerDc, tk::Bitmap& image, const PageRect& to) {
  const int width = to.right - to.left;
  const int height = to.bottom - to.top;
  if (image.Empty() || width <= 0 || height <= 0) return;
  const FileForm form(image);
  // Dropping rows and columns keeps colours pure; a one-bit image keeps the context's mode.
  if (!image.Monochrome()) SetStretchBltMode(printerDc, COLORONCOLOR);
  const tk::UniquePalette palette = form.MakePalette();
  const tk::PaletteGuard realized(printerDc, palette.Get());
  int drawn = 0;
  if (GetDeviceCaps(printerDc, RASTERCAPS) & RC_STRETCHDIB) {
    drawn = StretchDIBits(printerDc, to.left, to.top, width, height, 0, 0, form.Width(),
                          form.Height(), form.Bits(), form.Info(), DIB_RGB_COLORS, SRCCOPY);
  } else {
    drawn = StretchBlt(printerDc, to.left, to.top, width, height, image.SurfaceForReading(), 0, 0,
                       image.Width(), image.Height(), SRCCOPY);
  }
  if (drawn <= 0) throw tk::Error("The image could not be drawn");  // 0 or GDI_ERROR
}

}  // namespace vindelor

namespace {

// More than one while a job runs inside another (the tray's "Print the Desktop" with Immediate
// Action while a page prints). A job ends only the document it began itself, so the outer job's
// page stays whole.
int g_runningPrintJobs = 0;

void AdvanceProgressTwice(TForm2& dialog) {
  dialog.NStatusLine1.AdvanceProgress(1);
  dialog.NStatusLine1.AdvanceProgress(1);
}

// The page: the guarded part of the job. Any failure in here skips the rest of the page.
bool PrintPage(TForm2& dialog, const Resolutions& dpi, bool& documentBegun) {
  try {
    tk::Printer& printer = tk::Printer::Instance();
    tk::Bitmap& printImage = *vindelor::Shared().printImage;
    vindelor::TemporaryRoundTrip();
    AdvanceProgressTwice(dialog);
    printer.SetOrientation(tk::Printer::kLandscape);
    if (dialog.RadioButton2.Checked()) printer.SetOrientation(tk::Printer::kPortrait);
    const int pageWidth = printer.PageWidth();  // read now: they follow the orientation
    int pageHeight = printer.PageHeight();
    // The line is measured in the printer's font, so that a fine printer's taller cell fits.
    std::string dateLine;
    if (dialog.CheckBox4.Checked()) {
      dateLine = DateAndTime();
      pageHeight -= vindelor::DateLineReserve(printer.TextSize(dateLine).cy);
    }
    AdvanceProgressTwice(dialog);
    const vindelor::PagePlacement placement = vindelor::PlaceImageOnPage(
        {.pageWidth = pageWidth,
         .pageHeight = pageHeight,
         .printerDpiX = dpi.printerX,
         .printerDpiY = dpi.printerY,
         .screenDpiX = dpi.screenX,
         .screenDpiY = dpi.screenY,
         .imageWidth = printImage.Width(),
         .imageHeight = printImage.Height(),
         .stretched = dialog.CheckBox2.Checked(),
         .centered = dialog.CheckBox1.Checked()});
    printer.SetTitle(kDocumentTitle);
    printer.BeginDoc();
    documentBegun = true;
    AdvanceProgressTwice(dialog);
    tk::App().ProcessMessages();
    vindelor::DrawPrintImage(printer.Handle(), printImage, placement.rect);
    Form1->Delay(kAfterDrawingWait);
    if (dialog.CheckBox4.Checked()) {
      printer.WriteText(1, pageHeight + vindelor::kDateLineGap, dateLine);
    }
    Form1->Delay(kAfterDrawingWait);
    AdvanceProgressTwice(dialog);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

// The common end of every job that got past "No Printer installed".
void FinishPrintJob(TForm2& dialog, bool failureReported, bool documentBegun) {
  tk::App().ProcessMessages();
  // A begun document is ended even after a failure, so whatever is on its page is printed.
  tk::Printer& printer = tk::Printer::Instance();
  if (documentBegun && printer.Printing()) {
    try {
      printer.EndDoc();
    } catch (const std::exception&) {
      // The spooler refused the document: that is a failed print too, not a silent success.
      if (!failureReported) ReportPrintFailure();
    }
  }
  // The print image is read back for each job: its pixels go now rather than stay next to the
  // work image until the next job, unless an outer job may still draw it.
  if (--g_runningPrintJobs == 0) vindelor::Shared().printImage->Clear();
  Form1->Delay(kBeforeEndWait);
  dialog.SetEnabled(true);
  AdvanceProgressTwice(dialog);
  dialog.NStatusLine1.StartProgress(0, 10, false);
  dialog.Button4Click();
}

}  // namespace

void TForm2::Button1Click() {
  if (!vindelor::PrinterAvailable(ComboBox1)) {
    MessageBeep(MB_ICONEXCLAMATION);
    tk::ShowInformation("No Printer installed");
    return;
  }
  NStatusLine1.StartProgress(0, 10, true);
  NStatusLine1.SetCaption(" Printing ...");
  NStatusLine1.Repaint();
  SetEnabled(false);
  ++g_runningPrintJobs;

  // Choosing the printer, reading its resolution and transforming the image come before the
  // page. Their failures (such as "There is no default printer currently selected") are
  // reported, and the job then ends as every other path does: dialog enabled, progress hidden,
  // dialog hidden and hotkeys re-armed.
  Resolutions dpi;
  bool prepared = false;
  try {
    tk::Printer& printer = tk::Printer::Instance();
    vindelor::ApplyPrinterChoice(ComboBox1);
    Form1->Delay(kAfterPrinterChoiceWait);
    dpi = ReadResolutions(printer);
    AdvanceProgressTwice(*this);
    vindelor::ApplyTransforms(*vindelor::Shared().workImage, CheckBox5.Checked(),
                              CheckBox7.Checked(), CheckBox8.Checked());
    prepared = true;
  } catch (const std::exception& error) {
    tk::App().ShowException(error);
  }
  bool failed = false;
  bool documentBegun = false;
  if (prepared && !PrintPage(*this, dpi, documentBegun)) {
    failed = true;
    ReportPrintFailure();
  }
  FinishPrintJob(*this, failed, documentBegun);
}

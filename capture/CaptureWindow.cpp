// CaptureWindow: the single capture routine. It copies the desktop or the foreground window,
// frame included, into the work image, then hands over to the clipboard copy, the options
// dialog and, with Immediate Action, the print job.
#include <windows.h>

#include "capture/CaptureWindow.h"

#include "app/Arming.h"
#include "app/SharedState.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/Cursor.h"
#include "toolkit/Monitors.h"

namespace {

constexpr std::int32_t kRepaintWaitMilliseconds = 200;

}  // namespace

namespace vindelor {

void CopyWindowIntoWorkImage(HWND source) {
  if (!source) return;
  auto& shared = vindelor::Shared();
  const bool desktop = source == GetDesktopWindow();
  tk::WindowDc sourceDc(source, tk::WindowDc::Area::WholeWindow);
  // The desktop window's own rectangle is the primary monitor only: the desktop is every monitor.
  RECT window{};
  if (!desktop) GetWindowRect(source, &window);
  const tk::ScreenRect rect = desktop ? tk::VirtualScreen()
                                      : tk::ScreenRect{window.left, window.top, window.right,
                                                       window.bottom};
  shared.captureRect = rect;
  tk::Bitmap& work = *shared.workImage;
  work.SetWidth(rect.right - rect.left);
  work.SetHeight(rect.bottom - rect.top);
  // A window's context starts at its top-left corner, the desktop's at the primary monitor's.
  BitBlt(work.Surface(), 0, 0, work.Width(), work.Height(), sourceDc.Get(),
         desktop ? rect.left : 0, desktop ? rect.top : 0, SRCCOPY);
  if (!desktop) return;
  // What a copy returns where no monitor shows anything is nobody's promise: black it is.
  for (const tk::ScreenRect& part : tk::UncoveredParts(rect, tk::MonitorRects())) {
    PatBlt(work.Surface(), part.left - rect.left, part.top - rect.top, part.right - part.left,
           part.bottom - part.top, BLACKNESS);
  }
}  // the source context is released here

}  // namespace vindelor

void TForm2::CaptureWindow() {
  auto& shared = vindelor::Shared();
  vindelor::ApplyArmingRule(vindelor::ArmingEvent::CaptureStarted);
  {
    const tk::HiddenCursor hidden;  // for the copy, given back also when it fails
    // Let windows repaint first (the dialog may just have been hidden).
    Form1->Delay(kRepaintWaitMilliseconds);
    // The foreground window is looked up only now, after the wait.
    HWND source = shared.captureSource == vindelor::kSourceDesktop ? GetDesktopWindow()
                                                                   : GetForegroundWindow();
    vindelor::CopyWindowIntoWorkImage(source);
  }
  tk::App().ProcessMessages();
  if (CheckBox9.Checked()) CopyToClipBoard();
  Show();
  if (Form1->immediat.Checked() && !shared.menuOpen) Button1Click();
  shared.menuOpen = false;
}

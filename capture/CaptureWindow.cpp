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

namespace {

// Hides the mouse pointer for the copy and gives it back, also when the copy fails.
class HiddenCursor {
 public:
  HiddenCursor() { tk::App().SetCursorHidden(true); }
  HiddenCursor(const HiddenCursor&) = delete;
  HiddenCursor& operator=(const HiddenCursor&) = delete;
  ~HiddenCursor() { tk::App().SetCursorHidden(false); }
};

constexpr std::int32_t kRepaintWaitMilliseconds = 200;

}  // namespace

namespace vindelor {

void CopyWindowIntoWorkImage(HWND source) {
  if (!source) return;
  auto& shared = vindelor::Shared();
  tk::WindowDc sourceDc(source, tk::WindowDc::Area::WholeWindow);
  RECT rect{};
  GetWindowRect(source, &rect);
  shared.captureRect = {rect.left, rect.top, rect.right, rect.bottom};
  tk::Bitmap& work = *shared.workImage;
  work.SetWidth(rect.right - rect.left);
  work.SetHeight(rect.bottom - rect.top);
  BitBlt(work.Surface(), 0, 0, work.Width(), work.Height(), sourceDc.Get(), 0, 0, SRCCOPY);
}  // the source context is released here

}  // namespace vindelor

void TForm2::CaptureWindow() {
  auto& shared = vindelor::Shared();
  vindelor::ApplyArmingRule(vindelor::ArmingEvent::CaptureStarted);
  {
    HiddenCursor hidden;
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

// The real Vindelor.exe on a big screen (bench/big-screen.sh runs it on 7680 × 4320), driven from
// outside as a user does, over a known picture that covers the screen:
//   1. Print Screen with Immediate Action prints a page whose picture is the screen;
//   2. "Save as BMP" writes the exact screen;
//   3. a selection ending at the screen's last pixel, and the 32-pixel box pushed past the
//      corner, are cut out right (saved and checked pixel by pixel; the first also printed);
//   4. a minimal program prints the same screen through the same driver, as the floor for the
//      print's memory.
// The memory itself is sampled from outside by bench/sample-peaks.py, told the phases here.
#include <cstdio>
#include <string>

#include "bench/BenchSupport.h"
#include "bench/BigScreenChecks.h"
#include "bench/Phases.h"
#include "bench/ScreenPattern.h"
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;
using namespace std::chrono_literals;

constexpr char kQueue[] = "VindelorA";
constexpr auto kLongWait = 10min;  // a page of the whole screen is over 100 MB of PostScript

SIZE Screen() { return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

// "Save as BMP" through the common save dialog, to `path`; true once the dialog has gone.
bool SaveAsBmp(VindelorProcess& program, const std::string& path) {
  DeleteFileA(path.c_str());
  program.Click("Save as BMP");
  HWND dialog = WaitForWindow({.className = "#32770",
                               .title = " Save the Image as Windows Bitmap",
                               .processId = program.Id(),
                               .visibleOnly = true});
  if (!dialog) return false;
  SendMessageA(SaveDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  return WaitUntil([&] { return !IsShown(dialog); });
}

// "Select Rectangle", then a gesture on the frozen screen: the left button dragged from `from`
// to `to`, or (right) the right button pressed at `from` and moved to `to`, where the 32-pixel
// box then lies. True once the overlay has gone.
bool Select(VindelorProcess& program, bench::ScreenPattern& pattern, POINT from, POINT to,
            bool right, const bench::ScreenShot& screen) {
  program.Press("Select Rectangle");
  if (!WaitForWindow({.title = "Vindelor®V2.0", .processId = program.Id(), .visibleOnly = true}))
    return false;
  // With the pattern hidden, the corner's colours on the screen are the overlay's frozen picture.
  pattern.Show(false);
  const POINT probe{to.x - 2, to.y - 2};
  const bool painted = WaitUntil([&] {
    return bench::Rgb(GetPixel(tk::WindowDc(nullptr).Get(), probe.x, probe.y)) ==
           screen.At(probe.x, probe.y);
  });
  if (painted && MoveMouseTo(from.x, from.y)) {
    SetMouseButton(right, true);
    MoveMouseTo(to.x, to.y);
    SetMouseButton(right, false);
  }
  const bool closed = WaitUntil([&] {
    return FindTopLevelWindows(
               {.title = "Vindelor®V2.0", .processId = program.Id(), .visibleOnly = true})
        .empty();
  });
  pattern.Show(true);
  PumpMessagesFor(300ms);
  return painted && closed;
}

}  // namespace

int main() {
  EndAllVindelorProcesses();
  DeleteSettings();
  const SIZE screen = Screen();
  bench::Checks checks;
  bench::ScreenPattern pattern;
  PumpMessagesFor(1s);
  std::printf("screen %ld x %ld, %.1f MB as 32-bit pixels\n", screen.cx, screen.cy,
              static_cast<double>(screen.cx) * screen.cy * 4 / (1024.0 * 1024.0));

  VindelorProcess program;
  program.EndSplashWithKeyPress();
  if (!program.CaptureWithHotkey()) return std::printf("the program does not capture\n"), 1;
  program.SetBox("Immediate Action", true);
  program.CancelDialog();
  PumpMessagesFor(1s);  // the pattern repaints where the dialog was
  bench::EnterPhase("resident", "Vindelor.exe");

  // 1. Print Screen with Immediate Action: the page's picture is the screen.
  {
    const bench::ScreenShot shot = bench::TakeScreenShot();
    // The dialog is looked up by its title, which a program busy for more than 5 s does not give
    // (drawing the page is): its handle is taken now, while the program is idle, so that the
    // job's end is the dialog hiding rather than the program being busy.
    const HWND dialog = program.OptionsDialog();
    bench::EnterPhase("print", "Vindelor.exe");
    const bench::Stopwatch job;
    PressPrintScreen();
    const bool shown = WaitUntil([&] { return IsShown(dialog); });
    WaitUntil([&] { return !IsShown(dialog); }, kLongWait);
    const double jobMilliseconds = job.Milliseconds();
    bench::EnterPhase("printed", "Vindelor.exe");
    const auto files = WaitForPages(kQueue, 1, kLongWait);
    std::printf("%-44s %9.0f ms (page file %.0f ms)\n", "Print Screen to the job's end",
                jobMilliseconds, job.Milliseconds());
    checks.Report("Immediate Action printed one page", shown && files.size() == 1,
                  shown ? "" : "the dialog never showed");
    if (files.size() == 1) {
      checks.CheckPage(files.front(), shot, {0, 0, screen.cx, screen.cy}, "page");
    }
  }

  // 2. "Save as BMP" of a fresh capture (Immediate Action off, so that it does not print).
  program.SetBox("Immediate Action", false);
  const bench::ScreenShot shot = bench::TakeScreenShot();
  if (!program.CaptureWithHotkey()) return std::printf("the program does not capture\n"), 1;
  const std::string screenFile = TemporaryFolder() + "vindelor-bench-screen.bmp";
  checks.Report("Save as BMP of the screen", SaveAsBmp(program, screenFile), "the dialog");
  checks.CheckBmp(screenFile, shot, {0, 0, screen.cx, screen.cy});
  DeleteFileA(screenFile.c_str());

  // 3. Selections at the bottom-right corner. A drag ends on its last pixel's left and top
  // edges: dragged to the screen's last pixel, the selection ends just before it.
  const POINT last{screen.cx - 1, screen.cy - 1};
  const RECT dragged{last.x - 300, last.y - 200, last.x, last.y};
  const std::string selectionFile = TemporaryFolder() + "vindelor-bench-selection.bmp";
  checks.Report("left drag to the screen's last pixel",
                Select(program, pattern, {dragged.left, dragged.top}, last, false, shot), "");
  checks.Report("Save as BMP of the selection", SaveAsBmp(program, selectionFile), "");
  checks.CheckBmp(selectionFile, shot, dragged);
  const std::string selectionPage =
      program.PrintPage([&] { program.Press("Print"); }, kQueue, kLongWait);
  checks.Report("the selection printed", !selectionPage.empty(), "");
  if (!selectionPage.empty()) checks.CheckPage(selectionPage, shot, dragged, "selection page");

  // The right button's 32-pixel box, moved so that it reaches 12 pixels past both edges: the
  // screen's last 20 × 20 pixels, white beyond.
  if (!program.CaptureWithHotkey()) return std::printf("the program does not capture\n"), 1;
  const RECT box{screen.cx - 20, screen.cy - 20, screen.cx + 12, screen.cy + 12};
  checks.Report(
      "right-button box past the corner",
      Select(program, pattern, {box.left - 40, box.top - 40}, {box.left, box.top}, true, shot), "");
  checks.Report("Save as BMP of the box", SaveAsBmp(program, selectionFile), "");
  checks.CheckBmp(selectionFile, shot, box);
  DeleteFileA(selectionFile.c_str());
  program.CancelDialog();

  // 4. The floor: the same screen printed by a program that holds nothing but the bitmap, in the
  // screen's format and, as a cross-check, in the 24-bit rows that Vindelor.exe hands over.
  for (const char* bits : {"", "24"}) {
    const std::size_t before = PageFiles(kQueue).size();
    const tk::UniqueKernelHandle floor = bench::StartBesideThis("BigScreenPrint.exe", bits);
    bench::EnterPhase(std::string("minimal") + bits,
                      std::string("BigScreenPrint.exe") + (*bits ? " " : "") + bits);
    DWORD exitCode = 1;
    WaitUntil([&] { return WaitForSingleObject(floor.Get(), 0) != WAIT_TIMEOUT; }, kLongWait);
    GetExitCodeProcess(floor.Get(), &exitCode);
    const auto files = WaitForPages(kQueue, before + 1, kLongWait);
    checks.Report(std::string("the minimal program printed its page") + (*bits ? " (24-bit)" : ""),
                  exitCode == 0 && files.size() == before + 1, "");
  }
  bench::EnterPhase("done", "-");

  program.CloseMainForm();
  program.WaitForExit();
  std::printf("%d checks failed\n", checks.Failures());
  return checks.Failures() == 0 ? 0 : 1;
}

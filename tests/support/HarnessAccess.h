// What the Windows tests reach of the harness around them: its state folder (from the
// environment variable VINDELOR_STATE), the printed pages each print queue wrote, and its
// queue script.
#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <vector>

#include "tests/support/WinTestSupport.h"

namespace testing_support {

// The harness's state folder as a Windows path (Wine's drive Z: is the Unix root).
[[nodiscard]] std::string StateFolder();
// Where queue Q writes each job: <state>/pages/Q/<job id>.ps.
[[nodiscard]] std::string PagesFolder(const std::string& queue);
// The page files of a queue in the order they were printed (by job id).
[[nodiscard]] std::vector<std::string> PageFiles(const std::string& queue);
// Waits until the queue holds at least `count` page files; returns them.
std::vector<std::string> WaitForPages(const std::string& queue, std::size_t count,
                                      std::chrono::milliseconds timeout = kDefaultTimeout);
[[nodiscard]] std::string ReadWholeFile(const std::string& path);

// A printed page rendered by ghostscript: rows of RGB pixels, top row first.
struct RenderedPage {
  int width = 0;
  int height = 0;
  int dotsPerInch = 0;
  std::vector<unsigned char> rgb;
  [[nodiscard]] COLORREF At(int x, int y) const;
  [[nodiscard]] bool IsWhite(int x, int y) const { return At(x, y) == RGB(255, 255, 255); }
  // The smallest rectangle holding every pixel that is not white; empty when there is none.
  [[nodiscard]] RECT InkBounds() const;
  [[nodiscard]] RECT InkBounds(RECT within) const;
};

// Renders a page file of the queue (as PageFiles names it) at the given resolution with
// ghostscript, which runs as a Unix program next to Wine.
[[nodiscard]] RenderedPage RenderPage(const std::string& queue, const std::string& file,
                                      int dotsPerInch);

// Waits until the harness's cupsd has no job left, so that every page printed so far is a file.
bool WaitUntilPrintingIsDone(std::chrono::milliseconds timeout = kDefaultTimeout);

// Runs harness/queues.sh with the state folder and the given arguments. Wine starts Unix
// programs directly but hands back no handle to wait on: callers wait for the effect.
void RunQueuesScript(const std::string& arguments);

}  // namespace testing_support

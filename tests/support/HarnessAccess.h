// The harness around the Windows tests (its folder is in VINDELOR_STATE): printed pages, queues.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/Pictures.h"
#include "tests/support/WinTestSupport.h"

namespace testing_support {

// The page files (<state>/pages/<queue>/<job id>.ps) of a queue as Windows paths, in print order.
[[nodiscard]] std::vector<std::string> PageFiles(const std::string& queue);
// Waits until the queue holds at least `count` page files; returns them.
std::vector<std::string> WaitForPages(const std::string& queue, std::size_t count,
                                      std::chrono::milliseconds timeout = kDefaultTimeout);
// Waits until the harness's cupsd has no job left, so that every page printed so far is a file.
bool WaitUntilPrintingIsDone();
[[nodiscard]] std::string ReadWholeFile(const std::string& path);  // UTF-8 path
[[nodiscard]] std::string WindowsPath(std::string unixPath);  // on Wine's drive Z:, the Unix root

// A page file rendered by ghostscript.
[[nodiscard]] Picture RenderPage(const std::string& pageFile, int dotsPerInch);

// Runs harness/queues.sh and waits until it has ended.
bool RunQueuesScript(const std::string& arguments);
// A folder in which `name` is a link to /dev/full: writing it fails as on a full disk.
[[nodiscard]] std::string FolderWithFullDiskFile(const std::string& name);

}  // namespace testing_support

// What the Windows tests reach of the harness around them: its state folder (from the
// environment variable VINDELOR_STATE), the printed pages each print queue wrote, and its
// queue script.
#pragma once

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

// Runs tests/harness/queues.sh with the state folder and the given arguments. Wine starts Unix
// programs directly but hands back no handle to wait on: callers wait for the effect.
void RunQueuesScript(const std::string& arguments);

}  // namespace testing_support

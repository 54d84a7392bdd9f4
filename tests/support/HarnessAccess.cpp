#include "tests/support/HarnessAccess.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "toolkit/Handles.h"

namespace testing_support {

std::string StateFolder() {
  const char* state = std::getenv("VINDELOR_STATE");
  if (!state) {
    ADD_FAILURE() << "VINDELOR_STATE is not set: run through the Wine harness";
    return "";
  }
  std::string folder = std::string("Z:") + state;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

std::string PagesFolder(const std::string& queue) { return StateFolder() + "\\pages\\" + queue; }

std::vector<std::string> PageFiles(const std::string& queue) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((PagesFolder(queue) + "\\*.ps").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  // Job ids grow with every job; "10.ps" comes after "9.ps".
  std::sort(files.begin(), files.end(), [](const std::string& a, const std::string& b) {
    return std::atol(a.c_str()) < std::atol(b.c_str());
  });
  return files;
}

std::vector<std::string> WaitForPages(const std::string& queue, std::size_t count,
                                      std::chrono::milliseconds timeout) {
  std::vector<std::string> files;
  WaitUntil(
      [&] {
        files = PageFiles(queue);
        return files.size() >= count;
      },
      timeout);
  return files;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void RunQueuesScript(const std::string& arguments) {
  const char* state = std::getenv("VINDELOR_STATE");
  ASSERT_NE(state, nullptr) << "VINDELOR_STATE is not set: run through the Wine harness";
  std::string commandLine = std::string("/bin/sh -c \"'") + VINDELOR_SOURCE_DIR +
                            "/tests/harness/queues.sh' '" + state + "' " + arguments + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
    return;
  }
  tk::UniqueKernelHandle processHandle{process.hProcess};
  tk::UniqueKernelHandle threadHandle{process.hThread};
}

}  // namespace testing_support

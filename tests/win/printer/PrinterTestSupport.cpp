#include "tests/win/printer/PrinterTestSupport.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "toolkit/Error.h"

namespace printer_test {

std::vector<std::string> PrinterTest::Names() {
  std::vector<std::string> names;
  for (const auto& entry : ThePrinter().Printers()) names.push_back(entry.name);
  return names;
}

std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const tk::Error& error) {
    return error.what();
  }
  return "";
}

namespace {

std::string StateFolder() {
  const char* state = std::getenv("VINDELOR_STATE");
  if (!state) ADD_FAILURE() << "VINDELOR_STATE is not set: run through the Wine harness";
  return state ? state : "";
}

}  // namespace

std::string PagesFolder(const std::string& queue) {
  // Wine's drive Z: is the Unix root.
  std::string folder = "Z:" + StateFolder() + "/pages/" + queue;
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

std::vector<std::string> PageFiles(const std::string& queue) {
  std::vector<std::string> files;
  WIN32_FIND_DATAA found{};
  HANDLE search = FindFirstFileA((PagesFolder(queue) + "\\*.ps").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    files.push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  std::sort(files.begin(), files.end());
  return files;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

void RunQueuesScript(const std::string& arguments) {
  // Wine starts Unix programs directly.
  std::string commandLine = "/bin/sh -c \"'" + std::string(VINDELOR_SOURCE_DIR) +
                            "/tests/harness/queues.sh' '" + StateFolder() + "' " + arguments +
                            "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
  }
  // Wine hands out no usable handle of a Unix process: callers wait for its effects.
  tk::UniqueKernelHandle processHandle(process.hProcess);
  tk::UniqueKernelHandle threadHandle(process.hThread);
}

std::string DefaultDeviceEntry() {
  char entry[256] = "";
  GetProfileStringA("windows", "device", "", entry, sizeof(entry));
  return entry;
}

}  // namespace printer_test

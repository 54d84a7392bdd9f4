#include "tests/support/HarnessAccess.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "toolkit/Handles.h"

namespace testing_support {
namespace {

std::string UnixState() {
  const char* state = std::getenv("VINDELOR_STATE");
  if (!state) ADD_FAILURE() << "VINDELOR_STATE is not set: run through the Wine harness";
  return state ? state : "";
}

void StartUnixCommand(const std::string& shellCommand) {
  (void)StartProcess("/bin/sh -c \"" + shellCommand + "\"");
}

// Wine gives no handle to wait on: a marker file says that the command has ended.
bool RunUnixCommand(const std::string& shellCommand) {
  static int calls = 0;
  const std::string marker = UnixState() + "/done." + std::to_string(GetCurrentProcessId()) + "." +
                             std::to_string(++calls);
  StartUnixCommand(shellCommand + "; touch '" + marker + "'");
  return WaitUntil(
      [&] { return GetFileAttributesA(WindowsPath(marker).c_str()) != INVALID_FILE_ATTRIBUTES; });
}

}  // namespace

std::vector<std::string> PageFiles(const std::string& queue) {
  const std::string folder = WindowsPath(UnixState() + "/pages/" + queue + "/");
  std::vector<std::string> files;
  WIN32_FIND_DATAA found{};
  tk::UniqueHandle<HANDLE, &FindClose, -1> search{
      FindFirstFileA((folder + "*.ps").c_str(), &found)};
  // The queue writes a job under a hidden name first and renames it when it is complete.
  for (bool more = bool(search); more; more = FindNextFileA(search.Get(), &found)) {
    if (found.cFileName[0] != '.') files.push_back(folder + found.cFileName);
  }
  // Job ids grow with every job: "10.ps" comes after "9.ps".
  std::sort(files.begin(), files.end(),
            [](auto& a, auto& b) { return std::pair(a.size(), a) < std::pair(b.size(), b); });
  return files;
}

std::vector<std::string> WaitForPages(const std::string& queue, std::size_t count,
                                      std::chrono::milliseconds timeout) {
  std::vector<std::string> files;
  WaitUntil([&] { return (files = PageFiles(queue)).size() >= count; }, timeout);
  return files;
}

bool WaitUntilPrintingIsDone() {
  // lpstat asks the harness's cupsd (CUPS_SERVER is in the environment).
  return RunUnixCommand(
      "for i in $(seq 600); do lpstat -o 2>/dev/null | grep -q . || break; "
      "sleep 0.1; done");
}

std::string WindowsPath(std::string unixPath) {
  std::replace(unixPath.begin(), unixPath.end(), '/', '\\');
  return "Z:" + unixPath;
}

std::string ReadWholeFile(const std::string& path) {
  std::ostringstream text;
  text << std::ifstream(std::filesystem::path(Wide(path)), std::ios::binary).rdbuf();
  return text.str();
}

Picture RenderPage(const std::string& pageFile, int dotsPerInch) {
  std::string source = pageFile.substr(2);  // from Z:\…
  std::replace(source.begin(), source.end(), '\\', '/');
  const std::string picture = source + "." + std::to_string(dotsPerInch) + ".bmp";
  StartUnixCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=bmp16m -r" +
                   std::to_string(dotsPerInch) + " -sOutputFile='" + picture + "' '" + source +
                   "'");
  Picture page;
  EXPECT_TRUE(WaitUntil([&] {
    return (page = BmpPicture(ReadWholeFile(WindowsPath(picture)))).width;
  })) << "no whole page picture from "
      << source;
  return page;
}

bool RunQueuesScript(const std::string& arguments) {
  return RunUnixCommand(std::string("'") + VINDELOR_SOURCE_DIR + "/harness/queues.sh' '" +
                        UnixState() + "' " + arguments);
}

std::string FolderWithFullDiskFile(const std::string& name) {
  const std::string folder = UnixState() + "/full-disk";
  RunUnixCommand("mkdir -p '" + folder + "' && ln -sfn /dev/full '" + folder + "/" + name + "'");
  return WindowsPath(folder);
}

}  // namespace testing_support

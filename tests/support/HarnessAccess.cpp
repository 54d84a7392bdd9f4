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
  tk::UniqueHandle<HANDLE, &FindClose, -1> search{
      FindFirstFileA((PagesFolder(queue) + "\\*.ps").c_str(), &found)};
  if (!search) return files;
  do {
    // The queue writes a job under a hidden name first and renames it when it is complete.
    if (found.cFileName[0] != '.') files.push_back(found.cFileName);
  } while (FindNextFileA(search.Get(), &found));
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

namespace {

// Starts a shell command line as a Unix program.
void StartUnixCommand(const std::string& shellCommand) {
  std::string commandLine = "/bin/sh -c \"" + shellCommand + "\"";
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

std::string UnixState() {
  const char* state = std::getenv("VINDELOR_STATE");
  if (!state) ADD_FAILURE() << "VINDELOR_STATE is not set: run through the Wine harness";
  return state ? state : "";
}

}  // namespace

COLORREF RenderedPage::At(int x, int y) const {
  const auto at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                   static_cast<std::size_t>(x)) * 3;
  return RGB(rgb[at], rgb[at + 1], rgb[at + 2]);
}

RECT RenderedPage::InkBounds() const { return InkBounds({0, 0, width, height}); }

RECT RenderedPage::InkBounds(RECT within) const {
  RECT bounds{within.right, within.bottom, within.left, within.top};
  for (int y = within.top; y < within.bottom; ++y) {
    for (int x = within.left; x < within.right; ++x) {
      if (IsWhite(x, y)) continue;
      bounds.left = std::min<LONG>(bounds.left, x);
      bounds.top = std::min<LONG>(bounds.top, y);
      bounds.right = std::max<LONG>(bounds.right, x + 1);
      bounds.bottom = std::max<LONG>(bounds.bottom, y + 1);
    }
  }
  if (bounds.left >= bounds.right) return {0, 0, 0, 0};
  return bounds;
}

RenderedPage RenderPage(const std::string& queue, const std::string& file, int dotsPerInch) {
  RenderedPage page;
  page.dotsPerInch = dotsPerInch;
  const std::string source = UnixState() + "/pages/" + queue + "/" + file;
  const std::string picture = source + "." + std::to_string(dotsPerInch) + ".ppm";
  // Written under another name and renamed when complete, so that a reader never sees half.
  StartUnixCommand("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=ppmraw -r" +
                   std::to_string(dotsPerInch) + " -sOutputFile='" + picture + ".part' '" +
                   source + "' && mv '" + picture + ".part' '" + picture + "'");
  std::string windowsPath = "Z:" + picture;
  std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
  std::string bytes;
  WaitUntil([&] {
    bytes = ReadWholeFile(windowsPath);
    return !bytes.empty();
  });
  // "P6", width, height and 255, each after blanks or "#" comment lines, then one whitespace
  // and the pixels.
  std::istringstream header(bytes);
  auto next = [&header] {
    std::string token;
    while (header >> token && token[0] == '#') {
      std::string rest;
      std::getline(header, rest);
    }
    return token;
  };
  const std::string magic = next();
  page.width = std::atoi(next().c_str());
  page.height = std::atoi(next().c_str());
  const int maximum = std::atoi(next().c_str());
  if (magic != "P6" || maximum != 255 || page.width <= 0 || page.height <= 0) {
    ADD_FAILURE() << "no page picture from " << source;
    return {};
  }
  const auto pixels = static_cast<std::size_t>(header.tellg()) + 1;
  page.rgb.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pixels), bytes.end());
  if (page.rgb.size() !=
      static_cast<std::size_t>(page.width) * static_cast<std::size_t>(page.height) * 3) {
    ADD_FAILURE() << "a truncated page picture from " << source;
    return {};
  }
  return page;
}

bool WaitUntilPrintingIsDone(std::chrono::milliseconds timeout) {
  // lpstat talks to the harness's cupsd (CUPS_SERVER is in the environment); the marker file
  // says that no job was left.
  static int calls = 0;
  const std::string marker = UnixState() + "/printing-done." + std::to_string(++calls);
  StartUnixCommand("for i in $(seq 600); do lpstat -o 2>/dev/null | grep -q . || break; "
                   "sleep 0.1; done; touch '" + marker + "'");
  std::string windowsPath = "Z:" + marker;
  std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
  return WaitUntil([&] { return GetFileAttributesA(windowsPath.c_str()) != INVALID_FILE_ATTRIBUTES; },
                   timeout);
}

void RunQueuesScript(const std::string& arguments) {
  StartUnixCommand(std::string("'") + VINDELOR_SOURCE_DIR + "/harness/queues.sh' '" +
                   UnixState() + "' " + arguments);
}

}  // namespace testing_support

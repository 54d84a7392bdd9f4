// The options dialog on screens of 120 and 144 pixels per inch. The setting is read when a
// process starts, so each case runs the checks of DpiChild.cpp in a new process of this
// program, started after the prefix's setting has been changed.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace {

using namespace testing_support;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";

// Sets the prefix's pixels-per-inch setting and puts the default back when it goes.
class PixelsPerInchSetting {
 public:
  explicit PixelsPerInchSetting(DWORD pixelsPerInch) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels", REG_DWORD, &pixelsPerInch,
                    sizeof(pixelsPerInch));
  }
  PixelsPerInchSetting(const PixelsPerInchSetting&) = delete;
  PixelsPerInchSetting& operator=(const PixelsPerInchSetting&) = delete;
  ~PixelsPerInchSetting() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktopKey, "LogPixels"); }
};

DWORD RunChild(int pixelsPerInch) {
  char path[MAX_PATH]{};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string command = std::string("\"") + path + "\" --gtest_filter=DpiChild.*";
  SetEnvironmentVariableA("VINDELOR_EXPECT_DPI", std::to_string(pixelsPerInch).c_str());
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    return 0xFFFFFFFF;
  }
  tk::UniqueKernelHandle process{info.hProcess};
  tk::UniqueKernelHandle thread{info.hThread};
  SetEnvironmentVariableA("VINDELOR_EXPECT_DPI", nullptr);
  if (WaitForSingleObject(process.Get(), 120'000) != WAIT_OBJECT_0) {
    TerminateProcess(process.Get(), 99);
    return 0xFFFFFFFE;
  }
  DWORD code = 0;
  GetExitCodeProcess(process.Get(), &code);
  return code;
}

TEST(Dpi, TheDialogScalesWithThePixelsPerInchAndCapturesKeepFullResolution) {
  for (int pixelsPerInch : {120, 144}) {
    PixelsPerInchSetting setting(static_cast<DWORD>(pixelsPerInch));
    EXPECT_EQ(RunChild(pixelsPerInch), 0u)
        << "the checks at " << pixelsPerInch << " pixels per inch failed (see their output)";
  }
}

}  // namespace

// The options dialog on screens of 120 and 144 pixels per inch. The setting is read when a
// process starts, so each case runs DpiChild.cpp's test in a new process of this program.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace {

TEST(Dpi, TheDialogScalesWithThePixelsPerInchAndCapturesKeepFullResolution) {
  constexpr char kDesktop[] = "Control Panel\\Desktop";
  char path[MAX_PATH]{};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  for (DWORD pixelsPerInch : {120u, 144u}) {
    RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", REG_DWORD, &pixelsPerInch, 4);
    SetEnvironmentVariableA("VINDELOR_EXPECT_DPI", std::to_string(pixelsPerInch).c_str());
    std::string command = std::string("\"") + path + "\" --gtest_filter=DpiChild.*";
    STARTUPINFOA startup{.cb = sizeof(STARTUPINFOA)};
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &info));
    const tk::UniqueKernelHandle process{info.hProcess}, thread{info.hThread};
    DWORD code = 99;
    if (WaitForSingleObject(process.Get(), 120'000) != WAIT_OBJECT_0) TerminateProcess(process.Get(), 99);
    GetExitCodeProcess(process.Get(), &code);
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels");
    EXPECT_EQ(code, 0u) << "the checks at " << pixelsPerInch << " pixels per inch failed (see above)";
  }
}

}  // namespace

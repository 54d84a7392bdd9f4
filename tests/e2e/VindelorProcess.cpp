#include "tests/e2e/VindelorProcess.h"

#include <tlhelp32.h>

#include <stdexcept>
#include <string>

#include "tests/support/RegistryFixture.h"

namespace testing_support {
namespace {

constexpr char kFormClass[] = "VindelorForm";
constexpr char kDialogCaption[] = "Vindelor V2.0";

std::string ExePath() {
  char path[MAX_PATH]{};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder.resize(folder.find_last_of('\\') + 1);
  return folder + "Vindelor.exe";
}

}  // namespace

bool IsShown(HWND window) { return window && IsWindowVisible(window); }

VindelorProcess::VindelorProcess() {
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION info{};
  std::string command;
  command += '"';
  command += ExePath();
  command += '"';
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    throw std::runtime_error("cannot start " + ExePath());
  }
  tk::UniqueKernelHandle thread{info.hThread};
  process_.Reset(info.hProcess);
  processId_ = info.dwProcessId;
}

VindelorProcess::~VindelorProcess() {
  if (Running()) {
    TerminateProcess(process_.Get(), 99);
    WaitForSingleObject(process_.Get(), 10000);
  }
}

bool VindelorProcess::Running() const {
  return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> VindelorProcess::WaitForExit(std::chrono::milliseconds timeout) {
  if (!WaitUntil([&] { return !Running(); }, timeout)) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

HWND VindelorProcess::CreditsForm() const {
  for (HWND window : FindTopLevelWindows({.className = kFormClass, .processId = processId_})) {
    auto style = GetWindowLongPtrA(window, GWL_STYLE);
    if ((style & WS_CAPTION) == WS_CAPTION && WindowText(window) != kDialogCaption) return window;
  }
  return nullptr;
}

HWND VindelorProcess::OptionsDialog() const {
  auto found = FindTopLevelWindows(
      {.className = kFormClass, .title = kDialogCaption, .processId = processId_});
  return found.empty() ? nullptr : found.front();
}

HWND VindelorProcess::WaitForSplash() {
  HWND credits = nullptr;
  WaitUntil([&] {
    credits = CreditsForm();
    return IsShown(credits);
  });
  return credits;
}

void VindelorProcess::EndSplashWithKeyPress() {
  HWND credits = WaitForSplash();
  WaitUntil([&] { return GetForegroundWindow() == credits; });
  PressKey('A');
  WaitUntil([&] { return !IsShown(credits); });
}

bool VindelorProcess::CaptureWithHotkey(bool alt) {
  for (int attempt = 0; attempt < 5; ++attempt) {
    alt ? PressAltPrintScreen() : PressPrintScreen();
    if (WaitUntil([&] { return IsShown(OptionsDialog()); }, 3s)) return true;
  }
  return false;
}

void VindelorProcess::CloseMainForm() { PostMessageA(CreditsForm(), WM_CLOSE, 0, 0); }

void EndAllVindelorProcesses() {
  tk::UniqueFile snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    if (_stricmp(entry.szExeFile, "Vindelor.exe") != 0) continue;
    tk::UniqueKernelHandle process{OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE,
                                               entry.th32ProcessID)};
    if (!process) continue;
    TerminateProcess(process.Get(), 99);
    WaitForSingleObject(process.Get(), 10000);
  }
}

void VindelorTest::SetUp() {
  EndAllVindelorProcesses();
  DeleteSettings();
}

void VindelorTest::TearDown() {
  EndAllVindelorProcesses();
  DeleteSettings();
}

}  // namespace testing_support

#include "tests/e2e/VindelorProcess.h"

#include <tlhelp32.h>

#include <stdexcept>

#include "tests/support/HarnessAccess.h"
#include "tests/support/RegistryFixture.h"

namespace testing_support {
namespace {

constexpr char kFormClass[] = "VindelorForm";

void End(HANDLE process) {
  TerminateProcess(process, 99);
  WaitForSingleObject(process, 10000);
}

}  // namespace

std::string DriverFolder() {
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::string driver = Utf8(path);
  return driver.substr(0, driver.find_last_of('\\') + 1);
}

VindelorProcess::VindelorProcess(const std::string& program) {
  const std::string command =
      '"' + (program.empty() ? DriverFolder() + "Vindelor.exe" : program) + '"';
  process_ = StartProcess(command, &id_);
  if (!process_) throw std::runtime_error("cannot start " + command);
}

VindelorProcess::~VindelorProcess() {
  if (Running()) End(process_.Get());
}

bool VindelorProcess::Running() const {
  return WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> VindelorProcess::WaitForExit() {
  DWORD code = 0;
  if (!WaitUntil([&] { return !Running(); })) return std::nullopt;
  GetExitCodeProcess(process_.Get(), &code);
  return code;
}

HWND VindelorProcess::CreditsForm() const {
  for (HWND window : FindTopLevelWindows({.className = kFormClass, .processId = id_})) {
    const auto style = GetWindowLongPtrA(window, GWL_STYLE);
    if ((style & WS_CAPTION) == WS_CAPTION && WindowText(window) != "Vindelor V2.0") return window;
  }
  return nullptr;
}

HWND VindelorProcess::Form(const std::string& title) const {
  const auto found =
      FindTopLevelWindows({.className = kFormClass, .title = title, .processId = id_});
  return found.empty() ? nullptr : found.front();
}

HWND VindelorProcess::WaitForDialog(std::optional<std::string> title) const {
  return WaitForWindow(
      {.className = "#32770", .title = std::move(title), .processId = id_, .visibleOnly = true});
}

bool VindelorProcess::ShowsNoDialog() const {
  return FindTopLevelWindows({.className = "#32770", .processId = id_, .visibleOnly = true})
      .empty();
}

HWND VindelorProcess::WaitForSplash() {
  HWND credits = nullptr;
  WaitUntil([&] { return IsShown(credits = CreditsForm()); });
  return credits;
}

void VindelorProcess::EndSplashWithKeyPress(WORD key, std::chrono::milliseconds bound) {
  HWND credits = WaitForSplash();
  WaitUntil([&] { return GetForegroundWindow() == credits; });
  PressKey(key);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(credits); }, bound)) << "the key ends the splash";
}

bool VindelorProcess::CaptureWithHotkey(bool alt) {
  HWND dialog = OptionsDialog();
  DWORD_PTR answer = 0;
  if (!WaitUntil([&] { return !IsShown(CreditsForm()) && !IsShown(dialog); }) ||
      !SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer)) {
    ADD_FAILURE() << "the program is not idle";
    return false;
  }
  alt ? PressAltPrintScreen() : PressPrintScreen();
  return WaitUntil([&] { return IsShown(OptionsDialog()); });
}

bool VindelorProcess::CaptureWindow(HWND window) {
  SetForegroundWindow(window);
  return WaitUntil([&] { return GetForegroundWindow() == window; }) && CaptureWithHotkey(true);
}

void VindelorProcess::CancelDialog() {
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == OptionsDialog(); }));
  PressKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(OptionsDialog()); }));
}

std::string VindelorProcess::PrintPage(const std::function<void()>& print, const std::string& queue,
                                       std::chrono::milliseconds timeout) const {
  EXPECT_TRUE(WaitUntilPrintingIsDone()) << "the pages printed before are all in";
  const std::size_t before = PageFiles(queue).size();
  print();
  const auto pages = WaitForPages(queue, before + 1, timeout);
  EXPECT_TRUE(WaitUntil([&] { return !IsShown(OptionsDialog()); }, timeout)) << "still shown";
  EXPECT_EQ(pages.size(), before + 1) << "pages of " << queue;
  return pages.size() == before + 1 ? pages.back() : std::string();
}

void VindelorProcess::Click(const std::string& caption) const {
  PostMessageA(ChildWithText(OptionsDialog(), caption), BM_CLICK, 0, 0);
}

void VindelorProcess::Press(const std::string& caption) const {
  HWND button = ChildWithText(OptionsDialog(), caption);
  PostMessageA(OptionsDialog(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
}

bool VindelorProcess::IsChecked(const std::string& caption) const {
  return SendMessageA(ChildWithText(OptionsDialog(), caption), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

HWND VindelorProcess::PrinterList() const {
  for (HWND child : Children(OptionsDialog())) {
    if (ClassNameOf(child) == "ComboBox") return child;
  }
  return nullptr;
}

std::string VindelorProcess::FocusedControl() const {
  GUITHREADINFO info{.cbSize = sizeof(GUITHREADINFO)};
  GetGUIThreadInfo(GetWindowThreadProcessId(OptionsDialog(), nullptr), &info);
  HWND focus = info.hwndFocus;
  if (focus && ClassNameOf(GetParent(focus)) == "ComboBox") focus = GetParent(focus);
  return focus ? WindowText(focus) : std::string();
}

void VindelorProcess::SetBox(const std::string& caption, bool checked) const {
  if (IsChecked(caption) == checked) return;
  Click(caption);
  EXPECT_TRUE(WaitUntil([&] { return IsChecked(caption) == checked; })) << caption;
}

void EndAllVindelorProcesses() {
  const tk::UniqueFile snapshot{CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)};
  PROCESSENTRY32 entry{.dwSize = sizeof(PROCESSENTRY32)};
  for (BOOL more = Process32First(snapshot.Get(), &entry); more;
       more = Process32Next(snapshot.Get(), &entry)) {
    const tk::UniqueKernelHandle process{
        _stricmp(entry.szExeFile, "Vindelor.exe") == 0
            ? OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)
            : nullptr};
    if (process) End(process.Get());
  }
}

BmpAssociation::BmpAssociation(const std::string& command) {
  RegSetValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.bmp", REG_SZ, L"VindelorTest.Viewer", 0);
  RegSetValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\VindelorTest.Viewer\\shell\\open\\command",
               REG_SZ, Wide(command).c_str(), 0);
}

BmpAssociation::~BmpAssociation() {
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\VindelorTest.Viewer");
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.bmp");
}

void VindelorTest::SetUp() {
  EndAllVindelorProcesses();
  DeleteSettings();
}

}  // namespace testing_support

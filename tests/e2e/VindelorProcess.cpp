#include "tests/e2e/VindelorProcess.h"

#include <tlhelp32.h>

#include <stdexcept>

#include "tests/support/RegistryFixture.h"

namespace testing_support {
namespace {

constexpr char kFormClass[] = "VindelorForm", kDialogCaption[] = "Vindelor V2.0";

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
  const std::string command = '"' + (program.empty() ? DriverFolder() + "Vindelor.exe" : program) + '"';
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
    if ((style & WS_CAPTION) == WS_CAPTION && WindowText(window) != kDialogCaption) return window;
  }
  return nullptr;
}

HWND VindelorProcess::OptionsDialog() const {
  const auto found =
      FindTopLevelWindows({.className = kFormClass, .title = kDialogCaption, .processId = id_});
  return found.empty() ? nullptr : found.front();
}

HWND VindelorProcess::SelectionOverlay() const {
  const auto found =
      FindTopLevelWindows({.className = kFormClass, .title = "Vindelor®V2.0", .processId = id_});
  return found.empty() ? nullptr : found.front();
}

HWND VindelorProcess::WaitForSplash() {
  HWND credits = nullptr;
  WaitUntil([&] { return IsShown(credits = CreditsForm()); });
  return credits;
}

void VindelorProcess::EndSplashWithKeyPress() {
  HWND credits = WaitForSplash();
  WaitUntil([&] { return GetForegroundWindow() == credits; });
  PressKey('A');
  WaitUntil([&] { return !IsShown(credits); });
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

void ExpectDialogAtSavedPosition(int left, int top, bool kept) {
  SeedSavedSettings(left, top);
  VindelorProcess program;
  program.EndSplashWithKeyPress();
  ASSERT_TRUE(program.CaptureWithHotkey());
  RECT bounds{};
  GetWindowRect(program.OptionsDialog(), &bounds);
  using Corner = std::pair<LONG, LONG>;
  const Corner centred((GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) / 2,
                       (GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) / 2);
  EXPECT_EQ(Corner(bounds.left, bounds.top), kept ? Corner(left, top) : centred)
      << left << ", " << top;
  program.CancelDialog();  // Escape reaches it: it is in front, on the screen
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

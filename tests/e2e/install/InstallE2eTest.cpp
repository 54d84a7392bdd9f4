// The installer and its uninstaller as a user runs them. Each test has a Wine prefix of its own:
// a user on whose machine nothing was installed before.
#include <shlobj.h>

#include <functional>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/RegistryFixture.h"

namespace testing_support {
namespace {

constexpr char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Vindelor";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr DWORD kRefused = 2;

std::string Folder(int id) {
  char path[MAX_PATH]{};
  return SHGetFolderPathA(nullptr, id, nullptr, SHGFP_TYPE_CURRENT, path) == S_OK ? path : "";
}
const std::string kFolder = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Vindelor";
const std::string kProgram = kFolder + "\\Vindelor.exe", kUninstaller = kFolder + "\\Uninstall.exe";
const std::string kShortcut = Folder(CSIDL_PROGRAMS) + "\\Vindelor.lnk";

std::string Quoted(const std::string& path) { return '"' + path + '"'; }
const std::string kInstaller = Quoted(WindowsPath(VINDELOR_INSTALLER));

std::optional<std::string> ReadString(const char* key, const char* name) {
  char text[MAX_PATH]{};
  DWORD size = sizeof(text);
  if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, text, &size)) return {};
  return text;
}

// Runs a command to its end; `meanwhile` gets the process id while it runs.
DWORD RunToEnd(const std::string& command, const std::function<void(DWORD)>& meanwhile = {}) {
  DWORD id = 0, code = ~0u;
  const tk::UniqueKernelHandle process = StartProcess(command, &id);
  if (process && meanwhile) meanwhile(id);
  if (process && WaitForSingleObject(process.Get(), 120000) == WAIT_OBJECT_0) {
    GetExitCodeProcess(process.Get(), &code);
  }
  return code;
}

// Keeps a file open as a program that is running or has only just ended: it can be read, not
// replaced or deleted.
tk::UniqueFile Hold(const std::string& path) {
  return tk::UniqueFile{
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)};
}

// What an installation leaves behind, to compare before and after.
struct Traces {
  std::string program, uninstaller, shortcut;  // the files' bytes
  std::optional<std::string> runValue, version;
  std::map<std::string, RegistryValue> settings;
  bool operator==(const Traces&) const = default;
  friend void PrintTo(const Traces& t, std::ostream* out) {
    *out << t.program.size() << " + " << t.uninstaller.size() << " + " << t.shortcut.size()
         << " bytes, run " << t.runValue.value_or("-") << ", version " << t.version.value_or("-")
         << ", " << t.settings.size() << " settings";
  }
};
Traces Look() {
  return {ReadWholeFile(kProgram),
          ReadWholeFile(kUninstaller),
          ReadWholeFile(kShortcut),
          ReadString(kRunKey, "Vindelor"),
          ReadString(kUninstallKey, "DisplayVersion"),
          ReadSettings()};
}

class Installer : public VindelorTest {};

TEST_F(Installer, InstallsStartsAtSignInRefusesToChangeARunningCopyAndUninstallsKeepingSettings) {
  SeedDword("Centered", 1);
  ASSERT_EQ(RunToEnd(kInstaller + " /S"), 0u);
  const Traces installed = Look();
  EXPECT_EQ(installed.program, ReadWholeFile(WindowsPath(VINDELOR_PROGRAM)));
  EXPECT_NE(installed.uninstaller, "");
  EXPECT_NE(installed.shortcut.find(kProgram), std::string::npos);
  EXPECT_EQ(installed.runValue, Quoted(kProgram));
  EXPECT_EQ(installed.version, VINDELOR_VERSION);
  const std::pair<const char*, std::string> entries[] = {{"DisplayName", "Vindelor"},
                                                         {"Publisher", "Osmerdane"},
                                                         {"DisplayIcon", kProgram + ",0"},
                                                         {"InstallLocation", kFolder},
                                                         {"UninstallString", Quoted(kUninstaller)}};
  for (const auto& [name, value] : entries) EXPECT_EQ(ReadString(kUninstallKey, name), value);
  DWORD kilobytes = 0, size = sizeof(kilobytes);
  RegGetValueA(HKEY_CURRENT_USER, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD, nullptr,
               &kilobytes, &size);
  EXPECT_EQ(kilobytes, (installed.program.size() + installed.uninstaller.size()) / 1024);

  // Signing in: Wine's boot, like Windows, starts what the Run key names.
  ASSERT_EQ(RunToEnd("wineboot.exe"), 0u);
  ASSERT_TRUE(WaitUntil([] { return TrayIcon() != nullptr; }, 60s));
  // While it runs, neither the installer nor the uninstaller may change anything: without the
  // shortcut, an install that went on would show.
  ASSERT_TRUE(DeleteFileA(kShortcut.c_str()));
  const Traces running = Look();
  EXPECT_EQ(RunToEnd(kInstaller + " /S"), kRefused);
  EXPECT_EQ(RunToEnd(Quoted(kUninstaller) + " /S _?=" + kFolder), kRefused);
  std::optional<SeenDialog> seen;
  EXPECT_EQ(RunToEnd(kInstaller, [&](DWORD id) { seen = AnswerDialog(id, IDCANCEL, 60s); }),
            kRefused);
  EXPECT_EQ(seen.value_or(SeenDialog{}).text,
            "Vindelor is running. Please close it first: right-click its icon in the notification "
            "area and choose \"Close\". Then choose Retry.");
  EXPECT_EQ(Look(), running);

  EndAllVindelorProcesses();
  // As Windows' list of programs runs it: the uninstaller copies itself away and returns, and
  // the copy can delete the original and the folder. The program's file stays in use for two
  // seconds more, as the file of a program that has just ended can.
  tk::UniqueFile inUse = Hold(kProgram);
  ASSERT_TRUE(inUse);
  EXPECT_EQ(RunToEnd(Quoted(kUninstaller) + " /S"), 0u);
  Sleep(2000);
  inUse = {};
  const Traces removed{.settings = installed.settings};
  EXPECT_TRUE(WaitUntil([&] { return Look() == removed; }, 60s));
  EXPECT_EQ(GetFileAttributesA(kFolder.c_str()), INVALID_FILE_ATTRIBUTES);
}

// Names in any script need UTF-8 as the code page, which Windows 10 version 1903 brought: an
// older Windows (this test's prefix only) gets a clear message, and nothing is written.
TEST_F(Installer, RefusesAWindowsOlderThanWindows10Version1903WithAClearMessage) {
  ASSERT_EQ(RunToEnd("winecfg.exe -v win7"), 0u);
  std::optional<SeenDialog> message;
  EXPECT_EQ(RunToEnd(kInstaller, [&](DWORD id) { message = AnswerDialog(id, IDOK); }), 3u);
  ASSERT_TRUE(message.has_value());
  EXPECT_EQ(message->text,
            "Vindelor needs Windows 10 version 1903 or later. This Windows is older: nothing was "
            "installed.");
  EXPECT_EQ(Look(), Traces{});
}

TEST_F(Installer, OverAnOlderVersionReplacesTheProgramAndKeepsSettingsAndTheSignInChoice) {
  ASSERT_EQ(RunToEnd(Quoted(WindowsPath(VINDELOR_OLDER_INSTALLER)) + " /S"), 0u);
  ASSERT_EQ(RegDeleteKeyValueA(HKEY_CURRENT_USER, kRunKey, "Vindelor"), ERROR_SUCCESS);
  SeedDword("Centered", 1);
  const Traces older = Look();
  {
    // A program file that cannot be replaced stops the update; it is not skipped.
    const tk::UniqueFile inUse = Hold(kProgram);
    EXPECT_EQ(RunToEnd(kInstaller + " /S"), kRefused);
    EXPECT_EQ(Look(), older);
  }
  ASSERT_EQ(RunToEnd(kInstaller + " /S"), 0u);
  const Traces updated = Look();
  EXPECT_NE(older.program, updated.program);
  EXPECT_EQ(updated.program, ReadWholeFile(WindowsPath(VINDELOR_PROGRAM)));
  EXPECT_EQ(std::tuple(updated.version, updated.runValue, updated.settings),
            std::tuple(VINDELOR_VERSION, std::nullopt, older.settings));
}

}  // namespace
}  // namespace testing_support

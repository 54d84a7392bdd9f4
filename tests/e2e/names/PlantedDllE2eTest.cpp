// A winspool.drv of a stranger's beside a copy of the program, in a downloads folder, with Wine
// told to look for DLLs where Windows does (the program's folder first): the program starts,
// prints and opens its save dialog, and never loads it. ("VindelorProcess" starts any program.)
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;
using PlantedDll = VindelorTest;

// While it lives, Wine looks for the spooler of the program `exe` as Windows does: in the
// program's folder first. (WINEDLLOVERRIDES set here would not reach the programs started.)
class WindowsSearchOrderFor {
 public:
  explicit WindowsSearchOrderFor(const std::wstring& exe)
      : key_(L"Software\\Wine\\AppDefaults\\" + exe) {
    const std::wstring order = L"native,builtin";
    RegSetKeyValueW(HKEY_CURRENT_USER, (key_ + L"\\DllOverrides").c_str(), L"winspool.drv", REG_SZ,
                    order.c_str(), static_cast<DWORD>(sizeof(wchar_t) * (order.size() + 1)));
  }
  WindowsSearchOrderFor(const WindowsSearchOrderFor&) = delete;
  WindowsSearchOrderFor& operator=(const WindowsSearchOrderFor&) = delete;
  ~WindowsSearchOrderFor() { RegDeleteTreeW(HKEY_CURRENT_USER, key_.c_str()); }

 private:
  std::wstring key_;
};

TEST_F(PlantedDll, ADllBesideTheProgramIsNeverLoaded) {
  const std::wstring folder = Wide(TemporaryFolder() + "Загрузки 下载");
  const std::wstring planted = folder + L"\\winspool.drv", marker = folder + L"\\loaded.txt";
  CreateDirectoryW(folder.c_str(), nullptr);
  DeleteFileW(marker.c_str());
  for (const char* file :
       {"Vindelor.exe", "planted\\winspool.drv", "planted\\spooler_importer.exe"}) {
    const std::string name = file;
    ASSERT_TRUE(CopyFileW(Wide(DriverFolder() + name).c_str(),
                          (folder + L"\\" + Wide(name.substr(name.find('\\') + 1))).c_str(), FALSE))
        << name;
  }
  const WindowsSearchOrderFor importerSearch(L"spooler_importer.exe"), search(L"Vindelor.exe");
  {
    // The fault this guards against: a program that imports the spooler loads the planted one.
    VindelorProcess importer(Utf8(folder) + "\\spooler_importer.exe");
    EXPECT_TRUE(importer.WaitForExit().has_value());
    ASSERT_NE(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "no load seen";
    ASSERT_TRUE(DeleteFileW(marker.c_str()));
  }
  VindelorProcess program(Utf8(folder) + "\\Vindelor.exe");
  program.EndSplashWithKeyPress();
  const PatternWindow pattern({120, 90, 421, 293});
  ASSERT_TRUE(program.CaptureWindow(pattern.Handle()));
  EXPECT_FALSE(program.PrintPage([&] { program.Press("Print"); }, "named").empty());
  ASSERT_TRUE(program.CaptureWindow(pattern.Handle()));
  program.Click("Save as BMP");
  HWND dialog = program.WaitForDialog();
  ASSERT_NE(dialog, nullptr) << "the save dialog";
  PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  EXPECT_TRUE(program.Running());
  EXPECT_EQ(GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES) << "the planted DLL ran";
}

}  // namespace

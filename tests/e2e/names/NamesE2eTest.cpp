// The real program on a desktop whose names leave every ANSI code page: the temporary folder is
// "C:\Temp Тест 東京" and the default printer "Büro-東京-Drucker" (queues.sh named), beside
// "Büro-Drucker". Every text of this side is UTF-8 and reaches Windows in UTF-16.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/RegistryFixture.h"

namespace {

using namespace testing_support;

constexpr char kNamed[] = "Büro-東京-Drucker";

// The names in a folder, "." and ".." left out.
std::vector<std::string> FolderContents(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const tk::UniqueHandle<HANDLE, &FindClose, -1> search{
      FindFirstFileW(Wide(folder + "\\*").c_str(), &found)};
  for (bool more = bool(search); more; more = FindNextFileW(search.Get(), &found)) {
    if (const std::string name = Utf8(found.cFileName); name != "." && name != "..")
      names.push_back(name);
  }
  return names;
}

class Names : public ResidentTest {
 protected:
  Names() : ResidentTest({120, 90, 421, 293}) {}
  void SetUp() override {
    ASSERT_NE(TemporaryFolder().find("Temp Тест 東京"), std::string::npos) << "the desktop's";
    ResidentTest::SetUp();
  }
  void PrintOn(const char* queue) {
    EXPECT_FALSE(program_->PrintPage([&] { program_->Press("Print"); }, queue).empty());
  }
};

// Print Screen with Immediate Action: the print file goes through the temporary folder and the
// page to the default printer, both named outside the ANSI code page.
TEST_F(Names, PrintScreenPrintsThroughTheTemporaryFolderOnTheDefaultPrinter) {
  CaptureThePattern();
  program_->SetBox("Immediate Action", true);
  program_->CancelDialog();
  EXPECT_FALSE(program_->PrintPage(&PressPrintScreen, "named").empty());
  EXPECT_TRUE(program_->ShowsNoDialog()) << "no message";
  EXPECT_EQ(GetFileAttributesW(Wide(TemporaryFolder() + "Vindelor20.bmp").c_str()),
            INVALID_FILE_ATTRIBUTES)
      << "the print file is gone";
}

// A name that an earlier version stored in the Western code page is preselected; a printer
// chosen from the list prints, and "Save Options" stores it whole for the next start.
TEST_F(Names, PrinterNamesAreListedChosenStoredAndPreselectedWhole) {
  program_.reset();
  SeedSavedSettings(100, 100);
  const std::string latin = "B\xFCro-Drucker";  // as the code page 1252 writes "Büro"
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsPath, "DefPrinter", REG_SZ, latin.c_str(),
                            static_cast<DWORD>(latin.size() + 1)),
            ERROR_SUCCESS);
  for (int start = 0; start < 2; ++start) {
    program_.emplace();
    program_->EndSplashWithKeyPress();
    CaptureThePattern();
    EXPECT_EQ(WindowText(program_->PrinterList()), start == 0 ? "Büro-Drucker" : kNamed);
    if (start == 1) break;
    PrintOn("named-latin");
    CaptureThePattern();
    const std::wstring named = Wide(kNamed);
    ASSERT_GE(SendMessageW(program_->PrinterList(), CB_SELECTSTRING, WPARAM(-1),
                           reinterpret_cast<LPARAM>(named.c_str())),
              0);
    PrintOn("named");
    CaptureThePattern();
    program_->Press("Save Options");
    ASSERT_TRUE(AnswerDialog(program_->Id(), IDOK).has_value()) << "Settings saved successfully";
    wchar_t stored[512]{};  // in UTF-16: this side's code page is not UTF-8
    DWORD size = sizeof(stored);
    RegGetValueW(HKEY_CURRENT_USER, Wide(kSettingsPath).c_str(), L"DefPrinter", RRF_RT_REG_SZ,
                 nullptr, stored, &size);
    EXPECT_EQ(Utf8(stored), kNamed);
  }
}

// "Save as BMP" writes exactly the name chosen in a folder named in Cyrillic and Chinese, and
// "BMP Viewer", where the Windows directory cannot take its file, hands over one in the
// temporary folder that the viewer can open.
TEST_F(Names, SaveAsBmpAndTheViewerFileKeepTheirNames) {
  CaptureThePattern();
  const std::string folder = TemporaryFolder() + "Снимки 截图";
  CreateDirectoryW(Wide(folder).c_str(), nullptr);
  for (const std::string& name : FolderContents(folder))
    DeleteFileW(Wide(folder + "\\" + name).c_str());
  program_->Click("Save as BMP");
  HWND dialog = program_->WaitForDialog(" Save the Image as Windows Bitmap");
  ASSERT_NE(dialog, nullptr);
  WriteWindowText(SaveDialogNameField(dialog), folder + "\\Aufnahme-東京.bmp");
  PostMessageA(dialog, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  EXPECT_TRUE(WaitUntil(
      [&] { return FolderContents(folder) == std::vector<std::string>{"Aufnahme-東京.bmp"}; }));
  EXPECT_GT(BmpPicture(ReadWholeFile(folder + "\\Aufnahme-東京.bmp")).width, 0);

  wchar_t windows[MAX_PATH + 1]{};
  GetWindowsDirectoryW(windows, MAX_PATH);
  const std::wstring inTheWay = windows + std::wstring(L"\\Vindelor20.bmp");
  const std::string handedOver = folder + "\\handed-over.bmp";
  DeleteFileW(inTheWay.c_str());
  DeleteFileW(Wide(TemporaryFolder() + "Vindelor\\Vindelor20.bmp").c_str());
  ASSERT_TRUE(CreateDirectoryW(inTheWay.c_str(), nullptr)) << "a folder in the file's way";
  {
    const BmpAssociation viewer("cmd.exe /c copy \"%1\" \"" + handedOver + "\"");  // a copy of it
    program_->Click("BMP Viewer");
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(handedOver).size() > 54; }));
    EXPECT_EQ(ReadWholeFile(handedOver),
              ReadWholeFile(TemporaryFolder() + "Vindelor\\Vindelor20.bmp"));
  }
  RemoveDirectoryW(inTheWay.c_str());
}

}  // namespace

// "Save as BMP" and "BMP Viewer" of the real program: the common save dialog, the files written,
// the program the shell starts for bitmaps, and the two failure messages.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/Pictures.h"

namespace {

using namespace testing_support;

std::string Folder(UINT (*query)(char*, UINT)) {
  char folder[MAX_PATH + 1]{};
  query(folder, MAX_PATH);
  return folder;
}
std::string Temporary() { return Folder([](char* f, UINT n) { return static_cast<UINT>(GetTempPathA(n, f)); }); }
std::string ViewerFile() { return Folder(&GetWindowsDirectoryA) + "\\Vindelor20.bmp"; }

// A message box keeps its icon control when it has no icon; only the icon it holds counts.
bool HasIcon(HWND box) {
  for (HWND child = nullptr; (child = FindWindowExA(box, child, "Static", nullptr));) {
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && SendMessageA(child, STM_GETICON, 0, 0)) {
      return true;
    }
  }
  return false;
}

// Bitmaps open with the command while the object lives. The keys go under Software\Classes of the
// user and of the machine: Wine's HKEY_CLASSES_ROOT shows only the machine's.
class BmpAssociation {
 public:
  explicit BmpAssociation(const std::string& command) {
    for (HKEY root : kRoots) {
      char old[1024]{};
      LONG size = sizeof(old);
      old_.push_back(RegQueryValueA(root, kExtension, old, &size) == ERROR_SUCCESS ? old : "");
      RegSetValueA(root, kExtension, REG_SZ, "VindelorTest.BmpViewer", 0);
      RegSetValueA(root, kCommand, REG_SZ, command.c_str(), 0);
    }
  }
  BmpAssociation(const BmpAssociation&) = delete;
  BmpAssociation& operator=(const BmpAssociation&) = delete;
  ~BmpAssociation() {
    for (std::size_t i = 0; i < 2; ++i) {
      RegDeleteTreeA(kRoots[i], "Software\\Classes\\VindelorTest.BmpViewer");
      if (old_[i].empty()) RegDeleteTreeA(kRoots[i], kExtension);
      else RegSetValueA(kRoots[i], kExtension, REG_SZ, old_[i].c_str(), 0);
    }
  }

 private:
  static inline const HKEY kRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};
  static constexpr char kExtension[] = "Software\\Classes\\.bmp";
  static constexpr char kCommand[] = "Software\\Classes\\VindelorTest.BmpViewer\\shell\\open\\command";
  Strings old_;
};

class BmpCommands : public VindelorTest {
 protected:
  void SetUp() override {
    VindelorTest::SetUp();
    program_.emplace();
    program_->EndSplashWithKeyPress();
    pattern_.emplace(RECT{120, 90, 421, 293});
    ASSERT_TRUE(program_->CaptureWindow(pattern_->Handle()));
  }
  void TearDown() override {
    program_.reset();
    VindelorTest::TearDown();
  }
  // Opens the save dialog; returns it and the name it proposes.
  std::pair<HWND, std::string> OpenSaveDialog() {
    program_->Click("Save as BMP");
    HWND dialog = WaitForWindow({.className = "#32770", .title = " Save the Image as Windows Bitmap",
                                 .processId = program_->Id(), .visibleOnly = true});
    EXPECT_NE(dialog, nullptr);
    return {dialog, WindowText(SaveDialogNameField(dialog))};
  }
  // Types the name, if one is given, and presses the button.
  static void Answer(HWND dialog, int button, const std::string& name = "") {
    if (!name.empty()) SendMessageA(SaveDialogNameField(dialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }
  // Answers the program's message box, which must be plain: no icon, one OK button.
  void ExpectPlainMessage(const char* text) {
    HWND box = WaitForWindow({.className = "#32770", .processId = program_->Id(), .visibleOnly = true});
    EXPECT_FALSE(HasIcon(box));
    const auto seen = AnswerDialog(program_->Id(), IDOK);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(std::tuple(seen->caption, seen->text, seen->buttons), std::tuple("Vindelor", text, Strings{"OK"}));
  }
  // The file holds the captured window at 24 bits per pixel, bottom row first: the pattern's red
  // square and white half where the client area lies in the window.
  void ExpectCapturedWindow(const std::string& path) {
    const RECT window = pattern_->WindowRect();
    const int width = window.right - window.left, height = window.bottom - window.top;
    const std::size_t rowSize = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
    std::string bytes;
    ASSERT_TRUE(WaitUntil([&] { return (bytes = ReadWholeFile(path)).size() == 54 + rowSize * static_cast<std::size_t>(height); }))
        << path << " holds " << bytes.size() << " bytes";
    auto pixel = [&](int x, int y) {
      const std::size_t at = 54 + rowSize * static_cast<std::size_t>(height - 1 - y) + 3 * static_cast<std::size_t>(x);
      return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    };
    const POINT client = pattern_->ClientOffset();
    EXPECT_EQ(std::pair(pixel(client.x + 15, client.y + 15), pixel(client.x + 40, client.y + 60)),
              std::pair(kPatternRed, RGB(255, 255, 255)));
  }
  bool NoMessage() const {
    PumpMessagesFor(500ms);
    return FindTopLevelWindows({.className = "#32770", .processId = program_->Id(), .visibleOnly = true}).empty();
  }

  std::optional<VindelorProcess> program_;
  std::optional<PatternWindow> pattern_;
};

TEST_F(BmpCommands, SaveAsBmpWritesTheCaptureProposesTheLastNameAndReportsAFailedWrite) {
  const std::string stem = Temporary() + "vindelor-e2e-save", path = stem + ".bmp";
  DeleteFileA(path.c_str());
  HWND dialog = nullptr;  // plain variables: lambdas use them
  std::string proposed;
  std::tie(dialog, proposed) = OpenSaveDialog();
  EXPECT_EQ(proposed, "Vindelor20");
  Answer(dialog, IDOK, stem);  // the dialog adds ".bmp"
  ExpectCapturedWindow(path);
  // The next time it proposes the full name chosen: "Save" at once writes the same file again,
  // and cancelling writes nothing.
  for (int button : {IDOK, IDCANCEL}) {
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
    DeleteFileA(path.c_str());
    std::tie(dialog, proposed) = OpenSaveDialog();
    EXPECT_EQ(lstrcmpiA(proposed.c_str(), "vindelor-e2e-save.bmp"), 0) << proposed;
    Answer(dialog, button);
    if (button == IDOK) ExpectCapturedWindow(path);
  }
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  PumpMessagesFor(500ms);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "cancelled";

  // A file held open without sharing cannot be replaced. The dialog first asks whether to.
  tk::UniqueFile locked{CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
  Answer(OpenSaveDialog().first, IDOK);
  HWND question = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND box : FindTopLevelWindows({.className = "#32770", .processId = program_->Id(), .visibleOnly = true})) {
      if (GetDlgItem(box, IDYES)) question = box;
    }
    return question != nullptr;
  }));
  EXPECT_TRUE(HasIcon(question)) << "the check for an icon sees one where there is one";
  PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(question); }));
  ExpectPlainMessage("Saving Bitmap failed !");
  EXPECT_TRUE(IsShown(program_->OptionsDialog())) << "the dialog stays open";
  locked.Reset();
  DeleteFileA(path.c_str());
}

TEST_F(BmpCommands, BmpViewerHandsTheViewerFileToTheAssociatedProgramOrSaysItCouldNotStart) {
  const std::string record = Temporary() + "vindelor-e2e-viewer.txt";
  const std::string fallback = Temporary() + "Vindelor\\Vindelor20.bmp";
  for (const std::string& file : {record, ViewerFile(), fallback}) DeleteFileA(file.c_str());
  {
    const BmpAssociation missing("\"C:\\no such folder\\viewer.exe\" \"%1\"");
    program_->Click("BMP Viewer");
    ExpectPlainMessage("Could not start the BMP viewer !");
    ExpectCapturedWindow(ViewerFile());
  }
  // A viewer that writes down the path it is given.
  const BmpAssociation recording("cmd.exe /c echo \"%1\">\"" + record + "\"");
  for (const std::string& file : {ViewerFile(), fallback}) {
    DeleteFileA(record.c_str());
    if (file == fallback) {  // where the Windows directory cannot take the file
      DeleteFileA(ViewerFile().c_str());
      ASSERT_TRUE(CreateDirectoryA(ViewerFile().c_str(), nullptr)) << "a folder in the file's way";
    }
    program_->Click("BMP Viewer");
    std::string recorded;
    ASSERT_TRUE(WaitUntil([&] { return (recorded = ReadWholeFile(record)).find('\n') != std::string::npos; }))
        << "the viewer was not started";
    EXPECT_EQ(lstrcmpiA(recorded.c_str(), ("\"" + file + "\"\r\n").c_str()), 0) << recorded;
    ExpectCapturedWindow(file);
    EXPECT_TRUE(NoMessage() && IsShown(program_->OptionsDialog()));
  }
  RemoveDirectoryA(ViewerFile().c_str());
  for (const std::string& file : {record, fallback}) DeleteFileA(file.c_str());
}

}  // namespace

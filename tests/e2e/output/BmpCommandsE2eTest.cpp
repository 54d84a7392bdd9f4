// "Save as BMP" and "BMP Viewer" of the real program: the common save dialog, the bytes of the
// files written, the program the shell starts for bitmaps, and the two failure messages.
#include <gtest/gtest.h>

#include <iterator>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"
#include "tests/support/PatternWindow.h"

namespace {

using namespace testing_support;

// A name in the temporary folder, without extension.
std::string ScratchStem() {
  char folder[MAX_PATH + 1]{};
  GetTempPathA(MAX_PATH, folder);
  return folder + ("vindelor-e2e-" + std::to_string(GetCurrentProcessId()));
}

std::string ViewerFile() {
  char folder[MAX_PATH + 1]{};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(folder) + "\\Vindelor20.bmp";
}

// A message box keeps its icon control when it has no icon; only the icon it holds counts.
bool HasIcon(HWND box) {
  for (HWND child = FindWindowExA(box, nullptr, "Static", nullptr); child;
       child = FindWindowExA(box, child, "Static", nullptr)) {
    if ((GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
        SendMessageA(child, STM_GETICON, 0, 0) != 0) {
      return true;
    }
  }
  return false;
}

// Bitmaps open with the given command while the object lives. The keys go under Software\Classes
// of the user and of the machine, as Wine's HKEY_CLASSES_ROOT shows only the machine's (of the
// test prefix; on Windows that write may be refused and is not needed).
const HKEY kClassRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

class BmpAssociation {
 public:
  explicit BmpAssociation(const std::string& command) {
    for (HKEY root : kClassRoots) {
      char old[1024]{};
      LONG size = sizeof(old);
      const bool existed = RegQueryValueA(root, kExtension, old, &size) == ERROR_SUCCESS;
      old_.push_back(existed ? std::optional<std::string>(old) : std::nullopt);
      Set(root, kExtension, kProgId);
      Set(root, kProgIdKey + std::string("\\shell\\open\\command"), command);
    }
  }
  BmpAssociation(const BmpAssociation&) = delete;
  BmpAssociation& operator=(const BmpAssociation&) = delete;
  ~BmpAssociation() {
    for (std::size_t i = 0; i < std::size(kClassRoots); ++i) {
      if (old_[i]) {
        Set(kClassRoots[i], kExtension, *old_[i]);
      } else {
        RegDeleteTreeA(kClassRoots[i], kExtension);
      }
      RegDeleteTreeA(kClassRoots[i], kProgIdKey);
    }
  }

 private:
  static constexpr char kExtension[] = "Software\\Classes\\.bmp";
  static constexpr char kProgId[] = "VindelorTest.BmpViewer";
  static constexpr char kProgIdKey[] = "Software\\Classes\\VindelorTest.BmpViewer";
  static void Set(HKEY root, const std::string& key, const std::string& value) {
    RegSetValueA(root, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
  }

  std::vector<std::optional<std::string>> old_;
};

class BmpCommands : public VindelorTest {
 protected:
  void TearDown() override {
    program_.reset();
    VindelorTest::TearDown();
  }

  // Starts the program, captures the pattern window with Alt+Print Screen and waits for the
  // options dialog.
  void CaptureThePattern() {
    program_.emplace();
    program_->EndSplashWithKeyPress();
    pattern_.emplace(RECT{120, 90, 120 + 301, 90 + 203});
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == pattern_->Handle(); }));
    ASSERT_TRUE(program_->CaptureWithHotkey(/*alt=*/true));
  }

  void Click(const char* caption) {
    HWND button = FindWindowExA(program_->OptionsDialog(), nullptr, "Button", caption);
    ASSERT_NE(button, nullptr) << caption;
    PostMessageA(button, BM_CLICK, 0, 0);
  }

  // Opens the save dialog; returns it and the name it proposes.
  std::pair<HWND, std::string> OpenSaveDialog() {
    Click("Save as BMP");
    HWND dialog = WaitForWindow({.className = "#32770",
                                 .title = " Save the Image as Windows Bitmap",
                                 .processId = program_->Id(),
                                 .visibleOnly = true});
    EXPECT_NE(dialog, nullptr);
    return {dialog, WindowText(SaveDialogNameField(dialog))};
  }

  // Types the name, if one is given, and presses the button.
  static void Answer(HWND dialog, int button, const char* name = nullptr) {
    if (name) {
      SendMessageTimeoutA(SaveDialogNameField(dialog), WM_SETTEXT, 0,
                          reinterpret_cast<LPARAM>(name), SMTO_ABORTIFHUNG, 5000, nullptr);
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  }

  // Answers the program's message box, which must be plain: no icon, one OK button.
  void ExpectPlainMessage(const char* text) {
    HWND box =
        WaitForWindow({.className = "#32770", .processId = program_->Id(), .visibleOnly = true});
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(HasIcon(box));
    auto seen = AnswerDialog(program_->Id(), IDOK);
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(seen->caption, "Vindelor");
    EXPECT_EQ(seen->text, text);
    EXPECT_EQ(seen->buttons, std::vector<std::string>{"OK"});
  }

  // The file holds the captured window with 24 bits per pixel (the size of such a file; the
  // header is checked in-process), rows bottom row first: the pattern's red square and its white
  // half where the client area lies in the window.
  void ExpectCapturedWindow(const std::string& path) {
    const RECT captured = pattern_->WindowRect();
    const int width = captured.right - captured.left;
    const int height = captured.bottom - captured.top;
    const std::size_t rowSize = static_cast<std::size_t>((width * 3 + 3) / 4 * 4);
    std::string bytes;
    ASSERT_TRUE(WaitUntil([&] {
      bytes = ReadWholeFile(path);
      return bytes.size() == 54 + rowSize * static_cast<std::size_t>(height);
    })) << path << " holds " << bytes.size() << " bytes";
    auto pixel = [&](int x, int y) {
      const std::size_t at = 54 + rowSize * static_cast<std::size_t>(height - 1 - y) +
                             3 * static_cast<std::size_t>(x);
      return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    };
    const POINT client = pattern_->ClientOffset();
    EXPECT_EQ(pixel(client.x + 15, client.y + 15), kPatternRed);
    EXPECT_EQ(pixel(client.x + 40, client.y + 60), kPatternWhite);
  }

  std::optional<VindelorProcess> program_;
  std::optional<PatternWindow> pattern_;
};

TEST_F(BmpCommands, SaveAsBmpWritesTheCaptureProposesTheLastNameAndReportsAFailedWrite) {
  const std::string path = ScratchStem() + "-save.bmp";
  DeleteFileA(path.c_str());
  CaptureThePattern();

  HWND dialog = nullptr;  // plain variables: the lambdas below use them
  std::string proposed;
  std::tie(dialog, proposed) = OpenSaveDialog();
  EXPECT_EQ(proposed, "Vindelor20");
  Answer(dialog, IDOK, path.substr(0, path.size() - 4).c_str());  // the dialog adds ".bmp"
  ExpectCapturedWindow(path);

  // The next time it proposes the full name chosen: "Save" at once writes the same file again.
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  DeleteFileA(path.c_str());
  std::tie(dialog, proposed) = OpenSaveDialog();
  EXPECT_EQ(lstrcmpiA(proposed.c_str(), path.substr(path.find_last_of('\\') + 1).c_str()), 0)
      << proposed;
  Answer(dialog, IDOK);
  ExpectCapturedWindow(path);

  // Cancelling writes nothing.
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  DeleteFileA(path.c_str());
  dialog = OpenSaveDialog().first;
  Answer(dialog, IDCANCEL);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  PumpMessagesFor(500ms);
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES);

  // A file held open without sharing cannot be replaced. The dialog first asks whether to.
  tk::UniqueFile locked{
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
  ASSERT_TRUE(locked);
  dialog = OpenSaveDialog().first;
  Answer(dialog, IDOK);
  HWND question = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND box : FindTopLevelWindows(
             {.className = "#32770", .processId = program_->Id(), .visibleOnly = true})) {
      if (GetDlgItem(box, IDYES)) question = box;
    }
    return question != nullptr;
  }));
  EXPECT_TRUE(HasIcon(question)) << "the check for an icon sees one where there is one";
  PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(question) && !IsShown(dialog); }));
  ExpectPlainMessage("Saving Bitmap failed !");
  EXPECT_TRUE(IsShown(program_->OptionsDialog())) << "the dialog stays open";
  locked.Reset();
  DeleteFileA(path.c_str());
}

TEST_F(BmpCommands, BmpViewerHandsTheViewerFileToTheAssociatedProgramOrSaysItCouldNotStart) {
  const std::string record = ScratchStem() + "-viewer.txt";
  char temporary[MAX_PATH + 1]{};
  GetTempPathA(MAX_PATH, temporary);
  const std::string fallback = std::string(temporary) + "Vindelor\\Vindelor20.bmp";
  for (const std::string& file : {record, ViewerFile(), fallback}) DeleteFileA(file.c_str());
  CaptureThePattern();
  {
    const BmpAssociation missing("\"C:\\no such folder\\viewer.exe\" \"%1\"");
    Click("BMP Viewer");
    ExpectPlainMessage("Could not start the BMP viewer !");
    ExpectCapturedWindow(ViewerFile());
  }
  // A viewer that writes down the path it is given.
  const BmpAssociation recording("cmd.exe /c echo \"%1\">\"" + record + "\"");
  auto expectHandedOver = [&](const std::string& file) {
    DeleteFileA(record.c_str());
    Click("BMP Viewer");
    std::string recorded;
    ASSERT_TRUE(WaitUntil([&] {
      recorded = ReadWholeFile(record);
      return recorded.find('\n') != std::string::npos;
    })) << "the viewer was not started";
    EXPECT_EQ(lstrcmpiA(recorded.c_str(), ("\"" + file + "\"\r\n").c_str()), 0) << recorded;
    ExpectCapturedWindow(file);
    PumpMessagesFor(500ms);
    EXPECT_TRUE(FindTopLevelWindows(
                    {.className = "#32770", .processId = program_->Id(), .visibleOnly = true})
                    .empty())
        << "no message";
    EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  };
  expectHandedOver(ViewerFile());
  // Where the Windows directory cannot take the file, a folder of the temporary folder does.
  DeleteFileA(ViewerFile().c_str());
  ASSERT_TRUE(CreateDirectoryA(ViewerFile().c_str(), nullptr)) << "a folder in the file's way";
  expectHandedOver(fallback);
  RemoveDirectoryA(ViewerFile().c_str());
  for (const std::string& file : {record, fallback}) DeleteFileA(file.c_str());
}

}  // namespace

// "Save as BMP" and "BMP Viewer" of the real program: the common save dialog, the bytes of the
// files written, the program the shell starts for bitmaps, and the two failure messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/VindelorProcess.h"
#include "tests/support/PatternWindow.h"

namespace {

using namespace testing_support;

constexpr char kSaveTitle[] = " Save the Image as Windows Bitmap";
constexpr int kFileNameField = 0x480;  // edt1 of the common file dialogs
constexpr int kFileNameCombo = 0x47C;  // cmb13, where the name field is a combo box
constexpr char kProgId[] = "VindelorTest.BmpViewer";

std::string TempFolder() {
  char folder[MAX_PATH + 1]{};
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

std::string WindowsFolder() {
  char folder[MAX_PATH + 1]{};
  GetWindowsDirectoryA(folder, MAX_PATH);
  return folder;
}

std::string ExeFolder() {
  char path[MAX_PATH + 1]{};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::vector<std::uint8_t> bytes;
  tk::UniqueFile file{CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, 0, nullptr)};
  if (!file) return bytes;
  bytes.resize(GetFileSize(file.Get(), nullptr));
  DWORD got = 0;
  if (!bytes.empty())
    ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  bytes.resize(got);
  return bytes;
}

bool Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::uint32_t U32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | std::uint32_t{b[at + 1]} << 8 | std::uint32_t{b[at + 2]} << 16 |
         std::uint32_t{b[at + 3]} << 24;
}

// The size a 24-bit file of the given image size has.
std::size_t FileSizeFor(int width, int height) {
  return 54 +
         static_cast<std::size_t>((width * 24 + 31) / 32 * 4) * static_cast<std::size_t>(height);
}

struct FoundChild {
  const char* className;
  std::string text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchChild(HWND child, LPARAM context) {
  auto* wanted = reinterpret_cast<FoundChild*>(context);
  if (ClassNameOf(child) == wanted->className && WindowText(child) == wanted->text) {
    wanted->found = child;
    return FALSE;
  }
  return TRUE;
}

HWND ChildByText(HWND parent, const char* className, const std::string& text) {
  FoundChild wanted{className, text};
  EnumChildWindows(parent, &MatchChild, reinterpret_cast<LPARAM>(&wanted));
  return wanted.found;
}

// A message box keeps its icon control when it has no icon; only the icon it holds counts.
BOOL CALLBACK FindIcon(HWND child, LPARAM found) {
  if (ClassNameOf(child) == "Static" &&
      (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
      SendMessageA(child, STM_GETICON, 0, 0) != 0) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool HasIcon(HWND dialog) {
  bool found = false;
  EnumChildWindows(dialog, &FindIcon, reinterpret_cast<LPARAM>(&found));
  return found;
}

// Bitmaps opened by the given command, through a ProgID under HKCU\Software\Classes; the
// previous association comes back when the object goes. Wine's HKEY_CLASSES_ROOT shows only the
// machine's classes, so there the same keys go under HKLM\Software\Classes too (in the test
// prefix).
class BmpAssociation {
 public:
  explicit BmpAssociation(const std::string& command) {
    Register(HKEY_CURRENT_USER, command);
    if (ClassesRootValue(".bmp") != kProgId) Register(HKEY_LOCAL_MACHINE, command);
  }
  BmpAssociation(const BmpAssociation&) = delete;
  BmpAssociation& operator=(const BmpAssociation&) = delete;
  ~BmpAssociation() {
    for (const Registration& done : registrations_) {
      if (done.oldExtension) {
        SetDefault(done.root, kExtensionKey, *done.oldExtension);
      } else {
        RegDeleteTreeA(done.root, kExtensionKey);
      }
      RegDeleteTreeA(done.root, ProgIdKey().c_str());
    }
  }

 private:
  struct Registration {
    HKEY root;
    std::optional<std::string> oldExtension;
  };
  static constexpr char kExtensionKey[] = "Software\\Classes\\.bmp";
  static std::string ProgIdKey() { return std::string("Software\\Classes\\") + kProgId; }

  static std::optional<std::string> DefaultValue(HKEY root, const char* key) {
    char value[1024]{};
    LONG size = sizeof(value);
    if (RegQueryValueA(root, key, value, &size) != ERROR_SUCCESS) return std::nullopt;
    return value;
  }
  static std::string ClassesRootValue(const char* key) {
    return DefaultValue(HKEY_CLASSES_ROOT, key).value_or("");
  }
  static void SetDefault(HKEY root, const std::string& key, const std::string& value) {
    RegSetValueA(root, key.c_str(), REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
  }
  void Register(HKEY root, const std::string& command) {
    registrations_.push_back({root, DefaultValue(root, kExtensionKey)});
    SetDefault(root, kExtensionKey, kProgId);
    SetDefault(root, ProgIdKey() + "\\shell\\open\\command", command);
  }

  std::vector<Registration> registrations_;
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
    PressAltPrintScreen();
    ASSERT_TRUE(WaitUntil([&] { return IsShown(program_->OptionsDialog()); }));
    captured_ = pattern_->WindowRect();
  }

  void Click(const char* caption) {
    HWND button = ChildByText(program_->OptionsDialog(), "Button", caption);
    ASSERT_NE(button, nullptr) << caption;
    PostMessageA(button, BM_CLICK, 0, 0);
  }

  HWND WaitForSaveDialog() {
    return WaitForWindow({.className = "#32770",
                          .title = kSaveTitle,
                          .processId = program_->Id(),
                          .visibleOnly = true});
  }

  static HWND NameField(HWND saveDialog) {
    HWND field = GetDlgItem(saveDialog, kFileNameField);
    return field ? field : GetDlgItem(saveDialog, kFileNameCombo);
  }

  // Types the name and presses "Save".
  static void SaveAs(HWND saveDialog, const std::string& name) {
    SendMessageTimeoutA(NameField(saveDialog), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(name.c_str()), SMTO_ABORTIFHUNG, 5000, nullptr);
    PostMessageA(saveDialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(saveDialog, IDOK)));
  }

  // Reads the message box the program shows, checks it is plain, and answers it.
  std::optional<SeenDialog> AnswerPlainMessage() {
    HWND box =
        WaitForWindow({.className = "#32770", .processId = program_->Id(), .visibleOnly = true});
    EXPECT_NE(box, nullptr);
    if (box) {
      EXPECT_FALSE(HasIcon(box)) << "a plain message, without an icon";
    }
    return AnswerDialog(program_->Id(), IDOK);
  }

  // The file is a 24-bit BMP of the captured window: header fields, size and two pixels.
  void ExpectCapturedWindow(const std::string& path) {
    const int width = captured_.right - captured_.left;
    const int height = captured_.bottom - captured_.top;
    const std::size_t size = FileSizeFor(width, height);
    ASSERT_TRUE(WaitUntil([&] { return ReadBytes(path).size() == size; })) << path;
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(U32(bytes, 2), size);
    EXPECT_EQ(U32(bytes, 10), 54u);
    EXPECT_EQ(U32(bytes, 14), 40u);
    EXPECT_EQ(U32(bytes, 18), static_cast<std::uint32_t>(width));
    EXPECT_EQ(U32(bytes, 22), static_cast<std::uint32_t>(height));
    EXPECT_EQ(bytes[28], 24) << "the 32-bit screen is written with 24 bits per pixel";
    // Rows bottom row first: the pattern's red square and its white half, where the client
    // area lies in the window.
    const POINT client = pattern_->ClientOffset();
    const std::size_t rowSize = static_cast<std::size_t>((width * 24 + 31) / 32 * 4);
    auto pixel = [&](int x, int y) {
      const std::size_t at =
          54 + rowSize * static_cast<std::size_t>(height - 1 - y) + 3 * static_cast<std::size_t>(x);
      return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    };
    EXPECT_EQ(pixel(client.x + 15, client.y + 15), kPatternRed);
    EXPECT_EQ(pixel(client.x + 40, client.y + 60), kPatternWhite);
  }

  std::optional<VindelorProcess> program_;
  std::optional<PatternWindow> pattern_;
  RECT captured_{};
};

TEST_F(BmpCommands, SaveAsBmpWritesTheCaptureWhereTheUserChoosesAndProposesTheLastNameNextTime) {
  const std::string stem =
      TempFolder() + "vindelor-e2e-save-" + std::to_string(GetCurrentProcessId());
  const std::string path = stem + ".bmp";
  DeleteFileA(path.c_str());
  CaptureThePattern();

  Click("Save as BMP");
  HWND dialog = WaitForSaveDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowText(NameField(dialog)), "Vindelor20");
  SaveAs(dialog, stem);  // the extension comes from the dialog
  ExpectCapturedWindow(path);
  EXPECT_TRUE(IsShown(program_->OptionsDialog())) << "the dialog stays open";

  // The next time the dialog proposes the full name chosen: it opens in that folder with that
  // name, so pressing "Save" at once writes the same file again.
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  DeleteFileA(path.c_str());
  Click("Save as BMP");
  dialog = WaitForSaveDialog();
  ASSERT_NE(dialog, nullptr);
  const std::string name = path.substr(path.find_last_of('\\') + 1);
  EXPECT_EQ(Lower(WindowText(NameField(dialog))), Lower(name));
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  ExpectCapturedWindow(path);

  // Cancelling writes nothing.
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  DeleteFileA(path.c_str());
  Click("Save as BMP");
  dialog = WaitForSaveDialog();
  ASSERT_NE(dialog, nullptr);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
  PumpMessagesFor(500ms);
  EXPECT_FALSE(Exists(path));
  EXPECT_TRUE(IsShown(program_->OptionsDialog()));
}

TEST_F(BmpCommands, AFileThatCannotBeWrittenGivesTheSavingFailedMessage) {
  const std::string path =
      TempFolder() + "vindelor-e2e-locked-" + std::to_string(GetCurrentProcessId()) + ".bmp";
  // Held open without sharing, so the program cannot replace it.
  tk::UniqueFile locked{
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
  ASSERT_TRUE(locked);
  CaptureThePattern();

  Click("Save as BMP");
  HWND dialog = WaitForSaveDialog();
  ASSERT_NE(dialog, nullptr);
  SaveAs(dialog, path);
  // The dialog first asks whether to replace the existing file.
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
  ASSERT_TRUE(WaitUntil([&] { return !IsShown(question); }));

  auto seen = AnswerPlainMessage();
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->caption, "Vindelor");
  EXPECT_EQ(seen->text, "Saving Bitmap failed !");
  EXPECT_EQ(seen->buttons, std::vector<std::string>{"OK"});
  EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  locked.Reset();
  DeleteFileA(path.c_str());
}

TEST_F(BmpCommands, BmpViewerHandsTheViewerFileInTheWindowsDirectoryToTheAssociatedProgram) {
  const std::string record =
      TempFolder() + "vindelor-e2e-viewer-" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(record.c_str());
  const std::string viewerFile = WindowsFolder() + "\\Vindelor20.bmp";
  DeleteFileA(viewerFile.c_str());
  std::string command = "\"";  // "<probe>" "<record>" "%1"
  command += ExeFolder() + "bmp_viewer_probe.exe\" \"" + record + "\" \"%1\"";
  BmpAssociation association(command);
  CaptureThePattern();

  Click("BMP Viewer");
  ASSERT_TRUE(WaitUntil([&] { return Exists(record); })) << "the viewer was not started";
  std::vector<std::uint8_t> recorded = ReadBytes(record);
  EXPECT_EQ(Lower(std::string(recorded.begin(), recorded.end())), Lower(viewerFile));
  ExpectCapturedWindow(viewerFile);
  PumpMessagesFor(500ms);
  EXPECT_TRUE(
      FindTopLevelWindows({.className = "#32770", .processId = program_->Id(), .visibleOnly = true})
          .empty())
      << "no message";
  EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  DeleteFileA(record.c_str());
  DeleteFileA(viewerFile.c_str());
}

TEST_F(BmpCommands, BmpViewerWithoutAWorkingProgramGivesTheMessageAndStillWritesTheFile) {
  const std::string viewerFile = WindowsFolder() + "\\Vindelor20.bmp";
  DeleteFileA(viewerFile.c_str());
  BmpAssociation association("\"C:\\no such folder\\viewer.exe\" \"%1\"");
  CaptureThePattern();

  Click("BMP Viewer");
  auto seen = AnswerPlainMessage();
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->caption, "Vindelor");
  EXPECT_EQ(seen->text, "Could not start the BMP viewer !");
  EXPECT_EQ(seen->buttons, std::vector<std::string>{"OK"});
  ExpectCapturedWindow(viewerFile);
  EXPECT_TRUE(IsShown(program_->OptionsDialog()));
  DeleteFileA(viewerFile.c_str());
}

}  // namespace

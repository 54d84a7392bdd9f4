// "Save as BMP" and "BMP Viewer" of the real program: the common save dialog, the files written,
// the program the shell starts for bitmaps, and the two failure messages.
#include "tests/e2e/VindelorProcess.h"
#include "tests/support/HarnessAccess.h"

namespace {

using namespace testing_support;

class BmpCommands : public ResidentTest {
 protected:
  BmpCommands() : ResidentTest({120, 90, 421, 293}) {}
  void SetUp() override {
    ResidentTest::SetUp();
    CaptureThePattern();
  }
  HWND OpenSaveDialog() {
    program_->Click("Save as BMP");
    return WaitForWindow({.className = "#32770",
                          .title = " Save the Image as Windows Bitmap",
                          .processId = program_->Id(),
                          .visibleOnly = true});
  }
  void ExpectMessage(const std::string& text) {
    const auto seen = AnswerDialog(program_->Id(), IDOK);
    EXPECT_EQ(seen.value_or(SeenDialog{}), (SeenDialog{"Vindelor", text, {"OK"}}));
  }
  // The file holds the captured window at 24 bits per pixel, bottom row first: the pattern's red
  // square and white half where the client area lies in the window.
  void ExpectCapturedWindow(const std::string& path) {
    const RECT window = pattern_->WindowRect();
    const int width = window.right - window.left, height = window.bottom - window.top;
    const int rowSize = (width * 3 + 3) / 4 * 4;
    std::string bytes;
    const auto size = static_cast<std::size_t>(54 + rowSize * height);
    ASSERT_TRUE(WaitUntil([&] { return (bytes = ReadWholeFile(path)).size() == size; }))
        << path << " holds " << bytes.size() << " bytes";
    auto pixel = [&](LONG x, LONG y) {
      const auto at = static_cast<std::size_t>(54 + rowSize * (height - 1 - y) + 3 * x);
      return RGB(bytes[at + 2], bytes[at + 1], bytes[at]);
    };
    const POINT client = pattern_->ClientOffset();
    EXPECT_EQ(std::pair(pixel(client.x + 15, client.y + 15), pixel(client.x + 40, client.y + 60)),
              std::pair(kPatternRed, RGB(255, 255, 255)));
  }
};

// "Vindelor20" is proposed first, then the full name last chosen, so that "Save" at once writes
// the same file again. Cancelling writes nothing. A folder gone while the dialog was open, or a
// full disk: the message, no file, and the options dialog still usable and armed afterwards.
TEST_F(BmpCommands, SaveAsBmpWritesTheCaptureProposesTheLastNameAndSaysWhenItFails) {
  const std::string path = TemporaryFolder() + "vindelor-e2e-save.bmp";
  const std::string gone = TemporaryFolder() + "vindelor-gone";
  struct Round {
    const char* proposed;  // null: not checked
    std::string typed;
    WPARAM button;
  };
  const Round rounds[] = {
      {"Vindelor20", path.substr(0, path.size() - 4), IDOK},  // the dialog adds ".bmp"
      {"vindelor-e2e-save.bmp", "", IDOK},
      {"vindelor-e2e-save.bmp", "", IDCANCEL},
      {nullptr, gone + "\\capture.bmp", IDOK},
      {nullptr, FolderWithFullDiskFile("full.bmp") + "\\full.bmp", IDOK},
  };
  for (const Round& round : rounds) {
    DeleteFileA(path.c_str());
    CreateDirectoryA(gone.c_str(), nullptr);
    HWND dialog = OpenSaveDialog(), name = SaveDialogNameField(dialog);
    EXPECT_TRUE(!round.proposed || lstrcmpiA(WindowText(name).c_str(), round.proposed) == 0);
    if (!round.typed.empty()) SetWindowTextA(name, round.typed.c_str());
    RemoveDirectoryA(gone.c_str());
    PostMessageA(dialog, WM_COMMAND, round.button, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
    if (round.proposed && round.button == IDOK) ExpectCapturedWindow(path);
    if (round.proposed) continue;
    ExpectMessage("Saving Bitmap failed !");
    EXPECT_EQ(GetFileAttributesA(round.typed.c_str()), INVALID_FILE_ATTRIBUTES) << round.typed;
  }
  EXPECT_EQ(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << "cancelled";
  EXPECT_TRUE(IsWindowEnabled(program_->OptionsDialog()));
  program_->CancelDialog();
  EXPECT_TRUE(program_->CaptureWithHotkey()) << "armed again";
}

// Where the Windows directory cannot take the viewer's file, a folder of the temporary folder does.
TEST_F(BmpCommands, BmpViewerHandsTheViewerFileToTheAssociatedProgramOrSaysItCouldNotStart) {
  char windows[MAX_PATH + 1]{};
  GetWindowsDirectoryA(windows, MAX_PATH);
  const std::string viewerFile = std::string(windows) + "\\Vindelor20.bmp";
  const std::string record = TemporaryFolder() + "vindelor-e2e-viewer.txt";
  const std::string fallback = TemporaryFolder() + "Vindelor\\Vindelor20.bmp";
  for (const std::string& file : {record, viewerFile, fallback}) DeleteFileA(file.c_str());
  program_->Click("BMP Viewer");  // no program opens bitmaps in the test prefix
  ExpectMessage("Could not start the BMP viewer !");
  ExpectCapturedWindow(viewerFile);
  const BmpAssociation recording("cmd.exe /c echo \"%1\">\"" + record + "\"");  // writes down
  for (const std::string& file : {viewerFile, fallback}) {
    DeleteFileA(record.c_str());
    if (file == fallback) {
      DeleteFileA(viewerFile.c_str());
      ASSERT_TRUE(CreateDirectoryA(viewerFile.c_str(), nullptr)) << "a folder in the file's way";
    }
    program_->Click("BMP Viewer");
    std::string recorded;
    ASSERT_TRUE(WaitUntil(
        [&] { return (recorded = ReadWholeFile(record)).find('\n') != std::string::npos; }));
    EXPECT_EQ(lstrcmpiA(recorded.c_str(), ("\"" + file + "\"\r\n").c_str()), 0) << recorded;
    ExpectCapturedWindow(file);
    PumpMessagesFor(500ms);
    EXPECT_TRUE(FindTopLevelWindows(
                    {.className = "#32770", .processId = program_->Id(), .visibleOnly = true})
                    .empty())
        << "no message";
  }
  RemoveDirectoryA(viewerFile.c_str());
  for (const std::string& file : {record, fallback}) DeleteFileA(file.c_str());
}

}  // namespace

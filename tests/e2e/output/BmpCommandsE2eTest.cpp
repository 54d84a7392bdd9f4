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
  void ExpectMessage(const std::string& text) {
    const auto seen = AnswerDialog(program_->Id(), IDOK);
    EXPECT_EQ(seen.value_or(SeenDialog{}), (SeenDialog{"Vindelor", text, {"OK"}}));
  }
  // The file holds the captured window at 24 bits per pixel, with the pattern where its client
  // area lies in the window.
  void ExpectCapturedWindow(const std::string& path) {
    const RECT window = pattern_->WindowRect();
    const POINT client = pattern_->ClientOffset();
    Picture file;
    ASSERT_TRUE(WaitUntil([&] { return (file = BmpPicture(ReadWholeFile(path))).width > 0; }))
        << path;
    EXPECT_EQ(std::pair(LONG{file.width}, LONG{file.height}),
              std::pair(window.right - window.left, window.bottom - window.top));
    EXPECT_EQ(PartOf(file, {client.x, client.y, client.x + 100, client.y + 80}),
              pattern_->Pixels({0, 0, 100, 80}, 24));
  }
};

// "Vindelor20" is proposed first, then the full name last chosen, so that "Save" at once writes
// the same file again. Cancelling writes nothing. A folder gone while the dialog was open, or a
// full disk: the message, no file, and the options dialog still usable and armed afterwards.
TEST_F(BmpCommands, SaveAsBmpWritesTheCaptureProposesTheLastNameAndSaysWhenItFails) {
  const std::string path = TemporaryFolder() + "vindelor-e2e-save.bmp";
  const std::string gone = TemporaryFolder() + "vindelor-gone";
  const std::tuple<const char*, std::string, WPARAM> rounds[] = {
      // proposed (null: not looked
      {"Vindelor20", path.substr(0, path.size() - 4), IDOK},  // at), typed, button; the
      {"vindelor-e2e-save.bmp", "", IDOK},                    // dialog adds ".bmp"
      {"vindelor-e2e-save.bmp", "", IDCANCEL},
      {nullptr, gone + "\\capture.bmp", IDOK},
      {nullptr, FolderWithFullDiskFile("full.bmp") + "\\full.bmp", IDOK},
  };
  for (const auto& [proposed, typed, button] : rounds) {
    DeleteFileA(path.c_str());
    CreateDirectoryA(gone.c_str(), nullptr);
    program_->Click("Save as BMP");
    HWND dialog = program_->WaitForDialog(" Save the Image as Windows Bitmap");
    HWND name = SaveDialogNameField(dialog);
    EXPECT_TRUE(!proposed || lstrcmpiA(WindowText(name).c_str(), proposed) == 0);
    if (!typed.empty()) SetWindowTextA(name, typed.c_str());
    RemoveDirectoryA(gone.c_str());
    PostMessageA(dialog, WM_COMMAND, button, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsShown(dialog); }));
    if (proposed && button == IDOK) ExpectCapturedWindow(path);
    if (proposed) continue;
    ExpectMessage("Saving Bitmap failed !");
    EXPECT_EQ(GetFileAttributesA(typed.c_str()), INVALID_FILE_ATTRIBUTES) << typed;
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
    PumpMessagesFor(500ms);  // time for a message
    EXPECT_TRUE(program_->ShowsNoDialog()) << "no message";
  }
  RemoveDirectoryA(viewerFile.c_str());
  for (const std::string& file : {record, fallback}) DeleteFileA(file.c_str());
}

}  // namespace

// The real Vindelor.exe as a process of its own, started from the driver's folder, and the
// gestures a user makes on it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "tests/support/Pictures.h"
#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace testing_support {

[[nodiscard]] std::string DriverFolder();  // with its trailing backslash, UTF-8
[[nodiscard]] inline bool IsShown(HWND window) { return window && IsWindowVisible(window); }

class VindelorProcess {
 public:
  // The exe beside the driver, or the one at `program` (a UTF-8 path).
  explicit VindelorProcess(const std::string& program = {});
  ~VindelorProcess();  // ends the process if it still runs
  [[nodiscard]] DWORD Id() const noexcept { return id_; }
  [[nodiscard]] bool Running() const;
  std::optional<DWORD> WaitForExit();  // the exit code; none if it did not end in time

  [[nodiscard]] HWND CreditsForm() const;  // null while it does not exist
  [[nodiscard]] HWND OptionsDialog() const { return Form("Vindelor V2.0"); }
  [[nodiscard]] HWND SelectionOverlay() const { return Form("Vindelor®V2.0"); }
  // A message box or common dialog of the program once shown (any title when none is given).
  [[nodiscard]] HWND WaitForDialog(std::optional<std::string> title = {}) const;
  [[nodiscard]] bool ShowsNoDialog() const;  // no message box or common dialog is up
  HWND WaitForSplash();                      // the credits form, once shown
  // And waits until the program is resident: within `bound` of the press, so that an ignored key
  // shows when the bound is shorter than the splash's ticks.
  void EndSplashWithKeyPress(WORD key = 'A', std::chrono::milliseconds bound = kDefaultTimeout);
  void CloseMainForm() const { PostMessageA(CreditsForm(), WM_CLOSE, 0, 0); }
  // Waits until neither the splash nor the dialog shows and the program answers a message, then
  // presses the hotkey once: the dialog must show. (A press made while the program still
  // drains the key, before it arms the hotkeys, is rightly ignored.)
  [[nodiscard]] bool CaptureWithHotkey(bool alt = false);
  [[nodiscard]] bool CaptureWindow(HWND window);  // Alt+Print Screen with it in the foreground
  void CancelDialog();                            // Escape, then waits until the dialog has gone
  // Runs the action that prints (a press, "Print") and waits for one more page of the queue and
  // for the dialog to be hidden: the new page file, or empty (and a failure) when none came.
  std::string PrintPage(const std::function<void()>& print, const std::string& queue = "VindelorA",
                        std::chrono::milliseconds timeout = kDefaultTimeout) const;

  // The dialog's controls by caption. Click posts a click (a print runs inside it); Press runs a
  // push button's command as its click does; SetBox clicks a box until it has the state.
  void Click(const std::string& caption) const;
  void Press(const std::string& caption) const;
  [[nodiscard]] bool IsChecked(const std::string& caption) const;
  [[nodiscard]] HWND PrinterList() const;  // the dialog's combo box
  // The caption of the dialog's control that has the keyboard (a combo box's for its field).
  [[nodiscard]] std::string FocusedControl() const;
  void SetBox(const std::string& caption, bool checked) const;

 private:
  [[nodiscard]] HWND Form(const std::string& title) const;
  tk::UniqueKernelHandle process_;
  DWORD id_ = 0;
};

// Bitmaps open with the command (UTF-8) while the object lives. Wine's HKEY_CLASSES_ROOT is the
// machine's Software\Classes, which in the test prefix has no bitmap program of its own.
struct BmpAssociation {
  explicit BmpAssociation(const std::string& command);
  BmpAssociation(const BmpAssociation&) = delete;
  BmpAssociation& operator=(const BmpAssociation&) = delete;
  ~BmpAssociation();
};

void EndAllVindelorProcesses();

// Each test starts and ends with no Vindelor running and no stored settings.
class VindelorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override { VindelorTest::SetUp(); }  // not a subclass's SetUp
};

// A resident program and a pattern window for it to capture.
class ResidentTest : public VindelorTest {
 protected:
  explicit ResidentTest(RECT pattern) : bounds_(pattern) {}
  void SetUp() override {
    VindelorTest::SetUp();
    program_.emplace();
    program_->EndSplashWithKeyPress();
    pattern_.emplace(bounds_);
  }
  void TearDown() override {
    program_.reset();
    VindelorTest::TearDown();
  }
  void CaptureThePattern() { ASSERT_TRUE(program_->CaptureWindow(pattern_->Handle())); }

  RECT bounds_;
  std::optional<VindelorProcess> program_;
  std::optional<PatternWindow> pattern_;
};

}  // namespace testing_support

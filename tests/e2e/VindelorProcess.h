// The real Vindelor.exe as a process of its own, started from the driver's folder, and the
// gestures a user makes on it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <optional>
#include <string>

#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace testing_support {

class VindelorProcess {
 public:
  VindelorProcess();
  VindelorProcess(const VindelorProcess&) = delete;
  VindelorProcess& operator=(const VindelorProcess&) = delete;
  ~VindelorProcess();  // ends the process if it still runs

  [[nodiscard]] DWORD Id() const noexcept { return processId_; }
  [[nodiscard]] bool Running() const;
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout);

  [[nodiscard]] HWND CreditsForm() const;  // null while it does not exist
  [[nodiscard]] HWND OptionsDialog() const;
  HWND WaitForSplash();  // the credits form, once shown
  void EndSplashWithKeyPress();  // and waits until the program is resident
  void CloseMainForm();
  // Presses the hotkey until the dialog shows: right after the splash the program still drains
  // the key before it arms the hotkeys, and a press in that moment is, rightly, ignored.
  [[nodiscard]] bool CaptureWithHotkey(bool alt = false);
  // Alt+Print Screen with the window in the foreground.
  [[nodiscard]] bool CaptureWindow(HWND window);
  void CancelDialog();  // Escape, then waits until the dialog has gone

  // The dialog's controls by caption. Click posts a click (a print runs inside it); Press runs a
  // push button's command as its click does; SetBox clicks a box until it has the state.
  [[nodiscard]] HWND Control(const std::string& caption) const;
  void Click(const std::string& caption) const;
  void Press(const std::string& caption) const;
  void SetBox(const std::string& caption, bool checked) const;
  [[nodiscard]] bool IsChecked(const std::string& caption) const;

 private:
  tk::UniqueKernelHandle process_;
  DWORD processId_ = 0;
};

void EndAllVindelorProcesses();
[[nodiscard]] bool IsShown(HWND window);

// Each test starts and ends with no Vindelor running and no stored settings.
class VindelorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace testing_support

// The real Vindelor.exe as a process of its own, started from the same folder as the driver,
// with ways to find its windows and to end it.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <optional>
#include <string>

#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace testing_support {

class VindelorProcess {
 public:
  VindelorProcess();  // starts Vindelor.exe
  VindelorProcess(const VindelorProcess&) = delete;
  VindelorProcess& operator=(const VindelorProcess&) = delete;
  ~VindelorProcess();  // ends the process if it still runs

  [[nodiscard]] DWORD Id() const noexcept { return processId_; }
  [[nodiscard]] bool Running() const;
  // Waits for the process to end; the exit code, or nothing when it did not end in time.
  std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kDefaultTimeout);

  // The three forms, found by class and caption; null while they do not exist.
  [[nodiscard]] HWND CreditsForm() const;
  [[nodiscard]] HWND OptionsDialog() const;

  // Waits until the credits form exists and is shown (the splash runs).
  HWND WaitForSplash();
  // Ends the splash with a key press and waits until the program is resident.
  void EndSplashWithKeyPress();
  // The orderly way out: closes the main form.
  void CloseMainForm();
  // Presses Print Screen (or Alt+Print Screen) until the options dialog shows. Right after the
  // splash the program still drains the key before it arms the hotkeys, and a press in that
  // moment is, rightly, ignored.
  [[nodiscard]] bool CaptureWithHotkey(bool alt = false);

 private:
  tk::UniqueKernelHandle process_;
  DWORD processId_ = 0;
};

// Ends every Vindelor.exe of this Wine prefix, so that each test starts alone.
void EndAllVindelorProcesses();

[[nodiscard]] bool IsShown(HWND window);

// Every test starts from the same state: no Vindelor running and no stored settings (the next
// start is a first run); it leaves the same state behind.
class VindelorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

}  // namespace testing_support

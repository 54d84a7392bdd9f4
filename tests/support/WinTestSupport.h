// What the Windows test tiers share: waits, windows, input through SendInput (which reaches
// Wine's hotkeys without any X focus), message boxes, the tray icon and GUI object counts.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "toolkit/Handles.h"

namespace testing_support {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
inline constexpr std::chrono::milliseconds kDefaultTimeout = 20s;  // Wine can be slow when loaded

// Polls until the condition holds or the time is up, dispatching this thread's messages (through
// the pump set while it answers true). Returns the last answer.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kDefaultTimeout);
void PumpMessagesFor(std::chrono::milliseconds duration);
void SetMessagePump(std::function<bool()> pump);
// Starts a command line. The process, or null (a test failure) when it cannot start.
tk::UniqueKernelHandle StartProcess(std::string commandLine, DWORD* id = nullptr);  // UTF-8

struct WindowQuery {
  std::string className;             // empty: any
  std::optional<std::string> title;  // exact; none: any
  DWORD processId = 0;               // 0: any
  bool visibleOnly = false;
};
[[nodiscard]] std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
[[nodiscard]] HWND WaitForWindow(const WindowQuery& query,
                                 std::chrono::milliseconds timeout = kDefaultTimeout);
// Texts of this side are UTF-8, as the program's are: windows are read and written in UTF-16, so
// that neither depends on the code page of the process.
[[nodiscard]] std::string Utf8(std::wstring_view text);
[[nodiscard]] std::wstring Wide(std::string_view utf8);
[[nodiscard]] std::string WindowText(HWND window);
[[nodiscard]] std::string TemporaryFolder();  // with its trailing backslash
void WriteWindowText(HWND window, std::string_view utf8);
[[nodiscard]] std::vector<HWND> Children(HWND parent);  // at any depth
[[nodiscard]] std::string ClassNameOf(HWND window);
[[nodiscard]] HWND ChildWithText(HWND parent, const std::string& text);  // at any depth
[[nodiscard]] HWND SaveDialogNameField(HWND dialog);  // edt1, or cmb13 where it is a combo box

void SetKeyDown(WORD virtualKey, bool down);
void PressKey(WORD virtualKey);
void PressPrintScreen();
void PressAltPrintScreen();
struct HeldKey {  // down for a scope, released however the scope ends
  explicit HeldKey(WORD virtualKey) : key(virtualKey) { SetKeyDown(key, true); }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;
  ~HeldKey() { SetKeyDown(key, false); }
  WORD key;
};
// The monitors, the primary one first, and the virtual screen that holds them all.
[[nodiscard]] std::vector<RECT> Monitors();
[[nodiscard]] RECT VirtualScreen();

bool MoveMouseTo(int x, int y);  // false when the pointer did not land exactly there
void SetMouseButton(bool right, bool down);

// A message box or dialog (class "#32770") as it appeared.
struct SeenDialog {
  std::string caption, text;
  Strings buttons;
  bool operator==(const SeenDialog&) const = default;
  friend void PrintTo(const SeenDialog& seen, std::ostream* out) {
    *out << '"' << seen.caption << ": " << seen.text << '"';
  }
};
// Waits for a dialog of the process (0: any), reads it and presses the button (IDOK, IDYES, …).
std::optional<SeenDialog> AnswerDialog(DWORD processId, int buttonId,
                                       std::chrono::milliseconds timeout = kDefaultTimeout);
// Answers this process's dialogs from a second thread while the test's thread sits in their
// modal loops, and records "caption: text" of each.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(int buttonId = IDOK);
  [[nodiscard]] Strings Texts() const;

 private:
  mutable std::mutex mutex_;
  Strings seen_;
  std::jthread thread_;  // last: it stops and joins before the rest goes
};

// The icon in Wine's tray, clicked with SendInput; its menu is chosen with Down and Enter.
[[nodiscard]] HWND TrayIcon();           // the one icon; null for none or several
bool ClickTrayIcon(bool right = false);  // false when the icon is missing or covered
bool ChooseFromTrayMenu(int item);       // 1 is the first item; the separator does not count
[[nodiscard]] std::string TrayTip();     // rests the mouse on the icon and reads the tooltip

// What a process holds, to prove that a cycle of work gives back what it took.
struct ObjectCounts {
  long gdi = 0, windows = 0, handles = 0;
  bool operator==(const ObjectCounts&) const = default;
};
[[nodiscard]] ObjectCounts CountObjectsOf(DWORD processId = GetCurrentProcessId());

}  // namespace testing_support

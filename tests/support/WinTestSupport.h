// Helpers shared by the Windows test tiers: waiting on conditions, finding windows, input through
// SendInput (which reaches Wine's hotkeys without any X focus), and answering message boxes.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

using namespace std::chrono_literals;
using Strings = std::vector<std::string>;
inline constexpr std::chrono::milliseconds kDefaultTimeout = 20s;  // Wine can be slow when loaded

// Polls until the condition holds or the time is up, dispatching this thread's messages meanwhile
// (through the pump installed with SetMessagePump while it answers true). Returns the last answer.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kDefaultTimeout);
void PumpMessagesFor(std::chrono::milliseconds duration);
void SetMessagePump(std::function<bool()> pump);

struct WindowQuery {
  std::string className;             // empty: any
  std::optional<std::string> title;  // exact; none: any
  DWORD processId = 0;               // 0: any
  bool visibleOnly = false;
};
[[nodiscard]] std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
[[nodiscard]] HWND WaitForWindow(const WindowQuery& query,
                                 std::chrono::milliseconds timeout = kDefaultTimeout);
[[nodiscard]] std::string WindowText(HWND window);
[[nodiscard]] HWND ChildWithText(HWND parent, const std::string& text);  // at any depth
[[nodiscard]] HWND SaveDialogNameField(HWND dialog);  // edt1, or cmb13 where it is a combo box

void SetKeyDown(WORD virtualKey, bool down);
void PressKey(WORD virtualKey);
void PressPrintScreen();
void PressAltPrintScreen();
// A key held down for a scope, released however the scope ends.
struct HeldKey {
  explicit HeldKey(WORD virtualKey) : key(virtualKey) { SetKeyDown(key, true); }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;
  ~HeldKey() { SetKeyDown(key, false); }
  WORD key;
};
bool MoveMouseTo(int x, int y);  // false when the pointer did not land exactly there
void SetMouseButton(bool right, bool down);
// A press and release of a mouse button over a control, as its window receives them.
void ReleaseMouseOver(HWND control, bool right = false);

// A message box or dialog (class "#32770") as it appeared.
struct SeenDialog {
  RECT bounds{};
  std::string caption, text;
  std::vector<std::string> buttons;
};
// Waits for a dialog of the process (0: any), reads it and presses the button (IDOK, IDYES, …).
std::optional<SeenDialog> AnswerDialog(DWORD processId, int buttonId,
                                       std::chrono::milliseconds timeout = kDefaultTimeout);
// Answers this process's dialogs from a second thread while the test's thread sits in their
// modal loops, and records each.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(int buttonId = IDOK);
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  ~DialogAnswerer();
  [[nodiscard]] std::vector<SeenDialog> Seen() const;
  [[nodiscard]] Strings Texts() const;  // "caption: text" of each

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace testing_support

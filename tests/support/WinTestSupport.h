// Helpers shared by the Windows test tiers: waiting on conditions, finding windows, pressing
// keys through SendInput, and answering message boxes.
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

// Generous by default: Wine and Xvfb can be slow on a loaded machine.
inline constexpr std::chrono::milliseconds kDefaultTimeout = 20s;

// Polls the condition until it holds or the time is up. While waiting, this thread's messages
// keep being dispatched (so in-process forms stay alive). Returns the condition's last answer.
bool WaitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = kDefaultTimeout);

// Dispatches this thread's pending messages for about the given time.
void PumpMessagesFor(std::chrono::milliseconds duration);

// Replaces the plain Peek/Dispatch loop while the pump answers true (in-process tests dispatch
// through the program's own loop, with its dialog keys).
void SetMessagePump(std::function<bool()> pump);

struct WindowQuery {
  std::string className;          // empty: any
  std::optional<std::string> title;  // exact title; empty optional: any
  DWORD processId = 0;            // 0: any process
  bool visibleOnly = false;
};
[[nodiscard]] std::vector<HWND> FindTopLevelWindows(const WindowQuery& query);
[[nodiscard]] HWND WaitForWindow(const WindowQuery& query,
                                 std::chrono::milliseconds timeout = kDefaultTimeout);

[[nodiscard]] std::string WindowText(HWND window);
[[nodiscard]] std::string ClassNameOf(HWND window);
// The first window among the parent's children (at any depth) with this text; null if none.
[[nodiscard]] HWND ChildWithText(HWND parent, const std::string& text);

// Key presses through SendInput, which reach Wine's hotkey handling without any X focus.
void PressPrintScreen();
void PressAltPrintScreen();
void PressKey(WORD virtualKey);
void SetKeyDown(WORD virtualKey, bool down);
// A key held down for a scope, released however the scope ends.
class HeldKey {
 public:
  explicit HeldKey(WORD virtualKey) : key_(virtualKey) { SetKeyDown(key_, true); }
  HeldKey(const HeldKey&) = delete;
  HeldKey& operator=(const HeldKey&) = delete;
  ~HeldKey() { SetKeyDown(key_, false); }

 private:
  WORD key_;
};
// Mouse input through SendInput: a move to a screen pixel (false when the pointer did not land
// exactly there) and a button going down or up.
bool MoveMouseTo(int x, int y);
void SetMouseButton(bool right, bool down);

// The name field of a common save dialog: edt1, or cmb13 where the name is a combo box.
[[nodiscard]] HWND SaveDialogNameField(HWND dialog);

// A message box or message dialog (class "#32770") that appeared, with its texts.
struct SeenDialog {
  RECT bounds{};
  std::string caption;
  std::string text;
  std::vector<std::string> buttons;
};

// Waits for a dialog of the given process (0: any), reads it and presses the button with the
// given command id (IDOK, IDYES, IDNO, …).
std::optional<SeenDialog> AnswerDialog(DWORD processId, int buttonId,
                                       std::chrono::milliseconds timeout = kDefaultTimeout);

// Answers message boxes from a second thread while the test's thread sits in the box's modal
// loop. Every dialog seen is recorded.
class DialogAnswerer {
 public:
  explicit DialogAnswerer(int buttonId = IDOK);
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;
  ~DialogAnswerer();
  [[nodiscard]] std::vector<SeenDialog> Seen() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace testing_support

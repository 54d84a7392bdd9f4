#include "tests/support/WinTestSupport.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace testing_support {
namespace {

std::function<bool()>& MessagePump() {
  static std::function<bool()> pump;
  return pump;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&children));
  return children;
}

std::string ClassNameOf(HWND window) {
  char name[256]{};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

SeenDialog ReadDialog(HWND dialog) {
  SeenDialog seen{.caption = WindowText(dialog)};
  GetWindowRect(dialog, &seen.bounds);
  for (HWND child : Children(dialog)) {
    const std::string className = ClassNameOf(child), text = WindowText(child);
    if (className == "Button") seen.buttons.push_back(text);
    if (className == "Static" && !text.empty()) seen.text += (seen.text.empty() ? "" : "\n") + text;
  }
  return seen;
}

bool Same(const SeenDialog& a, const SeenDialog& b) {
  return EqualRect(&a.bounds, &b.bounds) && a.caption == b.caption && a.text == b.text &&
         a.buttons == b.buttons;
}

// Finds a dialog and answers it once it reads the same twice in a row with its buttons in place
// (one being set up or on its way out is read again), records it first, and waits until it has
// gone so that the next answer does not see it again.
std::optional<SeenDialog> AnswerOne(DWORD processId, int buttonId, std::chrono::milliseconds timeout,
                                    const std::function<void(const SeenDialog&)>& record) {
  HWND dialog = nullptr;
  std::optional<SeenDialog> previous;
  SeenDialog seen;
  for (auto end = std::chrono::steady_clock::now() + timeout;; Sleep(20)) {
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    const auto found = FindTopLevelWindows({.className = "#32770", .processId = processId,
                                            .visibleOnly = true});
    if (found.empty()) continue;
    if (!dialog) end = std::chrono::steady_clock::now() + kDefaultTimeout;
    seen = ReadDialog(found.front());
    if (found.front() == dialog && previous && Same(*previous, seen) && !seen.buttons.empty()) break;
    dialog = found.front();
    previous = seen;
  }
  if (record) record(seen);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  for (auto end = std::chrono::steady_clock::now() + kDefaultTimeout;
       IsWindowVisible(dialog) && std::chrono::steady_clock::now() < end;) {
    Sleep(20);
  }
  return seen;
}

}  // namespace

void SetMessagePump(std::function<bool()> pump) { MessagePump() = std::move(pump); }

void PumpMessagesFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    if (!MessagePump() || !MessagePump()()) {
      for (MSG message{}; PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE);) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  for (auto end = std::chrono::steady_clock::now() + timeout; !condition(); PumpMessagesFor(20ms)) {
    if (std::chrono::steady_clock::now() >= end) return condition();
  }
  return true;
}

std::string WindowText(HWND window) {
  char text[1024]{};  // WM_GETTEXT works across processes for every window class
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
  std::vector<HWND> all, found;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if ((query.processId && process != query.processId) ||
        (query.visibleOnly && !IsWindowVisible(window)) ||
        (!query.className.empty() && ClassNameOf(window) != query.className) ||
        (query.title && WindowText(window) != *query.title)) {
      continue;
    }
    found.push_back(window);
  }
  return found;
}

HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil([&] {
    const auto windows = FindTopLevelWindows(query);
    return (found = windows.empty() ? nullptr : windows.front()) != nullptr;
  }, timeout);
  return found;
}

HWND ChildWithText(HWND parent, const std::string& text) {
  for (HWND child : Children(parent)) {
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

HWND SaveDialogNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, 0x480);
  return field ? field : GetDlgItem(dialog, 0x47C);
}

void SetKeyDown(WORD virtualKey, bool down) {
  INPUT input{.type = INPUT_KEYBOARD};
  input.ki = {.wVk = virtualKey, .wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)),
              .dwFlags = down ? 0u : KEYEVENTF_KEYUP};
  SendInput(1, &input, sizeof(input));
}

void PressKey(WORD virtualKey) {
  SetKeyDown(virtualKey, true);
  SetKeyDown(virtualKey, false);
}

void PressPrintScreen() { PressKey(VK_SNAPSHOT); }

void PressAltPrintScreen() {
  HeldKey alt(VK_MENU);
  PressKey(VK_SNAPSHOT);
}

bool MoveMouseTo(int x, int y) {
  // Absolute coordinates run from 0 to 65535 over the screen; rounded up, they land on the pixel.
  auto scaled = [](int pixel, int screen) { return (pixel * 65536L + screen - 1) / screen; };
  INPUT input{.type = INPUT_MOUSE};
  input.mi = {.dx = scaled(x, GetSystemMetrics(SM_CXSCREEN)),
              .dy = scaled(y, GetSystemMetrics(SM_CYSCREEN)),
              .dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE};
  // Wine's X11 side can report an older pointer position in between: move again until it stays.
  return WaitUntil([&] {
    POINT at{};
    SendInput(1, &input, sizeof(input));
    PumpMessagesFor(10ms);
    return GetCursorPos(&at) && at.x == x && at.y == y;
  }, 2s);
}

void SetMouseButton(bool right, bool down) {
  INPUT input{.type = INPUT_MOUSE};
  input.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                           : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  SendInput(1, &input, sizeof(input));
}

void ReleaseMouseOver(HWND control, bool right) {
  SendMessageA(control, right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, right ? MK_RBUTTON : MK_LBUTTON,
               MAKELPARAM(5, 5));
  SendMessageA(control, right ? WM_RBUTTONUP : WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
}

std::optional<SeenDialog> AnswerDialog(DWORD processId, int buttonId,
                                       std::chrono::milliseconds timeout) {
  return AnswerOne(processId, buttonId, timeout, {});
}

struct DialogAnswerer::State {
  std::atomic<bool> stop{false};
  mutable std::mutex mutex;
  std::vector<SeenDialog> seen;
  std::thread thread;
};

DialogAnswerer::DialogAnswerer(int buttonId) : state_(std::make_unique<State>()) {
  state_->thread = std::thread([state = state_.get(), buttonId] {
    while (!state->stop) {
      // Recorded before the answer, so the answered thread always finds it in Seen().
      AnswerOne(GetCurrentProcessId(), buttonId, 50ms, [state](const SeenDialog& seen) {
        std::lock_guard lock(state->mutex);
        state->seen.push_back(seen);
      });
    }
  });
}

DialogAnswerer::~DialogAnswerer() {
  state_->stop = true;
  state_->thread.join();
}

std::vector<SeenDialog> DialogAnswerer::Seen() const {
  std::lock_guard lock(state_->mutex);
  return state_->seen;
}

Strings DialogAnswerer::Texts() const {
  Strings texts;
  for (const SeenDialog& seen : Seen()) texts.push_back(seen.caption + ": " + seen.text);
  return texts;
}

}  // namespace testing_support

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
}  // namespace

void SetMessagePump(std::function<bool()> pump) { MessagePump() = std::move(pump); }

void PumpMessagesFor(std::chrono::milliseconds duration) {
  auto end = std::chrono::steady_clock::now() + duration;
  do {
    if (!MessagePump() || !MessagePump()()) {
      MSG message{};
      while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
      }
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  } while (std::chrono::steady_clock::now() < end);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  auto end = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= end) return condition();
    PumpMessagesFor(20ms);
  }
}

std::string WindowText(HWND window) {
  char text[1024]{};
  // WM_GETTEXT works across processes for every window class.
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return text;
}

std::string ClassNameOf(HWND window) {
  char name[256]{};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

namespace {
struct EnumContext {
  const WindowQuery* query;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectMatching(HWND window, LPARAM context) {
  auto* ctx = reinterpret_cast<EnumContext*>(context);
  const WindowQuery& q = *ctx->query;
  if (q.processId) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process != q.processId) return TRUE;
  }
  if (q.visibleOnly && !IsWindowVisible(window)) return TRUE;
  if (!q.className.empty() && ClassNameOf(window) != q.className) return TRUE;
  if (q.title && WindowText(window) != *q.title) return TRUE;
  ctx->found->push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
  std::vector<HWND> found;
  EnumContext context{&query, &found};
  EnumWindows(&CollectMatching, reinterpret_cast<LPARAM>(&context));
  return found;
}

HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout) {
  HWND found = nullptr;
  WaitUntil(
      [&] {
        auto windows = FindTopLevelWindows(query);
        found = windows.empty() ? nullptr : windows.front();
        return found != nullptr;
      },
      timeout);
  return found;
}

void SetKeyDown(WORD virtualKey, bool down) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC));
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof(input));
}

void PressKey(WORD virtualKey) {
  SetKeyDown(virtualKey, true);
  SetKeyDown(virtualKey, false);
}

bool MoveMouseTo(int x, int y) {
  // Absolute coordinates run from 0 to 65535 over the screen; rounded up, they land on the pixel.
  auto scaled = [](int pixel, int screen) { return (pixel * 65536L + screen - 1) / screen; };
  INPUT input{.type = INPUT_MOUSE};
  input.mi.dx = scaled(x, GetSystemMetrics(SM_CXSCREEN));
  input.mi.dy = scaled(y, GetSystemMetrics(SM_CYSCREEN));
  input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
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

void PressPrintScreen() { PressKey(VK_SNAPSHOT); }

void PressAltPrintScreen() {
  SetKeyDown(VK_MENU, true);
  PressKey(VK_SNAPSHOT);
  SetKeyDown(VK_MENU, false);
}

namespace {

BOOL CALLBACK CollectChildren(HWND child, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
  return TRUE;
}

}  // namespace

HWND SaveDialogNameField(HWND dialog) {
  HWND field = GetDlgItem(dialog, 0x480);
  return field ? field : GetDlgItem(dialog, 0x47C);
}

HWND ChildWithText(HWND parent, const std::string& text) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &CollectChildren, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    if (WindowText(child) == text) return child;
  }
  return nullptr;
}

namespace {

SeenDialog ReadDialog(HWND dialog) {
  SeenDialog seen;
  GetWindowRect(dialog, &seen.bounds);
  seen.caption = WindowText(dialog);
  std::vector<HWND> children;
  EnumChildWindows(dialog, &CollectChildren, reinterpret_cast<LPARAM>(&children));
  for (HWND child : children) {
    std::string className = ClassNameOf(child);
    std::string text = WindowText(child);
    if (className == "Button") {
      seen.buttons.push_back(text);
    } else if (className == "Static" && !text.empty()) {
      seen.text += seen.text.empty() ? text : "\n" + text;
    }
  }
  return seen;
}

bool SameDialog(const SeenDialog& a, const SeenDialog& b) {
  return EqualRect(&a.bounds, &b.bounds) && a.caption == b.caption && a.text == b.text &&
         a.buttons == b.buttons;
}

HWND FindDialog(DWORD processId) {
  auto dialogs = FindTopLevelWindows({.className = "#32770", .processId = processId,
                                      .visibleOnly = true});
  return dialogs.empty() ? nullptr : dialogs.front();
}

}  // namespace

namespace {

// Finds a dialog, reads it, lets `seen` record it, then presses the button and waits until the
// dialog is gone, so that the next answer does not see it again.
std::optional<SeenDialog> AnswerOne(DWORD processId, int buttonId,
                                    std::chrono::milliseconds timeout,
                                    const std::function<void(const SeenDialog&)>& record) {
  // A dialog counts once it reads the same twice in a row with its buttons in place and is
  // still shown: one still being set up, or one on its way out, is read again. The timeout
  // bounds the search; a dialog once found has the usual time to settle.
  HWND dialog = nullptr;
  SeenDialog seen;
  auto end = std::chrono::steady_clock::now() + timeout;
  for (std::optional<SeenDialog> previous;; Sleep(20)) {
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    HWND found = FindDialog(processId);
    if (!found) continue;
    if (!dialog) end = std::chrono::steady_clock::now() + kDefaultTimeout;
    seen = ReadDialog(found);
    const bool settled = found == dialog && previous && SameDialog(*previous, seen) &&
                         !seen.buttons.empty() && IsWindowVisible(found);
    if (settled) break;
    dialog = found;
    previous = seen;
  }
  if (record) record(seen);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
  auto gone = std::chrono::steady_clock::now() + kDefaultTimeout;
  while (IsWindow(dialog) && IsWindowVisible(dialog) && std::chrono::steady_clock::now() < gone) {
    Sleep(20);
  }
  return seen;
}

}  // namespace

std::optional<SeenDialog> AnswerDialog(DWORD processId, int buttonId,
                                       std::chrono::milliseconds timeout) {
  return AnswerOne(processId, buttonId, timeout, {});
}

struct DialogAnswerer::State {
  int buttonId;
  std::atomic<bool> stop{false};
  mutable std::mutex mutex;
  std::vector<SeenDialog> seen;
  std::thread thread;
};

DialogAnswerer::DialogAnswerer(int buttonId) : state_(std::make_unique<State>()) {
  state_->buttonId = buttonId;
  state_->thread = std::thread([state = state_.get()] {
    while (!state->stop) {
      // Recorded before the answer, so the answered thread always finds it in Seen().
      AnswerOne(GetCurrentProcessId(), state->buttonId, 50ms, [state](const SeenDialog& seen) {
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

}  // namespace testing_support

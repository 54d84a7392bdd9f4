#include "tests/support/WinTestSupport.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

#include "toolkit/Handles.h"

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

SeenDialog ReadDialog(HWND dialog) {
  SeenDialog seen{.caption = WindowText(dialog)};
  for (HWND child : Children(dialog)) {
    const std::string className = ClassNameOf(child), text = WindowText(child);
    if (className == "Button") seen.buttons.push_back(text);
    if (className == "Static" && !text.empty()) seen.text += (seen.text.empty() ? "" : "\n") + text;
  }
  return seen;
}

// Answers a dialog once it reads the same twice in a row with its buttons in place (one being
// set up or on its way out is read again), records it first, and waits until it has gone. Once
// a dialog has appeared, it has the usual time to settle. Sleeps rather than pumps: it also
// runs on a thread of its own.
std::optional<SeenDialog> AnswerOne(DWORD processId, int buttonId,
                                    std::chrono::milliseconds timeout,
                                    const std::function<void(const SeenDialog&)>& record) {
  const WindowQuery query{.className = "#32770", .processId = processId, .visibleOnly = true};
  auto end = std::chrono::steady_clock::now() + timeout;
  for (bool appeared = false;; Sleep(20)) {
    const auto found = FindTopLevelWindows(query);
    if (!found.empty() && !std::exchange(appeared, true)) {
      end = std::chrono::steady_clock::now() + kDefaultTimeout;
    }
    if (std::chrono::steady_clock::now() >= end) return std::nullopt;
    if (found.empty()) continue;
    const SeenDialog seen = ReadDialog(found.front());
    Sleep(20);
    if (seen.buttons.empty() || ReadDialog(found.front()) != seen) continue;
    if (record) record(seen);
    PostMessageA(found.front(), WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), 0);
    for (int i = 0; i < 1000 && IsWindowVisible(found.front()); ++i) Sleep(20);
    return seen;
  }
}

// Puts the mouse on the icon's centre, which nothing may cover: Wine's tray window is not always
// on top.
bool PointAtIcon() {
  POINT centre{};
  return WaitUntil([&] {
           RECT rect{};
           GetWindowRect(TrayIcon(), &rect);
           centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
           return TrayIcon() && WindowFromPoint(centre) == TrayIcon();
         }) &&
         SetCursorPos(centre.x, centre.y);
}

bool MenuShown() {
  return !FindTopLevelWindows({.className = "#32768", .visibleOnly = true}).empty();
}

}  // namespace

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

std::string Utf8(std::wstring_view text) {
  const auto length = static_cast<int>(text.size());
  std::string utf8(static_cast<std::size_t>(length) * 3, '\0');
  utf8.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_UTF8, 0, text.data(), length, utf8.data(),
                          static_cast<int>(utf8.size()), nullptr, nullptr)));
  return utf8;
}

std::wstring Wide(std::string_view utf8) {
  const auto length = static_cast<int>(utf8.size());
  std::wstring text(utf8.size(), L'\0');
  text.resize(static_cast<std::size_t>(
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), length, text.data(), length)));
  return text;
}

// A command line of ASCII goes through CreateProcessA: for a Unix program, Wine's
// CreateProcessW at times keeps one more of the caller's handles for a while, which the tests
// that count handles would take for a leak. Wine rarely answers ERROR_INTERNAL_ERROR: the new
// process ended before its start-up was done, none of it ran, so it is started again.
tk::UniqueKernelHandle StartProcess(std::string commandLine, DWORD* id) {
  const bool ascii = std::ranges::all_of(commandLine, [](char c) { return (c & 0x80) == 0; });
  std::wstring wide = Wide(commandLine);
  STARTUPINFOA startupA{.cb = sizeof(STARTUPINFOA)};
  STARTUPINFOW startupW{.cb = sizeof(STARTUPINFOW)};
  PROCESS_INFORMATION info{};
  for (int attempt = 1; !(ascii ? CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr,
                                                 FALSE, 0, nullptr, nullptr, &startupA, &info)
                                : CreateProcessW(nullptr, wide.data(), nullptr, nullptr, FALSE, 0,
                                                 nullptr, nullptr, &startupW, &info));
       ++attempt) {
    if (GetLastError() != ERROR_INTERNAL_ERROR || attempt == 3) {
      ADD_FAILURE() << "cannot start " << commandLine << ": error " << GetLastError();
      return {};
    }
  }
  // A Unix program started through Wine comes back without a process, and the thread field then
  // holds no handle of ours: closing it would close whatever handle has that value (stdout).
  if (!info.hProcess) return {};
  const tk::UniqueKernelHandle thread{info.hThread};
  if (id) *id = info.dwProcessId;
  return tk::UniqueKernelHandle{info.hProcess};
}

void SetMessagePump(std::function<bool()> pump) { MessagePump() = std::move(pump); }

void PumpMessagesFor(std::chrono::milliseconds duration) {
  const auto end = std::chrono::steady_clock::now() + duration;
  do {
    MSG message{};
    while ((!MessagePump() || !MessagePump()()) &&
           PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
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

std::string TemporaryFolder() {
  wchar_t folder[MAX_PATH + 1]{};
  GetTempPathW(MAX_PATH, folder);
  return Utf8(folder);
}

std::string WindowText(HWND window) {
  wchar_t text[1024]{};  // WM_GETTEXT works across processes for every window class
  SendMessageTimeoutW(window, WM_GETTEXT, std::size(text), reinterpret_cast<LPARAM>(text),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
  return Utf8(text);
}

void WriteWindowText(HWND window, std::string_view utf8) {
  const std::wstring text = Wide(utf8);
  SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                      SMTO_ABORTIFHUNG, 5000, nullptr);
}

std::vector<HWND> FindTopLevelWindows(const WindowQuery& query) {
  std::vector<HWND> all, found;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if ((!query.processId || process == query.processId) &&
        (!query.visibleOnly || IsWindowVisible(window)) &&
        (query.className.empty() || ClassNameOf(window) == query.className) &&
        (!query.title || WindowText(window) == *query.title)) {
      found.push_back(window);
    }
  }
  return found;
}

HWND WaitForWindow(const WindowQuery& query, std::chrono::milliseconds timeout) {
  std::vector<HWND> found;
  WaitUntil([&] { return !(found = FindTopLevelWindows(query)).empty(); }, timeout);
  return found.empty() ? nullptr : found.front();
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
  input.ki = {.wVk = virtualKey,
              .wScan = static_cast<WORD>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)),
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

std::vector<RECT> Monitors() {
  std::vector<RECT> found;
  EnumDisplayMonitors(
      nullptr, nullptr,
      [](HMONITOR, HDC, LPRECT bounds, LPARAM list) {
        auto& monitors = *reinterpret_cast<std::vector<RECT>*>(list);
        const bool primary = bounds->left == 0 && bounds->top == 0;
        monitors.insert(primary ? monitors.begin() : monitors.end(), *bounds);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

RECT VirtualScreen() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
          top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

bool MoveMouseTo(int x, int y) {
  // Absolute coordinates run from 0 to 65535 over the virtual screen, every monitor; rounded up,
  // they land on the pixel.
  auto scaled = [](int pixel, int origin, int size) {
    return ((pixel - origin) * 65536L + size - 1) / size;
  };
  INPUT input{.type = INPUT_MOUSE};
  input.mi = {
      .dx = scaled(x, GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_CXVIRTUALSCREEN)),
      .dy = scaled(y, GetSystemMetrics(SM_YVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)),
      .dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK};
  // Wine's X11 side can report an older pointer position in between: move again until it stays.
  return WaitUntil(
      [&] {
        POINT at{};
        SendInput(1, &input, sizeof(input));
        PumpMessagesFor(10ms);
        return GetCursorPos(&at) && at.x == x && at.y == y;
      },
      2s);
}

void SetMouseButton(bool right, bool down) {
  INPUT input{.type = INPUT_MOUSE};
  input.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                           : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
  SendInput(1, &input, sizeof(input));
}

std::optional<SeenDialog> AnswerDialog(DWORD processId, int buttonId,
                                       std::chrono::milliseconds timeout) {
  return AnswerOne(processId, buttonId, timeout, {});
}

DialogAnswerer::DialogAnswerer(int buttonId)
    : thread_([this, buttonId](std::stop_token stop) {
        while (!stop.stop_requested()) {
          // Recorded before the answer, so the answered thread always finds it.
          AnswerOne(GetCurrentProcessId(), buttonId, 50ms, [this](const SeenDialog& seen) {
            std::lock_guard lock(mutex_);
            seen_.push_back(seen.caption + ": " + seen.text);
          });
        }
      }) {}

Strings DialogAnswerer::Texts() const {
  std::lock_guard lock(mutex_);
  return seen_;
}

HWND TrayIcon() {
  std::vector<HWND> icons;
  for (HWND tray : FindTopLevelWindows({.className = "__winex11_standalone_tray"})) {
    for (HWND icon = nullptr; (icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr));) {
      icons.push_back(icon);
    }
  }
  return icons.size() == 1 ? icons.front() : nullptr;
}

bool ClickTrayIcon(bool right) {
  // Clicks closer together than the double-click time would make a double click.
  static auto last = std::chrono::steady_clock::now() - 1h;
  const auto apart = last + 100ms + std::chrono::milliseconds(GetDoubleClickTime());
  WaitUntil([&] { return std::chrono::steady_clock::now() > apart; });
  if (!PointAtIcon()) return false;
  last = std::chrono::steady_clock::now();
  SetMouseButton(right, true);
  SetMouseButton(right, false);
  return true;
}

bool ChooseFromTrayMenu(int item) {
  if (!ClickTrayIcon(/*right=*/true) || !WaitUntil(&MenuShown)) return false;
  for (int i = 0; i < item; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  return WaitUntil([] { return !MenuShown(); });
}

std::string TrayTip() {
  HWND tip = PointAtIcon() ? WaitForWindow({.className = "tooltips_class32", .visibleOnly = true})
                           : nullptr;
  return tip ? WindowText(tip) : std::string();
}

// Wine's GetGuiResources and GetProcessHandleCount answer 0. There the GDI count comes from the
// handle table that the process environment block points to (x64 entries of 24 bytes, the type
// at byte 14), and the handle count from the system's handle list.
ObjectCounts CountObjectsOf(DWORD processId) {
  const tk::UniqueKernelHandle process{
      OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)};
  ObjectCounts counts{static_cast<long>(GetGuiResources(process.Get(), GR_GDIOBJECTS))};
  PROCESS_BASIC_INFORMATION basic{};
  std::uintptr_t table = 0;
  if (counts.gdi == 0 &&
      NtQueryInformationProcess(process.Get(), ProcessBasicInformation, &basic, sizeof(basic),
                                nullptr) == 0 &&
      ReadProcessMemory(process.Get(), reinterpret_cast<const char*>(basic.PebBaseAddress) + 0xF8,
                        &table, sizeof(table), nullptr)) {
    std::vector<unsigned char> entries(24 * 0x10000);
    if (ReadProcessMemory(process.Get(), reinterpret_cast<const void*>(table), entries.data(),
                          entries.size(), nullptr)) {
      for (std::size_t i = 0; i < 0x10000; ++i) counts.gdi += entries[24 * i + 14] != 0;
    }
  }
  for (HWND window : FindTopLevelWindows({.processId = processId})) {
    counts.windows += 1 + static_cast<long>(Children(window).size());
  }
  for (HWND window = nullptr; (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr));) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    counts.windows += owner == processId;
  }
  struct HandleEntry {
    ULONG ownerPid;
    BYTE type, flags;
    USHORT value;
    void* object;
    ACCESS_MASK access;
  };
  std::vector<std::uintptr_t> list(1 << 16);
  constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
  while (NtQuerySystemInformation(kSystemHandleInformation, list.data(),
                                  static_cast<ULONG>(list.size() * sizeof(list[0])),
                                  nullptr) == static_cast<NTSTATUS>(0xC0000004)) {
    list.resize(list.size() * 2);  // the list grew: a larger buffer
  }
  const auto* entry = reinterpret_cast<const HandleEntry*>(&list[1]);
  for (std::uintptr_t i = 0; i < list[0]; ++i) counts.handles += entry[i].ownerPid == processId;
  return counts;
}

}  // namespace testing_support

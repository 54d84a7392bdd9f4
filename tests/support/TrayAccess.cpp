#include "tests/support/TrayAccess.h"

#include <vector>

#include "tests/support/WinTestSupport.h"

namespace testing_support {

HWND TrayIcon() {
  std::vector<HWND> icons;
  for (HWND tray : FindTopLevelWindows({.className = "__winex11_standalone_tray"})) {
    for (HWND icon = nullptr; (icon = FindWindowExA(tray, icon, "__winex11_tray_icon", nullptr));) {
      icons.push_back(icon);
    }
  }
  return icons.size() == 1 ? icons.front() : nullptr;
}

namespace {

bool MenuShown() {
  return !FindTopLevelWindows({.className = "#32768", .visibleOnly = true}).empty();
}

// Puts the mouse on the icon's centre, which nothing may cover: Wine's tray window is not
// always on top.
bool PointAtIcon() {
  POINT centre{};
  const bool uncovered = WaitUntil([&] {
    RECT rect{};
    GetWindowRect(TrayIcon(), &rect);
    centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return TrayIcon() && WindowFromPoint(centre) == TrayIcon();
  });
  return uncovered && SetCursorPos(centre.x, centre.y);
}

}  // namespace

bool ClickTrayIcon(bool right) {
  // Clicks closer together than the double-click time would make a double click.
  static auto last = std::chrono::steady_clock::now() - 1h;
  const auto apart = last + 100ms + std::chrono::milliseconds(GetDoubleClickTime());
  WaitUntil([&] { return std::chrono::steady_clock::now() > apart; });
  if (!PointAtIcon()) return false;
  last = std::chrono::steady_clock::now();
  INPUT press[2]{{.type = INPUT_MOUSE}, {.type = INPUT_MOUSE}};
  press[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  press[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  return SendInput(2, press, sizeof(INPUT)) == 2;
}

bool ChooseFromTrayMenu(int item) {
  if (!ClickTrayIcon(/*right=*/true) || !WaitUntil(&MenuShown)) return false;
  for (int i = 0; i < item; ++i) PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  return WaitUntil([] { return !MenuShown(); });
}

std::string TrayTip() {
  if (!PointAtIcon()) return {};
  HWND tip = WaitForWindow({.className = "tooltips_class32", .visibleOnly = true});
  return tip ? WindowText(tip) : std::string();
}

}  // namespace testing_support

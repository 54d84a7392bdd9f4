// The program's tray icon as a user meets it under Wine: a child of Wine's own tray window,
// clicked with SendInput, and its menu, chosen with Down keys and Enter.
#pragma once

#include <windows.h>

#include <string>

namespace testing_support {

[[nodiscard]] HWND TrayIcon();  // the one icon in Wine's tray; null for none or several
bool ClickTrayIcon(bool right = false);  // false when the icon is missing or covered
bool ChooseFromTrayMenu(int item);  // 1 is the first item; the separator does not count
[[nodiscard]] std::string TrayTip();  // rests the mouse on the icon and reads the tooltip

}  // namespace testing_support

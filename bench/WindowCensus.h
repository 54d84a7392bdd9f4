// The windows a start-up leaves on the calling thread, counted the same way for the program and
// for its floor, so that their start-up figures can be seen to cover the same work: top-level
// windows (and how many are shown), the windows inside them, message-only windows, by class,
// and the icons in Wine's tray.
#pragma once

#include <windows.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct WindowCensus {
  // Class name -> count; a class this program registered counts as "own".
  using Classes = std::map<std::string, int>;
  int topLevel = 0;
  int shown = 0;  // top-level windows that are visible
  int inside = 0;
  int messageOnly = 0;
  int trayIcons = 0;
  Classes topLevelClasses, insideClasses, messageOnlyClasses;
};

namespace census_detail {

inline std::string ClassOf(HWND window) {
  if (reinterpret_cast<HMODULE>(GetClassLongPtrA(window, GCLP_HMODULE)) ==
      GetModuleHandleA(nullptr)) {
    return "own";
  }
  char name[128]{};
  GetClassNameA(window, name, sizeof(name));
  return name;
}

inline BOOL CALLBACK Collect(HWND window, LPARAM windows) {
  reinterpret_cast<std::vector<HWND>*>(windows)->push_back(window);
  return TRUE;
}

inline bool OnThisThread(HWND window) {
  return GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId();
}

inline void CountInside(HWND parent, WindowCensus& census) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&children));  // at any depth
  census.inside += static_cast<int>(children.size());
  for (HWND child : children) ++census.insideClasses[ClassOf(child)];
}

inline void PrintClasses(const char* what, const WindowCensus::Classes& classes) {
  std::printf(" %s [", what);
  const char* separator = "";
  for (const auto& [name, count] : classes) {
    std::printf("%s%s %d", separator, name.c_str(), count);
    separator = ", ";
  }
  std::printf("]");
}

}  // namespace census_detail

inline WindowCensus TakeWindowCensus() {
  using namespace census_detail;
  WindowCensus census;
  std::vector<HWND> all;
  EnumWindows(&Collect, reinterpret_cast<LPARAM>(&all));
  for (HWND window : all) {
    char name[64]{};
    GetClassNameA(window, name, sizeof(name));
    if (std::string(name) == "__winex11_standalone_tray") {
      for (HWND icon = nullptr;
           (icon = FindWindowExA(window, icon, "__winex11_tray_icon", nullptr));) {
        ++census.trayIcons;
      }
    }
    if (!OnThisThread(window)) continue;
    ++census.topLevel;
    if (IsWindowVisible(window)) ++census.shown;
    ++census.topLevelClasses[ClassOf(window)];
    CountInside(window, census);
  }
  for (HWND window = nullptr; (window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr));) {
    if (!OnThisThread(window)) continue;
    ++census.messageOnly;
    ++census.messageOnlyClasses[ClassOf(window)];
    CountInside(window, census);
  }
  return census;
}

// Two lines: the counts, then the classes.
inline void ReportWindowCensus(const char* who, const WindowCensus& census) {
  std::printf(
      "%s windows: %d top-level (%d shown), %d inside them, %d message-only; %d tray icon(s)\n",
      who, census.topLevel, census.shown, census.inside, census.messageOnly, census.trayIcons);
  std::printf("%s classes:", who);
  census_detail::PrintClasses("top-level", census.topLevelClasses);
  census_detail::PrintClasses("inside", census.insideClasses);
  census_detail::PrintClasses("message-only", census.messageOnlyClasses);
  std::printf("\n");
}

}  // namespace bench

// A stranger's winspool.drv for the planted-DLL test: loaded, it writes "loaded.txt" beside
// itself, and it offers none of the spooler's functions.
#include <windows.h>

#include <string>

#include "toolkit/Handles.h"

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH]{};
  GetModuleFileNameW(self, path, MAX_PATH);
  std::wstring marker(path);
  marker = marker.substr(0, marker.find_last_of(L'\\') + 1) + L"loaded.txt";
  const tk::UniqueFile written{
      CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)};
  return TRUE;
}

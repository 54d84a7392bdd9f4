#include <windows.h>

#include "app/Startup.h"
#include "res/ResourceIds.h"
#include "toolkit/Application.h"

static_assert(kIconMain == tk::Application::kIconResourceId,
              "the application object shows this icon");

namespace {

// From here on a DLL is looked for in the system folder only, never in the program's folder,
// where a downloaded file may lie beside it. Found at run time: Windows 7 has it only with an
// update, and without it the program still runs, as it did before.
void LoadDllsFromTheSystemOnly() {
  using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC found = kernel ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
  if (found) {
    reinterpret_cast<SetDefaultDllDirectoriesFunction>(reinterpret_cast<void (*)()>(found))(
        LOAD_LIBRARY_SEARCH_SYSTEM32);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  LoadDllsFromTheSystemOnly();
  return vindelor::VindelorMain();
}

#include "toolkit/SystemDlls.h"

#include <string>

#include "toolkit/Error.h"

namespace tk {
namespace {

// The system folder's DLL `library`, loaded if need be (and then kept for the rest of the
// process, as an import would be); null when it cannot be loaded.
HMODULE SystemLibrary(const char* library) {
  if (HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    return module;
  }
  // A Windows 7 without the update that brought the flag refuses it: the full path does it there.
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  char folder[MAX_PATH]{};
  const UINT length = GetSystemDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  return LoadLibraryA((std::string(folder, length) + '\\' + library).c_str());
}

// The function `name` of the system folder's DLL `library`.
template <class Function>
Function SystemFunction(const char* library, const char* name) {
  HMODULE module = SystemLibrary(library);
  FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  if (!found) {
    throw Error(FormatText("The system file %s could not be loaded", library));
  }
  // Through the generic function pointer type, which every function pointer converts to and back.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

// Each function is bound at its first call; a binding that failed is tried again at the next
// (a static whose initialisation throws stays uninitialised).
template <class Function>
Function Spooler(const char* name) {
  return SystemFunction<Function>("winspool.drv", name);
}

decltype(&::ClosePrinter) CloseFunction() {
  static const auto close = Spooler<decltype(&::ClosePrinter)>("ClosePrinter");
  return close;
}

}  // namespace

namespace spooler {

BOOL EnumPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                  LPDWORD returned) {
  static const auto enumerate = Spooler<decltype(&::EnumPrintersA)>("EnumPrintersA");
  return enumerate(flags, name, level, buffer, size, needed, returned);
}

BOOL OpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults) {
  static const auto open = Spooler<decltype(&::OpenPrinterA)>("OpenPrinterA");
  (void)CloseFunction();  // whatever opens must be closable
  return open(name, printer, defaults);
}

LONG DocumentProperties(HWND owner, HANDLE printer, LPSTR name, PDEVMODEA output, PDEVMODEA input,
                        DWORD mode) {
  static const auto properties = Spooler<decltype(&::DocumentPropertiesA)>("DocumentPropertiesA");
  return properties(owner, printer, name, output, input, mode);
}

BOOL ClosePrinter(HANDLE printer) noexcept { return CloseFunction()(printer); }

void Load() { (void)CloseFunction(); }

}  // namespace spooler

namespace commonDialogs {

BOOL GetSaveFileName(OPENFILENAMEA* dialog) {
  static const auto save =
      SystemFunction<decltype(&::GetSaveFileNameA)>("comdlg32.dll", "GetSaveFileNameA");
  return save(dialog);
}

BOOL PrintDlg(PRINTDLGA* dialog) {
  static const auto print = SystemFunction<decltype(&::PrintDlgA)>("comdlg32.dll", "PrintDlgA");
  return print(dialog);
}

}  // namespace commonDialogs

}  // namespace tk

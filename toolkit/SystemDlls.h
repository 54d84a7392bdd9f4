// Functions of the system's DLLs that the program does not import at load time. Windows looks
// for an imported DLL that is not one of its known DLLs in the program's own folder first, where
// a downloaded file may lie: the print spooler (winspool.drv) is such a DLL. The common dialogs
// (comdlg32) are known to Windows, but Wine's import the spooler at load time. So both are loaded
// from the system folder when first needed, and stay loaded. A DLL or a function that cannot be
// loaded is a tk::Error.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <winspool.h>

namespace tk {

namespace spooler {
BOOL EnumPrinters(DWORD flags, LPSTR name, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                  LPDWORD returned);
BOOL OpenPrinter(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults);
LONG DocumentProperties(HWND owner, HANDLE printer, LPSTR name, PDEVMODEA output, PDEVMODEA input,
                        DWORD mode);
// For a handle that OpenPrinter gave: OpenPrinter has bound it already, so it cannot fail to.
BOOL ClosePrinter(HANDLE printer) noexcept;
// Loads the spooler now, before a printer driver does.
void Load();
}  // namespace spooler

namespace commonDialogs {
BOOL GetSaveFileName(OPENFILENAMEA* dialog);
BOOL PrintDlg(PRINTDLGA* dialog);
}  // namespace commonDialogs

}  // namespace tk

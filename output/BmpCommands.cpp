// "BMP Viewer" and "Save as BMP": the work image as a file, shown by the program associated with
// bitmaps or saved where the user chooses. Neither changes the image, hides the dialog or
// touches the status line; each turns its failures into one fixed message here.
#include <windows.h>

#include <commdlg.h>
#include <shellapi.h>

#include <cstddef>
#include <exception>
#include <string>

#include "app/SharedState.h"
#include "forms/Unit2.h"
#include "output/BmpFile.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/SystemDlls.h"

namespace {

// "Save as BMP" proposes it: the design's name at first, then the last name chosen.
std::string g_saveFileName = "Vindelor20";

// Room for the longest name the save dialog may return.
constexpr std::size_t kFileNameBufferSize = 4096;

// The common save dialog of "Save as BMP", proposing `fileName`; on success `fileName` becomes
// the full name chosen. False when the user cancels (or the dialog fails).
bool ExecuteSaveDialog(HWND owner, std::string& fileName) {
  std::string buffer(kFileNameBufferSize, '\0');
  fileName.copy(buffer.data(), buffer.size() - 1);
  OPENFILENAMEA dialog{};
  dialog.lStructSize = sizeof(dialog);
  dialog.hwndOwner = owner;
  dialog.lpstrFilter = "Windows Bitmap ( *.bmp )\0*.bmp\0";  // the literal adds the last \0
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = buffer.data();
  dialog.nMaxFile = static_cast<DWORD>(buffer.size());
  dialog.lpstrTitle = " Save the Image as Windows Bitmap";
  dialog.lpstrDefExt = "bmp";
  dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY | OFN_SHAREAWARE;
  if (!tk::commonDialogs::GetSaveFileName(&dialog)) return false;
  fileName = buffer.c_str();
  return true;
}

// Writes the viewer file and asks the shell to open it. False when any step fails.
bool OpenInViewer(HWND owner) {
  try {
    const std::string path = vindelor::WriteViewerFile(*vindelor::Shared().workImage);
    tk::App().ProcessMessages();
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteA(owner, "open", path.c_str(), "", "", SW_SHOWNORMAL));
    return result > 32;
  } catch (const std::exception&) {
    return false;  // reported by the caller as the viewer not starting
  }
}

// No icon, one OK button, the program's title as caption.
void ShowPlainMessage(const char* text) { tk::ShowMessageBox(text, tk::App().Title(), MB_OK); }

}  // namespace

void TForm2::Button3Click() {
  if (!OpenInViewer(Handle())) {
    MessageBeep(MB_ICONEXCLAMATION);
    ShowPlainMessage("Could not start the BMP viewer !");
  }
  tk::App().ProcessMessages();
}

void TForm2::Button7Click() {
  if (!ExecuteSaveDialog(Handle(), g_saveFileName)) return;
  try {
    vindelor::WriteBmpFile(*vindelor::Shared().workImage, g_saveFileName);
    tk::App().ProcessMessages();
  } catch (const std::exception&) {
    MessageBeep(MB_OK);  // the default sound
    ShowPlainMessage("Saving Bitmap failed !");
  }
}

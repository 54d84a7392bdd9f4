// The program's access to the system clipboard, which every program shares: one counted
// access for the whole run, so that nested operations open and close it only once.
#pragma once

#include <windows.h>

#include "toolkit/Handles.h"

namespace vindelor {

// The private picture format of the program's pictures, registered at start-up. The program
// never writes it; a clipboard holding it counts as holding a picture.
UINT PictureClipboardFormat();

// Opens the clipboard for the scope. The first of nested openings opens it with the
// application's window as owner, the last one closes it. While another program holds it open,
// the first opening tries again for up to a second, processing messages; a clipboard still
// busy then gives nothing to read and takes nothing written.
class OpenedClipboard {
 public:
  OpenedClipboard();
  OpenedClipboard(const OpenedClipboard&) = delete;
  OpenedClipboard& operator=(const OpenedClipboard&) = delete;
  ~OpenedClipboard();

  // Hands the bitmap to the clipboard in CF_BITMAP, emptying the clipboard first on the first
  // write of this opening. A bitmap the clipboard refuses, or that cannot be written because
  // the clipboard could not be opened, is freed.
  void PutBitmap(tk::UniqueBitmap bitmap);
};

}  // namespace vindelor

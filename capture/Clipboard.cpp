// Clipboard exchange of the work image: CopyToClipBoard after captures and selections when
// "Copy to Clipboard" is checked, and "Get from Clipboard".
#include "forms/Unit2.h"

void TForm2::CopyToClipBoard() {
  // Puts a copy of the work image on the clipboard as a bitmap, then waits 50 ms.
}

void TForm2::Button8Click() {
  // "Get from Clipboard": replaces the work image by the clipboard's bitmap.
}

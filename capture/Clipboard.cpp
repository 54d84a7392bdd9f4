// Clipboard exchange of the work image: CopyToClipBoard after captures and selections when
// "Copy to Clipboard" is checked, and "Get from Clipboard".
#include "capture/Clipboard.h"

#include <algorithm>
#include <array>

#include "app/SharedState.h"
#include "forms/Unit1.h"
#include "forms/Unit2.h"
#include "toolkit/Application.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Error.h"

namespace vindelor {
namespace {

// The one clipboard access of the run.
struct ClipboardAccess {
  int openings = 0;
  bool opened = false;  // the first opening succeeded
  bool emptied = false;
};
ClipboardAccess g_clipboardAccess;

constexpr std::int32_t kAfterCopyMilliseconds = 50;
// Other programs open the clipboard for a moment after every change (clipboard history,
// remote-desktop sharing, password managers, Wine's bridge to the X clipboard): an opening is
// tried again for this long.
constexpr std::int32_t kBusyClipboardMilliseconds = 1000;

// Formats a picture can be loaded from.
bool IsPictureFormat(UINT format) {
  constexpr std::array<UINT, 3> kStandard{CF_BITMAP, CF_METAFILEPICT, CF_ENHMETAFILE};
  return format == PictureClipboardFormat() ||
         std::find(kStandard.begin(), kStandard.end(), format) != kStandard.end();
}

// Both must hold: a bitmap is announced, and a picture can be loaded. The second fails when
// another program holds the clipboard open, since nothing can be enumerated then.
bool ClipboardHoldsBitmap() {
  if (!IsClipboardFormatAvailable(CF_BITMAP)) return false;
  if (IsClipboardFormatAvailable(PictureClipboardFormat())) return true;
  OpenedClipboard opened;
  for (UINT format = EnumClipboardFormats(0); format; format = EnumClipboardFormats(format)) {
    if (IsPictureFormat(format)) return true;
  }
  return false;
}

}  // namespace

UINT PictureClipboardFormat() {
  static const UINT format = RegisterClipboardFormatA("Vindelor Picture");
  return format;
}

OpenedClipboard::OpenedClipboard() {
  if (g_clipboardAccess.openings == 0) {
    // Handlers that run while it waits may open and close the clipboard themselves: the count
    // starts only once this opening is settled.
    HWND owner = tk::App().Handle();
    g_clipboardAccess.opened = Form1->WaitUntil([owner] { return OpenClipboard(owner) != FALSE; },
                                              kBusyClipboardMilliseconds);
    g_clipboardAccess.emptied = false;
  }
  ++g_clipboardAccess.openings;
}

OpenedClipboard::~OpenedClipboard() {
  if (--g_clipboardAccess.openings == 0 && g_clipboardAccess.opened) CloseClipboard();
}

void OpenedClipboard::PutBitmap(tk::UniqueBitmap bitmap) {
  // A clipboard that another program held through the whole wait of the opening gets nothing,
  // and the copy is freed here (Wine would accept data even then).
  if (!g_clipboardAccess.opened) return;
  if (!g_clipboardAccess.emptied) {
    EmptyClipboard();
    g_clipboardAccess.emptied = true;
  }
  // On success the clipboard owns the bitmap; otherwise the owner here frees it.
  if (SetClipboardData(CF_BITMAP, bitmap.Get())) (void)bitmap.Release();
}

}  // namespace vindelor

void TForm2::CopyToClipBoard() {
  if (tk::UniqueBitmap copy = vindelor::Shared().workImage->CopyPixels()) {
    vindelor::OpenedClipboard opened;
    opened.PutBitmap(std::move(copy));
  }
  Form1->Delay(vindelor::kAfterCopyMilliseconds);
}

void TForm2::Button8Click() {
  if (!vindelor::ClipboardHoldsBitmap()) {
    MessageBeep(MB_ICONEXCLAMATION);
    tk::ShowInformation("There is no Bitmap on the Clipboard");
    return;
  }
  {
    vindelor::OpenedClipboard opened;
    auto* bitmap = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
    auto* palette = static_cast<HPALETTE>(GetClipboardData(CF_PALETTE));
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof(info), &info)) {
      throw tk::Error("Unsupported clipboard format");
    }
    const bool oneBit = info.bmPlanes == 1 && info.bmBitsPixel == 1;
    vindelor::Shared().workImage->AssignFrom(bitmap, palette, oneBit);
  }
  tk::App().ProcessMessages();
  tk::ShowInformation("Bitmap taken from Clipboard");
}

// Delay, WaitUntil and ClearKeyBuffer: waits that keep the user interface alive by processing
// every pending message, so that handlers can run nested inside them.
#include <windows.h>

#include "forms/Unit1.h"
#include "toolkit/Application.h"
#include "toolkit/Text.h"

namespace {
// Between two looks at the Print Screen key or at another condition that no message announces,
// wait at most this long for new input.
constexpr DWORD kPollMilliseconds = 10;

// Waits until a message arrives for this thread or the time is up, whichever comes first.
void WaitForInput(DWORD milliseconds) {
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
}
}  // namespace

void TForm1::Delay(std::int32_t milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    tk::App().ProcessMessages();
    const DWORD now = GetTickCount();
    if (tk::TickIntervalElapsed(start, now, milliseconds)) return;
    WaitForInput(static_cast<DWORD>(milliseconds - static_cast<std::int32_t>(now - start)));
  }
}

bool TForm1::WaitUntil(const std::function<bool()>& done, std::int32_t milliseconds) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    tk::App().ProcessMessages();
    const DWORD now = GetTickCount();
    if (tk::TickIntervalElapsed(start, now, milliseconds)) return done();
    const auto left = static_cast<DWORD>(milliseconds - static_cast<std::int32_t>(now - start));
    WaitForInput(left < kPollMilliseconds ? left : kPollMilliseconds);
  }
}

void TForm1::ClearKeyBuffer() {
  // The first query also consumes the "pressed since the last query" state, so a press made
  // while the program was busy does not count later.
  while (GetAsyncKeyState(VK_SNAPSHOT) != 0) {
    tk::App().ProcessMessages();
    WaitForInput(kPollMilliseconds);
  }
}

// Keeps the harness's Wine session warm. Started once by services.sh with the
// harness's logs as its output, it makes Wine start its desktop and system
// processes then, instead of in the first test (whose output pipes they would
// inherit and hold open), and holds them until the wineserver is stopped.
// It must not load winspool: a live process that did would hide every later
// change of print queues from Wine (see queues.sh).
#include <windows.h>

int main() {
  GetDesktopWindow();
  Sleep(INFINITE);
  return 0;
}

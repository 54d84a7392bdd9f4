// Stands in for the program associated with bitmaps: `bmp_viewer_probe RECORD FILE` writes FILE,
// the path it was asked to open, into the file RECORD, which appears whole or not at all.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const int argc = __argc;
  char** const argv = __argv;
  if (argc != 3) return 2;
  char partial[MAX_PATH + 16];
  if (std::strlen(argv[1]) > MAX_PATH) return 2;
  std::strcpy(partial, argv[1]);
  std::strcat(partial, ".part");
  HANDLE file = CreateFileA(partial, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  const BOOL ok =
      WriteFile(file, argv[2], static_cast<DWORD>(std::strlen(argv[2])), &written, nullptr);
  CloseHandle(file);
  return ok && MoveFileExA(partial, argv[1], MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}

// Times a silent install and a silent uninstall of a release installer, as on a user's machine
// where nothing was installed before; bench/installer.sh runs it in throwaway Wine prefixes.
//
//   InstallerBench INSTALLER      prints "install <ms> ms, uninstall <ms> ms"
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/BenchSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

double MillisecondsToRun(const std::string& command) {
  const bench::Stopwatch watch;
  const tk::UniqueKernelHandle process = testing_support::StartProcess(command);
  DWORD code = 1;
  if (!process || WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0 ||
      !GetExitCodeProcess(process.Get(), &code) || code != 0) {
    std::fprintf(stderr, "InstallerBench: %s failed (exit code %lu)\n", command.c_str(), code);
    std::exit(1);
  }
  return watch.Milliseconds();
}

}  // namespace

int main(int argc, char** argv) {
  char local[MAX_PATH]{};
  if (argc != 2 ||
      SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, local) != S_OK) {
    std::fprintf(stderr, "usage: InstallerBench INSTALLER\n");
    return 2;
  }
  const std::string folder = std::string(local) + "\\Programs\\Vindelor";
  const double install = MillisecondsToRun('"' + std::string(argv[1]) + "\" /S");
  const double uninstall = MillisecondsToRun('"' + folder + "\\Uninstall.exe\" /S _?=" + folder);
  std::printf("install %.1f ms, uninstall %.1f ms\n", install, uninstall);
  return 0;
}

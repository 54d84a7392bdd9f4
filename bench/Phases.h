// Telling bench/sample-peaks.py, which samples a program's memory from outside, which phase of
// the benchmark runs now, and starting the benchmark's other programs.
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/support/WinTestSupport.h"
#include "toolkit/Handles.h"

namespace bench {

// The harness's state folder (VINDELOR_STATE) as a Windows path ending in a separator.
inline std::string StateFolder() {
  const char* state = std::getenv("VINDELOR_STATE");
  std::string folder = std::string("Z:") + (state ? state : "") + "/";
  std::replace(folder.begin(), folder.end(), '/', '\\');
  return folder;
}

// Names the phase and the program whose Wine process it measures ("done" ends the sampling),
// and waits until the sampler has found that process. Does nothing unless the sampler runs
// (VINDELOR_PEAK_SAMPLER is set). False when the sampler did not answer.
inline bool EnterPhase(const std::string& phase, const std::string& program) {
  if (!std::getenv("VINDELOR_PEAK_SAMPLER")) return true;
  const std::string path = StateFolder() + "bench-phase";
  std::ofstream(path + ".tmp") << phase << ' ' << program << '\n';
  MoveFileExA((path + ".tmp").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
  const bool answered = testing_support::WaitUntil([&] {
    std::stringstream answer;
    answer << std::ifstream(path + ".ack").rdbuf();
    return answer.str().rfind(phase + ' ', 0) == 0;
  });
  if (!answered) std::printf("the memory sampler did not find %s\n", program.c_str());
  return answered;
}

// Starts a program of the benchmark's own folder; null when it cannot.
inline tk::UniqueKernelHandle StartBesideThis(const std::string& name,
                                              const std::string& arguments = "") {
  char path[MAX_PATH]{};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string command(path);
  command = '"' + command.substr(0, command.find_last_of('\\') + 1) + name + '"';
  if (!arguments.empty()) command += ' ' + arguments;
  STARTUPINFOA startup{.cb = sizeof(STARTUPINFOA)};
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    return {};
  }
  const tk::UniqueKernelHandle thread{started.hThread};
  return tk::UniqueKernelHandle{started.hProcess};
}

}  // namespace bench

// While the program runs in-process, tests wait by dispatching through its own message loop.
#include "tests/support/WinTestSupport.h"
#include "toolkit/Application.h"

namespace {

const bool kInstalled = [] {
  testing_support::SetMessagePump([] {
    if (!tk::Application::Exists()) return false;
    tk::App().ProcessMessages();
    return true;
  });
  return true;
}();

}  // namespace

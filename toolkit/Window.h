// Base of every window whose class the toolkit registers itself (forms, group boxes, the
// application's owner window, timers, the status line, the tray icon's window). One static
// window procedure finds the instance through GWLP_USERDATA, stored at WM_NCCREATE, and forwards
// to HandleMessage. An exception that escapes a handler stops there, at the dispatch boundary,
// and goes to the error sink.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>

#include "toolkit/Handles.h"

namespace tk {

// Where an exception that escapes a message handler is reported: the application object puts
// the general error report here for its lifetime. Without a sink the exception is written to
// the debugger's output, never dropped unseen.
using ErrorSink = std::function<void(const std::exception&)>;
void SetErrorSink(ErrorSink sink);
// Reports the exception in flight to the sink; called from catch blocks at dispatch boundaries.
void ReportCurrentException() noexcept;
// Runs a message handler at its dispatch boundary: whatever it throws is reported, and the
// message answers 0.
template <typename Handler>
LRESULT HandleReportingErrors(Handler&& handler) noexcept {
  try {
    return handler();
  } catch (...) {
    ReportCurrentException();
    return 0;
  }
}

struct WindowClassArgs {
  const char* className;
  UINT classStyle = 0;
  HBRUSH background = nullptr;
  HICON icon = nullptr;
  WNDPROC procedure = nullptr;  // null: the toolkit's, which forwards to Window::HandleMessage
};

struct CreateWindowArgs {
  DWORD exStyle = 0;
  DWORD style = 0;
  const char* caption = "";
  RECT bounds{};  // outer bounds in the parent's client coordinates (screen for top-level windows)
  HWND parent = nullptr;  // parent, owner, or HWND_MESSAGE
  HMENU idOrMenu = nullptr;
};

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  [[nodiscard]] HWND Handle() const noexcept { return handle_.Get(); }
  [[nodiscard]] static Window* FromHandle(HWND window) noexcept;
  // Registers the class the first time it is asked for. Throws tk::Error when that fails.
  static void RegisterClassOnce(const WindowClassArgs& args);

 protected:
  void CreateHandle(const WindowClassArgs& windowClass, const CreateWindowArgs& args);
  // Everything not handled goes to DefWindowProcA.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  UniqueWindow handle_;
};

}  // namespace tk

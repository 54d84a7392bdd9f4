#include "toolkit/Window.h"

#include <set>
#include <string>

#include "toolkit/Error.h"

namespace tk {
namespace {

ErrorSink& Sink() {
  static ErrorSink sink;
  return sink;
}

}  // namespace

void SetErrorSink(ErrorSink sink) { Sink() = std::move(sink); }

void ReportCurrentException() noexcept {
  try {
    try {
      throw;
    } catch (const std::exception& error) {
      if (!Sink()) throw;
      Sink()(error);
    } catch (...) {
      if (!Sink()) throw;
      Sink()(Error("Unexpected failure"));
    }
  } catch (const std::exception& unreported) {
    OutputDebugStringA(unreported.what());
  } catch (...) {
    OutputDebugStringA("Unexpected failure");
  }
}

Window::~Window() = default;

Window* Window::FromHandle(HWND window) noexcept {
  if (!window) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
  if (proc != &StaticWindowProc) return nullptr;
  return reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

void Window::RegisterClassOnce(const WindowClassArgs& args) {
  static std::set<std::string> registered;
  if (registered.contains(args.className)) return;
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.style = args.classStyle;
  wc.lpfnWndProc = args.procedure ? args.procedure : &StaticWindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hIcon = args.icon;
  wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  wc.hbrBackground = args.background;
  wc.lpszClassName = args.className;
  if (!RegisterClassExA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    throw Error(FormatText("Cannot register the window class '%s'", args.className));
  }
  registered.insert(args.className);
}

void Window::CreateHandle(const WindowClassArgs& windowClass, const CreateWindowArgs& args) {
  RegisterClassOnce(windowClass);
  HWND created = CreateWindowExA(
      args.exStyle, windowClass.className, args.caption, args.style, args.bounds.left,
      args.bounds.top, args.bounds.right - args.bounds.left, args.bounds.bottom - args.bounds.top,
      args.parent, args.idOrMenu, GetModuleHandleA(nullptr), this);
  if (!created) throw Error(FormatText("Cannot create the window '%s'", args.caption));
  // WM_NCCREATE has already stored the handle in handle_.
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(Handle(), message, wParam, lParam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    // HandleMessage may run before CreateWindowExA returns, so the handle is known from here on.
    self->handle_.Reset(window);
  }
  if (!self) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone (destroyed by its owner or by the system); forget it without a second
    // DestroyWindow.
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    (void)self->handle_.Release();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  return HandleReportingErrors([&] { return self->HandleMessage(message, wParam, lParam); });
}

}  // namespace tk

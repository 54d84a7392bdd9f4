#include "toolkit/Application.h"

#include "toolkit/Form.h"
#include "toolkit/Menu.h"
#include "toolkit/Text.h"

namespace tk {
namespace {

Application* g_current = nullptr;

std::string ModulePath() {
  std::string path(MAX_PATH * kUtf8BytesPerUnit + 1, '\0');
  const DWORD length =
      GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size() - 1));
  path.resize(length);
  return path;
}

std::int64_t MicrosecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now{};
  LARGE_INTEGER frequency{};
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return (now.QuadPart - start.QuadPart) * 1'000'000 / frequency.QuadPart;
}

}  // namespace

Application::Application() : title_(ApplicationTitleFromPath(ModulePath())) {
  QueryPerformanceCounter(&created_);
  if (g_current) throw Error("The application object exists already");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kIconResourceId), IMAGE_ICON, 0, 0,
                                        LR_DEFAULTSIZE | LR_SHARED));
  if (!icon_) icon_ = LoadIconA(nullptr, IDI_APPLICATION);

  // The owner of every form: a captioned window of no size that carries the taskbar button
  // while it is shown and owns the forms, so that they get no buttons of their own.
  int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  CreateHandle({.className = "VindelorApplication", .icon = icon_},
               {.style = WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                .caption = title_.c_str(),
                .bounds = {screenWidth / 2, screenHeight / 2, screenWidth / 2, screenHeight / 2}});
  g_current = this;
}

Application::~Application() {
  // The last created form goes first; each form runs its destruction handler before it goes.
  while (!forms_.empty()) {
    OwnedForm owned = std::move(forms_.back());
    forms_.pop_back();
    owned.form->RunDestruction();
    owned.form.reset();
    owned.clearReference();
  }
  keptHandles_.clear();
  g_current = nullptr;
}

Application& Application::Instance() {
  if (!g_current) throw Error("No application object");
  return *g_current;
}

bool Application::Exists() noexcept { return g_current != nullptr; }

Form* Application::MainForm() const noexcept {
  return forms_.empty() ? nullptr : forms_.front().form.get();
}

void Application::Adopt(std::unique_ptr<Form> form, std::function<void()> clearReference) {
  forms_.push_back({std::move(form), std::move(clearReference)});
}

void Application::RunCreation(Form& form) { form.RunCreation(); }

void Application::Run() {
  if (Form* main = MainForm(); main && showMainForm) main->Show();
  while (!terminated_) {
    if (!loopStarted_) {
      loopStarted_ = true;
      startupMicroseconds_ = MicrosecondsSince(created_);
      if (onLoopStarted) onLoopStarted();
    }
    HandleOneMessage();
  }
}

bool Application::HandleOneMessage() {
  MSG message{};
  BOOL got = GetMessageA(&message, nullptr, 0, 0);
  if (got == 0 || got == -1) {
    terminated_ = true;
    return false;
  }
  Dispatch(message);
  return true;
}

void Application::ProcessMessages() {
  MSG message{};
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      terminated_ = true;
      continue;
    }
    Dispatch(message);
  }
}

Form* Application::FormTakingAllKeys() const {
  for (const OwnedForm& owned : forms_) {
    if (owned.form->TakesAllKeys() && owned.form->Visible()) return owned.form.get();
  }
  return nullptr;
}

void Application::Dispatch(MSG& message) {
  if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) {
    if (Form* taker = FormTakingAllKeys()) {
      // Untranslated: the form sees each key once, as it goes down.
      message.hwnd = taker->Handle();
      DispatchMessageA(&message);
      return;
    }
  }
  if (auto* form = dynamic_cast<Form*>(Window::FromHandle(GetAncestor(message.hwnd, GA_ROOT)))) {
    if (form->TakeDialogMessage(message)) return;
  }
  TranslateMessage(&message);
  DispatchMessageA(&message);
}

void Application::Terminate() noexcept { PostQuitMessage(0); }

void Application::ShowException(const std::exception& error) {
  std::string text = error.what();
  if (text.empty() || text.back() != '.') text += '.';
  // No owner and task-modal: every window of this thread is disabled while the box is open.
  MessageBoxA(nullptr, text.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP | MB_TASKMODAL);
}

void Application::ReportCurrentException() noexcept {
  try {
    throw;
  } catch (const std::exception& error) {
    if (g_current) g_current->ShowException(error);
  } catch (...) {
    if (g_current) g_current->ShowException(Error("Unexpected failure"));
  }
}

void Application::KeepUntilExit(UniqueKernelHandle handle) {
  keptHandles_.push_back(std::move(handle));
}

void Application::SetCursorHidden(bool hidden) {
  cursorHidden_ = hidden;
  if (hidden) {
    SetCursor(nullptr);
    return;
  }
  // Let the window under the pointer choose its cursor, as it would on a mouse move.
  if (HWND under = OwnWindowUnderPointer()) {
    POINT at{};
    GetCursorPos(&at);
    auto hitTest = SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
    SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                 MAKELPARAM(static_cast<WORD>(hitTest), WM_MOUSEMOVE));
  } else {
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  }
}

bool Application::KeepCursorHidden() const {
  if (!cursorHidden_) return false;
  ::SetCursor(nullptr);
  return true;
}

void Application::SetHint(const std::string& hint) {
  if (hint == hint_) return;
  hint_ = hint;
  if (hintListener_) hintListener_(hint_);
}

LRESULT Application::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      // Popup menus are tracked with this window as owner; their commands arrive here.
      if (HIWORD(wParam) == 0 && lParam == 0 && MenuItem::DispatchCommand(LOWORD(wParam))) return 0;
      break;
    case WM_CLOSE:
      if (Form* main = MainForm()) main->Close();
      return 0;
    case WM_SETCURSOR:
      if (cursorHidden_) {
        SetCursor(nullptr);
        return TRUE;
      }
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk

#include "toolkit/Application.h"

#include "toolkit/Cursor.h"
#include "toolkit/Dialogs.h"
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

}  // namespace

Application::Application() : title_(ApplicationTitleFromPath(ModulePath())) {
  if (g_current) throw Error("The application object exists already");
  HINSTANCE instance = GetModuleHandleA(nullptr);
  icon_ = static_cast<HICON>(LoadImageA(instance, MAKEINTRESOURCEA(kIconResourceId), IMAGE_ICON, 0,
                                        0, LR_DEFAULTSIZE | LR_SHARED));
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
  SetErrorSink([this](const std::exception& error) { ShowException(error); });
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
  SetErrorSink(nullptr);
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
  while (!terminated_) HandleOneMessage();
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
  ShowMessageBox(text, title_, MB_OK | MB_ICONSTOP | MB_TASKMODAL);
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
      if (HiddenCursor::KeepHidden()) return TRUE;
      break;
    default:
      break;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace tk

// The application object: title, icon, the hidden owner window that carries the taskbar button,
// the forms (created in order, the first one being the main form, destroyed in reverse order),
// the message loop, "process all pending messages" and the general error report.
#pragma once

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Error.h"
#include "toolkit/Handles.h"
#include "toolkit/Window.h"

namespace tk {

class Form;
class Control;

class Application final : public Window {
 public:
  Application();
  ~Application() override;

  // The one live application object. Exactly one exists while the program (or a test) runs.
  [[nodiscard]] static Application& Instance();
  [[nodiscard]] static bool Exists() noexcept;

  [[nodiscard]] const std::string& Title() const noexcept { return title_; }
  // The program's icon: its icon resource with this id, else the system's application icon.
  static constexpr int kIconResourceId = 1;
  [[nodiscard]] HICON Icon() const noexcept { return icon_; }

  // Creates a form, stores it in ref before its creation handler runs, and owns it.
  template <class F>
  F& CreateForm(F*& ref) {
    auto form = std::make_unique<F>();
    F& created = *form;
    ref = &created;
    Adopt(std::move(form), [&ref] { ref = nullptr; });
    RunCreation(created);
    return created;
  }
  [[nodiscard]] Form* MainForm() const noexcept;

  // Shows the main form (unless showMainForm was cleared), then fetches and dispatches messages
  // until the quit message.
  void Run();
  bool showMainForm = true;
  // Dispatches every message waiting in the queue, without waiting for new ones. A quit message
  // found there is consumed and marks the application as terminating.
  void ProcessMessages();
  [[nodiscard]] bool Terminated() const noexcept { return terminated_; }
  void Terminate() noexcept;

  // The general error report: stop icon, the title as caption, the text followed by ".".
  void ShowException(const std::exception& error);
  // Reports the exception in flight; called from catch blocks at dispatch boundaries.
  static void ReportCurrentException() noexcept;
  // Runs a window's message handler at its dispatch boundary: whatever it throws is reported,
  // and the message answers 0.
  template <typename Handler>
  static LRESULT HandleReportingErrors(Handler&& handler) noexcept {
    try {
      return handler();
    } catch (...) {
      ReportCurrentException();
      return 0;
    }
  }

  // Handles owned for the whole run and given back only when the application object goes.
  void KeepUntilExit(UniqueKernelHandle handle);

  // The application-wide cursor: hidden (no shape over any window) or each window's own.
  void SetCursorHidden(bool hidden);
  [[nodiscard]] bool CursorHidden() const noexcept { return cursorHidden_; }
  // A window's WM_SETCURSOR while the cursor is hidden: shows no shape and answers true.
  bool KeepCursorHidden() const;

  // Current hint text (the hint of the control under the mouse); listeners see every change.
  void SetHint(const std::string& hint);
  [[nodiscard]] const std::string& Hint() const noexcept { return hint_; }
  using HintListener = std::function<void(const std::string&)>;
  void SetHintListener(HintListener listener) { hintListener_ = std::move(listener); }

  // Microseconds from construction of the application object to the first wait of the loop.
  [[nodiscard]] std::int64_t StartupMicroseconds() const noexcept { return startupMicroseconds_; }
  // Called once when the loop is about to wait for its first message (benchmarks use it).
  std::function<void()> onLoopStarted;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Adopt(std::unique_ptr<Form> form, std::function<void()> clearReference);
  void RunCreation(Form& form);
  // Keys go to a shown form that takes them all; a dialog's messages through the dialog manager.
  void Dispatch(MSG& message);
  [[nodiscard]] Form* FormTakingAllKeys() const;
  bool HandleOneMessage();

  std::string title_;
  HICON icon_ = nullptr;  // from the module's resources; shared, never destroyed
  struct OwnedForm {
    std::unique_ptr<Form> form;
    std::function<void()> clearReference;  // sets the form's global back to null
  };
  std::vector<OwnedForm> forms_;
  std::vector<UniqueKernelHandle> keptHandles_;
  bool terminated_ = false;
  bool cursorHidden_ = false;
  std::string hint_;
  HintListener hintListener_;
  LARGE_INTEGER created_{};
  std::int64_t startupMicroseconds_ = 0;
  bool loopStarted_ = false;
};

[[nodiscard]] inline Application& App() { return Application::Instance(); }

}  // namespace tk

// The application object, the top of the toolkit: title, icon, the hidden owner window that
// carries the taskbar button and receives the popup menus' commands, the forms (created in order,
// the first one being the main form, destroyed in reverse order), the message loop, "process all
// pending messages" and the general error report.
#pragma once

#include <windows.h>

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

  // The general error report: stop icon, the title as caption, the text followed by ".". It is
  // the error sink of every dispatch boundary while the application object exists.
  void ShowException(const std::exception& error);

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
  bool terminated_ = false;
};

[[nodiscard]] inline Application& App() { return Application::Instance(); }

}  // namespace tk

#pragma once
// The application object: its title, its forms (the first one created is the main form), the message loop
// with its two hooks, the general error report and the request to end.
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backend.h"
#include "controls.h"
#include "system.h"

namespace korval::forms {

class Application {
 public:
  Application(Backend& backend, System& system);
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& GetBackend() const { return backend_; }
  System& GetSystem() const { return system_; }

  const std::string& Title() const { return title_; }
  void SetTitle(const std::string& title) { title_ = title; }

  // Builds a form (its constructor lays out the controls), makes its windows and runs its OnCreate through
  // Dispatch, so that an error there is reported and the program goes on.
  template <class T, class... Args>
  T& CreateForm(Args&&... args) {
    auto form = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T& ref = *form;
    forms_.push_back(std::move(form));
    if (!mainForm_) mainForm_ = &ref;
    FormReady(ref);
    return ref;
  }
  Form* MainForm() const { return mainForm_; }

  // Shows the main form and runs the message loop until the main form closes or Terminate.
  void Run();
  // Asks the program to end; it does once the message in hand is done.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Every message the loop takes from its queue, before it goes to its window.
  std::function<void(const Message&)> OnMessage;
  // The program is being minimised.
  std::function<void()> OnMinimize;

  // Runs an event handler; an error it does not catch goes to the general error report.
  void Dispatch(const std::function<void()>& handler);
  // Runs an event handler of `form`: the message boxes that it shows, the error report among them, belong to
  // that form (they stand over it, and it is in front again when they close).
  void Dispatch(Form& form, const std::function<void()>& handler);
  // The form whose handler runs now (the innermost one); nullptr outside the handlers of a form.
  Form* HandlerForm() const { return handlerForm_; }
  // The general error report: a message box with the error's text under the application title. At most one
  // is open at a time; an error that comes while one is open (a timer keeps firing under a message box) is
  // not shown again.
  void ShowException(const std::exception& error);
  bool ErrorReportOpen() const { return reportOpen_; }

  MessageResult MessageBox(const std::string& caption, const std::string& text, MessageButtons buttons,
                           MessageIcon icon = MessageIcon::None) {
    return backend_.ShowMessageBox(handlerForm_, caption, text, buttons, icon);
  }
  // The input box (Backend::ShowInputBox): true on OK with the edited text in `value`.
  bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    return backend_.ShowInputBox(caption, prompt, value);
  }

 private:
  void FormReady(Form& form);

  Backend& backend_;
  System& system_;
  std::string title_;
  std::vector<std::unique_ptr<Form>> forms_;
  Form* mainForm_ = nullptr;
  Form* handlerForm_ = nullptr;
  bool terminated_ = false;
  bool reportOpen_ = false;
};

}  // namespace korval::forms

#include "application.h"

namespace korval::forms {

Application::Application(Backend& backend, System& system) : backend_(backend), system_(system) {}

Application::~Application() {
  // Later forms go first: dialogs before the main window.
  while (!forms_.empty()) forms_.pop_back();
}

void Application::FormReady(Form& form) {
  backend_.FormCreated(form);
  if (form.OnCreate) Dispatch(form, form.OnCreate);
}

void Application::Run() {
  if (!mainForm_ || terminated_) return;
  mainForm_->Show();
  backend_.RunMessageLoop(*this);
}

void Application::Terminate() {
  if (terminated_) return;
  terminated_ = true;
  backend_.Terminate();
}

void Application::Dispatch(const std::function<void()>& handler) {
  if (!handler) return;
  try {
    handler();
  } catch (const std::exception& e) {
    ShowException(e);
  }
}

void Application::Dispatch(Form& form, const std::function<void()>& handler) {
  Form* const outer = handlerForm_;
  handlerForm_ = &form;
  try {
    Dispatch(handler);
  } catch (...) {
    handlerForm_ = outer;
    throw;
  }
  handlerForm_ = outer;
}

void Application::ShowException(const std::exception& error) {
  if (reportOpen_) return;
  reportOpen_ = true;
  try {
    backend_.ShowMessageBox(handlerForm_, title_, error.what(), MessageButtons::Ok, MessageIcon::Error);
  } catch (...) {
    reportOpen_ = false;
    throw;
  }
  reportOpen_ = false;
}

}  // namespace korval::forms

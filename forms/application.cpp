#include "application.h"

namespace korval::forms {

Application::Application(Backend& backend, System& system) : backend_(backend), system_(system) {}

Application::~Application() {
  // Later forms go first: dialogs before the main window.
  while (!forms_.empty()) forms_.pop_back();
}

void Application::FormReady(Form& form) {
  backend_.FormCreated(form);
  if (form.OnCreate) Dispatch(form.OnCreate);
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

void Application::ShowException(const std::exception& error) {
  if (reportOpen_) return;
  reportOpen_ = true;
  try {
    backend_.ShowMessageBox(title_, error.what(), MessageButtons::Ok, MessageIcon::Error);
  } catch (...) {
    reportOpen_ = false;
    throw;
  }
  reportOpen_ = false;
}

}  // namespace korval::forms

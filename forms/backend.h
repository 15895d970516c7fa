#pragma once
// What the form library asks of the window system. Win32Backend makes real windows; HeadlessBackend keeps
// the properties only, for native tests.
#include <cstdint>
#include <optional>
#include <string>

#include "controls.h"

namespace korval::forms {

// A message as the message loop takes it from the queue.
struct Message {
  unsigned message = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  void* window = nullptr;
};

// YesNo: Yes is the default button; Esc and the close box answer No.
enum class MessageButtons { Ok, OkCancel, YesNo };
enum class MessageIcon { None, Error, Information, Question };
enum class MessageResult { Ok, Cancel, Yes, No };

class Backend {
 public:
  virtual ~Backend() = default;

  // The form's windows come into being with the properties the form has now; later changes come one by one.
  virtual void FormCreated(Form& form) = 0;
  virtual void FormDestroyed(Form& form) = 0;
  // `area`, in the parent's client area: for Bounds the old bounds, otherwise the part of the control that
  // changed (its bounds unless less of it did, as when a picture changes in a few pixels).
  virtual void ControlChanged(Control& control, Change what, const Rect& area) = 0;
  virtual void MenuChanged(Form& form) = 0;
  virtual void TimerChanged(Timer& timer) = 0;
  virtual void ShowForm(Form& form) = 0;
  virtual void HideForm(Form& form) = 0;
  // The main form closed: the message loop ends.
  virtual void MainFormClosed(Form& form) = 0;

  virtual Size MeasureText(const Font& font, const std::string& text) = 0;
  virtual Color GetSystemColor(SystemColor which) = 0;
  // Bytes of a picture resource of the program; nothing when there is none.
  virtual std::optional<std::string> ResourceBytes(const std::string& name) = 0;

  // Runs until the main form closes or the application is told to end.
  virtual void RunMessageLoop(Application& app) = 0;
  virtual void Terminate() = 0;
  // A modal message box over `owner` (nullptr: the main form), which is in front again, its focus where it
  // was, once the box closes; the window timers keep running while it is open.
  virtual MessageResult ShowMessageBox(const Form* owner, const std::string& caption, const std::string& text,
                                       MessageButtons buttons, MessageIcon icon) = 0;

  // Moves the keyboard focus to a control (once its form's windows exist).
  virtual void FocusControl(WinControl&) {}
  // The save-file dialog, modal: true with the chosen name put into the dialog's FileName, false when the
  // user cancels. A backend without dialogs cancels.
  virtual bool ExecuteSaveDialog(SaveDialog&) { return false; }
  // The input box, modal: a caption, a prompt, one edit field holding `value` (at most 255 characters) and
  // the buttons OK (the default) and Cancel. True on OK with the edited text in `value`; Cancel, Esc and the
  // close box give false and leave `value`. A backend without dialogs cancels.
  virtual bool ShowInputBox(const std::string& /*caption*/, const std::string& /*prompt*/,
                            std::string& /*value*/) {
    return false;
  }
};

}  // namespace korval::forms

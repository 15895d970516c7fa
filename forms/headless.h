#pragma once
// A backend without windows, for tests: it keeps nothing beyond the components' own properties, answers
// message boxes from a script and counts what would have been repainted.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "backend.h"

namespace korval::forms {

class HeadlessBackend : public Backend {
 public:
  struct ShownBox {
    const Form* owner;
    std::string caption, text;
    MessageButtons buttons;
    MessageIcon icon;
  };

  struct ShownSaveDialog {
    std::string fileName, filter, defaultExt, title, initialDir;
  };
  struct ShownInputBox {
    std::string caption, prompt, value;
  };

  // Message boxes shown, in order.
  std::vector<ShownBox> boxes;
  // Answers for the next message boxes; when empty, the default button (OK, or Yes).
  std::deque<MessageResult> answers;
  // Save dialogs shown, and the names the user chooses in the next ones (nothing: Cancel); when empty,
  // Cancel. A chosen name without an extension gets the dialog's default extension, as the system's dialog
  // does.
  std::vector<ShownSaveDialog> saveDialogs;
  std::deque<std::optional<std::string>> saveAnswers;
  // Input boxes shown, and the texts the user leaves in the next ones (nothing: Cancel); when empty, OK with
  // the text unchanged.
  std::vector<ShownInputBox> inputBoxes;
  std::deque<std::optional<std::string>> inputAnswers;
  // Where the keyboard focus was put last.
  WinControl* focused = nullptr;
  // Runs while a message box is open, as the window timers would under a real one.
  std::function<void()> whileBoxOpen;
  // Picture resources by name.
  std::map<std::string, std::string> resources;
  // Property changes that a real backend would have to repaint for, since the last reset.
  int repaints = 0;
  int menuChanges = 0;
  bool loopRan = false, terminated = false, mainFormClosed = false;

  void FormCreated(Form&) override {}
  void FormDestroyed(Form&) override {}
  void ControlChanged(Control&, Change, const Rect&) override { ++repaints; }
  void MenuChanged(Form&) override { ++menuChanges; }
  void TimerChanged(Timer&) override {}
  void ShowForm(Form&) override {}
  void HideForm(Form&) override {}
  void MainFormClosed(Form&) override { mainFormClosed = true; }

  // Text a font's height tall and, per character, half as wide.
  Size MeasureText(const Font& font, const std::string& text) override {
    return Size{static_cast<int>(text.size()) * ((font.height + 1) / 2), font.height + 2};
  }
  Color GetSystemColor(SystemColor which) override;
  std::optional<std::string> ResourceBytes(const std::string& name) override {
    auto it = resources.find(name);
    if (it == resources.end()) return std::nullopt;
    return it->second;
  }
  void RunMessageLoop(Application&) override { loopRan = true; }
  void Terminate() override { terminated = true; }
  MessageResult ShowMessageBox(const Form* owner, const std::string& caption, const std::string& text,
                               MessageButtons buttons, MessageIcon icon) override;
  void FocusControl(WinControl& control) override { focused = &control; }
  bool ExecuteSaveDialog(SaveDialog& dialog) override;
  bool ShowInputBox(const std::string& caption, const std::string& prompt, std::string& value) override;
};

}  // namespace korval::forms

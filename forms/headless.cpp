#include "headless.h"

namespace korval::forms {

Color HeadlessBackend::GetSystemColor(SystemColor which) {
  switch (which) {
    case SystemColor::ButtonFace:
      return Rgb(192, 192, 192);
    case SystemColor::ButtonShadow:
      return Rgb(128, 128, 128);
    case SystemColor::ButtonHighlight:
      return Rgb(255, 255, 255);
    case SystemColor::WindowText:
      return Rgb(0, 0, 0);
    case SystemColor::InfoBackground:
      return Rgb(255, 255, 225);
    case SystemColor::InfoText:
      return Rgb(0, 0, 0);
    case SystemColor::Light3D:
      return Rgb(224, 224, 224);
  }
  return Color{};
}

MessageResult HeadlessBackend::ShowMessageBox(const Form* owner, const std::string& caption,
                                              const std::string& text, MessageButtons buttons,
                                              MessageIcon icon) {
  boxes.push_back(ShownBox{owner, caption, text, buttons, icon});
  if (whileBoxOpen) {
    auto during = whileBoxOpen;  // a nested box must not run it again
    whileBoxOpen = nullptr;
    during();
    whileBoxOpen = during;
  }
  if (answers.empty()) return buttons == MessageButtons::YesNo ? MessageResult::Yes : MessageResult::Ok;
  MessageResult r = answers.front();
  answers.pop_front();
  return r;
}

bool HeadlessBackend::ExecuteSaveDialog(SaveDialog& dialog) {
  saveDialogs.push_back(ShownSaveDialog{dialog.FileName(), dialog.Filter(), dialog.DefaultExt(),
                                        dialog.Title(), dialog.InitialDir()});
  if (saveAnswers.empty()) return false;
  std::optional<std::string> answer = saveAnswers.front();
  saveAnswers.pop_front();
  if (!answer) return false;
  std::string name = *answer;
  const std::size_t dot = name.find_last_of('.'), folder = name.find_last_of("\\/:");
  const bool hasExtension = dot != std::string::npos && (folder == std::string::npos || dot > folder);
  if (!hasExtension && !dialog.DefaultExt().empty()) name += "." + dialog.DefaultExt();
  dialog.SetFileName(name);
  return true;
}

bool HeadlessBackend::ShowInputBox(const std::string& caption, const std::string& prompt,
                                   std::string& value) {
  inputBoxes.push_back(ShownInputBox{caption, prompt, value});
  if (inputAnswers.empty()) return true;
  std::optional<std::string> answer = inputAnswers.front();
  inputAnswers.pop_front();
  if (!answer) return false;
  value = answer->substr(0, 255);
  return true;
}

}  // namespace korval::forms

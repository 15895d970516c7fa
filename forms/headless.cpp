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
  }
  return Color{};
}

MessageResult HeadlessBackend::ShowMessageBox(const std::string& caption, const std::string& text,
                                              MessageButtons buttons, MessageIcon icon) {
  boxes.push_back(ShownBox{caption, text, buttons, icon});
  if (whileBoxOpen) {
    auto during = whileBoxOpen;  // a nested box must not run it again
    whileBoxOpen = nullptr;
    during();
    whileBoxOpen = during;
  }
  if (answers.empty()) return MessageResult::Ok;
  MessageResult r = answers.front();
  answers.pop_front();
  return r;
}

}  // namespace korval::forms

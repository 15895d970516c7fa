#pragma once
// The password dialog: sets, changes or clears the display password kept in the settings file.
#include <string>

#include "application.h"
#include "controls.h"

namespace korval::statuspanel {

class TnPassfunction : public forms::Form {
 public:
  explicit TnPassfunction(forms::Application& app);

  forms::Panel* Panel1;
  forms::StaticText *StaticText1, *StaticText2, *StaticText3;  // old, new, confirmation
  forms::MaskEdit *MaskEdit1, *MaskEdit2, *MaskEdit3;
  forms::BitBtn *BitBtn1, *BitBtn2;  // OK, Cancel

  // The dialog's own folders, formed when it is created.
  std::string ProgramDir, DataDir;

  void FormCreate();
  // OK: the old password must match the stored one and the new one its confirmation.
  void BitBtn1Click();
  void BitBtn2Click();
};

}  // namespace korval::statuspanel

#pragma once
// The green-mode dialog: the choice goes to the settings file and the monitor is told through the record.
#include "application.h"
#include "controls.h"

namespace korval::statuspanel {

class TnGreenModeSetup : public forms::Form {
 public:
  explicit TnGreenModeSetup(forms::Application& app);

  forms::RadioButton *RadioButton1, *RadioButton2;  // ON, OFF
  forms::BitBtn *BitBtn1, *BitBtn2;                 // OK, Cancel

  // OK: GreenStatus in the settings file, then GreenCommand in the record, both in the data folder that
  // UserPath.dat names at this moment.
  void BitBtn1Click();
  void BitBtn2Click();
};

}  // namespace korval::statuspanel

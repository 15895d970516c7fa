#pragma once
// The green-mode dialog: the choice goes to the settings file and the monitor is told through the record.
#include <string>

#include "application.h"
#include "controls.h"
#include "language.h"

namespace korval::statuspanel {

// The dialog's own caption, and the Green Mode menu item's, for a language file without green-mode texts.
inline const char kGreenModeSetupCaption[] = "Green Mode Setup";

// A language file has green-mode texts of its own when its Dis29 holds 4 bytes or more, counted as stored (a
// double-byte character counts 2); only its length matters.
inline bool HasGreenModeTexts(const LanguageFile& file) { return file.Text("Dis29").size() >= 4; }

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

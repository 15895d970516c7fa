#pragma once
// The self-test dialog: the kind of test and its minutes go to the settings file, and the request waits in
// the hidden Label1 (SelfTestRequestFlag) for the status window's next tick, which sends the command.
#include <cstdint>
#include <string>

#include "application.h"
#include "controls.h"

namespace korval::statuspanel {

class TnselfTsetset : public forms::Form {
 public:
  explicit TnselfTsetset(forms::Application& app);

  forms::Panel* Panel1;
  // TestFun 0..3: ten seconds, the minutes in Edit1, until the battery is low, cancel a running test.
  forms::RadioButton *RadioButton1, *RadioButton2, *RadioButton3, *RadioButton4;
  forms::Edit* Edit1;                // the minutes
  forms::Label* Label1;              // hidden: "1" while a request waits for the tick
  forms::BitBtn *BitBtn1, *BitBtn2;  // OK, Cancel

  // The dialog's own folders, formed when it is created.
  std::string ProgramDir, DataDir;

  void FormCreate();
  void BitBtn1Click();
  void BitBtn2Click();
  // The first `limit` digits among the first ten characters of the edit's text. The edit's font turns red
  // when a digit beyond the limit comes, black with each digit kept.
  std::string CheckEdit(forms::Edit& edit, std::uint8_t limit);
  void Edit1Change();
  // The four choices share one body: the minutes are open only with the timed test.
  void RadioButton1Click() { ChoiceClick(); }
  void RadioButton2Click() { ChoiceClick(); }
  void RadioButton3Click() { ChoiceClick(); }
  void RadioButton4Click() { ChoiceClick(); }

 private:
  void ChoiceClick();
};

}  // namespace korval::statuspanel

#pragma once
// The event viewer window: the events of the last eleven months in a grid, filtered by fifteen event kinds
// and by a month range, the filters kept in section EventLog of the settings file, and the export of the
// list as XML with an XSL style sheet.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "application.h"
#include "controls.h"
#include "settings.h"

namespace korval::eventbook {

using forms::BitBtn;
using forms::CheckBox;
using forms::Edit;
using forms::Panel;
using forms::SaveDialog;
using forms::SpinButton;
using forms::StaticText;
using forms::StringGrid;

// The kind filter of a first start: codes 5 and 15 not listed.
constexpr char kDefaultState[] = "111101111111110";

class TnEventLog : public forms::Form {
 public:
  explicit TnEventLog(forms::Application& app);

  // Controls, in the order of the window layout.
  StringGrid* StringGrid1;
  Panel* Panel1;
  std::array<CheckBox*, 17> CheckBoxes{};  // CheckBox1..CheckBox16 by number
  CheckBox* CheckBox16;                    // the All box
  Panel* Panel2;
  StaticText *StaticText1, *StaticText2;
  Edit *Edit1, *Edit2, *Edit3, *Edit4;  // start year, end year, start month, end month
  SpinButton *SpinButton1, *SpinButton2, *SpinButton3, *SpinButton4;
  BitBtn* BitBtn1;
  SaveDialog* SaveDialog1;

  // Module state.
  std::string ProgramDir, DataDir;
  std::string State;  // the kind filter as last read or written
  bool BoxesLoaded = false;
  std::array<CheckBox*, 15> EventCodeBoxes{};  // entry N - 1 for code N
  std::uint16_t TodayYear = 0, TodayMonth = 0;
  double LastListedTime = 0;
  int LanguageIndex = 0;

  void FormCreate();
  void InitCheckBoxTable();
  void RefreshEventGrid();
  void LoadLanguageTexts();
  void CheckBoxClick();
  void CheckBox16Click();
  void SpinButton1UpClick();
  void SpinButton1DownClick();
  void SpinButton2UpClick();
  void SpinButton2DownClick();
  void SpinButton3UpClick();
  void SpinButton3DownClick();
  void SpinButton4UpClick();
  void SpinButton4DownClick();
  // which: 1 after a change of the start, 2 after a change of the end.
  void ClampDateRange(std::uint8_t which);
  void BitBtn1Click();

 private:
  void BuildLayout();
  // Opens the settings file for one operation; nothing (and the program told to end) when it cannot be read.
  bool WriteEventLogSetting(const std::function<void(SettingsFile&)>& write);
  void StepYear(Edit* edit, int delta, std::uint8_t which);
  void StepMonth(Edit* edit, int delta, std::uint8_t which);
  std::string SettingsPath() const { return DataDir + "KORVAL.ini"; }
};

// The number an edit of the month range shows (its text is the range's only store); 0 when it holds none.
std::uint16_t EditNumber(const Edit& edit);

}  // namespace korval::eventbook

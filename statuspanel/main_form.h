#pragma once
// The status window: the unit's front panel with six gauges, three lamps, the schedule times, the clock and
// the port message, refreshed from the status record every 500 ms.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "application.h"
#include "controls.h"
#include "language.h"
#include "record.h"
#include "sibling_programs.h"
#include "tstate.h"

namespace korval::statuspanel {

// The suite's command message between its programs (WM_USER + 22); wParam and lParam name the command.
constexpr unsigned kSuiteCommandMessage = 1046;
// The show state in which the status window starts programs and opens documents (SW_RESTORE).
constexpr int kShowRestore = 9;

class TnPassfunction;
class TnselfTsetset;
class TnGreenModeSetup;

using forms::BitBtn;
using forms::Image;
using forms::Label;
using forms::MenuItem;
using forms::Panel;
using forms::StaticText;

class TnKORVALmain : public forms::Form {
 public:
  explicit TnKORVALmain(forms::Application& app);

  // Controls, created in the order of the window layout (later ones lie on top).
  Image *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7, *Image8, *Image9, *Image10, *Image11,
      *Image12, *Image13, *Image14, *Image15, *Image16, *Image17, *Image18, *Image19, *Image20, *Image21,
      *Image22, *Image23, *Image24;
  std::array<Label*, 51> Labels{};  // Label1..Label50 by number
  Label *Label9, *Label10, *Label13, *Label14, *Label15, *Label24, *Label25, *Label50;
  std::array<Panel*, 14> Panels{};            // Panel1..Panel13 by number
  std::array<StaticText*, 13> StaticTexts{};  // StaticText1..StaticText12 by number
  StaticText* StaticText11;
  std::array<BitBtn*, kLastButton + 1> BitBtns{};  // BitBtn1..BitBtn9 by number
  BitBtn* BitBtn7;
  forms::Timer* Timer1;
  MenuItem *File1, *Config1, *SelfTest1, *N2, *Exit1, *Setup1, *COMPort1, *Schedule1, *Pager1, *EMail1,
      *unitprep1, *PassWord1, *GreenMode1, *View1, *RecordView1, *EventView1, *Help1, *Help2;
  std::array<MenuItem*, kSiblingCount> SiblingItems{};  // the menu item of each row of kSiblingPrograms

  // Status window variables.
  std::string ProgramDir, DataDir;
  DataBuffRecord RecordImage;
  // The record's bytes exactly as the latest read left them: the image above has display changes of its own
  // (a rated voltage below 100 shows as 115) that must never reach the monitor's file.
  DataBuffRecord RecordAsRead;
  std::unique_ptr<Tstate> State;  // made by the start-up
  std::uint8_t ShownUnitType = 1;
  std::int32_t NominalIn = 115, NominalOut = 115;
  std::array<std::int32_t, 7> GaugeValues{};  // 1..6
  std::array<std::int32_t, 7> LastNeedle{-10, -10, -10, -10, -10, -10, -10};
  std::array<Image*, 7> GaugeImages{};
  std::array<Label*, 8> ScaleLabels1{}, ScaleLabels2{}, ScaleLabels5{};  // positions 1..7
  std::string PortText1, PortText2;
  // The language of the texts (index into the language files and help documents), set by every caption load.
  int LanguageIndex = 0;
  // Texts of the last caption load that other windows take when they are prepared, by their language keys.
  struct KeptTexts {
    std::string Mai0, Mai1;                  // caption and text of the exit question
    std::string Dis20, Dis21, Dis22;         // the three labels of the password dialog
    std::string OK, Cancel;                  // buttons of the password and self-test dialogs
    std::string Dis23, Dis24, Dis25, Dis26;  // the four choices of the self-test dialog
  };
  KeptTexts Kept;
  // The self-test dialog's hidden label: "1" while a self-test request waits for the next tick.
  Label* SelfTestRequestFlag = nullptr;
  // The three dialogs, made hidden at start after this window and reused by their commands.
  TnPassfunction* nPassfunction = nullptr;
  TnselfTsetset* nselfTsetset = nullptr;
  TnGreenModeSetup* nGreenModeSetup = nullptr;

  void FormCreate();
  void ReadData();
  void Timer1Timer();
  // Chooses the language, puts the texts of its file on the window and keeps those that the dialogs take;
  // a language file that cannot be opened throws FileOpenError and changes nothing.
  virtual void CaptionSet();
  void ArrangeLayout();
  // The program-wide hook: every message taken from the queue, before it goes to its window.
  void AppMessage(const forms::Message& message);
  // Help menu: the help document of the language, through the shell.
  void Help2Click();
  void AppMinimize();

  // The sibling programs: raised when a window of their class exists, else started from the program folder.
  void LaunchOrRaise(const std::string& className, const std::string& commandText);
  // The handler of the toolbar button and the menu item of a row of kSiblingPrograms: the settings flag of
  // the unit set-up program first, then LaunchOrRaise with the row's class and command text.
  void SiblingClick(const SiblingProgram& sibling);
  // The handlers that the layout binds to the sibling rows' buttons and menu items (kSiblingHandlers).
  void BitBtn1Click();     // tunedesk
  void BitBtn3Click();     // seekunit
  void BitBtn4Click();     // timetable
  void BitBtn5Click();     // rewind, with the unit type
  void EventView1Click();  // eventbook
  void BitBtn8Click();     // beeper
  void Email1Click();      // postman
  void BitBtn7Click();     // unitprep, after ReadType=1 in SETUPS
  // The row of kSiblingPrograms whose toolbar button is BitBtn<button>.
  static const SiblingProgram& SiblingOfButton(int button);
  // Closing and exit.
  void FormClose(forms::CloseAction& action);
  void Exit1Click();
  void FormKeyDown(std::uint16_t& key, unsigned shift);

  // The dialog commands.
  void BitBtn2Click();     // Self Test
  void PassWord1Click();   // Password
  void GreenMode1Click();  // Green Mode
  // TestCommand := 3 in the image, and the record as read with that one byte changed goes to the file.
  void SendSelfTestCommand();

  // Lamps.
  void ShowStatusImages();
  void ResetDisplay();

  // Gauges.
  void ImageSet();
  void BuildScaleLabelTables();
  void DrawFront(int gauge, std::int32_t& value);
  void DrawPoint(int gauge, int value, int offset, int span);
  void ShowValues();
  void ScaleLabelSet();

  Panel* ReadoutPanel(int gauge) const { return Panels[static_cast<std::size_t>(gauge)]; }

 private:
  void BuildLayout();
  void SetTexts(const LanguageFile& file);
  void SetVoltageScaleLabels();
  // Start-up made the Tstate object and the tables that every tick uses.
  bool ReadyToTick() const { return State && GaugeImages[1] && ScaleLabels1[1]; }
  // Caption loads asked for by a tick (ReadData): see main_form.cpp.
  bool NominalRead();
  void KeepRatedVoltageShown();
  bool ticking_ = false, captionsDue_ = false, labelsDue_ = false;
  std::int32_t loadedNominalIn_ = 0, loadedNominalOut_ = 0;
};

}  // namespace korval::statuspanel

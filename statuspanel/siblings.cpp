// The status window as the suite's hub: the sibling programs, closing and exit, the diagnostic line's keys.
#include <algorithm>
#include <optional>
#include <string>

#include "command_line.h"
#include "error.h"
#include "main_form.h"
#include "settings.h"

namespace korval::statuspanel {

namespace {

constexpr unsigned kWmClose = 0x0010;            // WM_CLOSE
constexpr std::uintptr_t kMonitorStopW = 99;
constexpr std::intptr_t kMonitorStopL = 99;
constexpr std::uint16_t kKeyF8 = 119, kKeyF9 = 120;

// The longest command line a sibling is started with. A longer one is refused whole: cutting it could name
// another program.
constexpr std::size_t kCommandLineLimit = 250;

// The siblings asked to close with the status window; the e-mail and unit set-up programs stay open.
const char* const kSiblingCloseList[] = {"TnTimetable", "TnTunedesk", "TnSeekUnit",
                                         "TnRewind",    "TnEventLog", "TnBeeper"};

}  // namespace

void TnKORVALmain::LaunchOrRaise(const std::string& className, const std::string& commandText) {
  forms::System& system = App().GetSystem();
  if (const auto window = system.FindWindowByClass(className)) {
    system.BringToFront(window);
    return;
  }
  const std::string commandLine = ProgramDir + commandText;
  if (commandLine.size() > kCommandLineLimit)
    throw Error("Cannot start " + commandLine + ": the command line is longer than " +
                std::to_string(kCommandLineLimit) + " characters");
  // The program's file name ends at the first blank of the command text; the rest are its arguments.
  const std::size_t program = ProgramDir.size() + std::min(commandText.find(' '), commandText.size());
  system.StartProgram(QuoteProgramPart(commandLine, program), kShowRestore);
}

void TnKORVALmain::BitBtn1Click() { LaunchOrRaise("TnTunedesk", "tunedesk.exe"); }
void TnKORVALmain::BitBtn3Click() { LaunchOrRaise("TnSeekUnit", "seekunit.exe"); }
void TnKORVALmain::BitBtn4Click() { LaunchOrRaise("TnTimetable", "timetable.exe"); }
void TnKORVALmain::BitBtn5Click() {
  LaunchOrRaise("TnRewind", "rewind.exe " + std::to_string(static_cast<unsigned>(RecordImage.UnitType())));
}
void TnKORVALmain::EventView1Click() { LaunchOrRaise("TnEventLog", "eventbook.exe"); }
void TnKORVALmain::BitBtn8Click() { LaunchOrRaise("TnBeeper", "beeper.exe"); }
void TnKORVALmain::Email1Click() { LaunchOrRaise("TnPostman", "postman.exe"); }

void TnKORVALmain::BitBtn7Click() {
  // The unit set-up program reads this flag; it is written on every press, whether or not it runs already.
  std::optional<SettingsFile> settings =
      OpenSettings(DataDir + "KORVAL.ini", OnOpenFailure::EndProgram, [this] { App().Terminate(); });
  if (!settings) return;
  settings->WriteInteger("SETUPS", "ReadType", 1);
  settings->Update();
  settings.reset();
  LaunchOrRaise("TnUnitPrep", "unitprep.exe");
}

void TnKORVALmain::FormClose(forms::CloseAction&) {
  forms::System& system = App().GetSystem();
  for (const char* className : kSiblingCloseList)
    if (const auto window = system.FindWindowByClass(className)) system.PostMessageTo(window, kWmClose, 0, 0);
}

void TnKORVALmain::Exit1Click() {
  // The kept texts are shown whole: nothing here has a fixed room for them.
  if (App().MessageBox(Kept.Mai0, Kept.Mai1, forms::MessageButtons::OkCancel) != forms::MessageResult::Ok)
    return;
  forms::System& system = App().GetSystem();
  if (const auto monitor = system.FindWindowByClass("TnKORVALBack"))
    system.PostMessageTo(monitor, kSuiteCommandMessage, kMonitorStopW, kMonitorStopL);
  Close();
}

void TnKORVALmain::FormKeyDown(std::uint16_t& key, unsigned shift) {
  if (key == kKeyF8 && shift == forms::kAlt) Label15->SetVisible(true);
  if (key == kKeyF9 && shift == forms::kCtrl) Label15->SetVisible(false);
}

}  // namespace korval::statuspanel

// The status window as the suite's hub: the sibling programs, closing and exit, the diagnostic line's keys.
#include <algorithm>
#include <array>
#include <optional>
#include <stdexcept>
#include <string>

#include "command_line.h"
#include "error.h"
#include "main_form.h"
#include "settings.h"

namespace korval::statuspanel {

namespace {

constexpr unsigned kWmClose = 0x0010;  // WM_CLOSE
constexpr std::uintptr_t kMonitorStopW = 99;
constexpr std::intptr_t kMonitorStopL = 99;
constexpr std::uint16_t kKeyF8 = 119, kKeyF9 = 120;

// The longest command line a sibling is started with. A longer one is refused whole: cutting it could name
// another program.
constexpr std::size_t kCommandLineLimit = 250;

// SiblingCloseList: the classes of the rows that close with the status window, by their close rank; the
// others (the e-mail and unit set-up programs) stay open.
constexpr std::size_t kSiblingCloseCount = [] {
  std::size_t n = 0;
  for (const SiblingProgram& s : kSiblingPrograms) n += s.closeRank > 0 ? 1 : 0;
  return n;
}();
constexpr std::array<const char*, kSiblingCloseCount> kSiblingCloseList = [] {
  std::array<const char*, kSiblingCloseCount> list{};
  for (const SiblingProgram& s : kSiblingPrograms)
    if (s.closeRank > 0) list[static_cast<std::size_t>(s.closeRank - 1)] = s.className;
  return list;
}();
static_assert(
    [] {
      for (const char* className : kSiblingCloseList)
        if (!className) return false;
      return true;
    }(),
    "the close ranks of kSiblingPrograms must be 1, 2, ... without a gap or a repeat");

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

void TnKORVALmain::SiblingClick(const SiblingProgram& sibling) {
  if (sibling.flagsSetup) {
    // The unit set-up program reads this flag; it is written on every press, whether or not it runs already.
    std::optional<SettingsFile> settings =
        OpenSettings(DataDir + "KORVAL.ini", OnOpenFailure::EndProgram, [this] { App().Terminate(); });
    if (!settings) return;
    settings->WriteInteger("SETUPS", "ReadType", 1);
    settings->Update();
  }
  std::string command = std::string(sibling.program) + ".exe";
  if (sibling.argument == Argument::UnitType)
    command += " " + std::to_string(static_cast<unsigned>(RecordImage.UnitType()));
  LaunchOrRaise(sibling.className, command);
}

const SiblingProgram& TnKORVALmain::SiblingOfButton(int button) {
  for (const SiblingProgram& s : kSiblingPrograms)
    if (s.button == button) return s;
  throw std::logic_error("no sibling row has the button BitBtn" + std::to_string(button));
}

void TnKORVALmain::BitBtn1Click() { SiblingClick(SiblingOfButton(1)); }
void TnKORVALmain::BitBtn3Click() { SiblingClick(SiblingOfButton(3)); }
void TnKORVALmain::BitBtn4Click() { SiblingClick(SiblingOfButton(4)); }
void TnKORVALmain::BitBtn5Click() { SiblingClick(SiblingOfButton(5)); }
void TnKORVALmain::EventView1Click() { SiblingClick(SiblingOfButton(6)); }
void TnKORVALmain::BitBtn8Click() { SiblingClick(SiblingOfButton(8)); }
void TnKORVALmain::Email1Click() { SiblingClick(SiblingOfButton(9)); }
void TnKORVALmain::BitBtn7Click() { SiblingClick(SiblingOfButton(7)); }

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

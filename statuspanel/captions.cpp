// The texts of the status window from the chosen language file, the reload message and the help document.
#include <optional>
#include <string>

#include "greenmode.h"
#include "language.h"
#include "main_form.h"
#include "settings.h"

namespace korval::statuspanel {

namespace {

constexpr std::uintptr_t kCaptionReloadW = 22;
constexpr std::intptr_t kCaptionReloadL = 22;

bool MeasuresTemperature(std::uint8_t unitType) { return unitType >= 21 && unitType <= 27; }

}  // namespace

void TnKORVALmain::SetTexts(const LanguageFile& file) {
  auto text = [&file](const char* key) { return file.Text(key); };

  // 3. The texts, a missing key giving the empty text.
  StaticTexts[1]->SetCaption(text("Ivol"));
  StaticTexts[2]->SetCaption(text("Ovol"));
  StaticTexts[3]->SetCaption(text("Load"));
  StaticTexts[4]->SetCaption(text("Ifre"));
  StaticTexts[5]->SetCaption(text(MeasuresTemperature(RecordImage.UnitType()) ? "Temp" : "Ofre"));
  StaticTexts[6]->SetCaption(text("Batt"));
  StaticTexts[7]->SetCaption(text("Dis0"));
  StaticTexts[8]->SetCaption(text("Dis1"));
  StaticTexts[9]->SetCaption(text("Dis2"));
  StaticTexts[10]->SetCaption(text("Dis3") + text("Dis4"));
  StaticTexts[12]->SetCaption(text("Dis5") + text("Dis6"));
  File1->SetCaption(text("Dis7"));
  Setup1->SetCaption(text("Dis8"));
  View1->SetCaption(text("Dis9"));
  Help1->SetCaption(text("Dis10"));
  SelfTest1->SetCaption(text("Dis12"));
  Exit1->SetCaption(text("Exit"));
  Help2->SetCaption(text("Dis10"));
  PassWord1->SetCaption(text("Dis18"));
  BitBtns[kSelfTestButton]->SetHint(text("Dis12"));
  // A sibling's button and menu item take one key; a row without one keeps the layout's texts.
  for (std::size_t i = 0; i < kSiblingCount; ++i) {
    const SiblingProgram& sibling = kSiblingPrograms[i];
    if (!sibling.textKey) continue;
    SiblingItems[i]->SetCaption(text(sibling.textKey));
    BitBtns[static_cast<std::size_t>(sibling.button)]->SetHint(text(sibling.textKey));
  }
  Kept.Mai0 = text("Mai0");
  Kept.Mai1 = text("Mai1");
  Kept.Dis20 = text("Dis20");
  Kept.Dis21 = text("Dis21");
  Kept.Dis22 = text("Dis22");
  Kept.OK = text("OK");
  Kept.Cancel = text("Cancel");
  Kept.Dis23 = text("Dis23");
  Kept.Dis24 = text("Dis24");
  Kept.Dis25 = text("Dis25");
  Kept.Dis26 = text("Dis26");
  PortText1 = text("Dis27");
  PortText2 = text("Dis28");

  // 4.
  GreenMode1->SetCaption(HasGreenModeTexts(file) ? text("Dis34") : std::string(kGreenModeSetupCaption));
}

void TnKORVALmain::CaptionSet() {
  // 1. The language. Start-up and the reload message end the program when the settings file cannot be
  // opened; a tick passes over it (another program holds it for a moment): the window keeps its captions and
  // the next tick tries again.
  captionsDue_ = false;
  std::optional<SettingsFile> settings =
      OpenSettings(DataDir + "KORVAL.ini", ticking_ ? OnOpenFailure::PassOver : OnOpenFailure::EndProgram,
                   [this] { App().Terminate(); });
  if (!settings) {
    captionsDue_ = ticking_;
    return;
  }
  LanguageIndex = ReadLanguageIndex(*settings, App().GetSystem().SystemDefaultLanguage());
  settings.reset();

  // 2. Its file, whole: nothing below runs when it cannot be opened. 3. and 4. its texts; 5. the file goes
  // once they are set.
  SetTexts(LanguageFile::Load(ProgramDir + LanguageFileName(LanguageIndex)));

  // 6. Nothing sets the font name back: after a later load of another language these controls keep the face
  // of the language that wanted one ("Dotum").
  if (const char* face = LanguageFace(LanguageIndex)) {
    for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12})
      StaticTexts[static_cast<std::size_t>(n)]->SetFontName(face);
    // The buttons whose hints come from the language file.
    BitBtns[kSelfTestButton]->SetFontName(face);
    for (const SiblingProgram& sibling : kSiblingPrograms)
      if (sibling.textKey) BitBtns[static_cast<std::size_t>(sibling.button)]->SetFontName(face);
  }

  KeepRatedVoltageShown();

  // 8.
  loadedNominalIn_ = NominalIn;
  loadedNominalOut_ = NominalOut;
  ScaleLabelSet();
}

// 7. In memory only: the next read of the record replaces it.
void TnKORVALmain::KeepRatedVoltageShown() {
  if (RecordImage.RatedVoltage() < 100) RecordImage.SetRatedVoltage(115);
}

void TnKORVALmain::AppMessage(const forms::Message& m) {
  if (m.message == kSuiteCommandMessage && m.wParam == kCaptionReloadW && m.lParam == kCaptionReloadL)
    CaptionSet();
}

void TnKORVALmain::Help2Click() {
  App().GetSystem().ShellOpen(this, ProgramDir + "Help\\" + HelpFilePath(LanguageIndex), "", ProgramDir,
                              kShowRestore);
}

}  // namespace korval::statuspanel

// The green-mode dialog and the main window's Green Mode command.
#include "greenmode.h"

#include <cstdint>
#include <optional>
#include <string>

#include "dialogs.h"
#include "folders.h"
#include "language.h"
#include "main_form.h"
#include "record.h"
#include "settings.h"

namespace korval::statuspanel {

TnGreenModeSetup::TnGreenModeSetup(forms::Application& app)
    : Form(app, "TnGreenModeSetup", "nGreenModeSetup") {
  SetDialogLook(*this, kGreenModeSetupCaption);
  SetClientSize(399, 171);  // 407 x 205 with the border and the title bar

  const forms::Font choiceFont{"MS Sans Serif", 13, false, forms::Rgb(0, 0, 0)};
  RadioButton1 = Add<forms::RadioButton>(this, "RadioButton1");
  RadioButton1->SetBounds(56, 32, 339, 17);
  RadioButton1->SetCaption("Setup Green Mode ON");
  RadioButton2 = Add<forms::RadioButton>(this, "RadioButton2");
  RadioButton2->SetBounds(56, 79, 339, 17);
  RadioButton2->SetCaption("Setup Green Mode OFF");
  for (forms::RadioButton* r : {RadioButton1, RadioButton2}) {
    r->SetFont(choiceFont);
    r->SetColor(kDialogGrey);
  }

  BitBtn1 = AddKindButton(*this, "BitBtn1", 55, 130, 95, ButtonKind::Ok);
  BitBtn2 = AddKindButton(*this, "BitBtn2", 239, 130, 95, ButtonKind::Cancel);

  BitBtn1->OnClick = [this](forms::Control&) { BitBtn1Click(); };
  BitBtn2->OnClick = [this](forms::Control&) { BitBtn2Click(); };
}

void TnGreenModeSetup::BitBtn1Click() {
  // The folders afresh, for this OK only.
  const std::string dataDir = ReadDataDir(App().GetSystem().ProgramDir());
  // A settings file that cannot be opened goes to the error report; the record is not touched.
  std::optional<SettingsFile> settings = OpenSettings(dataDir + "KORVAL.ini", OnOpenFailure::Report);
  settings->WriteInteger("Set", "GreenStatus", RadioButton1->Checked() ? 0 : 1);
  settings->Update();
  settings.reset();
  PatchRecordByte(dataDir);
  Close();
}

void TnGreenModeSetup::BitBtn2Click() { Close(); }

void TnKORVALmain::GreenMode1Click() {
  if (!nGreenModeSetup) return;
  std::optional<SettingsFile> settings = OpenSettingsOrEnd(*this, DataDir);
  if (!settings) return;
  // The stored language as it stands, without the system's language; a value that names no language file
  // (negative ones included) takes English, so the index never leaves the table.
  const std::int32_t stored = settings->ReadInteger("Main", "Language", 0);
  LanguageIndex = stored >= 0 && stored < kLanguageCount ? stored : 0;
  const auto status = static_cast<std::uint8_t>(settings->ReadInteger("Set", "GreenStatus", 0));
  settings.reset();

  const LanguageFile file = LanguageFile::Load(ProgramDir + LanguageFileName(LanguageIndex));
  TnGreenModeSetup& d = *nGreenModeSetup;
  d.BitBtn1->SetCaption(file.Text("OK"));
  d.BitBtn2->SetCaption(file.Text("Cancel"));
  if (!HasGreenModeTexts(file)) {
    d.SetCaption(kGreenModeSetupCaption);
    d.RadioButton1->SetCaption("Setup Green Mode ON");
    d.RadioButton2->SetCaption("Setup Green Mode OFF");
  } else {
    d.SetCaption(file.Text("Dis34"));
    d.RadioButton1->SetCaption(file.Text("Dis33"));
    d.RadioButton2->SetCaption(file.Text("Dis32"));
  }
  ApplyDotumRule(LanguageIndex, {d.BitBtn1, d.BitBtn2, d.RadioButton1, d.RadioButton2});
  // Only the low 8 bits count: 256 is on.
  (status != 0 ? d.RadioButton2 : d.RadioButton1)->SetChecked(true);
  d.Show();
}

}  // namespace korval::statuspanel

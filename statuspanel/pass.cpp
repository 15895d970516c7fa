// The password dialog and the main window's Password command.
#include "pass.h"

#include <optional>
#include <string>

#include "dialogs.h"
#include "main_form.h"
#include "settings.h"

namespace korval::statuspanel {

namespace {

const char kPasswordSection[] = "Main";
const char kPasswordKey[] = "ShowDisp";

}  // namespace

TnPassfunction::TnPassfunction(forms::Application& app) : Form(app, "TnPassfunction", "nPassfunction") {
  SetDialogLook(*this, "Password Function");

  Panel1 = Add<forms::Panel>(this, "Panel1");
  Panel1->SetBounds(0, 0, 331, 145);
  Panel1->SetColor(kDialogGrey);
  const forms::Font labelFont{"MS UI Gothic", 13, false, forms::Rgb(0, 0, 0)};
  const forms::Font editFont{"MS PMincho", 12, false, forms::Rgb(0, 0, 0)};
  struct Row {
    forms::StaticText** label;
    forms::MaskEdit** edit;
    const char *labelName, *editName, *caption;
    int top;
  };
  const Row rows[] = {
      {&StaticText1, &MaskEdit1, "StaticText1", "MaskEdit1", "Old Password:", 10},
      {&StaticText2, &MaskEdit2, "StaticText2", "MaskEdit2", "New Password:", 50},
      {&StaticText3, &MaskEdit3, "StaticText3", "MaskEdit3", "Confirm Password:", 90},
  };
  for (const Row& r : rows) {
    // Read from right to left, the label stands at its right edge, next to its edit.
    forms::StaticText* label = *r.label = Add<forms::StaticText>(Panel1, r.labelName);
    label->SetBounds(26, r.top, 164, 17);
    label->SetCaption(r.caption);
    label->SetFont(labelFont);
    label->SetAlignment(forms::Alignment::Right);
    forms::MaskEdit* edit = *r.edit = Add<forms::MaskEdit>(Panel1, r.editName);
    edit->SetBounds(191, r.top, 121, 20);
    edit->SetFont(editFont);
    edit->SetPasswordChar('*');
  }

  BitBtn1 = AddKindButton(*this, "BitBtn1", 81, 157, 75, ButtonKind::Ok);
  BitBtn2 = AddKindButton(*this, "BitBtn2", 193, 157, 75, ButtonKind::Cancel);
  BitBtn1->SetTabOrder(0);
  BitBtn2->SetTabOrder(1);
  Panel1->SetTabOrder(2);
  FitClientToControls();

  BitBtn1->OnClick = [this](forms::Control&) { BitBtn1Click(); };
  BitBtn2->OnClick = [this](forms::Control&) { BitBtn2Click(); };
  OnCreate = [this] { FormCreate(); };
}

void TnPassfunction::FormCreate() {
  ProgramDir = App().GetSystem().ProgramDir();
  DataDir = DialogDataDir(ProgramDir);
}

void TnPassfunction::BitBtn1Click() {
  std::optional<SettingsFile> settings = OpenSettingsOrEnd(*this, DataDir);
  if (!settings) return;
  // Compared with what is stored now, which another program may have changed since the dialog opened.
  const std::string stored = settings->ReadString(kPasswordSection, kPasswordKey, "");
  if (MaskEdit1->Text() != stored || MaskEdit2->Text() != MaskEdit3->Text()) {
    App().MessageBox(App().Title(), "Set Password Error!!", forms::MessageButtons::Ok,
                     forms::MessageIcon::None);
    return;
  }
  settings->WriteString(kPasswordSection, kPasswordKey, MaskEdit2->Text());
  settings->Update();
  Close();
}

void TnPassfunction::BitBtn2Click() { Close(); }

void TnKORVALmain::PassWord1Click() {
  if (!nPassfunction) return;
  std::optional<SettingsFile> settings = OpenSettingsOrEnd(*this, DataDir);
  if (!settings) return;
  const bool passwordSet = !settings->ReadString(kPasswordSection, kPasswordKey, "").empty();
  settings.reset();

  TnPassfunction& d = *nPassfunction;
  d.SetCaption(PassWord1->Caption());
  d.StaticText1->SetCaption(Kept.Dis20);
  d.StaticText2->SetCaption(Kept.Dis21);
  d.StaticText3->SetCaption(Kept.Dis22);
  d.BitBtn1->SetCaption(Kept.OK);
  d.BitBtn2->SetCaption(Kept.Cancel);
  // Without a stored password there is no old one to type.
  d.StaticText1->SetVisible(passwordSet);
  d.MaskEdit1->SetVisible(passwordSet);
  for (forms::MaskEdit* e : {d.MaskEdit1, d.MaskEdit2, d.MaskEdit3}) e->SetText("");
  ApplyDotumRule(LanguageIndex, {d.StaticText1, d.StaticText2, d.StaticText3, d.MaskEdit1, d.MaskEdit2,
                                 d.MaskEdit3, d.BitBtn1, d.BitBtn2});
  d.Show();
}

}  // namespace korval::statuspanel

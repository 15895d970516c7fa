// The self-test dialog and the main window's Self Test command.
#include "selftest.h"

#include <optional>
#include <string>

#include "dialogs.h"
#include "main_form.h"
#include "settings.h"

namespace korval::statuspanel {

namespace {

// Unit types up to this one take the command at once, without the dialog.
constexpr std::uint8_t kLastDirectUnitType = 20;
// The communication driver that has no timed test.
constexpr std::int32_t kDriverWithoutTimedTest = 3;
constexpr std::size_t kMinutesLooksAt = 10;
constexpr std::uint8_t kMinutesDigits = 2;

}  // namespace

TnselfTsetset::TnselfTsetset(forms::Application& app) : Form(app, "TnselfTsetset", "nselfTsetset") {
  SetDialogLook(*this, "Selft Tset Setup");

  Panel1 = Add<forms::Panel>(this, "Panel1");
  Panel1->SetBounds(0, 0, 358, 162);
  Panel1->SetColor(kDialogGrey);
  const forms::Font choiceFont{"MS UI Gothic", 13, false, forms::Rgb(0, 0, 0)};
  auto choice = [&](const char* name, int top, int width, const char* caption) {
    forms::RadioButton* r = Add<forms::RadioButton>(Panel1, name);
    r->SetBounds(8, top, width, 17);
    r->SetCaption(caption);
    r->SetFont(choiceFont);
    r->SetColor(kDialogGrey);
    return r;
  };
  RadioButton1 = choice("RadioButton1", 15, 262, "10 Seconds Test");
  RadioButton2 = choice("RadioButton2", 45, 348, "Test For Specified Time Period(Min)");
  Edit1 = Add<forms::Edit>(Panel1, "Edit1");
  Edit1->SetBounds(28, 67, 37, 24);
  Edit1->SetText("5");
  Edit1->SetEnabled(false);
  Edit1->SetFont(forms::Font{"MS Sans Serif", 13, false, forms::Rgb(0, 0, 0)});
  RadioButton3 = choice("RadioButton3", 105, 262, "Test Until Battery Low");
  RadioButton4 = choice("RadioButton4", 135, 262, "Cancel Test ");
  RadioButton1->SetChecked(true);

  Label1 = Add<forms::Label>(this, "Label1");
  Label1->SetLeft(126);
  Label1->SetTop(167);
  Label1->SetCaption("0");
  Label1->SetVisible(false);

  BitBtn1 = AddKindButton(*this, "BitBtn1", 80, 179, 75, ButtonKind::Ok);
  BitBtn2 = AddKindButton(*this, "BitBtn2", 200, 179, 75, ButtonKind::Cancel);
  // Unlike the other dialogs' buttons, these two keep the form's font.
  BitBtn1->SetFont(Font());
  BitBtn2->SetFont(Font());
  BitBtn1->SetTabOrder(0);
  BitBtn2->SetTabOrder(1);
  Panel1->SetTabOrder(2);
  Edit1->SetTabOrder(0);
  FitClientToControls();

  RadioButton1->OnClick = [this](forms::Control&) { RadioButton1Click(); };
  RadioButton2->OnClick = [this](forms::Control&) { RadioButton2Click(); };
  RadioButton3->OnClick = [this](forms::Control&) { RadioButton3Click(); };
  RadioButton4->OnClick = [this](forms::Control&) { RadioButton4Click(); };
  Edit1->OnChange = [this](forms::Edit&) { Edit1Change(); };
  BitBtn1->OnClick = [this](forms::Control&) { BitBtn1Click(); };
  BitBtn2->OnClick = [this](forms::Control&) { BitBtn2Click(); };
  OnCreate = [this] { FormCreate(); };
}

void TnselfTsetset::FormCreate() {
  ProgramDir = App().GetSystem().ProgramDir();
  DataDir = DialogDataDir(ProgramDir);
  std::optional<SettingsFile> settings = OpenSettingsOrEnd(*this, DataDir);
  if (!settings) return;
  const std::string minutes = settings->ReadString("Main", "TestTime", "5");
  const std::int32_t kind = settings->ReadInteger("Main", "TestFun", 0);
  settings.reset();
  Edit1->SetText(minutes);  // the minutes filter applies to the stored text too
  forms::RadioButton* const choices[] = {RadioButton1, RadioButton2, RadioButton3, RadioButton4};
  if (kind >= 0 && kind <= 3) choices[kind]->SetChecked(true);
  Edit1->SetEnabled(RadioButton2->Checked());
}

std::string TnselfTsetset::CheckEdit(forms::Edit& edit, std::uint8_t limit) {
  const std::string text = edit.Text().substr(0, kMinutesLooksAt);
  std::string digits;
  forms::Font font = edit.Font();
  for (char ch : text) {
    if (ch < '0' || ch > '9') continue;
    if (digits.size() == limit) {
      font.color = forms::Rgb(255, 0, 0);
      break;
    }
    digits += ch;
    font.color = forms::Rgb(0, 0, 0);
  }
  edit.SetFont(font);
  return digits;
}

void TnselfTsetset::Edit1Change() {
  // Putting the result raises the change once more; the filter then keeps it whole.
  Edit1->SetText(CheckEdit(*Edit1, kMinutesDigits));
}

void TnselfTsetset::ChoiceClick() { Edit1->SetEnabled(RadioButton2->Checked()); }

void TnselfTsetset::BitBtn1Click() {
  // The request stands even when the settings cannot be written: the next tick sends it.
  Label1->SetCaption("1");
  std::optional<SettingsFile> settings = OpenSettingsOrEnd(*this, DataDir);
  if (!settings) return;
  const int kind = RadioButton1->Checked()   ? 0
                   : RadioButton2->Checked() ? 1
                   : RadioButton3->Checked() ? 2
                                             : 3;
  settings->WriteInteger("Main", "TestFun", kind);
  settings->WriteString("Main", "TestTime", Edit1->Text());
  settings->Update();
  Close();
}

void TnselfTsetset::BitBtn2Click() { Close(); }

void TnKORVALmain::BitBtn2Click() {
  if (ShownUnitType <= kLastDirectUnitType) {
    SendSelfTestCommand();
    return;
  }
  if (!nselfTsetset) return;
  // A settings file that cannot be read is passed over: the driver then counts as not set.
  std::int32_t driver = 0;
  if (std::optional<SettingsFile> settings = OpenSettings(DataDir + "KORVAL.ini", OnOpenFailure::PassOver))
    driver = settings->ReadInteger("COM251", "Driver", 0);

  TnselfTsetset& d = *nselfTsetset;
  d.SetCaption(BitBtns[2]->Hint());
  d.RadioButton1->SetCaption(Kept.Dis23);
  d.RadioButton2->SetCaption(Kept.Dis24);
  d.RadioButton3->SetCaption(Kept.Dis25);
  d.RadioButton4->SetCaption(Kept.Dis26);
  d.BitBtn1->SetCaption(Kept.OK);
  d.BitBtn2->SetCaption(Kept.Cancel);
  // The checked choice stays; with another driver the minutes are open until the choice next changes.
  const bool timed = driver != kDriverWithoutTimedTest;
  d.RadioButton2->SetEnabled(timed);
  d.Edit1->SetEnabled(timed);
  ApplyDotumRule(LanguageIndex,
                 {d.RadioButton1, d.RadioButton2, d.RadioButton3, d.RadioButton4, d.BitBtn1, d.BitBtn2});
  d.Show();
}

}  // namespace korval::statuspanel

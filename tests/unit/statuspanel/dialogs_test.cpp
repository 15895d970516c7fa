// The password, self-test and green-mode dialogs with the main window's commands that open them: what they
// show, what they write to the settings file and the record, the request that waits for the tick, and what a
// settings file that cannot be opened does.
#include <gtest/gtest.h>

#include "codepage.h"
#include "dialogs_fixture.h"

namespace korval::statuspanel::test {
namespace {

using forms::kKeyEscape;
using forms::kKeyReturn;

const forms::Color kBlack = forms::Rgb(0, 0, 0), kRed = forms::Rgb(255, 0, 0);

TEST_F(DialogsTest, DialogsAreCreatedHiddenAndEnterAndEscPressTheirButtons) {
  StartAll();
  EXPECT_EQ(form->SelfTestRequestFlag, SelfTest().Label1);
  EXPECT_EQ(form->SelfTestRequestFlag->Caption(), "0");
  struct Dialog {
    forms::Form* form;
    forms::BitBtn *ok, *cancel;
  };
  for (const Dialog& d : {Dialog{&Pass(), Pass().BitBtn1, Pass().BitBtn2},
                          Dialog{&SelfTest(), SelfTest().BitBtn1, SelfTest().BitBtn2},
                          Dialog{&Green(), Green().BitBtn1, Green().BitBtn2}}) {
    SCOPED_TRACE(d.form->ClassName());
    EXPECT_FALSE(d.form->Visible());
    int ok = 0, cancel = 0;
    d.ok->OnClick = [&](forms::Control&) { ++ok; };
    d.cancel->OnClick = [&](forms::Control&) { ++cancel; };
    d.form->Show();
    EXPECT_TRUE(d.form->DialogKey(kKeyReturn, 0));
    EXPECT_TRUE(d.form->DialogKey(kKeyEscape, 0));
    EXPECT_EQ(ok, 1);
    EXPECT_EQ(cancel, 1);
  }
  // The password and self-test dialogs fit their controls.
  EXPECT_EQ(Pass().Width(), 331);
  EXPECT_EQ(Pass().Height(), 182);
  EXPECT_EQ(SelfTest().Width(), 358);
  EXPECT_EQ(SelfTest().Height(), 204);
}

// A UserPath.dat that cannot be read is reported once, by the status window; the dialogs are made all the
// same.
TEST_F(DialogsTest, UnreadableUserPathIsReportedOnce) {
  std::filesystem::remove(program.File("UserPath.dat"));
  std::filesystem::create_directory(program.File("UserPath.dat"));
  StartAll();
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_NE(backend.boxes[0].text.find("UserPath.dat"), std::string::npos);
  EXPECT_EQ(Pass().DataDir, "");
  EXPECT_EQ(SelfTest().DataDir, "");
  EXPECT_FALSE(app->Terminated());
}

// ---------------------------------------------------------------------------------------------- password

struct PasswordCase {
  const char* stored;  // nullptr: no ShowDisp key
  const char *old, *fresh, *again;
  bool accepted;
};

TEST_F(DialogsTest, PasswordAcceptanceTable) {
  const PasswordCase cases[] = {
      {nullptr, "", "abc", "abc", true},        {"", "", "", "", true},
      {"Secret", "Secret", "new", "new", true}, {"Secret", "Secret", "", "", true},
      {"Secret", "secret", "x", "x", false},    {"Secret", "Secret", "x", "x ", false},
      {"Secret", "", "x", "x", false},          {nullptr, "", "abc", "abd", false},
  };
  StartAll();
  for (const PasswordCase& c : cases) {
    SCOPED_TRACE(std::string(c.stored ? c.stored : "(none)") + " / " + c.old + " / " + c.fresh + " / " +
                 c.again);
    Settings(std::string("[Main]\r\nLanguage=0\r\n") +
             (c.stored ? std::string("ShowDisp=") + c.stored + "\r\n" : ""));
    backend.boxes.clear();
    form->PassWord1Click();
    ASSERT_TRUE(Pass().Visible());
    const bool oldRow = c.stored && *c.stored;
    EXPECT_EQ(Pass().MaskEdit1->Visible(), oldRow);
    EXPECT_EQ(Pass().StaticText1->Visible(), oldRow);
    if (oldRow) Pass().MaskEdit1->Typed(c.old);
    Pass().MaskEdit2->Typed(c.fresh);
    Pass().MaskEdit3->Typed(c.again);
    Pass().BitBtn1->Click();
    if (c.accepted) {
      EXPECT_FALSE(Pass().Visible());
      EXPECT_TRUE(backend.boxes.empty());
      EXPECT_EQ(Setting("Main", "ShowDisp"), c.fresh);
    } else {
      EXPECT_TRUE(Pass().Visible()) << "the dialog stays open with the typed texts";
      if (oldRow) {
        EXPECT_EQ(Pass().MaskEdit1->Text(), c.old);
      }
      EXPECT_EQ(Pass().MaskEdit2->Text(), c.fresh);
      EXPECT_EQ(Pass().MaskEdit3->Text(), c.again);
      ASSERT_EQ(backend.boxes.size(), 1u);
      EXPECT_EQ(backend.boxes[0].text, "Set Password Error!!");
      EXPECT_EQ(backend.boxes[0].caption, "KORVAL Plus for Windows");
      EXPECT_EQ(backend.boxes[0].buttons, forms::MessageButtons::Ok);
      EXPECT_EQ(backend.boxes[0].icon, forms::MessageIcon::None);
      EXPECT_EQ(Setting("Main", "ShowDisp"), c.stored ? c.stored : "(none)");
      Pass().BitBtn2->Click();
    }
  }
}

TEST_F(DialogsTest, PasswordOpeningTakesTheKeptTextsAndEmptiesTheEdits) {
  Settings("[Main]\r\nShowDisp=pw\r\n");
  StartAll();
  form->PassWord1Click();
  EXPECT_EQ(Pass().Caption(), "Password");
  EXPECT_EQ(Pass().StaticText1->Caption() + Pass().StaticText2->Caption() + Pass().StaticText3->Caption(),
            "Old:New:Again:");
  EXPECT_EQ(Pass().BitBtn1->Caption() + "/" + Pass().BitBtn2->Caption(), "Okay/Back");
  EXPECT_EQ(Pass().MaskEdit1->PasswordChar(), '*');
  Pass().MaskEdit1->Typed("typed");
  Pass().MaskEdit2->Typed("typed");
  Pass().BitBtn2->Click();
  EXPECT_FALSE(Pass().Visible());
  EXPECT_EQ(Pass().MaskEdit1->Text(), "typed") << "Cancel leaves the texts until the next opening";
  EXPECT_EQ(Setting("Main", "ShowDisp"), "pw");

  // Stored by another program while the dialog is open without the old-password row: refused.
  Settings("");
  form->PassWord1Click();
  EXPECT_EQ(Pass().MaskEdit1->Text() + Pass().MaskEdit2->Text(), "");
  EXPECT_FALSE(Pass().MaskEdit1->Visible());
  Settings("[Main]\r\nShowDisp=late\r\n");
  Pass().BitBtn1->Click();
  EXPECT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(Setting("Main", "ShowDisp"), "late");
}

// A Japanese line in [Main] whose last byte, "]", is the second byte of a character opens no section: the
// stored password is still found, so the old-password row shows and a new one needs the old; the change
// replaces the entry.
TEST_F(DialogsTest, PasswordBehindAJapaneseLineEndingInABracketByte) {
  UseCodePage(932);
  Settings("[Main]\r\nLanguage=0\r\n[\x92\x8D\x81\x5D\r\nShowDisp=pw\r\n");
  StartAll();
  form->PassWord1Click();
  EXPECT_TRUE(Pass().MaskEdit1->Visible());
  Pass().MaskEdit2->Typed("new");
  Pass().MaskEdit3->Typed("new");
  Pass().BitBtn1->Click();
  EXPECT_EQ(backend.boxes.size(), 1u) << "refused without the old password";
  Pass().MaskEdit1->Typed("pw");
  Pass().BitBtn1->Click();
  EXPECT_FALSE(Pass().Visible());
  const std::string file = data.Read("KORVAL.ini");
  EXPECT_EQ(file, "[Main]\r\nLanguage=0\r\n[\x92\x8D\x81\x5D\r\nShowDisp=new\r\n\r\n");
  UseCodePage(0);
}

// ---------------------------------------------------------------------------------------------- self-test

TEST_F(DialogsTest, MinutesFilterTable) {
  struct Case {
    const char *typed, *shown;
  };
  const Case cases[] = {
      {"7", "7"},          {"123", "12"}, {"a1b2c3", "12"}, {"abcdefghij5", ""},
      {"abcdefghi5", "5"}, {"", ""},      {"1x", "1"},      {"x9y", "9"},
  };
  StartAll();
  forms::Edit& edit = *SelfTest().Edit1;
  edit.SetEnabled(true);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    edit.Typed(c.typed);
    EXPECT_EQ(edit.Text(), c.shown);
    if (*c.shown) {
      EXPECT_EQ(edit.Font().color, kBlack);
    }
  }
  // The filter alone: a digit past the limit turns the font red; no digit leaves the colour as it was.
  edit.Typed("12");
  EXPECT_EQ(SelfTest().CheckEdit(edit, 1), "1");
  EXPECT_EQ(edit.Font().color, kRed);
  edit.Typed("ab");
  EXPECT_EQ(edit.Font().color, kRed);
}

TEST_F(DialogsTest, StoredMinutesPassTheFilterAtCreation) {
  for (const char* stored : {"123", ""}) {
    Settings(std::string("[Main]\r\nTestTime=") + stored + "\r\n");
    StartAll();
    EXPECT_EQ(SelfTest().Edit1->Text(), std::string(stored).substr(0, 2));
  }
}

// The stored kind and the driver: the choice checked at start and at the opening, what is open to the user,
// and what OK writes.
TEST_F(DialogsTest, TestFunAndDriverTable) {
  struct Case {
    const char* settings;
    int checked;  // 1..4
    bool timedOpen, editOpen;
    int written;
  };
  const Case cases[] = {
      {"[Main]\r\nTestFun=1\r\n[COM251]\r\nDriver=3\r\n", 2, false, false, 1},
      {"[Main]\r\nTestFun=0\r\n", 1, true, true, 0},
      {"[Main]\r\nTestFun=7\r\n[COM251]\r\nDriver=2\r\n", 1, true, true, 0},
      {"[Main]\r\nTestFun=3\r\n", 4, true, true, 3},
      {"[Main]\r\nTestFun=-1\r\n", 1, true, true, 0},
      {"[Main]\r\nTestFun=2\r\n[COM251]\r\nDriver=3\r\n", 3, false, false, 2},
  };
  Put(Live(25));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.settings);
    Settings(c.settings);
    StartAll();
    forms::RadioButton* const choices[] = {nullptr, SelfTest().RadioButton1, SelfTest().RadioButton2,
                                           SelfTest().RadioButton3, SelfTest().RadioButton4};
    EXPECT_EQ(SelfTest().Edit1->Enabled(), c.checked == 2) << "at creation the minutes follow the choice";
    form->BitBtn2Click();
    ASSERT_TRUE(SelfTest().Visible());
    EXPECT_TRUE(choices[c.checked]->Checked());
    EXPECT_EQ(SelfTest().RadioButton2->Enabled(), c.timedOpen);
    EXPECT_EQ(SelfTest().Edit1->Enabled(), c.editOpen);
    SelfTest().BitBtn1->Click();
    EXPECT_FALSE(SelfTest().Visible());
    EXPECT_EQ(Setting("Main", "TestFun"), std::to_string(c.written));
    EXPECT_EQ(Setting("Main", "TestTime"), "5");
  }
}

TEST_F(DialogsTest, SelfTestOpeningTakesTheKeptTextsAndAChoiceClickSettlesTheMinutes) {
  Put(Live(21));
  StartAll();
  form->BitBtn2Click();
  EXPECT_EQ(SelfTest().Caption(), "Self Test");
  EXPECT_EQ(SelfTest().RadioButton1->Caption() + SelfTest().RadioButton2->Caption() +
                SelfTest().RadioButton3->Caption() + SelfTest().RadioButton4->Caption(),
            "TenTimedBatteryStop");
  EXPECT_EQ(SelfTest().BitBtn1->Caption() + "/" + SelfTest().BitBtn2->Caption(), "Okay/Back");
  EXPECT_TRUE(SelfTest().Edit1->Enabled()) << "open with the ten-second choice until the choice changes";
  SelfTest().RadioButton3->Click();
  EXPECT_FALSE(SelfTest().Edit1->Enabled());
  SelfTest().RadioButton2->Click();
  EXPECT_TRUE(SelfTest().Edit1->Enabled());
  SelfTest().Edit1->Typed("");
  SelfTest().BitBtn2->Click();
  EXPECT_FALSE(data.Has("KORVAL.ini")) << "Cancel writes nothing";
  EXPECT_EQ(form->SelfTestRequestFlag->Caption(), "0");
  form->BitBtn2Click();
  EXPECT_TRUE(SelfTest().RadioButton2->Checked()) << "the choice as the user left it";

  // An empty minutes edit is stored empty, and the request still stands.
  SelfTest().BitBtn1->Click();
  EXPECT_EQ(Setting("Main", "TestTime"), "");
  EXPECT_EQ(form->SelfTestRequestFlag->Caption(), "1");
}

// Unit types up to 20 send the command at once; the record goes back as read, with only TestCommand changed
// (a rated voltage of 80, shown as 115, stays 80 in the file).
TEST_F(DialogsTest, SelfTestCommandByUnitType) {
  for (int unit : {0, 20, 21, 255}) {
    SCOPED_TRACE(unit);
    DataBuffRecord r = Live(unit);
    r.SetRatedVoltage(80);
    r.SetByte(60, 0xA5);
    Put(r);
    StartAll();
    ASSERT_EQ(form->RecordImage.RatedVoltage(), 115);
    form->BitBtn2Click();
    const bool direct = unit <= 20;
    EXPECT_EQ(SelfTest().Visible(), !direct);
    DataBuffRecord want = r;
    if (direct) want.SetByte(DataBuffRecord::kTestCommand, 3);
    EXPECT_EQ(RecordFile(), Bytes(want));
    EXPECT_FALSE(data.Has("KORVAL.ini")) << "the direct command leaves TestFun and TestTime alone";
    EXPECT_EQ(form->SelfTestRequestFlag->Caption(), "0");
  }
}

TEST_F(DialogsTest, RequestFlagGivesOneCommandPerTickWithTheRecordAsRead) {
  DataBuffRecord r = Live(25);
  r.SetRatedVoltage(80);
  Put(r);
  StartAll();
  form->BitBtn2Click();
  SelfTest().RadioButton4->Click();
  SelfTest().BitBtn1->Click();
  form->BitBtn2Click();
  SelfTest().BitBtn1->Click();  // twice before one tick
  EXPECT_EQ(RecordFile(), Bytes(r)) << "nothing reaches the record before the tick";
  form->Timer1Timer();
  EXPECT_EQ(form->SelfTestRequestFlag->Caption(), "0");
  DataBuffRecord want = r;
  want.SetByte(DataBuffRecord::kTestCommand, 3);
  EXPECT_EQ(RecordFile(), Bytes(want));
  EXPECT_EQ(Setting("Main", "TestFun"), "3");
  Tick(r);  // the monitor took the command
  EXPECT_EQ(RecordFile(), Bytes(r)) << "one command for the two OKs";
}

TEST_F(DialogsTest, UnreadableSettingsInTheSelfTest) {
  Put(Live(25));
  BreakSettings();
  StartAll();
  EXPECT_TRUE(app->Terminated()) << "creation ends the program";
  EXPECT_EQ(SelfTest().Edit1->Text(), "5");

  app.reset();
  std::filesystem::remove(data.File("KORVAL.ini"));
  Settings("[Main]\r\nTestFun=1\r\n[COM251]\r\nDriver=3\r\n");
  StartAll();
  ASSERT_FALSE(app->Terminated());
  std::filesystem::remove(data.File("KORVAL.ini"));
  BreakSettings();
  form->BitBtn2Click();
  EXPECT_TRUE(SelfTest().Visible()) << "the command passes over the failure";
  EXPECT_TRUE(SelfTest().Edit1->Enabled()) << "no driver is read";
  EXPECT_FALSE(app->Terminated());
  SelfTest().BitBtn1->Click();
  EXPECT_TRUE(app->Terminated()) << "OK ends the program";
  EXPECT_EQ(form->SelfTestRequestFlag->Caption(), "1") << "after raising the request";
  EXPECT_TRUE(backend.boxes.empty());
}

// ---------------------------------------------------------------------------------------------- green mode

TEST_F(DialogsTest, GreenStatusCheckedChoiceAndWhatOkWrites) {
  struct Case {
    const char* stored;  // nullptr: no key
    bool onChecked;
  };
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kTestCommand, 3);  // an earlier request stays beside the green-mode command
  for (const Case& c :
       {Case{nullptr, true}, Case{"1", false}, Case{"256", true}, Case{"0", true}, Case{"-1", false}}) {
    SCOPED_TRACE(c.stored ? c.stored : "(none)");
    Settings(c.stored ? std::string("[Set]\r\nGreenStatus=") + c.stored + "\r\n" : "");
    Put(r);
    StartAll();
    form->GreenMode1Click();
    ASSERT_TRUE(Green().Visible());
    EXPECT_EQ(Green().RadioButton1->Checked(), c.onChecked);
    EXPECT_EQ(Green().RadioButton2->Checked(), !c.onChecked);
    (c.onChecked ? Green().RadioButton2 : Green().RadioButton1)->Click();  // the user turns it round
    Green().BitBtn1->Click();
    EXPECT_FALSE(Green().Visible());
    EXPECT_EQ(Setting("Set", "GreenStatus"), c.onChecked ? "1" : "0");
    DataBuffRecord want = r;
    want.SetByte(DataBuffRecord::kGreenCommand, 2);
    EXPECT_EQ(RecordFile(), Bytes(want));
  }
  // Cancel writes nothing, and the next opening shows the stored choice again.
  form->GreenMode1Click();
  Green().RadioButton2->Click();
  Green().BitBtn2->Click();
  EXPECT_EQ(Setting("Set", "GreenStatus"), "0");
  form->GreenMode1Click();
  EXPECT_TRUE(Green().RadioButton1->Checked());
}

TEST_F(DialogsTest, GreenModeTextsByDis29AndTheLanguage) {
  program.Write("Japanese.txt",
                "Dis29=\x97\xCE\x90\x46\r\nDis34=J34\r\nOK=JOK\r\n");  // two double-byte characters
  program.Write("russian.txt", "Dis29=abc\r\nDis34=R34\r\nOK=ROK\r\nCancel=RC\r\n");
  struct Case {
    const char* language;  // nullptr: no key
    int index;
    const char *caption, *on, *ok;
    bool dotum;
  };
  const Case cases[] = {
      {nullptr, 0, "Green Mode Setup", "On!", "Okay", false},              // the texts of Dis34, Dis33
      {"3", 3, "J34", "", "JOK", false},                                   // Dis29 of 4 bytes, no Dis33
      {"11", 11, "Green Mode Setup", "Setup Green Mode ON", "ROK", true},  // Dis29 of 3 bytes
      {"12", 0, "Green Mode Setup", "On!", "Okay", true},
      {"-2", 0, "Green Mode Setup", "On!", "Okay", true},
  };
  system.systemLanguage = 0x0407;  // German: the status window's own choice does not reach the dialog
  program.Write("German.txt", kEnglishFixture);
  StartAll();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language ? c.language : "(none)");
    Settings(c.language ? std::string("[Main]\r\nLanguage=") + c.language + "\r\n" : "");
    form->GreenMode1Click();
    EXPECT_EQ(form->LanguageIndex, c.index);
    EXPECT_EQ(Green().Caption(), c.caption);
    EXPECT_EQ(Green().RadioButton1->Caption(), c.on);
    EXPECT_EQ(Green().BitBtn1->Caption(), c.ok);
    EXPECT_EQ(Green().RadioButton1->Font().name == "Dotum", c.dotum) << "Dotum stays once it came";
    EXPECT_TRUE(backend.boxes.empty());
  }
}

TEST_F(DialogsTest, GreenModeFailures) {
  // A missing language file: the error report, no dialog.
  StartAll();
  Settings("[Main]\r\nLanguage=4\r\n");
  app->Dispatch([&] { form->GreenMode1Click(); });
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file " + program.File("Thai.txt"));
  EXPECT_FALSE(Green().Visible());
  EXPECT_EQ(form->LanguageIndex, 4);

  // A record that ends before GreenCommand is left alone; the setting is written and the dialog closes.
  Settings("");
  data.Write("DATABuff.REC", std::string(40, '\x07'));
  form->GreenMode1Click();
  Green().BitBtn1->Click();
  EXPECT_EQ(RecordFile(), std::string(40, '\x07'));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "0");
  EXPECT_FALSE(Green().Visible());

  // Settings that cannot be read at OK: the error report, the record untouched, the dialog open.
  Put(Live(5));
  form->GreenMode1Click();
  std::filesystem::remove(data.File("KORVAL.ini"));
  BreakSettings();
  backend.boxes.clear();
  app->Dispatch([&] { Green().BitBtn1->Click(); });
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file " + data.File("KORVAL.ini"));
  EXPECT_EQ(RecordFile(), Bytes(Live(5)));
  EXPECT_TRUE(Green().Visible());
  EXPECT_FALSE(app->Terminated());

  // ...and at the command: the program ends, no dialog.
  Green().BitBtn2->Click();
  form->GreenMode1Click();
  EXPECT_TRUE(app->Terminated());
  EXPECT_FALSE(Green().Visible());
}

TEST_F(DialogsTest, UnreadableSettingsAtThePasswordCommandsEndTheProgram) {
  StartAll();
  BreakSettings();
  form->PassWord1Click();
  EXPECT_TRUE(app->Terminated());
  EXPECT_FALSE(Pass().Visible());

  std::filesystem::remove(data.File("KORVAL.ini"));
  app.reset();
  StartAll();
  form->PassWord1Click();
  Pass().MaskEdit2->Typed("x");
  Pass().MaskEdit3->Typed("x");
  BreakSettings();
  Pass().BitBtn1->Click();
  EXPECT_TRUE(app->Terminated());
  EXPECT_TRUE(Pass().Visible());
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(DialogsTest, DotumStaysOnThePasswordAndSelfTestDialogs) {
  program.Write("russian.txt", std::string(kEnglishFixture) + kDialogTexts);
  Settings("[Main]\r\nLanguage=11\r\n");
  Put(Live(22));
  StartAll();
  form->PassWord1Click();
  form->BitBtn2Click();
  Settings("[Main]\r\nLanguage=0\r\n");
  form->CaptionSet();
  form->PassWord1Click();
  form->BitBtn2Click();
  const std::initializer_list<forms::Control*> dotum = {Pass().StaticText3, Pass().MaskEdit1, Pass().BitBtn2,
                                                        SelfTest().RadioButton4, SelfTest().BitBtn1};
  for (forms::Control* c : dotum) EXPECT_EQ(c->Font().name, "Dotum") << c->Name();
  EXPECT_EQ(SelfTest().Edit1->Font().name, "MS Sans Serif") << "the minutes keep their font";
}

// The OK and Cancel buttons: "MS UI Gothic" -13 on the password and green-mode dialogs, the form's own
// "MS Sans Serif" -11 on the self-test dialog; language 11 changes the name and keeps the height.
TEST_F(DialogsTest, OkAndCancelButtonFonts) {
  program.Write("russian.txt", std::string(kEnglishFixture) + kDialogTexts);
  Put(Live(22));
  StartAll();
  for (const bool dotum : {false, true}) {
    SCOPED_TRACE(dotum ? "language 11" : "language 0");
    Settings(dotum ? "[Main]\r\nLanguage=11\r\n" : "[Main]\r\nLanguage=0\r\n");
    form->CaptionSet();
    form->PassWord1Click();
    form->BitBtn2Click();
    form->GreenMode1Click();
    struct Button {
      const char* dialog;
      forms::BitBtn* button;
      const char* name;
      int height;
    };
    for (const Button& b : {Button{"password", Pass().BitBtn1, "MS UI Gothic", 13},
                            Button{"password", Pass().BitBtn2, "MS UI Gothic", 13},
                            Button{"self-test", SelfTest().BitBtn1, "MS Sans Serif", 11},
                            Button{"self-test", SelfTest().BitBtn2, "MS Sans Serif", 11},
                            Button{"green mode", Green().BitBtn1, "MS UI Gothic", 13},
                            Button{"green mode", Green().BitBtn2, "MS UI Gothic", 13}}) {
      SCOPED_TRACE(std::string(b.dialog) + " " + b.button->Name());
      EXPECT_EQ(b.button->Font().name, dotum ? "Dotum" : b.name);
      EXPECT_EQ(b.button->Font().height, b.height);
    }
  }
}

}  // namespace
}  // namespace korval::statuspanel::test

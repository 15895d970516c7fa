// The captions of the viewer from the language file: the language choice, the key-to-control table, the
// Save/Print rule, missing keys, the "Dotum" rule and a language file that cannot be read.
#include <string>

#include "viewer_fixture.h"

namespace korval::eventbook::test {
namespace {

TEST_F(ViewerTest, LanguageFileSetsCaptionsTitleBoxesAndGridHeaders) {
  program.Write(
      "German.txt",
      "log0=Ereignisse\r\nLog1=Programmstart\r\nLOG6= Sonstiges\r\nLog7=Alle\r\nLog8=Von\r\nLog9=Bis\r\n"
      "Save=Sichern\r\nLog10=Nr.\r\nLog11=Kode\r\nLog12=Zeit\r\nLog13=Ereignis\r\n");
  system.systemLanguage = 1031;  // German (Germany), no Language key
  WriteMonth(12, Record(15, At(2026, 12, 1)) + Record(1, At(2026, 12, 2)));
  WriteSettings("[EventLog]\r\nState=100000000000001\r\n");
  TnEventLog& f = Start();
  EXPECT_EQ(f.LanguageIndex, 5);
  EXPECT_EQ(f.Caption(), "Ereignisse");
  EXPECT_EQ(app->Title(), "Ereignisse");
  EXPECT_EQ(f.CheckBoxes[1]->Caption(), "1.Programmstart");
  EXPECT_EQ(f.CheckBoxes[15]->Caption(), "15. Sonstiges") << "nothing trimmed, nothing put between";
  EXPECT_EQ(f.CheckBoxes[6]->Caption(), "6.") << "a missing key leaves the number and the point";
  EXPECT_EQ(f.CheckBox16->Caption(), "Alle");
  EXPECT_EQ(f.StaticText1->Caption(), "Von");
  EXPECT_EQ(f.StaticText2->Caption(), "Bis");
  EXPECT_EQ(f.BitBtn1->Caption(), "Sichern");
  const char* const headers[4] = {"Nr.", "Kode", "Zeit", "Ereignis"};
  for (int c = 0; c < 4; ++c) EXPECT_EQ(f.StringGrid1->Cell(c, 0), headers[c]);
  EXPECT_EQ(Column(3), (std::vector<std::string>{" Sonstiges", "Programmstart"}))
      << "the grid shows the texts that the boxes carry";
  EXPECT_EQ(f.CheckBoxes[1]->Font().name, "MS UI Gothic");

  system.systemLanguage = 3079;  // German (Austria): English
  Start();
  EXPECT_EQ(form->LanguageIndex, 0);
  EXPECT_EQ(form->CheckBoxes[15]->Caption(), "15.Other");
}

TEST_F(ViewerTest, StoredLanguageWinsOverTheSystemLanguage) {
  program.Write("Japanese.txt", "Log0=JP\r\n");
  WriteSettings("[main]\r\nlanguage=3\r\n");
  system.systemLanguage = 1031;
  Start();
  EXPECT_EQ(form->Caption(), "JP");
  EXPECT_EQ(form->CheckBoxes[1]->Caption(), "1.");
  EXPECT_EQ(app->Title(), "JP");
}

TEST_F(ViewerTest, ExportButtonTakesSaveFromTwoBytesOnElsePrint) {
  const struct {
    const char* file;
    const char* shown;
  } cases[] = {
      {"Save=S\r\n", ""},
      {"Save=S\r\nPrint=Print it\r\n", "Print it"},
      {"Save=\xA6\x73\r\nPrint=P\r\n", "\xA6\x73"},  // one double-byte character
      {"Print=P\r\n", "P"},
  };
  for (const auto& c : cases) {
    program.Write("English.txt", c.file);
    Start();
    EXPECT_EQ(form->BitBtn1->Caption(), c.shown) << c.file;
  }
  EXPECT_EQ(form->Caption(), "") << "no Log0: the caption and the title are empty";
  EXPECT_EQ(app->Title(), "");
}

TEST_F(ViewerTest, RussianTakesDotumOnTheListedControlsOnly) {
  program.Write("russian.txt", kEnglishFixture);
  system.systemLanguage = 1049;
  TnEventLog& f = Start();
  EXPECT_EQ(f.LanguageIndex, 11);
  for (int n = 1; n <= 16; ++n)
    EXPECT_EQ(f.CheckBoxes[static_cast<std::size_t>(n)]->Font().name, "Dotum") << n;
  for (const forms::Control* c :
       {static_cast<forms::Control*>(f.StaticText1), static_cast<forms::Control*>(f.StaticText2),
        static_cast<forms::Control*>(f.BitBtn1), static_cast<forms::Control*>(f.StringGrid1)}) {
    EXPECT_EQ(c->Font().name, "Dotum") << c->Name();
    EXPECT_EQ(c->Font().height, 13) << "only the name changes";
  }
  for (const Edit* e : {f.Edit1, f.Edit2, f.Edit3, f.Edit4}) EXPECT_EQ(e->Font().name, "Times New Roman");
}

TEST_F(ViewerTest, LanguageFileThatCannotBeReadStopsStartUpBeforeTheFirstFill) {
  std::filesystem::remove(program.File("English.txt"));
  WriteMonth(12, Record(1, At(2026, 12, 1)));
  TnEventLog& f = Start();
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file " + program.File("English.txt"));
  EXPECT_EQ(backend.boxes[0].caption, "Event Log") << "under the application title";
  EXPECT_EQ(f.Caption(), "Event Log") << "the design-time texts stay";
  EXPECT_EQ(f.CheckBoxes[3]->Caption(), "3.Start monitor");
  EXPECT_EQ(f.BitBtn1->Caption(), "Print");
  EXPECT_EQ(Column(1), std::vector<std::string>{""}) << "no first fill";
  EXPECT_EQ(f.Edit3->Text(), "12") << "the steps before it are done";
  app->Run();
  EXPECT_TRUE(f.Visible()) << "the window opens all the same";
  f.CheckBoxes[2]->Click();
  EXPECT_EQ(Column(1), std::vector<std::string>{"1"}) << "a click fills it";
}

}  // namespace
}  // namespace korval::eventbook::test

// The texts of the status window from the language file: the key-to-control table, the kept texts, the
// green-mode rule, the language choice and the help document, the "Dotum" rule across reloads, and what a
// language or settings file that cannot be opened does at start-up, in the tick and from the message hook.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <sstream>

#include "panel_fixture.h"

namespace korval::statuspanel::test {
namespace {

const forms::Message kReload{1046, 22, 22, nullptr};

// Every key of the main window with a text of its own, "t(key)"; one key is written in lower case.
std::string EveryKeyFile(const std::vector<std::string>& without = {}) {
  const char* const keys[] = {
      "ivol",  "Ovol",   "Load",  "Ifre",  "Temp",  "Ofre",  "Batt",  "Dis0",  "Dis1",  "Dis2",  "Dis3",
      "Dis4",  "Dis5",   "Dis6",  "Dis7",  "Dis8",  "Dis9",  "Dis10", "Dis11", "Dis12", "Exit",  "Dis13",
      "Dis14", "Dis15",  "Dis16", "Dis17", "Dis18", "Dis19", "Mai0",  "Mai1",  "Dis20", "Dis21", "Dis22",
      "OK",    "Cancel", "Dis23", "Dis24", "Dis25", "Dis26", "Dis27", "Dis28", "Dis29", "Dis34"};
  std::string text = "; the status window's keys\r\n";
  for (std::string key : keys) {
    if (std::find(without.begin(), without.end(), key) != without.end()) continue;
    std::string shown = key == "ivol" ? "Ivol" : key;
    text += key + "=t(" + shown + ")\r\n";
  }
  return text;
}

// What a caption load may change, as one text: every control's caption, hint and font, every menu caption,
// the kept texts and the rated voltage in memory.
std::string Snapshot(const TnKORVALmain& f) {
  std::ostringstream out;
  std::function<void(const forms::WinControl&)> controls = [&](const forms::WinControl& parent) {
    for (const forms::Control* c : parent.Children()) {
      const forms::Font& font = c->Font();
      out << c->Name() << " '" << c->Caption() << "' hint '" << c->Hint() << "' " << font.name << ' '
          << font.height << (font.bold ? " bold" : "") << ' ' << c->Left() << ',' << c->Top() << ','
          << c->Width() << ',' << c->Height() << '\n';
      if (c->IsWindowed()) controls(static_cast<const forms::WinControl&>(*c));
    }
  };
  out << f.Caption() << '\n';
  controls(f);
  std::function<void(const forms::MenuItem&)> menus = [&](const forms::MenuItem& parent) {
    for (const forms::MenuItem* item : parent.Items()) {
      out << item->Name() << " '" << item->Caption() << "'\n";
      menus(*item);
    }
  };
  menus(f.Menu());
  const TnKORVALmain::KeptTexts& k = f.Kept;
  for (const std::string* t : {&k.Mai0, &k.Mai1, &k.Dis20, &k.Dis21, &k.Dis22, &k.OK, &k.Cancel, &k.Dis23,
                               &k.Dis24, &k.Dis25, &k.Dis26, &f.PortText1, &f.PortText2})
    out << '\'' << *t << "'\n";
  out << "rated " << f.RecordImage.RatedVoltage() << '\n';
  return out.str();
}

class Captions : public PanelTest {
 protected:
  void Language(int index) {
    data.Write("KORVAL.ini", "[Main]\r\nLanguage=" + std::to_string(index) + "\r\n");
  }
  // The request as the message loop hands it to the hook, with the general error report behind it.
  void Reload() {
    app->Dispatch([&] { app->OnMessage(kReload); });
  }
  void DispatchTick(const DataBuffRecord& r) {
    Put(r);
    app->Dispatch([&] { form->Timer1Timer(); });
  }
};

TEST_F(Captions, EveryRowOfTheKeyTable) {
  program.Write("English.txt", EveryKeyFile());
  Put(Live(5));
  Start();
  ASSERT_TRUE(backend.boxes.empty());
  TnKORVALmain& f = *form;
  auto hint = [](BitBtn* b) { return b->Hint(); };
  const std::pair<std::string, std::string> rows[] = {
      {f.StaticTexts[1]->Caption(), "t(Ivol)"},
      {f.StaticTexts[2]->Caption(), "t(Ovol)"},
      {f.StaticTexts[3]->Caption(), "t(Load)"},
      {f.StaticTexts[4]->Caption(), "t(Ifre)"},
      {f.StaticTexts[5]->Caption(), "t(Ofre)"},  // unit type 5
      {f.StaticTexts[6]->Caption(), "t(Batt)"},
      {f.StaticTexts[7]->Caption(), "t(Dis0)"},
      {f.StaticTexts[8]->Caption(), "t(Dis1)"},
      {f.StaticTexts[9]->Caption(), "t(Dis2)"},
      {f.StaticTexts[10]->Caption(), "t(Dis3)t(Dis4)"},
      {f.StaticTexts[12]->Caption(), "t(Dis5)t(Dis6)"},
      {f.File1->Caption(), "t(Dis7)"},
      {f.Setup1->Caption(), "t(Dis8)"},
      {f.View1->Caption(), "t(Dis9)"},
      {f.Help1->Caption(), "t(Dis10)"},
      {f.Config1->Caption(), "t(Dis11)"},
      {f.SelfTest1->Caption(), "t(Dis12)"},
      {f.Exit1->Caption(), "t(Exit)"},
      {f.COMPort1->Caption(), "t(Dis13)"},
      {f.Schedule1->Caption(), "t(Dis14)"},
      {f.Pager1->Caption(), "t(Dis15)"},
      {f.RecordView1->Caption(), "t(Dis16)"},
      {f.EventView1->Caption(), "t(Dis17)"},
      {f.Help2->Caption(), "t(Dis10)"},
      {f.PassWord1->Caption(), "t(Dis18)"},
      {f.unitprep1->Caption(), "t(Dis19)"},
      {hint(f.BitBtns[1]), "t(Dis11)"},
      {hint(f.BitBtns[2]), "t(Dis12)"},
      {hint(f.BitBtns[3]), "t(Dis13)"},
      {hint(f.BitBtns[4]), "t(Dis14)"},
      {hint(f.BitBtns[5]), "t(Dis16)"},
      {hint(f.BitBtns[6]), "t(Dis17)"},
      {hint(f.BitBtns[8]), "t(Dis15)"},
      {hint(f.BitBtns[7]), "t(Dis19)"},
      {f.Kept.Mai0, "t(Mai0)"},
      {f.Kept.Mai1, "t(Mai1)"},
      {f.Kept.Dis20, "t(Dis20)"},
      {f.Kept.Dis21, "t(Dis21)"},
      {f.Kept.Dis22, "t(Dis22)"},
      {f.Kept.OK, "t(OK)"},
      {f.Kept.Cancel, "t(Cancel)"},
      {f.Kept.Dis23, "t(Dis23)"},
      {f.Kept.Dis24, "t(Dis24)"},
      {f.Kept.Dis25, "t(Dis25)"},
      {f.Kept.Dis26, "t(Dis26)"},
      {f.PortText1, "t(Dis27)"},
      {f.PortText2, "t(Dis28)"},
      {f.GreenMode1->Caption(), "t(Dis34)"},  // Dis29 has 4 bytes or more
      // Never from the language file.
      {f.Caption(), "KORVAL Plus for Windows V2.86"},
      {f.EMail1->Caption(), "E-Mail"},
      {hint(f.BitBtns[9]), "E-Mail"},
      {f.N2->Caption(), "-"},
      {f.StaticText11->Caption(), "Port OK"},
      {f.Labels[21]->Caption(), "0"},
      {f.Labels[35]->Caption(), "90"},
  };
  for (std::size_t i = 0; i < std::size(rows); ++i) EXPECT_EQ(rows[i].first, rows[i].second) << "row " << i;

  // StaticText5 by the record's unit type, on the reload that the new type brings.
  const std::pair<int, const char*> types[] = {{21, "t(Temp)"}, {20, "t(Ofre)"}, {27, "t(Temp)"},
                                               {28, "t(Ofre)"}, {23, "t(Temp)"}, {5, "t(Ofre)"}};
  for (auto [type, shown] : types) {
    Tick(Live(type));
    EXPECT_EQ(f.StaticTexts[5]->Caption(), shown) << type;
  }

  // A key missing from the file gives the empty text; the text shown before is not kept.
  program.Write("English.txt", EveryKeyFile({"Dis4", "Batt", "Mai1", "Dis27"}));
  Reload();
  EXPECT_EQ(f.StaticTexts[10]->Caption(), "t(Dis3)");
  EXPECT_EQ(f.StaticTexts[6]->Caption(), "");
  EXPECT_EQ(f.Kept.Mai1, "");
  EXPECT_EQ(f.PortText1, "");
  EXPECT_EQ(f.PortText2, "t(Dis28)");
  EXPECT_TRUE(backend.boxes.empty());
}

// Dis29 counts in bytes as stored, so a double-byte character counts 2.
TEST_F(Captions, GreenModeCaptionByTheByteLengthOfDis29) {
  Start();
  struct Case {
    const char* lines;
    const char* shown;
  };
  const Case cases[] = {
      {"Dis29=abc\r\nDis34=Eco\r\n", "Green Mode Setup"},
      {"Dis29=abcd\r\nDis34=Eco\r\n", "Eco"},
      {"Dis29=abcd\r\n", ""},
      {"Dis29=\x97\xCE\x90\x46\r\nDis34=\x97\xCE\x90\x46\x83\x82\x81\x5B\x83\x68\r\n",
       "\x97\xCE\x90\x46\x83\x82\x81\x5B\x83\x68"},  // two double-byte characters
      {"Dis29=\x97\xCE\r\nDis34=\x83\x82\x81\x5B\x83\x68\r\n", "Green Mode Setup"},  // one: 2 bytes
      {"Dis34=Eco\r\n", "Green Mode Setup"},                                         // no Dis29
  };
  for (const Case& c : cases) {
    program.Write("English.txt", c.lines);
    form->CaptionSet();
    EXPECT_EQ(form->GreenMode1->Caption(), c.shown) << c.lines;
  }
}

TEST_F(Captions, LanguageChoiceAndItsHelpDocument) {
  program.Write("German.txt", "Ivol=Eingangsspannung  [V]\r\n");
  program.Write("Japanese.txt", "Ivol=\x93\xFC\x97\xCD\x93\x64\x88\xB3  [V]\r\n");
  Start();
  struct Case {
    const char* settings;  // nullptr: no settings file
    std::uint16_t system;
    int index;
    const char* ivol;
    const char* help;
  };
  const Case cases[] = {
      {nullptr, 0x0407, 5, "Eingangsspannung  [V]", "ReadmeG\\ReadmeG.htm"},  // German (Germany)
      {nullptr, 0x0C07, 0, "I/P Voltage  [V]", "Readmee\\Readmee.htm"},       // German (Austria)
      {"[Main]\r\nLanguage=3\r\n", 0x0407, 3, "\x93\xFC\x97\xCD\x93\x64\x88\xB3  [V]",
       "ReadmeJ\\ReadmeJ.htm"},
      {"[main]\r\nlanguage=-1\r\n", 0x0407, 5, "Eingangsspannung  [V]", "ReadmeG\\ReadmeG.htm"},
      {"[Main]\r\nLanguage=0\r\n", 0x0407, 0, "I/P Voltage  [V]", "Readmee\\Readmee.htm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.help);
    std::remove(data.File("KORVAL.ini").c_str());
    if (c.settings) data.Write("KORVAL.ini", c.settings);
    system.systemLanguage = c.system;
    Reload();
    EXPECT_EQ(form->LanguageIndex, c.index);
    EXPECT_EQ(form->StaticTexts[1]->Caption(), c.ivol);
    system.shellOpens.clear();
    form->Help2->OnClick(*form->Help2);  // the Help menu item
    ASSERT_EQ(system.shellOpens.size(), 1u);
    const forms::FakeSystem::ShellOpenCall& call = system.shellOpens[0];
    EXPECT_EQ(call.owner, form);
    EXPECT_EQ(call.document, program.Prefix() + "Help\\" + c.help);
    EXPECT_EQ(call.parameters, "");
    EXPECT_EQ(call.directory, program.Prefix());
    EXPECT_EQ(call.showCommand, 9);  // SW_RESTORE
  }
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(Captions, DotumStaysAfterALaterLoadOfAnotherLanguage) {
  program.Write("russian.txt", "Ivol=\xC2\xF5\xEE\xE4\r\nMai1=\xC2\xFB\xE9\xF2\xE8?\r\n");
  Language(11);
  Start();
  TnKORVALmain& f = *form;
  std::vector<forms::Control*> dotum, kept;
  for (int n : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 12})
    dotum.push_back(f.StaticTexts[static_cast<std::size_t>(n)]);
  for (int n : {1, 2, 3, 4, 5, 6, 8, 7}) dotum.push_back(f.BitBtns[static_cast<std::size_t>(n)]);
  for (forms::Control* c :
       {static_cast<forms::Control*>(f.StaticText11), static_cast<forms::Control*>(f.BitBtns[9]),
        static_cast<forms::Control*>(f.Label25), static_cast<forms::Control*>(f.ReadoutPanel(1)),
        static_cast<forms::Control*>(f.Labels[1])})
    kept.push_back(c);
  auto check = [&](const char* when) {
    SCOPED_TRACE(when);
    for (forms::Control* c : dotum) EXPECT_EQ(c->Font().name, "Dotum") << c->Name();
    for (forms::Control* c : kept) EXPECT_NE(c->Font().name, "Dotum") << c->Name();
    // Size, colour and style stay; so do the boxes of the titles.
    EXPECT_EQ(f.StaticTexts[1]->Font(), (forms::Font{"Dotum", 13, false, forms::Rgb(0, 0, 255)}));
    EXPECT_EQ(f.StaticTexts[10]->Font(), (forms::Font{"Dotum", 13, false, forms::Rgb(128, 128, 0)}));
    EXPECT_EQ(f.StaticTexts[1]->Bounds(), (forms::Rect{50, 253, 120, 18}));
    EXPECT_EQ(f.BitBtns[7]->Bounds(), (forms::Rect{524, 25, 41, 40}));
  };
  EXPECT_EQ(f.StaticTexts[1]->Caption(), "\xC2\xF5\xEE\xE4");
  check("russian");
  Language(0);
  Reload();
  EXPECT_EQ(f.StaticTexts[1]->Caption(), "I/P Voltage  [V]");
  EXPECT_EQ(f.Kept.Mai1, "") << "the kept texts are those of the last load";
  check("english after russian");
  Reload();
  check("english again");
}

TEST_F(Captions, MissingLanguageFileFromTheHookChangesNothing) {
  Put(Live(5));
  Start();
  program.Write("russian.txt", EveryKeyFile());
  Reload();  // Language absent: English, the fixture
  // What the failed load would change if it went on: the texts, the Dotum fonts, the scale labels of a new
  // nominal value and the rated voltage below 100.
  form->NominalIn = 115;
  form->RecordImage.SetRatedVoltage(90);
  Language(11);
  std::remove(program.File("russian.txt").c_str());
  const std::string before = Snapshot(*form);
  Reload();
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file " + program.File("russian.txt"));
  EXPECT_EQ(Snapshot(*form), before);
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "110 150 190 230 270 310 350");

  // Once the file is back, the next request loads it.
  program.Write("russian.txt", EveryKeyFile());
  Reload();
  EXPECT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(form->StaticTexts[1]->Caption(), "t(Ivol)");
  EXPECT_EQ(form->StaticTexts[1]->Font().name, "Dotum");
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "55 75 95 115 135 155 175");
  EXPECT_EQ(form->RecordImage.RatedVoltage(), 115);
}

TEST_F(Captions, MissingLanguageFileInTheTickEndsThatTickOnly) {
  Put(Live(5));
  Start();
  Tick(Live(5));
  std::remove(program.File("English.txt").c_str());
  DataBuffRecord six = Live(6);  // a new unit type: a caption load in the record read
  six.SetBE16(DataBuffRecord::kInputVoltage, 231);
  const std::string before = Snapshot(*form);
  DispatchTick(six);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file " + program.File("English.txt"));
  EXPECT_EQ(form->ShownUnitType, 6) << "set before the load";
  EXPECT_EQ(Readout(1), "230") << "the rest of the tick did not run";
  EXPECT_EQ(Snapshot(*form), before);
  DispatchTick(six);  // the same type: no load, no report, the whole tick
  EXPECT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(Readout(1), "231");
}

// At start-up the error ends the start-up where it was raised and the program goes on.
TEST_F(Captions, MissingLanguageFileAtStartUp) {
  std::remove(program.File("English.txt").c_str());

  // No record: the first read finds unit type 0 and loads; nothing after that step is done.
  Start();
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file " + program.File("English.txt"));
  EXPECT_FALSE(app->OnMessage) << "the hooks were not installed";
  EXPECT_EQ(form->BitBtns[1]->Top(), 19) << "nor was the layout arranged";
  system.now = 46366.75;
  app->Dispatch([&] { form->Timer1Timer(); });
  EXPECT_EQ(form->Label25->Caption(), "18 : 00 : 00") << "the ticks run";
  EXPECT_EQ(backend.boxes.size(), 1u);

  // A record whose first read loads nothing: the start-up's own load fails after the hooks.
  DataBuffRecord r = Live(1);
  r.SetRatedVoltage(115);
  Put(r);
  backend.boxes.clear();
  Start();
  ASSERT_EQ(backend.boxes.size(), 1u);
  ASSERT_TRUE(app->OnMessage);
  EXPECT_EQ(form->BitBtns[1]->Top(), 19);
  EXPECT_EQ(form->StaticTexts[1]->Caption(), "I/P Voltage  [V]") << "the layout text";
  program.Write("English.txt", EveryKeyFile());
  Reload();
  EXPECT_EQ(form->StaticTexts[1]->Caption(), "t(Ivol)");
  EXPECT_EQ(backend.boxes.size(), 1u);
}

// A settings file that exists but cannot be read ends the program; the load reads and changes nothing.
TEST_F(Captions, UnreadableSettingsEndTheProgram) {
  Start();
  program.Write("English.txt", EveryKeyFile());
  const std::string before = Snapshot(*form);
  std::filesystem::create_directory(data.File("KORVAL.ini"));
  Reload();
  EXPECT_TRUE(app->Terminated());
  EXPECT_TRUE(backend.terminated);
  EXPECT_TRUE(backend.boxes.empty());
  EXPECT_EQ(Snapshot(*form), before);
}

}  // namespace
}  // namespace korval::statuspanel::test

// The status window as the suite's hub: the eight sibling rows (start or raise), the settings flag of the
// unit set-up row, the ways out of the program, and the keys of the diagnostic line.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "panel_fixture.h"
#include "settings.h"

namespace korval::statuspanel::test {
namespace {

using Handle = forms::System::WindowHandle;
constexpr unsigned kWmClose = 0x0010;

class Hub : public PanelTest {
 protected:
  // Every sibling class with a window, handles 101.. in this order, and the monitor's window.
  void AllWindowsOpen(bool monitor = true) {
    const char* const classes[] = {"TnTunedesk", "TnSeekUnit", "TnTimetable", "TnRewind",
                                   "TnEventLog", "TnBeeper",   "TnPostman",   "TnUnitPrep"};
    Handle h = 101;
    for (const char* c : classes) system.windows.emplace_back(c, h++);
    if (monitor) system.windows.emplace_back("TnKORVALBack", 900);
  }
  Handle WindowOf(const std::string& className) { return system.FindWindowByClass(className); }
  std::string ReadType() const {
    return SettingsFile::Open(data.File("KORVAL.ini")).ReadString("SETUPS", "ReadType", "(none)");
  }
};

// Each row by its toolbar button and by its menu item: started from the program folder when no window of its
// class exists, raised (and not started again) when one does.
TEST_F(Hub, EveryRowStartsItsProgramOrRaisesItsWindow) {
  struct Row {
    int button;
    MenuItem* TnKORVALmain::*item;
    const char* className;
    const char* command;
  };
  const Row rows[] = {
      {1, &TnKORVALmain::Config1, "TnTunedesk", "tunedesk.exe"},
      {3, &TnKORVALmain::COMPort1, "TnSeekUnit", "seekunit.exe"},
      {4, &TnKORVALmain::Schedule1, "TnTimetable", "timetable.exe"},
      {5, &TnKORVALmain::RecordView1, "TnRewind", "rewind.exe 23"},
      {6, &TnKORVALmain::EventView1, "TnEventLog", "eventbook.exe"},
      {8, &TnKORVALmain::Pager1, "TnBeeper", "beeper.exe"},
      {9, &TnKORVALmain::EMail1, "TnPostman", "postman.exe"},
      {7, &TnKORVALmain::unitprep1, "TnUnitPrep", "unitprep.exe"},
  };
  Start();
  Tick(Live(23));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.className);
    system.windows.clear();
    system.starts.clear();
    system.broughtToFront.clear();
    form->BitBtns[static_cast<std::size_t>(row.button)]->Click();
    ASSERT_EQ(system.starts.size(), 1u);
    EXPECT_EQ(system.starts[0].commandLine, program.Prefix() + row.command);
    EXPECT_EQ(system.starts[0].showCommand, 9);
    EXPECT_TRUE(system.broughtToFront.empty());

    // Two windows of the class: only the first one found is raised.
    system.windows = {{"TnOther", 5}, {row.className, 77}, {row.className, 78}};
    (form->*row.item)->OnClick(*(form->*row.item));
    EXPECT_EQ(system.broughtToFront, std::vector<Handle>{77});
    EXPECT_EQ(system.starts.size(), 1u);
    EXPECT_TRUE(system.posts.empty());
  }
}

// The toolbar left to right and the menu tree with the layout's texts (a missing language file leaves them),
// and the settings flag that only the unit set-up row writes.
TEST_F(Hub, ToolbarAndMenuAsLaidOut) {
  std::remove(program.File("English.txt").c_str());
  Start();
  ASSERT_EQ(backend.boxes.size(), 1u) << "the language file is missing";
  std::string toolbar;
  for (const forms::Control* c : form->Children())
    if (dynamic_cast<const BitBtn*>(c))
      toolbar += c->Name() + " " + std::to_string(c->Left()) + " '" + c->Hint() + "'\n";
  EXPECT_EQ(toolbar,
            "BitBtn1 170 'system'\nBitBtn2 213 ''\nBitBtn3 258 ''\nBitBtn4 303 ''\nBitBtn5 348 ''\n"
            "BitBtn6 392 ''\nBitBtn8 436 ''\nBitBtn9 480 'E-Mail'\nBitBtn7 524 ''\n");
  std::string menus;
  for (const MenuItem* menu : form->Menu().Items()) {
    menus += menu->Name() + " '" + menu->Caption() + "':";
    for (const MenuItem* item : menu->Items()) menus += " " + item->Name() + " '" + item->Caption() + "'";
    menus += "\n";
  }
  EXPECT_EQ(menus,
            "File1 'File': Config1 'Config' SelfTest1 'Self Test' N2 '-' Exit1 'Exit'\n"
            "Setup1 '&Setup': COMPort1 'COM Port' Schedule1 'Schedule' Pager1 'Pager' EMail1 'E-Mail' "
            "unitprep1 'UPS Setup' PassWord1 'Password' GreenMode1 'Green Mode'\n"
            "View1 '&View': RecordView1 'Record View' EventView1 'Event View'\n"
            "Help1 'Help': Help2 'Help'\n");

  data.Write("KORVAL.ini", "[Main]\r\nLanguage=0\r\n");
  for (int button : {1, 3, 4, 5, 6, 8, 9}) {
    form->BitBtns[static_cast<std::size_t>(button)]->Click();
    EXPECT_EQ(ReadType(), "(none)") << button;
  }
  form->BitBtns[7]->Click();
  EXPECT_EQ(ReadType(), "1");
}

// The rewind row passes the unit type of the latest read, 0..255 in decimal; a running rewind gets none.
TEST_F(Hub, RecordViewPassesTheUnitTypeOfTheLatestRead) {
  Start();  // no record file: the image is all zero
  for (int type : {0, 7, 255}) {
    if (type) Tick(Live(type));
    form->RecordView1->OnClick(*form->RecordView1);
  }
  ASSERT_EQ(system.starts.size(), 3u);
  EXPECT_EQ(system.starts[0].commandLine, program.Prefix() + "rewind.exe 0");
  EXPECT_EQ(system.starts[1].commandLine, program.Prefix() + "rewind.exe 7");
  EXPECT_EQ(system.starts[2].commandLine, program.Prefix() + "rewind.exe 255");
}

// The UPS Setup button and menu item follow the unit type of the previous read: 22..27 only.
TEST_F(Hub, UnitSetUpIsOfferedForUnitTypes22To27) {
  Start();
  for (const auto& [type, offered] : std::vector<std::pair<int, bool>>{
           {21, false}, {22, true}, {27, true}, {28, false}, {5, false}, {25, true}}) {
    Tick(Live(type));
    Tick(Live(type));
    EXPECT_EQ(form->BitBtn7->Visible(), offered) << type;
    EXPECT_EQ(form->unitprep1->Visible(), offered) << type;
  }
}

// ReadType=1 goes into SETUPS on every press, running or not; the rest of the file stays.
TEST_F(Hub, UnitSetUpWritesReadTypeOnEveryPress) {
  data.Write("KORVAL.ini", "[Main]\r\nLanguage=0\r\n[SETUPS]\r\nReadType=0\r\nPort=2\r\n");
  Start();
  form->BitBtn7->Click();
  EXPECT_EQ(ReadType(), "1");
  ASSERT_EQ(system.starts.size(), 1u);
  EXPECT_EQ(system.starts[0].commandLine, program.Prefix() + "unitprep.exe");

  system.windows = {{"TnUnitPrep", 42}};
  data.Write("KORVAL.ini", "[Main]\r\nLanguage=0\r\n[SETUPS]\r\nReadType=7\r\nPort=2\r\n");
  form->unitprep1->OnClick(*form->unitprep1);
  EXPECT_EQ(ReadType(), "1") << "written again while unitprep runs";
  EXPECT_EQ(system.broughtToFront, std::vector<Handle>{42});
  EXPECT_EQ(system.starts.size(), 1u);
  const SettingsFile after = SettingsFile::Open(data.File("KORVAL.ini"));
  EXPECT_EQ(after.ReadString("SETUPS", "Port", ""), "2");
  EXPECT_EQ(after.ReadString("Main", "Language", ""), "0");
}

// A settings file that exists but cannot be opened ends the program; the press does nothing else.
TEST_F(Hub, UnitSetUpWithAnUnopenableSettingsFileEndsTheProgramAndDoesNothingElse) {
  Start();
  std::filesystem::create_directory(data.File("KORVAL.ini"));
  system.windows = {{"TnUnitPrep", 42}};
  form->BitBtn7->Click();
  EXPECT_TRUE(backend.terminated);
  EXPECT_TRUE(system.broughtToFront.empty());
  EXPECT_TRUE(system.starts.empty());
  EXPECT_TRUE(std::filesystem::is_directory(data.File("KORVAL.ini")));
}

// From a folder whose path holds a blank the program's part goes in quotes, on every row, so that
// "C:\Program.exe" cannot start in its place; the rewind row's argument stays after the quotes. Other folders
// give the bare line.
TEST_F(Hub, ProgramPartIsQuotedWhenTheFolderHoldsABlank) {
  const std::string longFolder = "C:\\my disc\\" + std::string(226, 'd') + "\\";  // 250 with "tunedesk.exe"
  struct Case {
    std::string folder;
    int button;
    std::string want;
  } cases[] = {
      {"C:\\Program Files\\Korval Plus\\", 1, "\"C:\\Program Files\\Korval Plus\\tunedesk.exe\""},
      {"C:\\Program Files\\Korval Plus\\", 3, "\"C:\\Program Files\\Korval Plus\\seekunit.exe\""},
      {"C:\\Program Files\\Korval Plus\\", 4, "\"C:\\Program Files\\Korval Plus\\timetable.exe\""},
      {"C:\\Program Files\\Korval Plus\\", 5, "\"C:\\Program Files\\Korval Plus\\rewind.exe\" 23"},
      {"C:\\Program Files\\Korval Plus\\", 6, "\"C:\\Program Files\\Korval Plus\\eventbook.exe\""},
      {"C:\\Program Files\\Korval Plus\\", 8, "\"C:\\Program Files\\Korval Plus\\beeper.exe\""},
      {"C:\\Program Files\\Korval Plus\\", 9, "\"C:\\Program Files\\Korval Plus\\postman.exe\""},
      {"C:\\Program Files\\Korval Plus\\", 7, "\"C:\\Program Files\\Korval Plus\\unitprep.exe\""},
      {"C:\\tab\tfolder\\", 6, "\"C:\\tab\tfolder\\eventbook.exe\""},
      {"C:\\Korval\\", 1, "C:\\Korval\\tunedesk.exe"},
      {"C:\\Korval\\", 5, "C:\\Korval\\rewind.exe 23"},
      // The limit counts the line without its quotes.
      {longFolder, 1, "\"" + longFolder + "tunedesk.exe\""},
  };
  Start();
  Tick(Live(23));
  Tick(Live(23));  // UPS Setup shows one read after the unit type
  for (const Case& c : cases) {
    SCOPED_TRACE(c.folder + " button " + std::to_string(c.button));
    system.starts.clear();
    form->ProgramDir = c.folder;
    app->Dispatch([&] { form->BitBtns[static_cast<std::size_t>(c.button)]->Click(); });
    ASSERT_EQ(system.starts.size(), 1u);
    EXPECT_EQ(system.starts[0].commandLine, c.want);
  }
}

// A command line over 250 characters is not started at all (a cut one could name another program) and the
// user is told; 250 characters start; a running sibling is still raised from such a folder.
TEST_F(Hub, CommandLineOver250CharactersIsRefusedWhole) {
  Start();
  const std::string command = "tunedesk.exe";
  for (const std::size_t length : {std::size_t{250}, std::size_t{251}, std::size_t{4000}}) {
    SCOPED_TRACE(length);
    system.starts.clear();
    backend.boxes.clear();
    form->ProgramDir = "C:\\" + std::string(length - command.size() - 4, 'd') + "\\";
    app->Dispatch([&] { form->BitBtns[1]->Click(); });
    if (length <= 250) {
      ASSERT_EQ(system.starts.size(), 1u);
      EXPECT_EQ(system.starts[0].commandLine.size(), length);
      EXPECT_TRUE(backend.boxes.empty());
    } else {
      EXPECT_TRUE(system.starts.empty());
      ASSERT_EQ(backend.boxes.size(), 1u);
      EXPECT_NE(backend.boxes[0].text.find("longer than 250"), std::string::npos) << backend.boxes[0].text;
    }
  }
  system.windows = {{"TnTunedesk", 9}};
  form->BitBtns[1]->Click();
  EXPECT_EQ(system.broughtToFront, std::vector<Handle>{9});
}

// The ways out: Exit asks first and tells the monitor before the siblings; every other way only asks the six
// siblings to close. Postman and unitprep stay on every way.
TEST_F(Hub, WaysOutOfTheProgram) {
  // The exit texts are over their 100 and 102 characters: they are shown whole.
  const std::string caption(120, 'C'), question = std::string(150, 'Q') + "?";
  program.Write("English.txt",
                std::string(kEnglishFixture) + "Mai0=" + caption + "\r\nMai1=" + question + "\r\n");
  const std::vector<forms::FakeSystem::Post> siblings = {{103, kWmClose, 0, 0}, {101, kWmClose, 0, 0},
                                                         {102, kWmClose, 0, 0}, {104, kWmClose, 0, 0},
                                                         {105, kWmClose, 0, 0}, {106, kWmClose, 0, 0}};
  const forms::FakeSystem::Post stop{900, 1046, 99, 99};
  enum Action { ExitOk, ExitCancel, CloseBox, Minimise };
  struct Way {
    const char* name;
    bool monitorRuns;
    Action take;
    bool asks, stops, closes;
  };
  const Way ways[] = {
      {"Exit, OK", true, ExitOk, true, true, true},
      {"Exit, OK, no monitor", false, ExitOk, true, false, true},
      {"Exit, Cancel", true, ExitCancel, true, false, false},
      {"title-bar close", true, CloseBox, false, false, true},
      {"minimise", true, Minimise, false, false, true},
  };
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    backend.boxes.clear();
    backend.mainFormClosed = false;
    system.windows.clear();
    system.posts.clear();
    Start();
    AllWindowsOpen(way.monitorRuns);
    system.windows.emplace_back("TnTimetable", 999);  // a second window of a class is never addressed
    switch (way.take) {
      case ExitOk:
      case ExitCancel:
        backend.answers = {way.take == ExitOk ? forms::MessageResult::Ok : forms::MessageResult::Cancel};
        form->Exit1->OnClick(*form->Exit1);
        break;
      case CloseBox:
        form->Close();
        break;
      case Minimise:
        app->OnMinimize();
        break;
    }

    ASSERT_EQ(backend.boxes.size(), way.asks ? 1u : 0u);
    if (way.asks) {
      EXPECT_EQ(backend.boxes[0].caption, caption);
      EXPECT_EQ(backend.boxes[0].text, question);
      EXPECT_EQ(backend.boxes[0].buttons, forms::MessageButtons::OkCancel);
      EXPECT_EQ(backend.boxes[0].icon, forms::MessageIcon::None);
    }
    std::vector<forms::FakeSystem::Post> expected;
    if (way.stops) expected.push_back(stop);
    if (way.closes) expected.insert(expected.end(), siblings.begin(), siblings.end());
    ASSERT_EQ(system.posts.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_EQ(system.posts[i].window, expected[i].window) << i;
      EXPECT_EQ(system.posts[i].message, expected[i].message) << i;
      EXPECT_EQ(system.posts[i].wParam, expected[i].wParam) << i;
      EXPECT_EQ(system.posts[i].lParam, expected[i].lParam) << i;
    }
    EXPECT_EQ(backend.mainFormClosed, way.closes);
    EXPECT_TRUE(system.starts.empty());
  }
}

// Alt+F8 shows the diagnostic line and Ctrl+F9 hides it, with exactly that modifier held; the key goes on.
TEST_F(Hub, DiagnosticLineKeys) {
  using forms::kAlt;
  using forms::kCtrl;
  using forms::kShift;
  struct Case {
    std::uint16_t key;
    unsigned shift;
    bool shownBefore, shownAfter;
  };
  const Case cases[] = {
      {119, kAlt, false, true},
      {119, 0, false, false},
      {119, kCtrl, false, false},
      {119, kAlt | kShift, false, false},
      {119, kAlt | kCtrl, false, false},
      {118, kAlt, false, false},
      {120, kCtrl, true, false},
      {120, kAlt, true, true},
      {120, kCtrl | kShift, true, true},
      {120, kCtrl | kAlt, true, true},
      {120, 0, true, true},
      {119, kAlt, true, true},
      {120, kCtrl, false, false},
  };
  Start();
  EXPECT_FALSE(form->Label15->Visible());
  for (const Case& c : cases) {
    form->Label15->SetVisible(c.shownBefore);
    std::uint16_t key = c.key;
    form->OnKeyDown(key, c.shift);
    EXPECT_EQ(form->Label15->Visible(), c.shownAfter) << c.key << " with " << c.shift;
    EXPECT_EQ(key, c.key);
  }
}

}  // namespace
}  // namespace korval::statuspanel::test

// The real statuspanel.exe as the suite's hub, with the sibling stand-ins and the real eventbook.exe in its
// program folder beside the simulated monitor: what its toolbar, its menu and its ways out do to the other
// programs, read from their logs and windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "panel_e2e.h"

namespace korval::e2e {
namespace {

// The toolbar button and the place of the menu item (menu, item) of each row, with unit type 23, which shows
// UPS Setup.
struct Row {
  int button;
  const char* name;  // the program, and its stand-in's log
  const char* className;
  int menu, item;
};
const Row kRows[] = {
    {1, "tunedesk", "TnTunedesk", 0, 0},   {3, "seekunit", "TnSeekUnit", 1, 0},
    {4, "timetable", "TnTimetable", 1, 1}, {5, "rewind", "TnRewind", 2, 0},
    {6, "eventbook", "TnEventLog", 2, 1},  {8, "beeper", "TnBeeper", 1, 2},
    {9, "postman", "TnPostman", 1, 3},     {7, "unitprep", "TnUnitPrep", 1, 4},
};
const int kExitMenu = 0, kExitItem = 2;
const char* const kStandins[] = {"timetable", "tunedesk", "seekunit", "rewind",
                                 "postman",   "beeper",   "unitprep"};
const char* const kStandinClasses[] = {"TnTimetable", "TnTunedesk", "TnSeekUnit", "TnRewind",
                                       "TnPostman",   "TnBeeper",   "TnUnitPrep"};
const char* const kClosedWithThePanel[] = {"timetable", "tunedesk", "seekunit", "rewind", "beeper"};
const char* const kStayOpen[] = {"postman", "unitprep"};

class Hub : public StatusPanel {
 protected:
  Hub() {
    for (const char* name : kStandins) layout_.files.push_back(std::string(name) + ".exe");
    layout_.files.push_back("eventbook.exe");
  }
  void SetUp() override {
    StatusPanel::SetUp();
    english_ = std::make_unique<LanguageFile>(LanguageFile::Load(program_ + "English.txt"));
  }

  // The siblings that the panel started are not ours to end: they are asked to close.
  void TearDown() override {
    for (const Row& row : kRows)
      for (HWND w : WindowsOf(row.className)) PostMessageA(w, WM_CLOSE, 0, 0);
    WaitFor(
        [&] {
          for (const Row& row : kRows)
            if (!WindowsOf(row.className).empty()) return false;
          return true;
        },
        10000);
  }

  std::string Log(const std::string& name) const { return ReadFileBytes(program_ + name + ".log"); }
  static int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
  }
  std::string MonitorLog() const { return dir_.Read("monitor.log"); }

  // The top-level windows of a class.
  struct ClassSearch {
    const char* className;
    std::vector<HWND> found;
  };
  static BOOL CALLBACK CollectOfClass(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ClassSearch*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (lstrcmpA(cls, s->className) == 0) s->found.push_back(hwnd);
    return TRUE;
  }
  static std::vector<HWND> WindowsOf(const char* className) {
    ClassSearch search{className, {}};
    EnumWindows(CollectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  // The stand-ins started by hand but those named in `skip`, each with its window shown and its message loop
  // running (whether the system activates a window started from another program is its own affair, and a
  // loaded machine is late with it).
  void StartStandins(std::initializer_list<std::string> skip = {}) {
    for (std::size_t i = 0; i < std::size(kStandins); ++i) {
      const std::string name = kStandins[i];
      if (std::find(skip.begin(), skip.end(), name) != skip.end()) continue;
      Process& standin = standins_[name] = Process::Start(Quote(program_ + name + ".exe"), program_);
      ASSERT_TRUE(WaitFor(
          [&] {
            HWND w = FindWindowOfProcess(kStandinClasses[i], standin.Id());
            return w && IsWindowVisible(w);
          },
          20000))
          << name << "'s window";
      ASSERT_EQ(WaitForInputIdle(standin.Handle(), 20000), 0u) << name << " waits for messages";
    }
  }
  bool StandinRunning(const char* name) { return standins_[name].Running(); }
  bool StandinEnded(const char* name) { return standins_[name].WaitExit(10000); }

  // The exit question once it is up, or nullptr.
  HWND ExitQuestion() {
    HWND box = nullptr;
    WaitFor(
        [&] {
          const std::vector<HWND> boxes = MessageBoxes();
          box = boxes.empty() ? nullptr : boxes[0];
          return box != nullptr;
        },
        10000);
    return box;
  }
  // Answers the question from the keyboard, as a user does.
  void Answer(HWND box, WORD key) {
    SetForegroundWindow(box);
    WaitFor([&] { return GetForegroundWindow() == box; }, 2000);
    TypeKey(key);
  }

  std::unique_ptr<LanguageFile> english_;
  std::map<std::string, Process> standins_;
};

// A toolbar button starts its program with its exact command line in the restored state; the menu item of
// the row, chosen then, raises that window and starts no second copy. UPS Setup writes ReadType=1 first. Two
// rows take this walk: the one whose command line carries the unit type, and the unit set-up row, which
// carries none, writes the settings flag and stays open when the panel closes. Every row takes the same way
// through the program; the unit tables hold each row's program, argument, menu item, hint and close rank.
TEST_F(Hub, AButtonStartsItsProgramAndTheMenuRaisesIt) {
  const Row walked[] = {{5, "rewind", "TnRewind", 2, 0}, {7, "unitprep", "TnUnitPrep", 1, 4}};
  // The other siblings, started by hand before the panel, and eventbook with its window shown: the exit
  // closes them.
  StartStandins({"rewind", "unitprep"});
  ASSERT_FALSE(HasFatalFailure());
  Process eventbook = Process::Start(Quote(program_ + "eventbook.exe"), program_);
  ASSERT_TRUE(WaitFor(
      [&] {
        HWND w = FindWindowOfProcess("TnEventLog", eventbook.Id());
        return w && IsWindowVisible(w);
      },
      20000));

  Start(Live(23));
  // The UPS Setup button shows one read after the unit type appears.
  ASSERT_TRUE(WaitFor([&] { return ToolbarButton(7) != nullptr; }, 5000));
  for (const Row& row : walked) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(PressButton(row.button));
    ASSERT_TRUE(WaitFor([&] { return !WindowsOf(row.className).empty(); }, 20000));
    HWND sibling = WindowsOf(row.className)[0];
    const std::string expected =
        "command line " + program_ + row.name + ".exe" + (row.button == 5 ? " 23" : "") + "\r\n";
    EXPECT_EQ(Log(row.name).substr(0, expected.size()), expected);
    EXPECT_NE(Log(row.name).find("show state 9\r\n"), std::string::npos);
    ASSERT_TRUE(WaitFor([&] { return Count(Log(row.name), "activated") == 1; }, 5000));
    if (row.button == 7) {
      const std::string settings = ReadFileBytes(data_ + "KORVAL.ini");
      EXPECT_NE(settings.find("[SETUPS]\r\nReadType=1\r\n"), std::string::npos) << settings;
    }

    // The panel in front again, then the row's menu item.
    SetForegroundWindow(window_);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 5000));
    ASSERT_TRUE(ChooseMenuItem(row.menu, row.item));
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == sibling; }, 5000));
    EXPECT_TRUE(WaitFor([&] { return Count(Log(row.name), "activated") == 2; }, 5000));
    EXPECT_EQ(Count(Log(row.name), "command line"), 1);
    // A second copy, were one started, is given a moment to show its window: nothing else shows it.
    Sleep(300);
    EXPECT_EQ(WindowsOf(row.className).size(), 1u) << "no second copy";
    SetForegroundWindow(window_);
  }
  // A second press of UPS Setup while unitprep runs writes the flag again.
  WriteFileBytes(data_ + "KORVAL.ini", "[SETUPS]\r\nReadType=0\r\n");
  ASSERT_TRUE(PressButton(7));
  EXPECT_TRUE(WaitFor([&] { return Count(Log("unitprep"), "activated") == 3; }, 5000));
  EXPECT_EQ(ReadFileBytes(data_ + "KORVAL.ini"), "[SETUPS]\r\nReadType=1\r\n\r\n");

  // File > Exit, answered with Enter (OK): the monitor is told to stop and ends; the six close, postman and
  // unitprep stay.
  ASSERT_TRUE(ChooseMenuItem(kExitMenu, kExitItem));
  HWND box = ExitQuestion();
  ASSERT_NE(box, nullptr);
  char caption[128] = {};
  GetWindowTextA(box, caption, sizeof caption);
  EXPECT_EQ(std::string(caption), english_->Text("Mai0"));
  EXPECT_NE(BoxText(box).find(english_->Text("Mai1")), std::string::npos) << BoxText(box);
  Answer(box, VK_RETURN);
  DWORD code = 1;
  ASSERT_TRUE(panel_.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(monitor_.WaitExit(10000)) << "the monitor stops";
  EXPECT_NE(MonitorLog().find("message 1046 99 99 posted"), std::string::npos) << MonitorLog();
  for (const char* name : kClosedWithThePanel) {
    EXPECT_TRUE(WaitFor([&] { return Log(name).find("end\r\n") != std::string::npos; }, 10000)) << name;
    EXPECT_EQ(Count(Log(name), "message WM_CLOSE 0 0"), 1) << name;
  }
  EXPECT_TRUE(WaitFor([&] { return WindowsOf("TnEventLog").empty(); }, 10000)) << "eventbook closes";
  for (const char* name : kStayOpen) {
    EXPECT_EQ(Log(name).find("WM_CLOSE"), std::string::npos) << name;
    EXPECT_EQ(WindowsOf(name[0] == 'p' ? "TnPostman" : "TnUnitPrep").size(), 1u) << name;
  }
}

// Exit answered with Esc (Cancel) changes nothing; the keys of the diagnostic line work on the same window.
TEST_F(Hub, ExitCancelledChangesNothing) {
  StartStandins();
  ASSERT_FALSE(HasFatalFailure());
  Start(Live(5));
  ASSERT_TRUE(ChooseMenuItem(kExitMenu, kExitItem));
  HWND box = ExitQuestion();
  ASSERT_NE(box, nullptr);
  Answer(box, VK_ESCAPE);
  ASSERT_TRUE(WaitFor([&] { return MessageBoxes().empty(); }, 5000));
  // OK would have posted its messages before the handler ended; a message posted after them, once the
  // handler has ended, reaches each program behind them.
  ASSERT_TRUE(Answers(window_));
  const std::string behind = "message 1046 1 1";
  HWND monitorWindow = FindWindowOfProcess("TnKORVALBack", monitor_.Id());
  ASSERT_NE(monitorWindow, nullptr);
  PostMessageA(monitorWindow, kSuiteCommand, 1, 1);
  for (std::size_t i = 0; i < std::size(kStandins); ++i)
    PostMessageA(FindWindowOfProcess(kStandinClasses[i], standins_[kStandins[i]].Id()), kSuiteCommand, 1, 1);
  EXPECT_TRUE(WaitFor([&] { return MonitorLog().find(behind) != std::string::npos; }, 5000)) << MonitorLog();
  for (const char* name : kStandins)
    EXPECT_TRUE(WaitFor([&] { return Log(name).find(behind) != std::string::npos; }, 5000)) << name;
  EXPECT_TRUE(panel_.Running());
  EXPECT_TRUE(monitor_.Running());
  EXPECT_EQ(MonitorLog().find("99 99"), std::string::npos);
  for (const char* name : kStandins) {
    EXPECT_TRUE(StandinRunning(name)) << name;
    EXPECT_EQ(Log(name).find("WM_CLOSE"), std::string::npos) << name;
  }
}

// The diagnostic line: Alt+F8 shows it, Ctrl+F8 and Alt+F9 do nothing, Ctrl+F9 hides it.
TEST_F(Hub, DiagnosticLineKeys) {
  Start(Live(5));
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 5000));
  auto line = [&] { return probe::Crop(Shot(), 17, 459, 220, 13); };
  Bitmap hidden;
  ASSERT_TRUE(PictureSettles(line, hidden));
  TypeKey(VK_F8, {VK_CONTROL});
  Sleep(800);  // a key that must change nothing: nothing shows that the window has taken it
  EXPECT_EQ(probe::DifferentShare(line(), hidden), 0.0) << "Ctrl+F8";
  TypeKey(VK_F8, {VK_MENU});
  EXPECT_TRUE(WaitFor([&] { return probe::DifferentShare(line(), hidden) > 0.02; }, 3000)) << "Alt+F8";
  const Bitmap shown = line();
  TypeKey(VK_F9, {VK_MENU});
  Sleep(800);  // the same
  EXPECT_EQ(probe::DifferentShare(line(), shown), 0.0) << "Alt+F9";
  TypeKey(VK_F9, {VK_CONTROL});
  EXPECT_TRUE(WaitFor([&] { return probe::DifferentShare(line(), hidden) == 0.0; }, 3000)) << "Ctrl+F9";
}

// The title-bar close, Alt+F4 and the minimise button each end the program without a question: the five
// stand-ins of the close list are asked to close, postman and unitprep stay, and the monitor runs on.
TEST_F(Hub, CloseAndMinimiseLeaveTheMonitorRunning) {
  struct Way {
    const char* name;
    void (*take)(HWND panel);
  };
  const Way ways[] = {
      {"close box or system menu Close", [](HWND panel) { PostMessageA(panel, WM_SYSCOMMAND, SC_CLOSE, 0); }},
      {"Alt+F4",
       [](HWND panel) {
         SetForegroundWindow(panel);
         WaitFor([&] { return GetForegroundWindow() == panel; }, 2000);
         TypeKey(VK_F4, {VK_MENU});
       }},
      {"minimise", [](HWND panel) { PostMessageA(panel, WM_SYSCOMMAND, SC_MINIMIZE, 0); }},
  };
  bool first = true;
  for (const Way& way : ways) {
    SCOPED_TRACE(way.name);
    for (const char* name : kStandins) DeleteFileA((program_ + name + ".log").c_str());
    standins_.clear();
    StartStandins();
    ASSERT_FALSE(HasFatalFailure());
    if (first) {
      Start(Live(5));
      first = false;
    } else {
      panel_ = Process::Start(Quote(program_ + "statuspanel.exe"), program_);
      WaitForShownWindow();
    }
    ASSERT_FALSE(HasFatalFailure());
    way.take(window_);
    DWORD code = 1;
    ASSERT_TRUE(panel_.WaitExit(10000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_TRUE(MessageBoxes().empty());
    for (const char* name : kClosedWithThePanel) {
      EXPECT_TRUE(StandinEnded(name)) << name;
      EXPECT_EQ(Count(Log(name), "message WM_CLOSE 0 0"), 1) << name;
    }
    for (const char* name : kStayOpen) {
      EXPECT_TRUE(StandinRunning(name)) << name;
      EXPECT_EQ(Log(name).find("WM_CLOSE"), std::string::npos) << name;
    }
    EXPECT_TRUE(monitor_.Running());
    EXPECT_EQ(MonitorLog().find("99 99"), std::string::npos);
  }
}

}  // namespace
}  // namespace korval::e2e

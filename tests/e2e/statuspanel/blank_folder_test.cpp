// The real statuspanel.exe in a program folder whose name holds a blank ("<temp>\Korval Plus\"), with the
// sibling stand-ins and the real eventbook.exe in it and a program "<temp>\Korval.exe" beside it: a bare
// command line would start Korval.exe with the rest of the path as its arguments. Every toolbar button must
// start its own program and never the decoy.
#include <gtest/gtest.h>

#include <string>

#include "panel_e2e.h"

namespace korval::e2e {
namespace {

struct Row {
  int button;
  const char* name;  // the program, and its stand-in's log
  const char* className;
};
const Row kRows[] = {
    {1, "tunedesk", "TnTunedesk"}, {3, "seekunit", "TnSeekUnit"},  {4, "timetable", "TnTimetable"},
    {5, "rewind", "TnRewind"},     {6, "eventbook", "TnEventLog"}, {8, "beeper", "TnBeeper"},
    {9, "postman", "TnPostman"},   {7, "unitprep", "TnUnitPrep"},
};

class PanelInBlankFolder : public StatusPanel {
 protected:
  void SetUp() override {
    StatusPanel::SetUp();
    ASSERT_FALSE(HasFatalFailure());
    // The program folder as the fixture laid it out, renamed to a name with a blank.
    const std::string blank = dir_.Prefix() + "Korval Plus\\";
    ASSERT_TRUE(MoveFileA(program_.substr(0, program_.size() - 1).c_str(),
                          blank.substr(0, blank.size() - 1).c_str()));
    program_ = blank;
    for (const Row& row : kRows)
      ASSERT_TRUE(CopyProgram(std::string(row.name) + ".exe", program_)) << row.name;
    // The decoy logs into the folder above the program folder.
    ASSERT_TRUE(CopyFileA((std::string(BinDir()) + "tools\\siblings\\installer_standin.exe").c_str(),
                          dir_.File("Korval.exe").c_str(), FALSE));
  }

  // The siblings that the panel started are not ours to end: they are asked to close.
  void TearDown() override {
    for (const Row& row : kRows)
      if (HWND w = FindWindowA(row.className, nullptr)) PostMessageA(w, WM_CLOSE, 0, 0);
    WaitFor(
        [&] {
          for (const Row& row : kRows)
            if (FindWindowA(row.className, nullptr)) return false;
          return true;
        },
        10000);
  }

  static bool CopyProgram(const std::string& file, const std::string& to) {
    return CopyFileA((std::string(ProgramDir()) + file).c_str(), (to + file).c_str(), FALSE) != 0;
  }
  std::string DecoyLog() const { return ReadFileBytes(dir_.File("started.log")); }
};

TEST_F(PanelInBlankFolder, EveryButtonStartsItsProgramAndNotTheDecoy) {
  Start(Live(23));
  ASSERT_FALSE(HasFatalFailure());
  // The UPS Setup button shows one read after the unit type appears.
  ASSERT_TRUE(WaitFor([&] { return ToolbarButton(7) != nullptr; }, 5000));
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(PressButton(row.button));
    EXPECT_TRUE(WaitFor([&] { return FindWindowA(row.className, nullptr) || !DecoyLog().empty(); }, 20000));
    Sleep(300);
    EXPECT_EQ(DecoyLog(), "") << "the decoy ran";
    if (std::string(row.name) != "eventbook") {
      // The program's path in quotes; the rewind row's unit type after them, as from any folder.
      const std::string expected =
          "command line \"" + program_ + row.name + ".exe\"" + (row.button == 5 ? " 23" : "") + "\r\n";
      const std::string log = ReadFileBytes(program_ + row.name + ".log");
      EXPECT_EQ(log.substr(0, expected.size()), expected) << log;
    }
    DeleteFileA(dir_.File("started.log").c_str());
    SetForegroundWindow(window_);
  }
  EXPECT_TRUE(panel_.Running());
}

}  // namespace
}  // namespace korval::e2e

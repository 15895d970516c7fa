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
// The quotes go round the program's path, which every row builds alike from the program folder: a row whose
// command line carries the unit type after the quotes, and a row with none. The unit tables quote each row.
const Row kRows[] = {{5, "rewind", "TnRewind"}, {1, "tunedesk", "TnTunedesk"}};

class PanelInBlankFolder : public StatusPanel {
 protected:
  PanelInBlankFolder() {
    layout_.name = "Korval Plus";
    for (const Row& row : kRows) layout_.files.push_back(std::string(row.name) + ".exe");
    // The decoy logs into the folder above the program folder.
    layout_.decoy = "Korval.exe";
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

  std::string DecoyLog() const { return ReadFileBytes(dir_.File("started.log")); }
};

TEST_F(PanelInBlankFolder, ButtonsStartTheirProgramAndNotTheDecoy) {
  Start(Live(23));
  ASSERT_FALSE(HasFatalFailure());
  // The UPS Setup button shows one read after the unit type appears.
  ASSERT_TRUE(WaitFor([&] { return ToolbarButton(7) != nullptr; }, 5000));
  for (const Row& row : kRows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(PressButton(row.button));
    // The stand-in logs its command line before it makes its window; the decoy, started in its place, would
    // log before it ends.
    const std::string log = program_ + row.name + ".log";
    EXPECT_TRUE(WaitFor([&] { return FindWindowA(row.className, nullptr) || !DecoyLog().empty(); }, 20000));
    EXPECT_EQ(DecoyLog(), "") << "the decoy ran";
    // The program's path in quotes; the rewind row's unit type after them, as from any folder.
    const std::string expected =
        "command line \"" + program_ + row.name + ".exe\"" + (row.button == 5 ? " 23" : "") + "\r\n";
    EXPECT_EQ(ReadFileBytes(log).substr(0, expected.size()), expected) << ReadFileBytes(log);
    DeleteFileA(dir_.File("started.log").c_str());
    SetForegroundWindow(window_);
  }
  EXPECT_TRUE(panel_.Running());
}

}  // namespace
}  // namespace korval::e2e

// The real setup.exe in a folder whose name holds a blank ("<temp>\my disc\"), with a program "<temp>\my.exe"
// beside that folder: a bare command line would start my.exe with the rest of the path as its arguments.
// Each start link, clicked with the real pointer, must start its own installer and never the decoy.
#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "setup_disc.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

// A left click of the real pointer at a point of the window's client area.
void UserClick(HWND window, int x, int y) {
  POINT p{x, y};
  ClientToScreen(window, &p);
  SetCursorPos(p.x, p.y);
  WaitFor(
      [&] {
        POINT at{};
        return GetCursorPos(&at) && at.x == p.x && at.y == p.y;
      },
      2000);
  for (DWORD flags : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof input);
    Sleep(50);
  }
}

void UserPressEnter() {
  INPUT input[2] = {};
  input[0].type = input[1].type = INPUT_KEYBOARD;
  input[0].ki.wVk = input[1].ki.wVk = VK_RETURN;
  input[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, input, sizeof(INPUT));
}

class SetupInBlankFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    // The decoy logs into the folder above the launcher's.
    FolderLayout layout = kSetupDisc;
    layout.name = "my disc";
    layout.decoy = "my.exe";
    ProgramFolder folder;
    ASSERT_TRUE(folder.Lay(dir_, layout));
    folder_ = folder.program;
    // The batch file writes its first argument into its current directory.
    CreateDirectoryA((folder_ + "netware").c_str(), nullptr);
    WriteFileBytes(folder_ + "netware\\install.bat", "@echo %1> started.log\r\n");

    process_ = Process::Start(Quote(folder_ + "setup.exe"), folder_);
    ASSERT_TRUE(WaitFor(
        [&] {
          window_ = FindWindowOfProcess("TInstall", process_.Id());
          return window_ && IsWindowVisible(window_);
        },
        10000));
    SetForegroundWindow(window_);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 5000));
  }

  std::string DecoyLog() const { return ReadFileBytes(dir_.File("started.log")); }

  test::TempDir dir_;
  std::string folder_;
  Process process_;
  HWND window_ = nullptr;
};

TEST_F(SetupInBlankFolder, InstallerLinksStartTheirInstallerAndNotTheDecoy) {
  struct Case {
    const char* family;
    int x, y;  // a point of the link
  } cases[] = {{"WinNT", 60, 28}, {"Win9x", 60, 98}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.family);
    const std::string log = folder_ + c.family + "\\started.log";
    UserClick(window_, c.x, c.y);
    // One program is started: its own installer, which writes its line, or the decoy.
    ASSERT_TRUE(WaitFor(
        [&] {
          const std::string line = ReadFileBytes(log);
          return (line.size() > 2 && line.compare(line.size() - 2, 2, "\r\n") == 0) ||
                 FileExists(dir_.File("started.log"));
        },
        10000));
    EXPECT_EQ(DecoyLog(), "") << "the decoy ran";
    // The installer gets its own path and no argument, as from a folder without blanks.
    const std::string line = ReadFileBytes(log);
    EXPECT_EQ(line.substr(0, line.find('|')), "\"" + folder_ + c.family + "\\setup.exe\"");
  }
  EXPECT_TRUE(process_.Running());
}

TEST_F(SetupInBlankFolder, NovellRunsItsBatchFileAndNotTheDecoy) {
  UserClick(window_, 45, 236);
  HWND box = WaitForWindow("#32770", "Novell Setup");
  ASSERT_NE(box, nullptr);
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == box; }, 5000));
  UserPressEnter();  // takes the proposed drive
  const std::string log = folder_ + "netware\\started.log";
  ASSERT_TRUE(WaitFor([&] { return FileExists(log) || FileExists(dir_.File("started.log")); }, 15000));
  EXPECT_EQ(DecoyLog(), "") << "the decoy ran";
  // The batch file's one argument is the drive, as before.
  ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(log) == "S:\r\n"; }, 5000)) << ReadFileBytes(log);
}

}  // namespace
}  // namespace korval::e2e

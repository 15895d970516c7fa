// The real setup.exe in a folder of its own beside stand-in installers: clicking a link starts the installer,
// the window stays, the link under the pointer lights up red, and Exit ends the program.
#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "probe.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

class SetupE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_.Prefix();
    ASSERT_TRUE(
        CopyFileA((std::string(ProgramDir()) + "setup.exe").c_str(), (folder_ + "setup.exe").c_str(), FALSE));
    for (const char* family : {"WinNT", "Win9x"}) {
      CreateDirectoryA((folder_ + family).c_str(), nullptr);
      ASSERT_TRUE(CopyFileA((std::string(BinDir()) + "tools\\siblings\\installer_standin.exe").c_str(),
                            (folder_ + family + "\\setup.exe").c_str(), FALSE));
    }
    process_ = Process::Start(Quote(folder_ + "setup.exe"), folder_);
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindWindowOfProcess("TInstall", process_.Id())) != nullptr; },
                        10000));
    char title[64] = {};
    GetWindowTextA(window_, title, sizeof title);
    EXPECT_STREQ(title, "KORVAL FOR WINDOWS SETUP");
    SetForegroundWindow(window_);
  }

  static LPARAM At(int x, int y) { return MAKELPARAM(x, y); }
  // Puts the real pointer over a point of the client area (the system then reports the move itself).
  void PointTo(int x, int y) {
    POINT p{x, y};
    ClientToScreen(window_, &p);
    SetCursorPos(p.x, p.y);
    PostMessageA(window_, WM_MOUSEMOVE, 0, At(x, y));
  }
  void ClickAt(int x, int y) {
    PostMessageA(window_, WM_MOUSEMOVE, 0, At(x, y));
    PostMessageA(window_, WM_LBUTTONDOWN, MK_LBUTTON, At(x, y));
    PostMessageA(window_, WM_LBUTTONUP, 0, At(x, y));
  }
  std::string Log(const char* family) const { return ReadFileBytes(folder_ + family + "\\started.log"); }
  // Lines in a stand-in's log.
  int Starts(const char* family) const {
    const std::string log = Log(family);
    int n = 0;
    for (char c : log) n += c == '\n';
    return n;
  }
  // Pixels of a rectangle that are clearly red (the link under the pointer).
  int RedPixels(int left, int top, int width, int height) const {
    const forms::Bitmap shot = probe::Crop(probe::CaptureClient(window_), left, top, width, height);
    int n = 0;
    for (int y = 0; y < shot.Height(); ++y) {
      for (int x = 0; x < shot.Width(); ++x) {
        const forms::Color c = shot.Pixel(x, y);
        n += c.r > 200 && c.g < 60 && c.b < 60;
      }
    }
    return n;
  }

  test::TempDir dir_;
  std::string folder_;
  Process process_;
  HWND window_ = nullptr;
};

TEST_F(SetupE2e, InstallerLinksStartTheirInstallerAndTheWindowStays) {
  RECT client{};
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, 495);
  EXPECT_EQ(client.bottom, 465);
  EXPECT_FALSE(GetWindowLongA(window_, GWL_STYLE) & WS_MINIMIZEBOX);

  ClickAt(60, 28);  // Windows 2000/XP/...
  ASSERT_TRUE(WaitFor([&] { return Starts("WinNT") == 1; }, 10000)) << Log("WinNT");
  // The whole command line is the installer's path, bare.
  EXPECT_EQ(Log("WinNT").substr(0, Log("WinNT").find('|')), folder_ + "WinNT\\setup.exe");
  ClickAt(60, 98);  // Windows NT/95/98/Me
  ASSERT_TRUE(WaitFor([&] { return Starts("Win9x") == 1; }, 10000));
  ClickAt(60, 98);  // a second click, a second copy
  ASSERT_TRUE(WaitFor([&] { return Starts("Win9x") == 2; }, 10000));

  Sleep(300);
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_TRUE(process_.Running());
  EXPECT_EQ(Starts("WinNT"), 1);

  // The strip where the shadow juts out beyond the Exit link is no link.
  ClickAt(35 + 43 + 1, 296 + 10);
  Sleep(300);
  EXPECT_TRUE(process_.Running());
}

TEST_F(SetupE2e, TheLinkUnderThePointerTurnsRedAndExitEnds) {
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 5000));
  PointTo(50, 168);  // Linux Readme
  const bool red = WaitFor([&] { return RedPixels(35, 156, 150, 26) > 100; }, 5000);
  probe::SaveFile(std::string(BinDir()) + "tests\\e2e\\setup\\setup.png",
                  probe::EncodePng(probe::CaptureClient(window_)));
  ASSERT_TRUE(red);
  EXPECT_EQ(RedPixels(35, 16, 356, 26), 0);

  PointTo(450, 440);  // the background
  ASSERT_TRUE(WaitFor([&] { return RedPixels(35, 156, 150, 26) == 0; }, 5000));

  ClickAt(50, 306);  // Exit
  DWORD code = 1;
  EXPECT_TRUE(process_.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
}

// Answers the launcher's input box: `drive` into its field, then OK.
void AnswerNovellBox(const char* drive) {
  HWND box = WaitForWindow("#32770", "Novell Setup");
  ASSERT_NE(box, nullptr);
  HWND edit = FindWindowExA(box, nullptr, "Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  char proposal[16] = {};
  WaitFor(
      [&] { return SendMessageA(edit, WM_GETTEXT, sizeof proposal, reinterpret_cast<LPARAM>(proposal)) > 0; },
      5000);
  EXPECT_STREQ(proposal, "S:");  // no drive of this machine holds SYSTEM\CLIB.NLM
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(drive));
  HWND ok = FindWindowExA(box, nullptr, "Button", "OK");
  ASSERT_NE(ok, nullptr);
  PostMessageA(ok, BM_CLICK, 0, 0);
}

TEST_F(SetupE2e, NovellRunsTheBatchFileInItsFolderOrReportsTheMissingFolder) {
  ClickAt(45, 236);  // Novell, with no netware folder yet
  AnswerNovellBox("G:");
  HWND error = WaitForWindow("#32770", "Install");
  ASSERT_NE(error, nullptr);
  PostMessageA(error, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor([&] { return !IsWindow(error); }, 5000));
  EXPECT_TRUE(process_.Running());

  // The batch file writes its argument into its current directory.
  CreateDirectoryA((folder_ + "netware").c_str(), nullptr);
  WriteFileBytes(folder_ + "netware\\install.bat", "@echo %1> started.log\r\n");
  ClickAt(45, 236);
  AnswerNovellBox("G:");
  ASSERT_TRUE(WaitFor([&] { return FileExists(folder_ + "netware\\started.log"); }, 15000));
  ASSERT_TRUE(WaitFor([&] { return ReadFileBytes(folder_ + "netware\\started.log").find("G:") == 0; }, 5000))
      << ReadFileBytes(folder_ + "netware\\started.log");
  EXPECT_TRUE(IsWindowVisible(window_));
}

}  // namespace
}  // namespace korval::e2e

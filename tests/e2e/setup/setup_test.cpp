// The real setup.exe in a folder of its own beside stand-in installers: the links show their whole captions
// over a drop shadow, clicking a link starts the installer, the window stays, the link under the pointer
// lights up red, and Exit ends the program.
#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "probe.h"
#include "setup_disc.h"
#include "shown.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

using forms::Bitmap;
using forms::Color;

// The five links as laid out, top to bottom.
struct Link {
  const char* caption;
  int left, top, width, height;
};
const Link kLinks[] = {{"Windows 2000/XP/2003/Vista/2008", 35, 16, 356, 26},
                       {"Windows NT/95/98/Me", 35, 86, 235, 26},
                       {"Linux Readme", 35, 156, 150, 26},
                       {"Novell ", 35, 226, 71, 26},
                       {"Exit", 35, 296, 43, 26}};
constexpr int kLinuxReadme = 2, kNoLink = -1;
constexpr int kShadowOffset = 3;
const Color kRed = forms::Rgb(255, 0, 0), kBlack = forms::Rgb(0, 0, 0);

// Where one colour stands in a part of a picture: how many pixels, and the rightmost column that has one.
struct Ink {
  int pixels = 0, right = -1;
};
Ink InkOf(const Bitmap& shot, int left, int top, int width, int height, Color colour) {
  Ink ink;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x)
      if (shot.Pixel(x, y) == colour) {
        ++ink.pixels;
        ink.right = x > ink.right ? x : ink.right;
      }
  return ink;
}

// Each link shows its whole caption in its colour (red for `hovered`, the resting colour for the others),
// over a black copy 3 pixels to the right and below: the painted text ends where the caption's last glyph
// ends, inside the link's box. A font other than the one the layout was made for is wider than the box.
void ExpectLinksShownWhole(const Bitmap& shot, int hovered) {
  const DWORD light = GetSysColor(COLOR_3DLIGHT);
  const Color resting = forms::Rgb(GetRValue(light), GetGValue(light), GetBValue(light));
  for (int i = 0; i < 5; ++i) {
    const Link& l = kLinks[i];
    SCOPED_TRACE(l.caption);
    const Color colour = i == hovered ? kRed : resting, other = i == hovered ? resting : kRed;
    const int inkWidth = MeasureText("Times New Roman", 24, true, l.caption).ink;
    EXPECT_LE(inkWidth, l.width) << "the caption is wider than its link";
    const Ink ink = InkOf(shot, l.left, l.top, l.width, l.height, colour);
    EXPECT_GT(ink.pixels, 40);
    EXPECT_EQ(ink.right + 1 - l.left, inkWidth);
    EXPECT_EQ(InkOf(shot, l.left, l.top, l.width, l.height, other).pixels, 0);

    const int s = kShadowOffset;
    const Ink shadow = InkOf(shot, l.left + s, l.top + s, l.width, l.height, kBlack);
    EXPECT_GT(shadow.pixels, 10);
    EXPECT_EQ(shadow.right + 1 - (l.left + s), inkWidth);
    int unshadowed = 0;  // pixels of the text with neither text nor shadow 3 pixels to the right and below
    for (int y = l.top; y < l.top + l.height; ++y)
      for (int x = l.left; x < l.left + l.width; ++x)
        if (shot.Pixel(x, y) == colour && !(shot.Pixel(x + s, y + s) == colour) &&
            !(shot.Pixel(x + s, y + s) == kBlack))
          ++unshadowed;
    EXPECT_EQ(unshadowed, 0);
  }
}

class SetupE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    ProgramFolder folder;
    ASSERT_TRUE(folder.Lay(dir_, kSetupDisc));
    folder_ = folder.program;
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
  // The window may be shown a moment before its frame is put around the client area.
  WaitFor([&] { return GetClientRect(window_, &client) && client.right == 495 && client.bottom == 465; },
          2000);
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

  Sleep(300);  // the launcher must stay: nothing shows that it will not end
  EXPECT_TRUE(IsWindow(window_));
  EXPECT_TRUE(IsWindowVisible(window_));
  EXPECT_TRUE(process_.Running());
  EXPECT_EQ(Starts("WinNT"), 1);

  // The strip where the shadow juts out beyond the Exit link is no link.
  ClickAt(35 + 43 + 1, 296 + 10);
  Sleep(300);  // the same
  EXPECT_TRUE(process_.Running());
}

TEST_F(SetupE2e, TheLinkUnderThePointerTurnsRedAndExitEnds) {
  ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 5000));
  PointTo(450, 440);  // the background
  {
    SCOPED_TRACE("at rest");
    forms::Bitmap rest;
    EXPECT_TRUE(PictureSettles([&] { return probe::CaptureClient(window_); }, rest));
    ExpectLinksShownWhole(rest, kNoLink);
  }
  PointTo(50, 168);  // Linux Readme
  const bool red = WaitFor([&] { return RedPixels(35, 156, 150, 26) > 100; }, 5000);
  const Bitmap shot = probe::CaptureClient(window_);
  probe::SaveFile(std::string(BinDir()) + "tests\\e2e\\setup\\setup.png", probe::EncodePng(shot));
  ASSERT_TRUE(red);
  {
    SCOPED_TRACE("Linux Readme under the pointer");
    ExpectLinksShownWhole(shot, kLinuxReadme);
  }

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
  HWND edit = nullptr;  // the box may be there a moment before its controls
  WaitFor([&] { return (edit = FindWindowExA(box, nullptr, "Edit", nullptr)) != nullptr; }, 5000);
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

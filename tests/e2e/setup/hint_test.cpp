// The start links' hints of setup.exe, the longest among them too: the pointer rests on a link, and its
// hint shows its whole text as the system's tool tips do.
#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "hint_e2e.h"
#include "setup_disc.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

TEST(SetupHints, EachLinkShowsItsWholeHint) {
  test::TempDir dir;
  ProgramFolder disc;
  ASSERT_TRUE(disc.Lay(dir, kSetupDisc));
  const std::string& folder = disc.program;
  Process setup = Process::Start(Quote(folder + "setup.exe"), folder);
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] { return (window = FindWindowOfProcess("TInstall", setup.Id())) && IsWindowVisible(window); },
      10000));
  SetForegroundWindow(window);
  const struct {
    int x, y;
    const char* hint;
  } links[] = {{100, 28, "Install KORVAL for Windows 2000/XP/2003/Vista/2008"},
               {100, 98, "Install KORVAL for Windows NT/95/98/Me"},
               {100, 168, "How to install Linux"},
               {60, 238, "Install KORVAL for Novell"},
               {50, 308, "EXIT SETUP PROGRAM"}};
  for (const auto& l : links) {
    SCOPED_TRACE(l.hint);
    HWND hint = HintAt(window, setup.Id(), l.x, l.y);
    ExpectToolTipShows(hint, l.hint);
    PointerAway(window);
    if (hint) {
      EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(hint); }, 3000));
    }
  }
}

}  // namespace
}  // namespace korval::e2e

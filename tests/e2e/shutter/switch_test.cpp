// shutter.exe started with anything but its switch: it ends at once, with exit code 0, no window and
// nothing made beside it. (The full run, which shuts down, runs in a Wine prefix of its own:
// shutter_timeline_e2e.sh.)
#include <gtest/gtest.h>

#include "e2e.h"
#include "program_folder.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

TEST(ShutterSwitch, WrongOrEmptySwitchEndsAtOnceWithoutAWindow) {
  test::TempDir dir;
  FolderLayout layout;
  layout.name = "program folder";
  layout.files = {"shutter.exe"};
  layout.dataFolder = false;
  ProgramFolder program;
  ASSERT_TRUE(program.Lay(dir, layout));
  const std::string& folder = program.program;
  const std::string exe = folder + "shutter.exe";

  for (const char* tail : {"", " ", " /callbykorval", " /CallByKorval ", " /CallByKorval/KorvalNoSave",
                           " /KorvalNoSave x", " /Other"}) {
    SCOPED_TRACE(std::string("tail \"") + tail + "\"");
    Process p = Process::Start("\"" + exe + "\"" + tail, folder);
    ASSERT_TRUE(p.Handle());
    bool window = false;
    DWORD code = 1;
    bool ended = WaitFor(
        [&] {
          window |= FindWindowOfProcess("Shutter32", p.Id()) != nullptr;
          return !p.Running();
        },
        5000);
    ASSERT_TRUE(ended);
    ASSERT_TRUE(p.WaitExit(0, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(window);
    EXPECT_FALSE(FileExists(folder + "save")) << "a wrong switch makes nothing";
  }
}

}  // namespace
}  // namespace korval::e2e

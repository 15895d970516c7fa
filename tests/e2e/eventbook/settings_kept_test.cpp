// The real eventbook.exe started on a settings file that other programs wrote, in a layout of their own: a
// start that changes no setting leaves the file exactly as it was.
#include <gtest/gtest.h>

#include <string>

#include "e2e.h"
#include "program_folder.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

FILETIME LastWrite(const std::string& path) {
  FILETIME t{};
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) t = data.ftLastWriteTime;
  return t;
}

TEST(EventbookSettings, AStartThatChangesNoValueLeavesTheFileUntouched) {
  test::TempDir dir;
  FolderLayout layout;
  layout.files = {"eventbook.exe", "English.txt"};
  ProgramFolder folder;
  ASSERT_TRUE(folder.Lay(dir, layout));
  const std::string& program = folder.program;
  const std::string& data = folder.data;
  // AllState 1: the start sets the All box, whose click stores the value it already has.
  const std::string settings =
      "written by the monitor\r\n"
      "; ports\r\n"
      "[COM251]\r\nDriver=2\r\n"
      "[Main]\r\nLanguage=0\r\n\r\n\r\n"
      "[EventLog]\r\nState=111101111111110\r\nAllState=1\r\n"
      ";last line, no line end";
  const std::string path = data + "KORVAL.ini";
  WriteFileBytes(path, settings);
  const FILETIME before = LastWrite(path);
  // A write from now on would leave a later time.
  ASSERT_TRUE(WaitFor(
      [&] {
        FILETIME now{};
        GetSystemTimeAsFileTime(&now);
        return CompareFileTime(&now, &before) > 0;
      },
      5000));

  Process viewer = Process::Start(Quote(program + "eventbook.exe"), program);
  HWND window = nullptr;
  ASSERT_TRUE(WaitFor(
      [&] {
        window = FindWindowOfProcess("TnEventLog", viewer.Id());
        return window && IsWindowVisible(window);
      },
      15000));
  PostMessageA(window, WM_CLOSE, 0, 0);
  DWORD code = 1;
  ASSERT_TRUE(viewer.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);

  EXPECT_EQ(ReadFileBytes(path), settings);
  const FILETIME after = LastWrite(path);
  EXPECT_EQ(CompareFileTime(&before, &after), 0) << "the file was written";
}

}  // namespace
}  // namespace korval::e2e

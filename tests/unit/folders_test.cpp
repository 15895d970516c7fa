#include "folders.h"

#include <gtest/gtest.h>

#include "error.h"
#include "temp_dir.h"

namespace korval {
namespace {

TEST(Folders, FolderOfPathKeepsTheSeparator) {
  EXPECT_EQ(FolderOfPath("C:\\Program Files\\Korval\\statuspanel.exe"), "C:\\Program Files\\Korval\\");
  EXPECT_EQ(FolderOfPath("C:statuspanel.exe"), "C:");
  EXPECT_EQ(FolderOfPath("statuspanel.exe"), "");
  const std::string own = CurrentProgramDir();
  ASSERT_FALSE(own.empty());
  EXPECT_TRUE(own.back() == '\\' || own.back() == '/');
}

TEST(Folders, DataDirIsTheFirstLineAsStored) {
  struct Case {
    std::string contents, want;
  } cases[] = {
      {"D:\\Data\\\r\nsecond\r\n", "D:\\Data\\"},
      {"D:\\Data\\\nsecond", "D:\\Data\\"},
      {"D:\\Data\\\rsecond", "D:\\Data\\"},
      {"D:\\Data", "D:\\Data"},                 // no separator added
      {"  D:\\Data\\  \r\n", "  D:\\Data\\  "},  // nothing trimmed
      {"", ""},                                 // no line at all: empty, like a missing file
      {"\r\nD:\\Data\\", ""},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    dir.Write("UserPath.dat", c.contents);
    EXPECT_EQ(ReadDataDir(dir.Prefix()), c.want) << c.contents;
  }
  test::TempDir none;
  EXPECT_EQ(ReadDataDir(none.Prefix()), "");
}

TEST(Folders, UnreadableUserPathIsAnOpenError) {
  test::TempDir dir;
  std::filesystem::create_directory(dir.File("UserPath.dat"));
  EXPECT_THROW(ReadDataDir(dir.Prefix()), FileOpenError);
}

}  // namespace
}  // namespace korval

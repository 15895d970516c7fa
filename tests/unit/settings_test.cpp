#include "settings.h"

#include <gtest/gtest.h>

#include "error.h"
#include "temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace korval {
namespace {

TEST(SettingsInteger, ReaderRules) {
  struct Case {
    const char* text;
    std::optional<std::int32_t> want;
  } cases[] = {
      {"3", 3},           {" 3", 3},         {"   -12", -12},   {"+7", 7},
      {"3 ", {}},         {"abc", {}},       {"", {}},         {" ", {}},
      {"-", {}},          {"0xB", 11},       {"0XB", 11},      {"$B", 11},
      {"$b", 11},         {"-$10", -16},     {"0x", {}},       {"$", {}},
      {"12a", {}},        {"0x1G", {}},      {"2147483647", 2147483647},
      {"2147483648", {}}, {"-2147483648", INT32_MIN},            {"-2147483649", {}},
      {"$FFFFFFFF", -1},  {"$100000000", {}}, {"99999999999999999999", {}}, {"\t3", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSettingsInteger(c.text), c.want) << '"' << c.text << '"';
}

TEST(SettingsFile, ReadsCaseInsensitivelyAndFirstOccurrenceWins) {
  SettingsFile f = SettingsFile::FromText("x.ini",
                                          "language=9\r\n"  // before any section: skipped
                                          "[main]\r\nlanguage= 3\r\nLanguage=5\r\nShowDisp=\r\n"
                                          "[MAIN]\r\nTestFun=2\r\n[Set]\nGreenStatus=1\rnoequals\n");
  EXPECT_EQ(f.ReadInteger("Main", "Language", -1), 3);
  EXPECT_EQ(f.ReadString("Main", "ShowDisp", "dflt"), "");
  EXPECT_EQ(f.ReadString("Main", "Missing", "dflt"), "dflt");
  EXPECT_EQ(f.ReadInteger("Main", "TestFun", 7), 7) << "the second [MAIN] is never read";
  EXPECT_EQ(f.ReadInteger("SET", "greenstatus", 0), 1);
  EXPECT_EQ(f.ReadInteger("Nope", "GreenStatus", 42), 42);
  EXPECT_EQ(f.ReadString("Set", "noequals", "d"), "d");
}

TEST(SettingsFile, ValuesAndKeysAreNotTrimmed) {
  SettingsFile f = SettingsFile::FromText("x.ini", "[ Main ]\r\n Key = v a l \r\n[Main]\r\nKey=x=y\r\n");
  EXPECT_EQ(f.ReadString(" Main ", " Key ", "-"), " v a l ");
  EXPECT_EQ(f.ReadString("Main", "Key", "-"), "x=y");
  EXPECT_EQ(f.ReadString("Main", " Key ", "-"), "-");
}

TEST(SettingsFile, UpdateFormatDropsSkippedLinesAndKeepsOrder) {
  SettingsFile f = SettingsFile::FromText("x.ini",
                                          "; a comment\r\n[Main]\r\n\r\nB=2\r\n;inner\r\nA=1\r\nraw line\r\n"
                                          "[EventLog]\r\nState=111\r\n");
  f.WriteInteger("main", "a", -5);     // replaces the first A, with the writer's spelling of the key
  f.WriteString("Main", "New", "v");   // appended as the section's last line
  f.WriteString("SETUPS", "ReadType", "1");  // a new section after the last one
  EXPECT_EQ(f.Text(),
            "[Main]\r\nB=2\r\na=-5\r\nraw line\r\nNew=v\r\n\r\n"
            "[EventLog]\r\nState=111\r\n\r\n"
            "[SETUPS]\r\nReadType=1\r\n\r\n");
}

TEST(SettingsFile, MissingFileReadsEmptyAndFirstUpdateCreatesIt) {
  test::TempDir dir;
  SettingsFile f = SettingsFile::Open(dir.File("KORVAL.ini"));
  EXPECT_EQ(f.ReadInteger("Main", "Language", -1), -1);
  f.WriteInteger("Main", "TestFun", 2);
  f.Update();
  EXPECT_EQ(dir.Read("KORVAL.ini"), "[Main]\r\nTestFun=2\r\n\r\n");
  EXPECT_FALSE(dir.Has("KORVAL.ini.new"));
  EXPECT_EQ(SettingsFile::Open(dir.File("KORVAL.ini")).ReadInteger("main", "testfun", 0), 2);
}

TEST(SettingsFile, MissingFolderFailsUpdateWithCreateError) {
  test::TempDir dir;
  SettingsFile f = SettingsFile::Open(dir.File("no-such-folder/KORVAL.ini"));
  f.WriteString("Main", "ShowDisp", "pw");
  try {
    f.Update();
    FAIL() << "update into a missing folder must fail";
  } catch (const FileCreateError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create file " + dir.File("no-such-folder/KORVAL.ini"));
  }
}

TEST(SettingsFile, OverlongPathBehavesAsMissing) {
  test::TempDir dir;
  const std::string path = dir.File(std::string(5000, 'a') + ".ini");
  SettingsFile f = SettingsFile::Open(path);
  EXPECT_EQ(f.ReadString("Main", "ShowDisp", "d"), "d");
  f.WriteString("Main", "ShowDisp", "x");
  EXPECT_THROW(f.Update(), FileCreateError);
}

TEST(OpenSettings, FailureOutcomes) {
  test::TempDir dir;
  // A folder where the file should be: it exists and cannot be read, on every platform.
  std::filesystem::create_directory(dir.File("KORVAL.ini"));
  const std::string path = dir.File("KORVAL.ini");
  int ends = 0;
  auto requestEnd = [&] { ++ends; };
  EXPECT_FALSE(OpenSettings(path, OnOpenFailure::EndProgram, requestEnd).has_value());
  EXPECT_EQ(ends, 1);
  EXPECT_FALSE(OpenSettings(path, OnOpenFailure::PassOver, requestEnd).has_value());
  EXPECT_EQ(ends, 1);
  try {
    OpenSettings(path, OnOpenFailure::Report, requestEnd);
    FAIL();
  } catch (const FileOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + path);
  }
  EXPECT_EQ(ends, 1);
  test::TempDir ok;
  EXPECT_TRUE(OpenSettings(ok.File("KORVAL.ini"), OnOpenFailure::EndProgram, requestEnd).has_value());
}

#ifdef _WIN32
// Another program holding the file open for writing makes the open fail and the update fail, leaving the
// old file whole.
TEST(SettingsFileWin32, DeniesWritersAndFailsWhileHeldOpenForWriting) {
  test::TempDir dir;
  const std::string path = dir.File("KORVAL.ini");
  dir.Write("KORVAL.ini", "[Main]\r\nLanguage=3\r\n");
  {
    // A reader that allows others to read does not stop us.
    HANDLE reader = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    EXPECT_EQ(SettingsFile::Open(path).ReadInteger("Main", "Language", -1), 3);
    CloseHandle(reader);
  }
  HANDLE writer = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(writer, INVALID_HANDLE_VALUE);
  EXPECT_THROW(SettingsFile::Open(path), FileOpenError);
  SettingsFile copy = SettingsFile::FromText(path, "[Main]\r\nLanguage=4\r\n");
  EXPECT_THROW(copy.Update(), FileCreateError);
  CloseHandle(writer);
  EXPECT_EQ(dir.Read("KORVAL.ini"), "[Main]\r\nLanguage=3\r\n");
  EXPECT_FALSE(dir.Has("KORVAL.ini.new"));
  copy.Update();
  EXPECT_EQ(dir.Read("KORVAL.ini"), "[Main]\r\nLanguage=4\r\n\r\n");
}

#endif

}  // namespace
}  // namespace korval

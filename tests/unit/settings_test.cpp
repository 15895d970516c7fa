#include "settings.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "codepage.h"
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

// An update writes the file only when a write changed a value; the file then takes the update format.
TEST(SettingsFile, UpdateLeavesTheFileUntouchedUnlessAValueChanged) {
  // Lines that other programs wrote and the reader skips: a rewrite would drop them.
  const std::string kept =
      "from another program\r\n[Main]\r\n;note\r\nShowDisp=pw\r\n\r\n"
      "[eventlog]\r\nallstate=0x1\r\nState=10\r\nEmpty=";
  const std::string rewritten = "[Main]\r\nShowDisp=pw\r\n\r\n[eventlog]\r\n";
  struct Case {
    const char* what;
    std::function<void(SettingsFile&)> writes;
    std::string want;  // the file after the update
  } cases[] = {
      {"no write", [](SettingsFile&) {}, kept},
      {"the same text", [](SettingsFile& f) { f.WriteString("MAIN", "showdisp", "pw"); }, kept},
      {"the same empty text", [](SettingsFile& f) { f.WriteString("EventLog", "Empty", ""); }, kept},
      {"the same integer, written otherwise",
       [](SettingsFile& f) { f.WriteInteger("EventLog", "AllState", 1); }, kept},
      {"changed and changed back",
       [](SettingsFile& f) {
         f.WriteString("EventLog", "State", "01");
         f.WriteString("EventLog", "State", "10");
       },
       kept},
      {"a changed integer", [](SettingsFile& f) { f.WriteInteger("EventLog", "AllState", 0); },
       rewritten + "AllState=0\r\nState=10\r\nEmpty=\r\n\r\n"},
      {"text that reads as the same integer",
       [](SettingsFile& f) { f.WriteString("EventLog", "AllState", "1"); },
       rewritten + "AllState=1\r\nState=10\r\nEmpty=\r\n\r\n"},
      {"a new key, even empty", [](SettingsFile& f) { f.WriteString("Main", "TestTime", ""); },
       "[Main]\r\nShowDisp=pw\r\nTestTime=\r\n\r\n[eventlog]\r\nallstate=0x1\r\nState=10\r\nEmpty=\r\n\r\n"},
      {"a new section", [](SettingsFile& f) { f.WriteInteger("SETUPS", "ReadType", 1); },
       rewritten + "allstate=0x1\r\nState=10\r\nEmpty=\r\n\r\n[SETUPS]\r\nReadType=1\r\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    test::TempDir dir;
    dir.Write("KORVAL.ini", kept);
    SettingsFile f = SettingsFile::Open(dir.File("KORVAL.ini"));
    c.writes(f);
    EXPECT_EQ(f.Changed(), c.want != kept);
    f.Update();
    EXPECT_EQ(dir.Read("KORVAL.ini"), c.want);
  }
  // No file: nothing is created until a write adds an entry, even one whose value reads as the default.
  test::TempDir dir;
  SettingsFile missing = SettingsFile::Open(dir.File("KORVAL.ini"));
  missing.Update();
  EXPECT_FALSE(dir.Has("KORVAL.ini"));
  missing.WriteString("Main", "ShowDisp", "");
  missing.Update();
  EXPECT_EQ(dir.Read("KORVAL.ini"), "[Main]\r\nShowDisp=\r\n\r\n");
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

// Chooses the code page of the lines for one test, and goes back to the system's.
struct CodePage {
  explicit CodePage(unsigned page) { UseCodePage(page); }
  ~CodePage() { UseCodePage(0); }
};

// A Japanese line inside [Main] that ends in the second byte of a double-byte character: bytes 5B 92 8D 81 5D
// ("[" and two characters) end in "]" only to a single-byte reader.
const char kTrailBracketLine[] = "[\x92\x8D\x81\x5D";
const std::string kDoubleByteLines = std::string("[Main]\r\n") +
                                     "Key\x81=x=y\r\n" +  // the first "=" is the second byte of a character
                                     kTrailBracketLine +
                                     "\r\nShowDisp=pw\r\n"
                                     "[Set]\r\nGreenStatus=1\r\n";

// What the lines above read as: in a double-byte code page the line stays a line of [Main], the "=" after a
// lead byte is part of its character, and the real section line after them opens [Set]; a single-byte code
// page reads them as before.
void ExpectLinesOfCodePage(bool doubleByte) {
  SettingsFile f = SettingsFile::FromText("x.ini", kDoubleByteLines);
  EXPECT_EQ(f.ReadString("Main", "ShowDisp", "(none)"), doubleByte ? "pw" : "(none)");
  EXPECT_EQ(f.ReadString("\x92\x8D\x81", "ShowDisp", "(none)"), doubleByte ? "(none)" : "pw");
  EXPECT_EQ(f.ReadString("Main", "Key\x81", "(none)"), doubleByte ? "(none)" : "x=y");
  EXPECT_EQ(f.ReadString("Main", "Key\x81=x", "(none)"), doubleByte ? "y" : "(none)");
  EXPECT_EQ(f.ReadInteger("Set", "GreenStatus", 0), 1);
  // A changed password replaces its line; only a single-byte reader adds a second one to [Main].
  f.WriteString("Main", "ShowDisp", "new");
  const std::string text = f.Text();
  int entries = 0;
  for (std::size_t at = text.find("ShowDisp="); at != std::string::npos; at = text.find("ShowDisp=", at + 1))
    ++entries;
  EXPECT_EQ(entries, doubleByte ? 1 : 2) << text;
  EXPECT_EQ(f.ReadString("Main", "ShowDisp", ""), "new");
  EXPECT_NE(text.find(std::string(kTrailBracketLine) + "\r\n"), std::string::npos) << "the line stays";
}

TEST(SettingsFile, LinesAreTakenApartByCharactersOfTheCodePage) {
  for (const unsigned page : {0u, 1252u, 1251u, 874u, 932u, 936u, 949u, 950u}) {
    SCOPED_TRACE(page);
    CodePage chosen(page);
    ExpectLinesOfCodePage(page >= 932 && page <= 950);
  }
}

// Without a chosen code page the lines follow the system's: the ANSI code page on Windows, single-byte
// natively.
TEST(SettingsFile, LinesFollowTheSystemCodePage) {
#ifdef _WIN32
  const UINT page = GetACP();
  std::printf("system code page %u\n", page);
  ExpectLinesOfCodePage(page == 932 || page == 936 || page == 949 || page == 950);
#else
  ExpectLinesOfCodePage(false);
#endif
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
  SettingsFile copy = SettingsFile::FromText(path, "[Main]\r\nLanguage=3\r\n");
  copy.WriteInteger("Main", "Language", 4);
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

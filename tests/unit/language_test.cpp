#include "language.h"

#include <gtest/gtest.h>

#include "error.h"
#include "settings.h"
#include "temp_dir.h"

namespace korval {
namespace {

TEST(LanguageChoice, StoredValueOrExactSystemLanguage) {
  struct Case {
    std::int32_t stored;
    std::uint16_t system;
    int want;
  } cases[] = {
      {3, 0x0407, 3},     // a stored index wins; the system is not asked
      {0, 0x0411, 0},     {11, 0x0409, 11},
      {12, 0x0407, 0},    // no language file for 12: English
      {-1, 0x0404, 1},    {-1, 0x0804, 2},    {-1, 0x0411, 3},  {-1, 0x041E, 4},
      {-1, 0x0407, 5},    {-1, 0x040C, 6},    {-1, 0x0C0A, 7},  {-1, 0x0412, 8},
      {-1, 0x0415, 9},    {-1, 0x041F, 10},   {-5, 0x0419, 11},
      // Near misses: other sub-languages of the same languages.
      {-1, 0x0C07, 0},    // German (Austria)
      {-1, 0x0807, 0},    // German (Switzerland)
      {-1, 0x0C0C, 0},    // French (Canada)
      {-1, 0x040A, 0},    // Spanish, traditional sort
      {-1, 0x0C04, 0},    // Chinese (Hong Kong)
      {-1, 0x1004, 0},    // Chinese (Singapore)
      {-1, 0x0409, 0},    {-1, 0x0000, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseLanguageIndex(c.stored, c.system), c.want) << c.stored << " " << std::hex << c.system;
}

TEST(LanguageChoice, ReadsMainLanguageWithDefaultMinusOne) {
  EXPECT_EQ(ReadLanguageIndex(SettingsFile::FromText("k", "[main]\r\nlanguage= 6\r\n"), 0x0407), 6);
  EXPECT_EQ(ReadLanguageIndex(SettingsFile::FromText("k", "[Main]\r\nLanguage=6 \r\n"), 0x0407), 5);
  EXPECT_EQ(ReadLanguageIndex(SettingsFile::FromText("k", ""), 0x0407), 5);
  EXPECT_EQ(ReadLanguageIndex(SettingsFile::FromText("k", "[Main]\r\nLanguage=$B\r\n"), 0x0407), 11);
}

TEST(LanguageTables, NamesAndHelpPaths) {
  EXPECT_STREQ(LanguageFileName(0), "English.txt");
  EXPECT_STREQ(LanguageFileName(2), "Chinese_s.txt");
  EXPECT_STREQ(LanguageFileName(11), "russian.txt");
  EXPECT_STREQ(HelpFilePath(5), "ReadmeG\\ReadmeG.htm");
  EXPECT_STREQ(HelpFilePath(1), "Readmec\\ReadmeC.htm");
  EXPECT_STREQ(HelpFilePath(10), "ReadmeTu\\ReadmeTu.htm");
  EXPECT_STREQ(LanguageFileName(-1), "English.txt");
  EXPECT_STREQ(HelpFilePath(99), "Readmee\\Readmee.htm");
  // Only the Russian texts ask for a face of their own; outside the table there is none.
  EXPECT_STREQ(LanguageFace(11), "Dotum");
  for (int index : {-1, 0, 3, 8, 10, 12}) EXPECT_EQ(LanguageFace(index), nullptr) << index;
}

TEST(LanguageFile, LookupRules) {
  LanguageFile f = LanguageFile::FromText(
      "no equals sign here\r\n"
      "dis3=first\r\n"
      "DIS3=second\r\n"
      "Ivol= I/P Voltage  [V] \r\n"
      "Empty=\r\n"
      "Eq=a=b\n"
      "[Section]\r"
      "Last=\xB9\xD7\xA5\xBB");  // double-byte text, taken byte for byte
  EXPECT_EQ(f.Text("Dis3"), "first");
  EXPECT_EQ(f.Text("ivol"), " I/P Voltage  [V] ");
  EXPECT_EQ(f.Text("Empty"), "");
  EXPECT_EQ(f.Text("Missing"), "");
  EXPECT_EQ(f.Text("Eq"), "a=b");
  EXPECT_EQ(f.Text("Last"), "\xB9\xD7\xA5\xBB");
  EXPECT_EQ(f.Text("no equals sign here"), "");
  LanguageFile copy = f;  // texts survive copies and moves
  LanguageFile moved = std::move(copy);
  EXPECT_EQ(moved.Text("dis3"), "first");
}

TEST(LanguageFile, MissingFileIsAnOpenErrorWithThePath) {
  test::TempDir dir;
  try {
    LanguageFile::Load(dir.File("English.txt"));
    FAIL();
  } catch (const FileOpenError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot open file " + dir.File("English.txt"));
  }
  dir.Write("English.txt", "OK=OK\r\n");
  EXPECT_EQ(LanguageFile::Load(dir.File("English.txt")).Text("ok"), "OK");
}

}  // namespace
}  // namespace korval

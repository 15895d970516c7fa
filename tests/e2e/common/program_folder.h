#pragma once
// A program folder laid out in a test's temporary folder as an installation has it: programs and stand-ins
// copied from the build, the language files, UserPath.dat naming a data folder beside it, a settings file.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "temp_dir.h"

namespace korval::e2e {

struct FolderLayout {
  // The program folder's name inside the temporary folder (it may hold blanks); empty: the temporary folder.
  std::string name = "program";
  // Files of the build's program folder copied in: programs, the sibling stand-ins, single language files.
  std::vector<std::string> files;
  bool languageFiles = false;  // every language file
  // A data folder "<temp>\data\", named in the program folder's UserPath.dat.
  bool dataFolder = true;
  std::string settings;  // KORVAL.ini of the data folder, when not empty
  // The installer stand-in copied to these places inside the program folder ("WinNT\setup.exe").
  std::vector<std::string> installers;
  // The installer stand-in once more, beside the program folder under this name: the program that a bare
  // command line from a folder whose name holds a blank would start ("<temp>\Korval.exe" for
  // "<temp>\Korval Plus\..."). It logs into the temporary folder's started.log.
  std::string decoy;
};

struct ProgramFolder {
  std::string program;  // the program folder, ending with a backslash
  std::string data;     // the data folder, ending with a backslash; empty without one

  // Lays out `layout` in `dir`; the failure names what could not be made.
  ::testing::AssertionResult Lay(const test::TempDir& dir, const FolderLayout& layout);
  // One more file of the build's program folder copied in.
  bool Copy(const std::string& file) const;
};

}  // namespace korval::e2e

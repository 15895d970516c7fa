#include "program_folder.h"

#include <windows.h>

#include "e2e.h"
#include "language.h"

namespace korval::e2e {
namespace {

bool CopyTo(const std::string& from, const std::string& to) {
  return CopyFileA(from.c_str(), to.c_str(), FALSE) != 0;
}

std::string InstallerStandin() { return std::string(BinDir()) + "tools\\siblings\\installer_standin.exe"; }

}  // namespace

::testing::AssertionResult ProgramFolder::Lay(const test::TempDir& dir, const FolderLayout& layout) {
  program = layout.name.empty() ? dir.Prefix() : dir.Prefix() + layout.name + "\\";
  if (!layout.name.empty() && !CreateDirectoryA(program.c_str(), nullptr))
    return ::testing::AssertionFailure() << "cannot make " << program;
  std::vector<std::string> files = layout.files;
  if (layout.languageFiles)
    for (int i = 0; i < kLanguageCount; ++i) files.push_back(LanguageFileName(i));
  for (const std::string& file : files)
    if (!Copy(file)) return ::testing::AssertionFailure() << "cannot copy " << file;
  for (const std::string& place : layout.installers) {
    const std::size_t folder = place.find_last_of('\\');
    if (folder != std::string::npos) CreateDirectoryA((program + place.substr(0, folder)).c_str(), nullptr);
    if (!CopyTo(InstallerStandin(), program + place))
      return ::testing::AssertionFailure() << "cannot copy the installer stand-in to " << place;
  }
  if (!layout.decoy.empty() && !CopyTo(InstallerStandin(), dir.File(layout.decoy)))
    return ::testing::AssertionFailure() << "cannot copy the decoy " << layout.decoy;
  data.clear();
  if (layout.dataFolder) {
    data = dir.Prefix() + "data\\";
    if (!CreateDirectoryA(data.c_str(), nullptr))
      return ::testing::AssertionFailure() << "cannot make " << data;
    WriteFileBytes(program + "UserPath.dat", data + "\r\n");
    if (!layout.settings.empty()) WriteFileBytes(data + "KORVAL.ini", layout.settings);
  }
  return ::testing::AssertionSuccess();
}

bool ProgramFolder::Copy(const std::string& file) const {
  return CopyTo(std::string(ProgramDir()) + file, program + file);
}

}  // namespace korval::e2e

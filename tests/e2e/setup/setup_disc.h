#pragma once
// The installation disc as setup.exe finds it: setup.exe at the top, the installer stand-in in place of each
// Windows family's installer (it logs its command line into started.log beside it).
#include "program_folder.h"

namespace korval::e2e {

inline const FolderLayout kSetupDisc = [] {
  FolderLayout layout;
  layout.name = "";
  layout.files = {"setup.exe"};
  layout.dataFolder = false;
  layout.installers = {"WinNT\\setup.exe", "Win9x\\setup.exe"};
  return layout;
}();

}  // namespace korval::e2e

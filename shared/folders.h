#pragma once
// The program folder and the data folder named by UserPath.dat.
#include <string>

namespace korval {

// The folder part of a program's full path: everything up to and including its last backslash or drive
// colon (on POSIX hosts a slash counts as well). Empty when the path has none.
std::string FolderOfPath(const std::string& path);

// The folder of the running program file, ending with its separator.
std::string CurrentProgramDir();

// The first line of programDir + "UserPath.dat", exactly as stored (a CR, an LF or CR LF ends it; nothing
// trimmed, no separator added). A missing file, or one that holds no line at all, gives the empty text. A
// file that exists but cannot be read throws FileOpenError.
std::string ReadDataDir(const std::string& programDir);

}  // namespace korval

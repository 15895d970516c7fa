#include "folders.h"

#include "error.h"
#include "fileio.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>

#include <climits>
#endif

namespace korval {

std::string FolderOfPath(const std::string& path) {
#ifdef _WIN32
  const char* separators = "\\:";
#else
  const char* separators = "\\:/";
#endif
  std::size_t at = path.find_last_of(separators);
  return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

std::string CurrentProgramDir() {
#ifdef _WIN32
  std::string buffer(32768, '\0');
  DWORD n = GetModuleFileNameA(nullptr, &buffer[0], static_cast<DWORD>(buffer.size()));
  buffer.resize(n < buffer.size() ? n : 0);
#else
  std::string buffer(PATH_MAX, '\0');
  ssize_t n = ::readlink("/proc/self/exe", &buffer[0], buffer.size());
  buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
#endif
  return FolderOfPath(buffer);
}

std::string ReadDataDir(const std::string& programDir) {
  const std::string path = programDir + "UserPath.dat";
  std::string contents;
  switch (fileio::ReadWhole(path, contents)) {
    case fileio::ReadResult::Missing:
      return std::string();
    case fileio::ReadResult::Failed:
      throw FileOpenError(path);
    case fileio::ReadResult::Ok:
      break;
  }
  return contents.substr(0, contents.find_first_of("\r\n"));
}

}  // namespace korval

// A stand-in installer: appends "<command line>|<current directory>" and CR LF to started.log in the folder
// of its own program file, then ends. No window.
#include <windows.h>

#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  std::string log(path, n);
  log = log.substr(0, log.find_last_of('\\') + 1) + "started.log";
  char cwd[MAX_PATH + 1] = {};
  const DWORD c = GetCurrentDirectoryA(MAX_PATH, cwd);
  const std::string line =
      std::string(GetCommandLineA()) + "|" + std::string(cwd, c < MAX_PATH ? c : 0) + "\r\n";
  HANDLE file = CreateFileA(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
  return 0;
}

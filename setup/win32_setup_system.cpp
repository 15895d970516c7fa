// The Win32 side of the launcher's system interface.
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

#include <string>

#include "setup_system.h"
#include "win32_backend.h"

namespace korval::setup {

namespace {

std::string ModulePath() {
  std::string path(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (n == 0) return std::string();
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    if (path.size() >= 32768) return std::string();
    path.resize(path.size() * 2);
  }
}

}  // namespace

std::string Win32SetupSystem::ProgramDir() {
  const std::string path = ModulePath();
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

void Win32SetupSystem::StartProgram(const std::string& commandLine, int showCommand) {
  WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}

void Win32SetupSystem::ShellOpen(const forms::Form& owner, const std::string& document,
                                 const std::string& directory, int showCommand) {
  ShellExecuteA(forms::Win32Backend::WindowOf(owner), "open", document.c_str(), nullptr,
                directory.empty() ? nullptr : directory.c_str(), showCommand);
}

bool Win32SetupSystem::IsForeground(const forms::Form& form) {
  HWND ours = forms::Win32Backend::WindowOf(form);
  return ours && GetForegroundWindow() == ours;
}

bool Win32SetupSystem::FileExists(const std::string& path) {
  // A missing or unready drive must not bring up the system's "insert a disk" box.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  SetErrorMode(oldMode);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32SetupSystem::ChangeDirectory(const std::string& folder, std::string& errorText) {
  if (SetCurrentDirectoryA(folder.c_str())) return true;
  const DWORD code = GetLastError();
  char* text = nullptr;
  const DWORD n = FormatMessageA(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0, reinterpret_cast<LPSTR>(&text), 0, nullptr);
  errorText = n && text ? std::string(text, n) : std::string();
  if (text) LocalFree(text);
  while (!errorText.empty() &&
         (errorText.back() == '\r' || errorText.back() == '\n' || errorText.back() == ' '))
    errorText.pop_back();
  if (errorText.empty()) errorText = "System error " + std::to_string(code);
  return false;
}

}  // namespace korval::setup

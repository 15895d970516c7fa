// The Win32 side of the system interface: clock, regional settings, the program folder, the system language
// and code page, the shell, other windows, program starts, files and the current directory.
#include <windows.h>
// shellapi.h needs the types of windows.h first.
#include <shellapi.h>

#include "datetime.h"
#include "folders.h"
#include "system.h"
#include "win32_backend.h"
#include "win32_window.h"

namespace korval::forms {

double Win32System::Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  CalendarTime t;
  t.year = st.wYear;
  t.month = st.wMonth;
  t.day = st.wDay;
  t.hour = st.wHour;
  t.minute = st.wMinute;
  t.second = st.wSecond;
  t.millisecond = st.wMilliseconds;
  double v = 0;
  EncodeDateTime(t, v);
  return v;
}

namespace {
char LocaleChar(LCTYPE what, char fallback) {
  char buf[8] = {};
  if (GetLocaleInfoA(LOCALE_USER_DEFAULT, what, buf, sizeof buf) > 1) return buf[0];
  return fallback;
}
}  // namespace

char Win32System::DateSeparator() { return LocaleChar(LOCALE_SDATE, '/'); }
char Win32System::TimeSeparator() { return LocaleChar(LOCALE_STIME, ':'); }
std::string Win32System::ProgramDir() { return CurrentProgramDir(); }
std::uint16_t Win32System::SystemDefaultLanguage() { return GetSystemDefaultLangID(); }
unsigned Win32System::AnsiCodePage() { return GetACP(); }

void Win32System::ShellOpen(const Form* owner, const std::string& document, const std::string& parameters,
                            const std::string& directory, int showCommand) {
  HWND window = owner ? Win32Backend::WindowOf(*owner) : nullptr;
  using ShellExecuteFunction = HINSTANCE(WINAPI*)(HWND, LPCSTR, LPCSTR, LPCSTR, LPCSTR, INT);
  static const auto shellExecute = LoadOnFirstUse<ShellExecuteFunction>("shell32.dll", "ShellExecuteA");
  if (!shellExecute) return;
  shellExecute(window, "open", document.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                directory.empty() ? nullptr : directory.c_str(), showCommand);
}

System::WindowHandle Win32System::FindWindowByClass(const std::string& className) {
  return reinterpret_cast<WindowHandle>(FindWindowA(className.c_str(), nullptr));
}

void Win32System::BringToFront(WindowHandle window) { SetForegroundWindow(reinterpret_cast<HWND>(window)); }

void Win32System::PostMessageTo(WindowHandle window, unsigned message, std::uintptr_t wParam,
                                std::intptr_t lParam) {
  PostMessageA(reinterpret_cast<HWND>(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
}

void Win32System::StartProgram(const std::string& commandLine, int showCommand) {
  WinExec(commandLine.c_str(), static_cast<UINT>(showCommand));
}

bool Win32System::IsForeground(const Form& form) {
  HWND ours = Win32Backend::WindowOf(form);
  return ours && GetForegroundWindow() == ours;
}

bool Win32System::FileExists(const std::string& path) {
  // A missing or unready drive must not bring up the system's "insert a disk" box.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const DWORD attributes = GetFileAttributesA(path.c_str());
  SetErrorMode(oldMode);
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32System::ChangeDirectory(const std::string& folder, std::string& errorText) {
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

}  // namespace korval::forms

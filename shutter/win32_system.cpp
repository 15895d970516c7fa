#include "win32_system.h"  // first: see there

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

HWND H(shutter::Hwnd w) { return reinterpret_cast<HWND>(w); }
shutter::Hwnd W(HWND h) { return reinterpret_cast<shutter::Hwnd>(h); }
HANDLE K(shutter::Handle h) { return reinterpret_cast<HANDLE>(h); }
shutter::Handle Kh(HANDLE h) { return reinterpret_cast<shutter::Handle>(h); }

TOKEN_PRIVILEGES ToPlatform(const shutter::TokenPrivileges& tp) {
  TOKEN_PRIVILEGES out{};
  out.PrivilegeCount = tp.PrivilegeCount;
  out.Privileges[0].Luid.LowPart = tp.PrivilegeLuid.LowPart;
  out.Privileges[0].Luid.HighPart = tp.PrivilegeLuid.HighPart;
  out.Privileges[0].Attributes = tp.Attributes;
  return out;
}

}  // namespace

extern "C" LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return shutter::WndProc(W(hWnd), message, wParam, lParam);
}

extern "C" BOOL CALLBACK EnumerateWindow32(HWND hWnd, LPARAM lParam) {
  return shutter::EnumerateWindow32(W(hWnd), lParam);
}

extern "C" BOOL CALLBACK EnumChildProc(HWND hWnd, LPARAM lParam) {
  return shutter::EnumChildProc(W(hWnd), lParam);
}

namespace shutter {

const char* Win32System::GetCommandLine() { return ::GetCommandLineA(); }

std::uint32_t Win32System::GetModuleFileName(char* buffer, std::uint32_t size) {
  return ::GetModuleFileNameA(nullptr, buffer, size);
}

int Win32System::GetVersionEx(OsVersionInfo& info) {
  OSVERSIONINFOA v{};
  v.dwOSVersionInfoSize = info.dwOSVersionInfoSize;
  BOOL ok = ::GetVersionExA(&v);
  info.dwMajorVersion = v.dwMajorVersion;
  info.dwMinorVersion = v.dwMinorVersion;
  info.dwBuildNumber = v.dwBuildNumber;
  info.dwPlatformId = v.dwPlatformId;
  static_assert(sizeof v.szCSDVersion == sizeof info.szCSDVersion, "CSD version text");
  for (std::size_t i = 0; i < sizeof v.szCSDVersion; ++i) info.szCSDVersion[i] = v.szCSDVersion[i];
  return ok;
}

int Win32System::CreateDirectory(const char* path) { return ::CreateDirectoryA(path, nullptr); }
std::uint32_t Win32System::GetLastError() { return ::GetLastError(); }

void Win32System::WriteError(const char* text) {
  std::perror(text);
  std::fflush(stderr);
}

unsigned Win32System::WinExec(const char* commandLine, int show) { return ::WinExec(commandLine, show); }

namespace {
void CopyName(const WIN32_FIND_DATAA& from, FindData& to) {
  static_assert(sizeof from.cFileName == sizeof to.cFileName, "file name field");
  std::memcpy(to.cFileName, from.cFileName, sizeof to.cFileName);
  to.cFileName[sizeof to.cFileName - 1] = '\0';
}
}  // namespace

Handle Win32System::FindFirstFile(const char* pattern, FindData& data) {
  WIN32_FIND_DATAA found{};
  HANDLE find = ::FindFirstFileA(pattern, &found);
  if (find != INVALID_HANDLE_VALUE) CopyName(found, data);
  return Kh(find);
}
int Win32System::FindNextFile(Handle find, FindData& data) {
  WIN32_FIND_DATAA found{};
  BOOL ok = ::FindNextFileA(K(find), &found);
  if (ok) CopyName(found, data);
  return ok;
}
int Win32System::FindClose(Handle find) { return ::FindClose(K(find)); }

int Win32System::RegisterClass(std::uint32_t style, const char* className) {
  WNDCLASSA wc{};
  wc.style = style;
  wc.lpfnWndProc = ::WndProc;
  wc.hInstance = ::GetModuleHandleA(nullptr);
  wc.lpszClassName = className;
  return ::RegisterClassA(&wc) != 0;
}

Hwnd Win32System::CreateWindowEx(std::uint32_t exStyle, const char* className, const char* title,
                                 std::uint32_t style, int x, int y, int width, int height) {
  return W(::CreateWindowExA(exStyle, className, title, style, x, y, width, height, nullptr, nullptr,
                             ::GetModuleHandleA(nullptr), nullptr));
}

int Win32System::ShowWindow(Hwnd window, int show) { return ::ShowWindow(H(window), show); }

int Win32System::GetMessage(Msg& msg) {
  MSG m{};
  BOOL r = ::GetMessageA(&m, nullptr, 0, 0);
  msg = Msg{W(m.hwnd), m.message, m.wParam, m.lParam};
  return r;
}

LResult Win32System::DispatchMessage(const Msg& msg) {
  MSG m{};
  m.hwnd = H(msg.hwnd);
  m.message = msg.message;
  m.wParam = msg.wParam;
  m.lParam = msg.lParam;
  return ::DispatchMessageA(&m);
}

LResult Win32System::DefWindowProc(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) {
  return ::DefWindowProcA(H(window), message, wParam, lParam);
}

void Win32System::PostQuitMessage(int exitCode) { ::PostQuitMessage(exitCode); }
std::uintptr_t Win32System::SetTimer(Hwnd window, std::uintptr_t id, std::uint32_t ms) {
  return ::SetTimer(H(window), id, ms, nullptr);
}
int Win32System::KillTimer(Hwnd window, std::uintptr_t id) { return ::KillTimer(H(window), id); }
int Win32System::MessageBeep(std::uint32_t type) { return ::MessageBeep(type); }
int Win32System::MessageBox(Hwnd owner, const char* text, const char* caption, std::uint32_t type) {
  return ::MessageBoxA(H(owner), text, caption, type);
}

Handle Win32System::GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
  return Kh(::GlobalAlloc(flags, bytes));
}
char* Win32System::GlobalLock(Handle memory) { return static_cast<char*>(::GlobalLock(K(memory))); }
int Win32System::GlobalUnlock(Handle memory) { return ::GlobalUnlock(K(memory)); }
Handle Win32System::GlobalFree(Handle memory) { return Kh(::GlobalFree(K(memory))); }

int Win32System::EnumWindows(LParam lParam) { return ::EnumWindows(::EnumerateWindow32, lParam); }
int Win32System::EnumChildWindows(Hwnd parent, LParam lParam) {
  return ::EnumChildWindows(H(parent), ::EnumChildProc, lParam);
}
Hwnd Win32System::GetLastActivePopup(Hwnd window) { return W(::GetLastActivePopup(H(window))); }
Hwnd Win32System::GetParent(Hwnd window) { return W(::GetParent(H(window))); }
int Win32System::GetClassName(Hwnd window, char* buffer, int size) {
  return ::GetClassNameA(H(window), buffer, size);
}
std::int32_t Win32System::GetWindowLong(Hwnd window, int index) { return ::GetWindowLongA(H(window), index); }
int Win32System::IsWindowVisible(Hwnd window) { return ::IsWindowVisible(H(window)); }
int Win32System::IsWindow(Hwnd window) { return ::IsWindow(H(window)); }
int Win32System::GetDlgCtrlID(Hwnd window) { return ::GetDlgCtrlID(H(window)); }
Hwnd Win32System::GetDlgItem(Hwnd dialog, int id) { return W(::GetDlgItem(H(dialog), id)); }
int Win32System::SetForegroundWindow(Hwnd window) { return ::SetForegroundWindow(H(window)); }
Hwnd Win32System::SetFocus(Hwnd window) { return W(::SetFocus(H(window))); }

int Win32System::PostMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) {
  return ::PostMessageA(H(window), message, wParam, lParam);
}
LResult Win32System::SendMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) {
  return ::SendMessageA(H(window), message, wParam, lParam);
}
LResult Win32System::SendMessageTimeout(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam,
                                        std::uint32_t flags, std::uint32_t timeoutMs,
                                        std::uintptr_t* result) {
  DWORD_PTR r = 0;
  LRESULT ok = ::SendMessageTimeoutA(H(window), message, wParam, lParam, flags, timeoutMs, &r);
  if (result) *result = r;
  return ok;
}
void Win32System::Sleep(std::uint32_t ms) { ::Sleep(ms); }
std::uint32_t Win32System::SleepEx(std::uint32_t ms, int alertable) { return ::SleepEx(ms, alertable); }

std::uint32_t Win32System::GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) {
  DWORD pid = 0;
  DWORD tid = ::GetWindowThreadProcessId(H(window), processId ? &pid : nullptr);
  if (processId) *processId = pid;
  return tid;
}
Handle Win32System::GetCurrentProcess() { return Kh(::GetCurrentProcess()); }
int Win32System::OpenProcessToken(Handle process, std::uint32_t access, Handle* token) {
  HANDLE t = nullptr;
  BOOL ok = ::OpenProcessToken(K(process), access, &t);
  if (token) *token = Kh(t);
  return ok;
}
int Win32System::LookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) {
  LUID l{};
  BOOL ok = ::LookupPrivilegeValueA(systemName, name, &l);
  if (luid) *luid = Luid{l.LowPart, l.HighPart};
  return ok;
}
int Win32System::AdjustTokenPrivileges(Handle token, int disableAll, const TokenPrivileges* newState,
                                       std::uint32_t bufferLength, TokenPrivileges* previousState,
                                       std::uint32_t* returnLength) {
  TOKEN_PRIVILEGES in{};
  if (newState) in = ToPlatform(*newState);
  TOKEN_PRIVILEGES previous{};
  DWORD length = 0;
  DWORD bufferBytes = bufferLength < sizeof previous ? bufferLength : sizeof previous;
  BOOL ok =
      ::AdjustTokenPrivileges(K(token), disableAll, newState ? &in : nullptr, previousState ? bufferBytes : 0,
                              previousState ? &previous : nullptr, returnLength ? &length : nullptr);
  if (previousState) {
    previousState->PrivilegeCount = previous.PrivilegeCount;
    previousState->PrivilegeLuid =
        Luid{previous.Privileges[0].Luid.LowPart, previous.Privileges[0].Luid.HighPart};
    previousState->Attributes = previous.Privileges[0].Attributes;
  }
  if (returnLength) *returnLength = length;
  return ok;
}
Handle Win32System::OpenProcess(std::uint32_t access, int inherit, std::uint32_t processId) {
  return Kh(::OpenProcess(access, inherit, processId));
}
int Win32System::TerminateProcess(Handle process, std::uint32_t exitCode) {
  return ::TerminateProcess(K(process), exitCode);
}
int Win32System::CloseHandle(Handle object) { return ::CloseHandle(K(object)); }
int Win32System::InitiateSystemShutdown(const char* machine, const char* message,
                                        std::uint32_t timeoutSeconds, int forceAppsClosed, int reboot) {
  std::vector<char> text(message, message + std::char_traits<char>::length(message) + 1);
  std::vector<char> name;
  if (machine) name.assign(machine, machine + std::char_traits<char>::length(machine) + 1);
  return ::InitiateSystemShutdownA(machine ? name.data() : nullptr, text.data(), timeoutSeconds,
                                   forceAppsClosed, reboot);
}
int Win32System::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  return ::ExitWindowsEx(flags, reserved);
}

}  // namespace shutter

#pragma once
// The shutdown agent's window system on Win32: one platform call for each call of System. The window
// procedure and the two enumeration callbacks that it hands to the platform are the program's exported
// WndProc, EnumerateWindow32 and EnumChildProc.
//
// The interface comes first: its methods bear the platform's names, which <windows.h> turns into macros
// for the A and W variants. Those macros are dropped again here; this side calls the A variants by name.
// clang-format off
#include "shutter_system.h"
#include "shutter32.h"
#include <windows.h>
// clang-format on

#undef GetCommandLine
#undef GetModuleFileName
#undef GetVersionEx
#undef CreateDirectory
#undef FindFirstFile
#undef FindNextFile
#undef RegisterClass
#undef CreateWindowEx
#undef GetMessage
#undef DispatchMessage
#undef DefWindowProc
#undef MessageBox
#undef GetClassName
#undef GetWindowLong
#undef PostMessage
#undef SendMessage
#undef SendMessageTimeout
#undef LookupPrivilegeValue
#undef InitiateSystemShutdown

extern "C" {
LRESULT CALLBACK WndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
BOOL CALLBACK EnumerateWindow32(HWND hWnd, LPARAM lParam);
BOOL CALLBACK EnumChildProc(HWND hWnd, LPARAM lParam);
}

namespace shutter {

class Win32System : public System {
 public:
  const char* GetCommandLine() override;
  std::uint32_t GetModuleFileName(char* buffer, std::uint32_t size) override;
  int GetVersionEx(OsVersionInfo& info) override;
  int CreateDirectory(const char* path) override;
  std::uint32_t GetLastError() override;
  void WriteError(const char* text) override;
  unsigned WinExec(const char* commandLine, int show) override;
  Handle FindFirstFile(const char* pattern, FindData& data) override;
  int FindNextFile(Handle find, FindData& data) override;
  int FindClose(Handle find) override;

  int RegisterClass(std::uint32_t style, const char* className) override;
  Hwnd CreateWindowEx(std::uint32_t exStyle, const char* className, const char* title, std::uint32_t style,
                      int x, int y, int width, int height) override;
  int ShowWindow(Hwnd window, int show) override;
  int GetMessage(Msg& msg) override;
  LResult DispatchMessage(const Msg& msg) override;
  LResult DefWindowProc(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) override;
  void PostQuitMessage(int exitCode) override;
  std::uintptr_t SetTimer(Hwnd window, std::uintptr_t id, std::uint32_t ms) override;
  int KillTimer(Hwnd window, std::uintptr_t id) override;
  int MessageBeep(std::uint32_t type) override;
  int MessageBox(Hwnd owner, const char* text, const char* caption, std::uint32_t type) override;

  Handle GlobalAlloc(std::uint32_t flags, std::size_t bytes) override;
  char* GlobalLock(Handle memory) override;
  int GlobalUnlock(Handle memory) override;
  Handle GlobalFree(Handle memory) override;

  int EnumWindows(LParam lParam) override;
  int EnumChildWindows(Hwnd parent, LParam lParam) override;
  Hwnd GetLastActivePopup(Hwnd window) override;
  Hwnd GetParent(Hwnd window) override;
  int GetClassName(Hwnd window, char* buffer, int size) override;
  std::int32_t GetWindowLong(Hwnd window, int index) override;
  int IsWindowVisible(Hwnd window) override;
  int IsWindow(Hwnd window) override;
  int GetDlgCtrlID(Hwnd window) override;
  Hwnd GetDlgItem(Hwnd dialog, int id) override;
  int SetForegroundWindow(Hwnd window) override;
  Hwnd SetFocus(Hwnd window) override;

  int PostMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) override;
  LResult SendMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) override;
  LResult SendMessageTimeout(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam,
                             std::uint32_t flags, std::uint32_t timeoutMs, std::uintptr_t* result) override;
  void Sleep(std::uint32_t ms) override;
  std::uint32_t SleepEx(std::uint32_t ms, int alertable) override;

  std::uint32_t GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) override;
  Handle GetCurrentProcess() override;
  int OpenProcessToken(Handle process, std::uint32_t access, Handle* token) override;
  int LookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) override;
  int AdjustTokenPrivileges(Handle token, int disableAll, const TokenPrivileges* newState,
                            std::uint32_t bufferLength, TokenPrivileges* previousState,
                            std::uint32_t* returnLength) override;
  Handle OpenProcess(std::uint32_t access, int inherit, std::uint32_t processId) override;
  int TerminateProcess(Handle process, std::uint32_t exitCode) override;
  int CloseHandle(Handle object) override;
  int InitiateSystemShutdown(const char* machine, const char* message, std::uint32_t timeoutSeconds,
                             int forceAppsClosed, int reboot) override;
  int ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) override;
};

}  // namespace shutter

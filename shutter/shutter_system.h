#pragma once
// What the shutdown agent asks of the window system, one call each, so that the rules run on the real
// desktop (Win32System) and on a simulated one in the unit tests. Handles, message parameters and
// results are plain integers here; the Win32 side converts them one to one.
#include <cstddef>
#include <cstdint>

namespace shutter {

using Hwnd = std::uintptr_t;    // a window
using Handle = std::uintptr_t;  // a kernel object (token, process) or a global memory block
using WParam = std::uintptr_t;
using LParam = std::intptr_t;
using LResult = std::intptr_t;

// The platform record of GetVersionExA, field for field (148 bytes, as OSVERSIONINFOA).
struct OsVersionInfo {
  std::uint32_t dwOSVersionInfoSize;
  std::uint32_t dwMajorVersion;
  std::uint32_t dwMinorVersion;
  std::uint32_t dwBuildNumber;
  std::uint32_t dwPlatformId;
  char szCSDVersion[128];
};
static_assert(sizeof(OsVersionInfo) == 148, "OSVERSIONINFOA layout");

struct Luid {
  std::uint32_t LowPart;
  std::int32_t HighPart;
};

// A TOKEN_PRIVILEGES record with its one entry (16 bytes).
struct TokenPrivileges {
  std::uint32_t PrivilegeCount;
  Luid PrivilegeLuid;
  std::uint32_t Attributes;
};
static_assert(sizeof(TokenPrivileges) == 16, "TOKEN_PRIVILEGES with one entry");

// What a folder listing gives of one entry: its name (as WIN32_FIND_DATAA's cFileName).
struct FindData {
  char cFileName[260];
};

struct Msg {
  Hwnd hwnd;
  std::uint32_t message;
  WParam wParam;
  LParam lParam;
};

// The platform values the rules use.
namespace win {
constexpr std::uint32_t WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_PAINT = 0x000F, WM_CLOSE = 0x0010,
                        WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_TIMER = 0x0113,
                        WM_USER = 0x0400, EM_SETSEL = 0x00B1, EM_REPLACESEL = 0x00C2;
constexpr WParam VK_RETURN = 0x0D;
constexpr int GWL_STYLE = -16, GWL_EXSTYLE = -20;
constexpr std::uint32_t WS_MINIMIZE = 0x20000000, WS_DLGFRAME = 0x00400000, WS_HSCROLL = 0x00100000,
                        WS_VSCROLL = 0x00200000, WS_EX_DLGMODALFRAME = 0x1, WS_EX_CLIENTEDGE = 0x200;
constexpr int SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_MINIMIZE = 6;
constexpr std::uint32_t SMTO_ABORTIFHUNG = 0x0002;
constexpr std::uint32_t CS_OWNDC = 0x20, MB_ICONHAND = 0x10;
constexpr std::uint32_t TOKEN_ADJUST_PRIVILEGES = 0x20, TOKEN_QUERY = 0x08, SE_PRIVILEGE_ENABLED = 2,
                        PROCESS_ALL_ACCESS = 0x1F0FFF;
constexpr std::uint32_t GMEM_MOVEABLE = 0x2, GMEM_ZEROINIT = 0x40;
constexpr std::uint32_t EWX_SHUTDOWN = 1, EWX_FORCE = 4;
constexpr std::uint32_t VER_PLATFORM_WIN32s = 0, VER_PLATFORM_WIN32_WINDOWS = 1, VER_PLATFORM_WIN32_NT = 2;
constexpr std::uint32_t ERROR_ALREADY_EXISTS = 183;
constexpr Handle kInvalidHandle = Handle(-1);  // INVALID_HANDLE_VALUE
}  // namespace win

class System {
 public:
  virtual ~System() = default;

  // Program start.
  virtual const char* GetCommandLine() = 0;
  virtual std::uint32_t GetModuleFileName(char* buffer, std::uint32_t size) = 0;
  virtual int GetVersionEx(OsVersionInfo& info) = 0;
  virtual int CreateDirectory(const char* path) = 0;
  virtual std::uint32_t GetLastError() = 0;
  // perror(): the text, ": ", the run-time library's text for errno, a line end, on the error stream.
  virtual void WriteError(const char* text) = 0;
  virtual unsigned WinExec(const char* commandLine, int show) = 0;
  // Folder listing: the entries whose names match the last part of `pattern` (wildcards "*" and "?", any
  // letter case). FindFirstFile gives win::kInvalidHandle when there is none.
  virtual Handle FindFirstFile(const char* pattern, FindData& data) = 0;
  virtual int FindNextFile(Handle find, FindData& data) = 0;
  virtual int FindClose(Handle find) = 0;

  // The program's window. RegisterClass registers `className` with the program's window procedure
  // (WndProc); the window's messages reach WndProc.
  virtual int RegisterClass(std::uint32_t style, const char* className) = 0;
  virtual Hwnd CreateWindowEx(std::uint32_t exStyle, const char* className, const char* title,
                              std::uint32_t style, int x, int y, int width, int height) = 0;
  virtual int ShowWindow(Hwnd window, int show) = 0;
  virtual int GetMessage(Msg& msg) = 0;
  virtual LResult DispatchMessage(const Msg& msg) = 0;
  virtual LResult DefWindowProc(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual void PostQuitMessage(int exitCode) = 0;
  virtual std::uintptr_t SetTimer(Hwnd window, std::uintptr_t id, std::uint32_t ms) = 0;
  virtual int KillTimer(Hwnd window, std::uintptr_t id) = 0;
  virtual int MessageBeep(std::uint32_t type) = 0;
  virtual int MessageBox(Hwnd owner, const char* text, const char* caption, std::uint32_t type) = 0;

  // Global memory.
  virtual Handle GlobalAlloc(std::uint32_t flags, std::size_t bytes) = 0;
  virtual char* GlobalLock(Handle memory) = 0;
  virtual int GlobalUnlock(Handle memory) = 0;
  virtual Handle GlobalFree(Handle memory) = 0;

  // Window walking: EnumWindows calls EnumerateWindow32, EnumChildWindows calls EnumChildProc, each with
  // `lParam`; both return what the platform returns.
  virtual int EnumWindows(LParam lParam) = 0;
  virtual int EnumChildWindows(Hwnd parent, LParam lParam) = 0;
  virtual Hwnd GetLastActivePopup(Hwnd window) = 0;
  virtual Hwnd GetParent(Hwnd window) = 0;
  virtual int GetClassName(Hwnd window, char* buffer, int size) = 0;
  virtual std::int32_t GetWindowLong(Hwnd window, int index) = 0;
  virtual int IsWindowVisible(Hwnd window) = 0;
  virtual int IsWindow(Hwnd window) = 0;
  virtual int GetDlgCtrlID(Hwnd window) = 0;
  virtual Hwnd GetDlgItem(Hwnd dialog, int id) = 0;
  virtual int SetForegroundWindow(Hwnd window) = 0;
  virtual Hwnd SetFocus(Hwnd window) = 0;

  // Messages.
  virtual int PostMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual LResult SendMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) = 0;
  virtual LResult SendMessageTimeout(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam,
                                     std::uint32_t flags, std::uint32_t timeoutMs,
                                     std::uintptr_t* result) = 0;
  virtual void Sleep(std::uint32_t ms) = 0;
  virtual std::uint32_t SleepEx(std::uint32_t ms, int alertable) = 0;

  // Processes, privileges, shutdown.
  virtual std::uint32_t GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) = 0;
  virtual Handle GetCurrentProcess() = 0;
  virtual int OpenProcessToken(Handle process, std::uint32_t access, Handle* token) = 0;
  virtual int LookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) = 0;
  virtual int AdjustTokenPrivileges(Handle token, int disableAll, const TokenPrivileges* newState,
                                    std::uint32_t bufferLength, TokenPrivileges* previousState,
                                    std::uint32_t* returnLength) = 0;
  virtual Handle OpenProcess(std::uint32_t access, int inherit, std::uint32_t processId) = 0;
  virtual int TerminateProcess(Handle process, std::uint32_t exitCode) = 0;
  virtual int CloseHandle(Handle object) = 0;
  virtual int InitiateSystemShutdown(const char* machine, const char* message, std::uint32_t timeoutSeconds,
                                     int forceAppsClosed, int reboot) = 0;
  virtual int ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) = 0;
};

}  // namespace shutter

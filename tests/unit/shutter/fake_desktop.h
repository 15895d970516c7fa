#pragma once
// A simulated desktop for the shutdown agent: top-level windows in z-order with classes, styles, owners,
// last active popups and children, a message loop with one timer, and scriptable results of the process,
// privilege and shutdown calls. Every call the agent makes is recorded as a line, in order.
#include <functional>
#include <initializer_list>
#include <map>
#include <string>
#include <vector>

#include "shutter32.h"
#include "shutter_system.h"

namespace shutter::test {

struct FakeWindow {
  Hwnd id = 0;
  std::string name;  // how the recorded calls show this window
  std::string cls;
  Hwnd parent = 0;  // what GetParent gives: the owner of a top-level window, the parent of a child
  bool child = false;
  bool visible = true;
  bool alive = true;
  std::uint32_t style = 0;
  std::uint32_t exStyle = 0;
  int ctrlId = 0;
  Hwnd lastActivePopup = 0;    // 0: the window is its own last active popup
  bool closesOnClose = false;  // destroyed by a WM_CLOSE sent or posted to it
  std::vector<Hwnd> children;
};

class FakeDesktop : public System {
 public:
  FakeDesktop();

  // ---- the desktop
  // A visible top-level window at the bottom of the z-order.
  FakeWindow& Top(const std::string& name, const std::string& cls, Hwnd owner = 0);
  FakeWindow& Child(Hwnd parent, const std::string& name, const std::string& cls, int ctrlId = 0);
  FakeWindow& operator[](Hwnd w) { return windows_.at(w); }
  void Destroy(Hwnd w);
  Hwnd Own() const { return own_; }

  // ---- script
  std::string commandLine = "shutter.exe /CallByKorval";
  std::string modulePath = "C:\\Tools\\shutter.exe";
  std::uint32_t platform = 2;
  bool registerFails = false, createFails = false, timerFails = false, createDirectoryFails = false;
  bool tokenFails = false, lookupFails = false, allocFails = false;
  std::uint32_t adjustError = 0;         // last-error value after a successful AdjustTokenPrivileges
  std::uint32_t previousAttributes = 0;  // the privilege's attributes before the adjustment
  int shutdownResult = 1, exitWindowsResult = 1;
  // Runs before each timer message is handed out, with its number counted from 0.
  std::function<void(int)> beforeTimer;
  // Runs on every message posted or sent to a window other than the agent's own.
  std::function<void(Hwnd, std::uint32_t, WParam, LParam)> onMessage;
  // What lies on the disk: the full names of files and folders.
  std::vector<std::string> files;

  // ---- record
  std::vector<std::string> calls;
  int timerMessages = 0;
  bool stalled = false;  // the message loop would have waited with no timer and no quit
  std::uint32_t sleptMs = 0;
  std::vector<Handle> endedProcesses;
  // The recorded calls without the queries (class names, styles, visibility, parents, locks...).
  std::vector<std::string> Actions() const;
  // The recorded calls whose name is one of `names`.
  std::vector<std::string> Only(std::initializer_list<const char*> names) const;
  int Count(const std::string& call) const;  // exact lines equal to `call`
  int CountNamed(const char* name) const;    // lines of the call `name`
  std::size_t OpenBlocks() const { return blocks_.size(); }
  int LockedBlocks() const;
  std::size_t OpenHandles() const { return handles_.size(); }
  void ClearCalls() { calls.clear(); }

  // ---- System
  const char* GetCommandLine() override;
  std::uint32_t GetModuleFileName(char* buffer, std::uint32_t size) override;
  int GetVersionEx(OsVersionInfo& info) override;
  int CreateDirectory(const char* path) override;
  std::uint32_t GetLastError() override { return lastError_; }
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
  LResult DefWindowProc(Hwnd, std::uint32_t, WParam, LParam) override { return 0; }
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
  Handle GetCurrentProcess() override { return kCurrentProcess; }
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

  static constexpr Handle kCurrentProcess = Handle(-1);
  // Thread and process identifiers of a window's application: distinct numbers, as on the platform.
  static std::uint32_t ThreadOf(Hwnd w) { return 1000 + static_cast<std::uint32_t>(w); }
  static std::uint32_t ProcessOf(Hwnd w) { return 5000 + static_cast<std::uint32_t>(w); }

 private:
  struct Block {
    std::vector<char> bytes;
    int locks = 0;
  };
  void Record(const std::string& line) { calls.push_back(line); }
  std::string N(Hwnd w) const;
  bool Alive(Hwnd w) const;
  void Deliver(Hwnd w, std::uint32_t message, WParam wParam, LParam lParam);
  void Descendants(Hwnd w, std::vector<Hwnd>& out) const;

  std::map<Hwnd, FakeWindow> windows_;
  std::vector<Hwnd> zOrder_;
  Hwnd next_ = 1;
  Hwnd own_ = 0;
  bool timerRunning_ = false;
  bool quit_ = false;
  std::vector<Msg> posted_;  // posted to the agent's own window
  std::map<Handle, Block> blocks_;
  Handle nextBlock_ = 0x5000;
  std::map<Handle, std::string> handles_;
  std::map<Handle, std::vector<std::string>> findsLeft_;  // the names a folder listing has yet to give
  Handle nextHandle_ = 0x7000;
  std::uint32_t lastError_ = 0;
};

// printf into a std::string, for expected call lines.
std::string Fmt(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace shutter::test

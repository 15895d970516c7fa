#include "fake_desktop.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace shutter::test {

std::string Fmt(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list copy;
  va_copy(copy, args);
  int n = std::vsnprintf(nullptr, 0, format, copy);
  va_end(copy);
  std::string out(n > 0 ? static_cast<std::size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(&out[0], out.size() + 1, format, args);
  va_end(args);
  return out;
}

namespace {

std::string MessageName(std::uint32_t m) {
  switch (m) {
    case win::WM_CREATE:
      return "WM_CREATE";
    case win::WM_DESTROY:
      return "WM_DESTROY";
    case win::WM_PAINT:
      return "WM_PAINT";
    case win::WM_CLOSE:
      return "WM_CLOSE";
    case win::WM_KEYDOWN:
      return "WM_KEYDOWN";
    case win::WM_KEYUP:
      return "WM_KEYUP";
    case win::WM_CHAR:
      return "WM_CHAR";
    case win::WM_TIMER:
      return "WM_TIMER";
    case win::EM_SETSEL:
      return "EM_SETSEL";
    case win::EM_REPLACESEL:
      return "EM_REPLACESEL";
    default:
      return Fmt("0x%x", m);
  }
}

std::string Hex(std::uintptr_t v) { return Fmt("0x%x", static_cast<unsigned>(v)); }

std::string Params(std::uint32_t m, WParam w, LParam l) {
  std::string lText = m == win::EM_REPLACESEL && l
                          ? "\"" + std::string(reinterpret_cast<const char*>(l)) + "\""
                          : Hex(static_cast<std::uintptr_t>(l));
  return MessageName(m) + ", " + Hex(w) + ", " + lText;
}

std::string CallName(const std::string& line) { return line.substr(0, line.find('(')); }

const char* const kQueries[] = {
    "GetClassName",         "GetParent",         "GetLastActivePopup", "GetWindowLong",
    "IsWindowVisible",      "IsWindow",          "GetDlgCtrlID",       "GetDlgItem",
    "GlobalLock",           "GlobalUnlock",      "GetMessage",         "DispatchMessage",
    "GetCommandLine",       "GetModuleFileName", "GetVersionEx",       "GetWindowThreadProcessId",
    "LookupPrivilegeValue", "FindFirstFile",     "FindNextFile",       "FindClose"};

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Wildcards "*" and "?", any letter case, as a folder listing matches names.
bool Matches(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return Matches(pattern + 1, name) || (*name && Matches(pattern, name + 1));
  if (*name == '\0') return false;
  return (*pattern == '?' || Lower(*pattern) == Lower(*name)) && Matches(pattern + 1, name + 1);
}

std::string FolderOf(const std::string& path) { return path.substr(0, path.rfind('\\') + 1); }
std::string NameOf(const std::string& path) { return path.substr(path.rfind('\\') + 1); }

}  // namespace

FakeDesktop::FakeDesktop() = default;

FakeWindow& FakeDesktop::Top(const std::string& name, const std::string& cls, Hwnd owner) {
  Hwnd id = next_++;
  FakeWindow& w = windows_[id];
  w.id = id;
  w.name = name;
  w.cls = cls;
  w.parent = owner;
  zOrder_.push_back(id);
  return w;
}

FakeWindow& FakeDesktop::Child(Hwnd parent, const std::string& name, const std::string& cls, int ctrlId) {
  Hwnd id = next_++;
  FakeWindow& w = windows_[id];
  w.id = id;
  w.name = name;
  w.cls = cls;
  w.parent = parent;
  w.child = true;
  w.ctrlId = ctrlId;
  windows_.at(parent).children.push_back(id);
  return w;
}

void FakeDesktop::Destroy(Hwnd w) {
  auto it = windows_.find(w);
  if (it == windows_.end() || !it->second.alive) return;
  it->second.alive = false;
  it->second.visible = false;
  for (Hwnd c : it->second.children) Destroy(c);
}

bool FakeDesktop::Alive(Hwnd w) const {
  auto it = windows_.find(w);
  return it != windows_.end() && it->second.alive;
}

std::string FakeDesktop::N(Hwnd w) const {
  auto it = windows_.find(w);
  if (it == windows_.end()) return w ? Fmt("#%u", static_cast<unsigned>(w)) : "null";
  return it->second.name.empty() ? Fmt("#%u", static_cast<unsigned>(w)) : it->second.name;
}

std::vector<std::string> FakeDesktop::Actions() const {
  std::vector<std::string> out;
  for (const std::string& line : calls) {
    std::string name = CallName(line);
    if (std::none_of(std::begin(kQueries), std::end(kQueries), [&](const char* q) { return name == q; }))
      out.push_back(line);
  }
  return out;
}

std::vector<std::string> FakeDesktop::Only(std::initializer_list<const char*> names) const {
  std::vector<std::string> out;
  for (const std::string& line : calls) {
    std::string name = CallName(line);
    if (std::any_of(names.begin(), names.end(), [&](const char* n) { return name == n; }))
      out.push_back(line);
  }
  return out;
}

int FakeDesktop::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

int FakeDesktop::CountNamed(const char* name) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(),
                                        [&](const std::string& line) { return CallName(line) == name; }));
}

int FakeDesktop::LockedBlocks() const {
  int n = 0;
  for (const auto& b : blocks_) n += b.second.locks;
  return n;
}

// ---- program start

const char* FakeDesktop::GetCommandLine() {
  Record("GetCommandLine()");
  return commandLine.c_str();
}

std::uint32_t FakeDesktop::GetModuleFileName(char* buffer, std::uint32_t size) {
  Record(Fmt("GetModuleFileName(%u)", size));
  if (size == 0) return 0;
  std::size_t n = std::min<std::size_t>(modulePath.size(), size - 1);
  std::memcpy(buffer, modulePath.data(), n);
  buffer[n] = '\0';
  return static_cast<std::uint32_t>(n);
}

int FakeDesktop::GetVersionEx(OsVersionInfo& info) {
  Record(Fmt("GetVersionEx(%u)", info.dwOSVersionInfoSize));
  info.dwPlatformId = platform;
  return 1;
}

int FakeDesktop::CreateDirectory(const char* path) {
  Record(Fmt("CreateDirectory(%s)", path));
  lastError_ = createDirectoryFails ? 5 : 0;
  return !createDirectoryFails;
}

Handle FakeDesktop::FindFirstFile(const char* pattern, FindData& data) {
  Record(Fmt("FindFirstFile(%s)", pattern));
  std::vector<std::string> found;
  const std::string folder = FolderOf(pattern), namePattern = NameOf(pattern);
  for (const std::string& f : files)
    if (Matches(folder.c_str(), FolderOf(f).c_str()) && Matches(namePattern.c_str(), NameOf(f).c_str()))
      found.push_back(NameOf(f));
  if (found.empty()) {
    lastError_ = 2;
    return win::kInvalidHandle;
  }
  Handle h = nextHandle_++;
  handles_[h] = "find";
  findsLeft_[h] = found;
  FindNextFile(h, data);
  return h;
}

int FakeDesktop::FindNextFile(Handle find, FindData& data) {
  Record("FindNextFile()");
  auto it = findsLeft_.find(find);
  if (it == findsLeft_.end() || it->second.empty()) return 0;
  std::snprintf(data.cFileName, sizeof data.cFileName, "%s", it->second.front().c_str());
  it->second.erase(it->second.begin());
  return 1;
}

int FakeDesktop::FindClose(Handle find) {
  Record("FindClose()");
  findsLeft_.erase(find);
  return handles_.erase(find) ? 1 : 0;
}

void FakeDesktop::WriteError(const char* text) { Record(Fmt("WriteError(%s)", text)); }

unsigned FakeDesktop::WinExec(const char* commandLine, int show) {
  Record(Fmt("WinExec(%s, %d)", commandLine, show));
  return 33;
}

// ---- the agent's window and message loop

int FakeDesktop::RegisterClass(std::uint32_t style, const char* className) {
  Record(Fmt("RegisterClass(0x%x, %s)", style, className));
  return !registerFails;
}

Hwnd FakeDesktop::CreateWindowEx(std::uint32_t exStyle, const char* className, const char* title,
                                 std::uint32_t style, int x, int y, int width, int height) {
  Record(Fmt("CreateWindowEx(0x%x, %s, %s, 0x%x, %d, %d, %d, %d)", exStyle, className, title, style, x, y,
             width, height));
  if (createFails) return 0;
  Hwnd id = next_++;
  FakeWindow& w = windows_[id];
  w.id = id;
  w.name = "own";
  w.cls = className;
  w.style = style;
  w.exStyle = exStyle;
  w.visible = false;
  zOrder_.insert(zOrder_.begin(), id);
  own_ = id;
  shutter::WndProc(id, win::WM_CREATE, 0, 0);
  return id;
}

int FakeDesktop::ShowWindow(Hwnd window, int show) {
  Record(Fmt("ShowWindow(%s, %d)", N(window).c_str(), show));
  if (!Alive(window)) return 0;
  FakeWindow& w = windows_.at(window);
  bool was = w.visible;
  w.visible = show != win::SW_HIDE;
  if (show == win::SW_MINIMIZE) w.style |= win::WS_MINIMIZE;
  if (show == win::SW_SHOWNORMAL) w.style &= ~win::WS_MINIMIZE;
  return was;
}

int FakeDesktop::GetMessage(Msg& msg) {
  Record("GetMessage()");
  if (quit_) return 0;
  if (!posted_.empty()) {
    msg = posted_.front();
    posted_.erase(posted_.begin());
    return 1;
  }
  if (timerRunning_ && timerMessages < 1000) {
    if (beforeTimer) beforeTimer(timerMessages);
    ++timerMessages;
    msg = Msg{own_, win::WM_TIMER, 1, 0};
    return 1;
  }
  stalled = true;
  return 0;
}

LResult FakeDesktop::DispatchMessage(const Msg& msg) {
  Record("DispatchMessage()");
  return shutter::WndProc(msg.hwnd, msg.message, msg.wParam, msg.lParam);
}

void FakeDesktop::PostQuitMessage(int exitCode) {
  Record(Fmt("PostQuitMessage(%d)", exitCode));
  quit_ = true;
}

std::uintptr_t FakeDesktop::SetTimer(Hwnd window, std::uintptr_t id, std::uint32_t ms) {
  Record(Fmt("SetTimer(%s, %u, %u)", N(window).c_str(), static_cast<unsigned>(id), ms));
  if (timerFails) return 0;
  timerRunning_ = true;
  return id;
}

int FakeDesktop::KillTimer(Hwnd window, std::uintptr_t id) {
  Record(Fmt("KillTimer(%s, %u)", N(window).c_str(), static_cast<unsigned>(id)));
  timerRunning_ = false;
  return 1;
}

int FakeDesktop::MessageBeep(std::uint32_t type) {
  Record(Fmt("MessageBeep(%u)", type));
  return 1;
}

int FakeDesktop::MessageBox(Hwnd owner, const char* text, const char* caption, std::uint32_t type) {
  Record(Fmt("MessageBox(%s, %s, %s, 0x%x)", N(owner).c_str(), text, caption, type));
  return 1;
}

// ---- global memory

Handle FakeDesktop::GlobalAlloc(std::uint32_t flags, std::size_t bytes) {
  Record(Fmt("GlobalAlloc(0x%x, %u)", flags, static_cast<unsigned>(bytes)));
  if (allocFails) return 0;
  Handle h = nextBlock_++;
  blocks_[h].bytes.assign(bytes, (flags & win::GMEM_ZEROINIT) ? '\0' : '\x55');
  return h;
}

char* FakeDesktop::GlobalLock(Handle memory) {
  Record("GlobalLock()");
  auto it = blocks_.find(memory);
  if (it == blocks_.end()) return nullptr;
  ++it->second.locks;
  return it->second.bytes.data();
}

int FakeDesktop::GlobalUnlock(Handle memory) {
  Record("GlobalUnlock()");
  auto it = blocks_.find(memory);
  if (it == blocks_.end() || it->second.locks == 0) return 0;
  return --it->second.locks;
}

Handle FakeDesktop::GlobalFree(Handle memory) {
  Record("GlobalFree()");
  return blocks_.erase(memory) ? 0 : memory;
}

// ---- window walking

int FakeDesktop::EnumWindows(LParam lParam) {
  Record(Fmt("EnumWindows(%d)", static_cast<int>(lParam)));
  std::vector<Hwnd> snapshot = zOrder_;
  for (Hwnd w : snapshot) {
    if (!Alive(w)) continue;
    if (!shutter::EnumerateWindow32(w, lParam)) return 0;
  }
  return 1;
}

void FakeDesktop::Descendants(Hwnd w, std::vector<Hwnd>& out) const {
  for (Hwnd c : windows_.at(w).children) {
    if (!Alive(c)) continue;
    out.push_back(c);
    Descendants(c, out);
  }
}

int FakeDesktop::EnumChildWindows(Hwnd parent, LParam lParam) {
  Record(Fmt("EnumChildWindows(%s, %d)", N(parent).c_str(), static_cast<int>(lParam)));
  if (!Alive(parent)) return 0;
  std::vector<Hwnd> list;
  Descendants(parent, list);
  if (list.empty()) return 0;  // as the platform: no children, no walk, FALSE
  for (Hwnd c : list) {
    if (!Alive(c)) continue;
    if (!shutter::EnumChildProc(c, lParam)) return 0;
  }
  return 1;
}

Hwnd FakeDesktop::GetLastActivePopup(Hwnd window) {
  Record(Fmt("GetLastActivePopup(%s)", N(window).c_str()));
  if (!Alive(window)) return 0;
  Hwnd popup = windows_.at(window).lastActivePopup;
  return popup && Alive(popup) && windows_.at(popup).visible ? popup : window;
}

Hwnd FakeDesktop::GetParent(Hwnd window) {
  Record(Fmt("GetParent(%s)", N(window).c_str()));
  return Alive(window) ? windows_.at(window).parent : 0;
}

int FakeDesktop::GetClassName(Hwnd window, char* buffer, int size) {
  Record(Fmt("GetClassName(%s)", N(window).c_str()));
  if (!Alive(window) || size <= 0) return 0;
  const std::string& cls = windows_.at(window).cls;
  std::size_t n = std::min<std::size_t>(cls.size(), static_cast<std::size_t>(size) - 1);
  std::memcpy(buffer, cls.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

std::int32_t FakeDesktop::GetWindowLong(Hwnd window, int index) {
  Record(Fmt("GetWindowLong(%s, %d)", N(window).c_str(), index));
  if (!Alive(window)) return 0;
  const FakeWindow& w = windows_.at(window);
  return static_cast<std::int32_t>(index == win::GWL_STYLE     ? w.style
                                   : index == win::GWL_EXSTYLE ? w.exStyle
                                                               : 0);
}

int FakeDesktop::IsWindowVisible(Hwnd window) {
  Record(Fmt("IsWindowVisible(%s)", N(window).c_str()));
  return Alive(window) && windows_.at(window).visible;
}

int FakeDesktop::IsWindow(Hwnd window) {
  Record(Fmt("IsWindow(%s)", N(window).c_str()));
  return Alive(window);
}

int FakeDesktop::GetDlgCtrlID(Hwnd window) {
  Record(Fmt("GetDlgCtrlID(%s)", N(window).c_str()));
  return Alive(window) ? windows_.at(window).ctrlId : 0;
}

Hwnd FakeDesktop::GetDlgItem(Hwnd dialog, int id) {
  Record(Fmt("GetDlgItem(%s, %d)", N(dialog).c_str(), id));
  if (!Alive(dialog)) return 0;
  for (Hwnd c : windows_.at(dialog).children)
    if (Alive(c) && windows_.at(c).ctrlId == id) return c;
  return 0;
}

int FakeDesktop::SetForegroundWindow(Hwnd window) {
  Record(Fmt("SetForegroundWindow(%s)", N(window).c_str()));
  if (!Alive(window)) return 0;
  if (std::find(zOrder_.begin(), zOrder_.end(), window) == zOrder_.end()) return 1;
  // The window comes to the top with its owned windows above it, in their order.
  std::vector<Hwnd> raised, rest;
  for (Hwnd w : zOrder_) (w != window && windows_.at(w).parent == window ? raised : rest).push_back(w);
  raised.push_back(window);
  rest.erase(std::find(rest.begin(), rest.end(), window));
  raised.insert(raised.end(), rest.begin(), rest.end());
  zOrder_ = raised;
  return 1;
}

Hwnd FakeDesktop::SetFocus(Hwnd window) {
  Record(Fmt("SetFocus(%s)", N(window).c_str()));
  return 0;
}

// ---- messages

void FakeDesktop::Deliver(Hwnd w, std::uint32_t message, WParam wParam, LParam lParam) {
  if (!Alive(w)) return;
  if (onMessage) onMessage(w, message, wParam, lParam);
  if (message == win::WM_CLOSE && Alive(w) && windows_.at(w).closesOnClose) Destroy(w);
}

int FakeDesktop::PostMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) {
  Record("PostMessage(" + N(window) + ", " + Params(message, wParam, lParam) + ")");
  if (window == own_ && own_) {
    posted_.push_back(Msg{window, message, wParam, lParam});
    return 1;
  }
  if (!Alive(window)) return 0;
  Deliver(window, message, wParam, lParam);
  return 1;
}

LResult FakeDesktop::SendMessage(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam) {
  Record("SendMessage(" + N(window) + ", " + Params(message, wParam, lParam) + ")");
  if (window == own_ && own_) return shutter::WndProc(window, message, wParam, lParam);
  Deliver(window, message, wParam, lParam);
  return 0;
}

LResult FakeDesktop::SendMessageTimeout(Hwnd window, std::uint32_t message, WParam wParam, LParam lParam,
                                        std::uint32_t flags, std::uint32_t timeoutMs,
                                        std::uintptr_t* result) {
  Record("SendMessageTimeout(" + N(window) + ", " + Params(message, wParam, lParam) +
         Fmt(", %u, %u)", flags, timeoutMs));
  if (result) *result = 0;
  if (!Alive(window)) return 0;
  Deliver(window, message, wParam, lParam);
  return 1;
}

void FakeDesktop::Sleep(std::uint32_t ms) {
  Record(Fmt("Sleep(%u)", ms));
  sleptMs += ms;
}

std::uint32_t FakeDesktop::SleepEx(std::uint32_t ms, int alertable) {
  Record(Fmt("SleepEx(%u, %d)", ms, alertable));
  sleptMs += ms;
  return 0;
}

// ---- processes, privileges, shutdown

std::uint32_t FakeDesktop::GetWindowThreadProcessId(Hwnd window, std::uint32_t* processId) {
  Record(Fmt("GetWindowThreadProcessId(%s, %s)", N(window).c_str(), processId ? "pid" : "null"));
  if (!Alive(window)) return 0;
  if (processId) *processId = ProcessOf(window);
  return ThreadOf(window);
}

int FakeDesktop::OpenProcessToken(Handle process, std::uint32_t access, Handle* token) {
  Record(
      Fmt("OpenProcessToken(%s, 0x%x)", process == kCurrentProcess ? "self" : Hex(process).c_str(), access));
  if (tokenFails) {
    lastError_ = 120;
    return 0;
  }
  Handle h = nextHandle_++;
  handles_[h] = "token";
  *token = h;
  return 1;
}

int FakeDesktop::LookupPrivilegeValue(const char* systemName, const char* name, Luid* luid) {
  Record(Fmt("LookupPrivilegeValue(%s, %s)", systemName ? systemName : "null", name));
  if (lookupFails) {
    lastError_ = 1313;
    return 0;
  }
  *luid = Luid{std::strcmp(name, "SeDebugPrivilege") == 0 ? 20u : 19u, 0};
  return 1;
}

int FakeDesktop::AdjustTokenPrivileges(Handle token, int disableAll, const TokenPrivileges* newState,
                                       std::uint32_t bufferLength, TokenPrivileges* previousState,
                                       std::uint32_t* returnLength) {
  Record(Fmt("AdjustTokenPrivileges(%s, %d, count %u luid %u attributes 0x%x, %u, %s)",
             handles_.count(token) ? "token" : Hex(token).c_str(), disableAll, newState->PrivilegeCount,
             newState->PrivilegeLuid.LowPart, newState->Attributes, bufferLength,
             previousState ? "previous" : "null"));
  if (!handles_.count(token)) {
    lastError_ = 6;
    return 0;
  }
  if (previousState) {
    *previousState = TokenPrivileges{1, newState->PrivilegeLuid, previousAttributes};
    if (returnLength) *returnLength = sizeof(TokenPrivileges);
  }
  lastError_ = adjustError;
  return 1;
}

Handle FakeDesktop::OpenProcess(std::uint32_t access, int inherit, std::uint32_t processId) {
  Record(Fmt("OpenProcess(0x%x, %d, %u)", access, inherit, processId));
  for (const auto& w : windows_)
    if (w.second.alive && ProcessOf(w.first) == processId) {
      Handle h = nextHandle_++;
      handles_[h] = "process";
      return h;
    }
  lastError_ = 87;
  return 0;
}

int FakeDesktop::TerminateProcess(Handle process, std::uint32_t exitCode) {
  Record(Fmt("TerminateProcess(%s, %u)", Hex(process).c_str(), exitCode));
  auto it = handles_.find(process);
  if (it == handles_.end() || it->second != "process") {
    lastError_ = 6;
    return 0;
  }
  endedProcesses.push_back(process);
  return 1;
}

int FakeDesktop::CloseHandle(Handle object) {
  Record(Fmt("CloseHandle(%s)", handles_.count(object) ? handles_.at(object).c_str() : Hex(object).c_str()));
  return handles_.erase(object) ? 1 : 0;
}

int FakeDesktop::InitiateSystemShutdown(const char* machine, const char* message,
                                        std::uint32_t timeoutSeconds, int forceAppsClosed, int reboot) {
  Record(Fmt("InitiateSystemShutdown(%s, %s, %u, %d, %d)", machine ? machine : "null", message,
             timeoutSeconds, forceAppsClosed, reboot));
  return shutdownResult;
}

int FakeDesktop::ExitWindowsEx(std::uint32_t flags, std::uint32_t reserved) {
  Record(Fmt("ExitWindowsEx(%u, %u)", flags, reserved));
  return exitWindowsResult;
}

}  // namespace shutter::test

// A stand-in for the suite's programs outside this system (the rows of the status window's sibling table
// whose home is Outside). Copied under such a program's file name, it takes its part from that name: it
// registers that program's window class and shows a window that names the program and the command line it
// got. It appends to <name>.log in its own folder:
//
//   command line <the whole command line>
//   show state <the show state it was started in>
//   activated                              each time its window becomes the active window
//   message WM_CLOSE <wParam> <lParam>     and the other messages listed in Describe()
//   end
//
// WM_CLOSE closes the window and ends the program, as the real programs do.
#include <windows.h>

#include <cctype>
#include <cstdio>
#include <string>

#include "sibling_programs.h"

namespace {

using korval::statuspanel::Home;
using korval::statuspanel::kSiblingPrograms;
using korval::statuspanel::SiblingProgram;

// The build copies this program under the names that it reads from the same rows.
static_assert(
    [] {
      int outside = 0;
      for (const SiblingProgram& s : kSiblingPrograms) outside += s.home == Home::Outside ? 1 : 0;
      return outside;
    }() == KORVAL_STANDIN_COUNT,
    "tools/siblings/CMakeLists.txt read another number of stand-in rows: keep each row on one line");

constexpr UINT kSuiteCommandMessage = WM_USER + 22;  // 1046

std::string g_log;

void Log(const std::string& line) {
  HANDLE h = CreateFileA(g_log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return;
  const std::string text = line + "\r\n";
  DWORD put = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &put, nullptr);
  CloseHandle(h);
}

// The name of a message worth a log line, or nullptr.
const char* Describe(UINT msg, WPARAM wp) {
  switch (msg) {
    case WM_CLOSE:
      return "WM_CLOSE";
    case WM_QUERYENDSESSION:
      return "WM_QUERYENDSESSION";
    case WM_ENDSESSION:
      return "WM_ENDSESSION";
    case kSuiteCommandMessage:
      return "1046";
    case WM_SYSCOMMAND:
      return (wp & 0xFFF0) == SC_CLOSE || (wp & 0xFFF0) == SC_MINIMIZE || (wp & 0xFFF0) == SC_RESTORE
                 ? "WM_SYSCOMMAND"
                 : nullptr;
    default:
      return nullptr;
  }
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (const char* name = Describe(msg, wp)) {
    char line[96];
    std::snprintf(line, sizeof line, "message %s %lu %ld", name, static_cast<unsigned long>(wp),
                  static_cast<long>(lp));
    Log(line);
  }
  switch (msg) {
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) Log("activated");
      break;
    case WM_SIZE: {
      if (HWND text = GetDlgItem(hwnd, 1)) MoveWindow(text, 8, 8, LOWORD(lp) - 16, HIWORD(lp) - 16, TRUE);
      break;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show) {
  char path[MAX_PATH + 1] = {};
  const DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  const std::string file(path, n);
  const std::string folder = file.substr(0, file.find_last_of('\\') + 1);
  std::string name = Lower(file.substr(folder.size()));
  if (name.size() > 4 && name.compare(name.size() - 4, 4, ".exe") == 0) name.resize(name.size() - 4);
  const SiblingProgram* self = nullptr;
  for (const SiblingProgram& s : kSiblingPrograms)
    if (s.home == Home::Outside && name == s.program) self = &s;
  if (!self) return 2;  // not one of the programs it stands in for

  g_log = folder + self->program + ".log";
  const std::string commandLine = GetCommandLineA();
  Log("command line " + commandLine);
  Log("show state " + std::to_string(show));

  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = self->className;
  if (!RegisterClassA(&wc)) return 1;

  // Each program a place of its own, so that several stand side by side.
  const int index = static_cast<int>(self - kSiblingPrograms);
  const std::string title = std::string(self->program) + " (stand-in)";
  HWND window = CreateWindowExA(0, self->className, title.c_str(), WS_OVERLAPPEDWINDOW, 10 + 24 * index,
                                10 + 24 * index, 440, 130, nullptr, nullptr, instance, nullptr);
  if (!window) return 1;
  const std::string text = std::string(self->program) + ": a stand-in for the " + self->itemCaption +
                           " program.\r\nCommand line: " + commandLine;
  CreateWindowExA(0, "STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 8, 8, 400, 80, window,
                  reinterpret_cast<HMENU>(1), instance, nullptr);
  ShowWindow(window, show);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  Log("end");
  return 0;
}

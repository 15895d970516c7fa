// The length of the shutdown agent's full run (ticks 0 to 100, then the end) against a desktop of 50 ordinary
// windows, next to its floor measured in the same process: the same run with no window to close, which is
// 101 ticks of the system's 100 ms timer.
//
// The windows belong to a fixture application started here; the agent's rules run in this process on the
// real Win32 calls, except that the walk sees only the fixture's windows and its own and the shutdown calls
// are not made (so the bench can run in any Wine prefix or Windows session).
//
// Under Wine the windows must live on a virtual desktop: on a bare X server with no window manager Wine
// waits for one each time a window goes away, the fixture cannot answer the next close request in time, and
// the run reaches only some of the windows. bench/shutter/run.sh prepares such a prefix and runs this.
//
//   shutter_bench.exe [fixtureapp.exe] [window count]
//
// Exit code 1 when not every window closed: the time is then not that of a full run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "win32_system.h"

namespace {

DWORD g_fixturePid = 0;

BOOL CALLBACK FixtureWindowsOnly(HWND hWnd, LPARAM lParam) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hWnd, &pid);
  if (pid != g_fixturePid && pid != GetCurrentProcessId()) return TRUE;  // the agent's own window stays
  return ::EnumerateWindow32(hWnd, lParam);
}

BOOL CALLBACK CountFixtureWindows(HWND hWnd, LPARAM lParam) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hWnd, &pid);
  if (pid == g_fixturePid && IsWindowVisible(hWnd)) ++*reinterpret_cast<int*>(lParam);
  return TRUE;
}

int OpenFixtureWindows() {
  int open = 0;
  EnumWindows(CountFixtureWindows, reinterpret_cast<LPARAM>(&open));
  return open;
}

class BenchSystem : public shutter::Win32System {
 public:
  const char* GetCommandLine() override { return "shutter.exe /CallByKorval"; }
  int CreateDirectory(const char*) override { return 1; }
  // The full run registers the class; the floor run after it finds it there.
  int RegisterClass(std::uint32_t style, const char* className) override {
    return Win32System::RegisterClass(style, className) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }
  int EnumWindows(shutter::LParam lParam) override { return ::EnumWindows(FixtureWindowsOnly, lParam); }
  int InitiateSystemShutdown(const char*, const char*, std::uint32_t, int, int) override {
    ++shutdownCalls;
    return 1;
  }
  int ExitWindowsEx(std::uint32_t, std::uint32_t) override {
    ++shutdownCalls;
    return 1;
  }
  int shutdownCalls = 0;
};

// The agent's whole run, in milliseconds.
double TimedRun(BenchSystem& system) {
  shutter::ResetState();
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  shutter::ShutterMain(system);
  QueryPerformanceCounter(&end);
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string ReadAll(const std::string& path) {
  std::string text;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
    std::fclose(f);
  }
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  std::string fixture = argc > 1 ? argv[1] : KORVAL_FIXTURE_APP;
  int count = argc > 2 ? std::atoi(argv[2]) : 50;

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::string log = std::string(temp) + "shutter_bench_" + std::to_string(GetCurrentProcessId()) + ".log";
  DeleteFileA(log.c_str());

  std::string cmd =
      "\"" + fixture + "\" /kind plain /count " + std::to_string(count) + " /log \"" + log + "\"";
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::fprintf(stderr, "cannot start %s\n", fixture.c_str());
    return 1;
  }
  CloseHandle(pi.hThread);
  g_fixturePid = pi.dwProcessId;
  for (int i = 0; i < 300 && ReadAll(log).find(" ready") == std::string::npos; ++i) Sleep(100);
  const int shown = OpenFixtureWindows();

  BenchSystem system;
  const double ms = TimedRun(system);

  const int stillOpen = OpenFixtureWindows();
  bool fixtureEnded = WaitForSingleObject(pi.hProcess, 5000) == WAIT_OBJECT_0;
  if (!fixtureEnded) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);

  // The floor, after the full run so that this one bears the process's first-time costs: the walk now meets
  // only the agent's own windows.
  g_fixturePid = 0;
  BenchSystem floorSystem;
  const double floorMs = TimedRun(floorSystem);
  std::string text = ReadAll(log);
  int asked = 0;
  for (std::size_t at = text.find(" close "); at != std::string::npos; at = text.find(" close ", at + 1))
    ++asked;
  DeleteFileA(log.c_str());

  std::printf("shutter full run against %d ordinary windows: %.0f ms\n", count, ms);
  std::printf("floor, the same run with no window to close (101 ticks of 100 ms): %.0f ms; ratio %.2fx\n",
              floorMs, ms / floorMs);
  std::printf("windows shown: %d; asked to close: %d; closed: %d of %d; shutdown calls (not made): %d\n",
              shown, asked, shown - stillOpen, count, system.shutdownCalls);
  const bool allClosed = shown == count && stillOpen == 0 && fixtureEnded;
  if (!allClosed) {
    std::printf("NOT EVERY WINDOW CLOSED: %d of %d still open, so this is not the time of a full run.\n",
                stillOpen + (count - shown), count);
    std::printf("Under Wine run it through bench/shutter/run.sh, which gives the windows a virtual desktop.\n");
    return 1;
  }
  std::printf("all %d windows closed\n", count);
  return 0;
}

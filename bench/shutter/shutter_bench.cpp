// Prints the length of the shutdown agent's full run (ticks 0 to 100, then the end) against a desktop of
// 50 ordinary windows, next to its floor of 101 ticks of 100 ms.
//
// The windows belong to a fixture application started here; the agent's rules run in this process on the
// real Win32 calls, except that the walk sees only the fixture's windows and its own and the shutdown calls
// are not made (so the bench can run in any Wine prefix or Windows session).
//
//   shutter_bench.exe [fixtureapp.exe] [window count]
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

class BenchSystem : public shutter::Win32System {
 public:
  const char* GetCommandLine() override { return "shutter.exe /CallByKorval"; }
  int CreateDirectory(const char*) override { return 1; }
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

  BenchSystem system;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  shutter::ShutterMain(system);
  QueryPerformanceCounter(&end);
  double ms =
      1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart);

  bool fixtureEnded = WaitForSingleObject(pi.hProcess, 5000) == WAIT_OBJECT_0;
  if (!fixtureEnded) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hProcess);
  std::string text = ReadAll(log);
  int closed = 0;
  for (std::size_t at = text.find(" close "); at != std::string::npos; at = text.find(" close ", at + 1))
    ++closed;
  DeleteFileA(log.c_str());

  const double floorMs = 101 * 100.0;
  std::printf("shutter full run against %d ordinary windows: %.0f ms\n", count, ms);
  std::printf("floor (101 ticks of 100 ms): %.0f ms; over the floor: %.0f ms (%.1f%%)\n", floorMs,
              ms - floorMs, 100.0 * (ms - floorMs) / floorMs);
  std::printf("windows asked to close: %d; all closed: %s; shutdown calls (not made): %d\n", closed,
              fixtureEnded ? "yes" : "no", system.shutdownCalls);
  return 0;
}

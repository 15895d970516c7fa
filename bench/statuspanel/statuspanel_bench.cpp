// The cost of the status window's 500 ms tick against its floor, both measured in this run:
//
//   floor                  open DATABuff.REC, read its 296 bytes, close, decode the status bits: what every
//                          tick has to do whatever it shows
//   nothing changed        the record stays as it is; only the clock moves, half a second a tick
//   all six values change  a new record before every tick (its writing is measured apart and taken off)
//
// Each figure is the median of five rounds of `ticks` ticks, every round measuring all figures. The win32 build runs the real windows (each tick
// is followed by its painting) and then compares the working set of statuspanel.exe, running on the same data,
// with that of a minimal window program with one timer built the same way; the native build runs the headless
// backend, which measures the program's own logic alone.
//
//   statuspanel_bench [ticks]        (default 2000)
#include "bench_paths.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <psapi.h>

#include "win32_backend.h"
#else
#include <sys/resource.h>

#include "headless.h"
#endif

#include "application.h"
#include "main_form.h"
#include "record.h"
#include "tstate.h"

namespace {

constexpr int kRounds = 5;
using korval::DataBuffRecord;
using korval::statuspanel::TnKORVALmain;

double CpuSeconds() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  auto seconds = [](FILETIME f) {
    return ((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime) / 1e7;
  };
  return seconds(kernel) + seconds(user);
#else
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return u.ru_utime.tv_sec + u.ru_stime.tv_sec + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
#endif
}

// Microseconds of CPU per call of `step`, over `count` calls.
double Micros(int count, const std::function<void(int)>& step) {
  const double start = CpuSeconds();
  for (int i = 0; i < count; ++i) step(i);
  return (CpuSeconds() - start) / count * 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

DataBuffRecord Record(int step) {
  DataBuffRecord r;
  r.SetByte(DataBuffRecord::kDataValid, 1);
  r.SetByte(DataBuffRecord::kUnitType, 23);
  r.SetByte(DataBuffRecord::kModeBits, 0x08);
  r.SetBE16(DataBuffRecord::kInputVoltage, static_cast<std::uint16_t>(200 + step % 60));
  r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(210 + step % 40));
  r.SetByte(DataBuffRecord::kLoadPercent, static_cast<std::uint8_t>(10 + step % 100));
  r.SetByte(DataBuffRecord::kInputFrequency, static_cast<std::uint8_t>(45 + step % 15));
  r.SetByte(DataBuffRecord::kOutFreqOrTemp, static_cast<std::uint8_t>(20 + step % 35));
  r.SetByte(DataBuffRecord::kBatteryPercent, static_cast<std::uint8_t>(step % 101));
  r.SetRatedVoltage(230);
  return r;
}

void Put(const std::string& path, const DataBuffRecord& r) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(r.bytes.data()), static_cast<std::streamsize>(r.bytes.size()));
}

void Pump() {
#ifdef _WIN32
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
#endif
}

struct GdiCount {
  long system = 0;  // what the window system reports for the process (0: not reported)
  long user = 0;
  long backend = 0;  // what the form library holds
};

#ifdef _WIN32
struct WindowSearch {
  DWORD pid;
  const char* className;
  HWND found;
};

BOOL CALLBACK FindProcessWindow(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->pid && lstrcmpA(cls, s->className) == 0 && IsWindowVisible(hwnd)) {
    s->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// Starts a program, lets its window tick for a few seconds, and gives its working set in MiB (0: it did not
// come up). The program is closed again.
double WorkingSetOfProgram(const std::string& exe, const std::string& folder, const char* className) {
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  std::string command = "\"" + exe + "\"";
  if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si, &pi))
    return 0;
  WindowSearch search{pi.dwProcessId, className, nullptr};
  for (int i = 0; i < 150 && !search.found; ++i) {
    Sleep(100);
    EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
  }
  double mib = 0;
  if (search.found) {
    Sleep(3000);  // six ticks
    PROCESS_MEMORY_COUNTERS pmc{};
    pmc.cb = sizeof pmc;
    if (GetProcessMemoryInfo(pi.hProcess, &pmc, sizeof pmc)) mib = pmc.WorkingSetSize / 1048576.0;
    PostMessageA(search.found, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(pi.hProcess, 1);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return mib;
}

std::string OwnFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string s = path;
  return s.substr(0, s.find_last_of('\\') + 1);
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
  namespace fs = std::filesystem;
  const fs::path root =
      fs::temp_directory_path() /
      ("korval-bench-" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  fs::create_directories(root / "program");
  fs::create_directories(root / "data");
  const std::string program = (root / "program" / "").string(), data = (root / "data" / "").string();
  {
    std::ofstream userPath(program + "UserPath.dat", std::ios::binary);
    userPath << data << "\r\n";
  }
  fs::copy_file(fs::path(KORVAL_BENCH_LANG_DIR) / "English.txt", root / "program" / "English.txt");
  const std::string recordPath = data + "DATABuff.REC";
  Put(recordPath, Record(0));

  korval::forms::FakeSystem system;
  system.programDir = program;
#ifdef _WIN32
  korval::forms::Win32Backend backend(GetModuleHandleA(nullptr));
  auto gdi = [&] {
    return GdiCount{static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)),
                    static_cast<long>(GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)),
                    backend.HeldGdiObjects()};
  };
  const char* backendName = "Win32 windows, painted after every tick";
#else
  korval::forms::HeadlessBackend backend;
  auto art = [](const char* name) {
    std::ifstream in(std::string(KORVAL_ART_DIR) + name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  backend.resources["DIAL"] = art("dial.bmp");
  auto gdi = [] { return GdiCount{}; };
  const char* backendName = "headless (no painting)";
#endif
  korval::forms::Application app(backend, system);
  app.SetTitle("KORVAL Plus for Windows");
  TnKORVALmain& form = app.CreateForm<TnKORVALmain>();
  form.Show();
  Pump();
#ifdef _WIN32
  // The bench runs the ticks itself, through the window's timer message as the system would.
  form.Timer1->SetInterval(0x7FFFFFFF);
  HWND window = korval::forms::Win32Backend::WindowOf(form);
  auto runTick = [&] { SendMessageA(window, WM_TIMER, form.Timer1->id, 0); };
#else
  form.Timer1->SetEnabled(false);  // the bench runs the ticks itself
  auto runTick = [&] { form.Timer1Timer(); };
#endif

  std::printf("statuspanel tick, %s; CPU per tick, median of %d rounds of %d ticks\n", backendName, kRounds,
              ticks);
  for (int i = 0; i < 20; ++i) {  // warm up: first drawing of every needle, fonts, buffers
    Put(recordPath, Record(i));
    runTick();
    Pump();
  }
  const GdiCount before = gdi();

  DataBuffRecord image;
  korval::statuspanel::Tstate state;
  korval::statuspanel::GaugeArray values{};
  auto tick = [&] {
    system.now += 0.5 / 86400;  // the clock moves half a second a tick
    runTick();
    Pump();
  };
  // Rounds that measure every figure once each, so that a busy moment of the machine touches them alike.
  std::vector<double> floors, unchangedRuns, writings, changingRuns;
  for (int round = 0; round < kRounds; ++round) {
    floors.push_back(Micros(ticks, [&](int) {
      korval::ReadRecordImage(data, image);
      korval::statuspanel::DecodeSmartStatus(image, state, values);
    }));
    Put(recordPath, Record(0));
    unchangedRuns.push_back(Micros(ticks, [&](int) { tick(); }));
    writings.push_back(Micros(ticks, [&](int i) { Put(recordPath, Record(i)); }));
    changingRuns.push_back(Micros(ticks, [&](int i) {
                             Put(recordPath, Record(i));
                             tick();
                           }) -
                           writings.back());
  }
  const double floor = Median(floors), unchanged = Median(unchangedRuns), writing = Median(writings),
               changing = Median(changingRuns);

  std::printf("  %-44s %8.1f us\n", "floor (open, read 296 bytes, close, decode):", floor);
  std::printf("  %-44s %8.1f us   %5.1fx the floor\n", "nothing changed:", unchanged, unchanged / floor);
  std::printf("  %-44s %8.1f us   %5.1fx the floor  (writing the record, %.1f us, taken off)\n",
              "all six values changing every tick:", changing, changing / floor, writing);

  const GdiCount after = gdi();
  if (before.system <= 0 && after.system <= 0)
    std::printf("  GDI objects (system count): not reported by this system\n");
  else
    std::printf("  GDI objects (system count): %ld before, %ld after; USER objects: %ld before, %ld after\n",
                before.system, after.system, before.user, after.user);
  std::printf("  GDI objects held by the form library: %ld before, %ld after\n", before.backend,
              after.backend);

#ifdef _WIN32
  const std::string own = OwnFolder();
  CopyFileA((std::string(KORVAL_BENCH_PROGRAM_DIR) + "statuspanel.exe").c_str(),
            (program + "statuspanel.exe").c_str(), FALSE);
  const double panelSet = WorkingSetOfProgram(program + "statuspanel.exe", program, "TnKORVALmain");
  const double minimalSet = WorkingSetOfProgram(own + "minimal_window.exe", own, "KorvalMinimalWindow");
  if (panelSet > 0 && minimalSet > 0)
    std::printf("  working set: statuspanel.exe %.1f MiB, minimal window program %.1f MiB: %.2fx\n", panelSet,
                minimalSet, panelSet / minimalSet);
  else
    std::printf("  working set: a program did not come up (statuspanel.exe %.1f MiB, minimal %.1f MiB)\n",
                panelSet, minimalSet);
#else
  std::printf("  working set: measured in the win32 build, against a minimal window program\n");
#endif

  std::error_code ec;
  fs::remove_all(root, ec);
  return after.backend == before.backend && after.system == before.system ? 0 : 1;
}

// The cost of the status window's 500 ms tick: CPU time per tick with an unchanged record and with all six
// values changing on every tick, the working set, and the GDI objects before and after the ticks.
//
//   statuspanel_bench [ticks]        (default 10000)
//
// The win32 build runs the real windows (each tick is followed by its painting); the native build runs the
// headless backend, which measures the program's own logic alone.
#include "bench_paths.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

namespace {

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

double WorkingSetMiB() {
#ifdef _WIN32
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  GetProcessMemoryInfo(GetCurrentProcess(), &pmc, sizeof pmc);
  return pmc.WorkingSetSize / 1048576.0;
#else
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      double kib = 0;
      status >> kib;
      return kib / 1024.0;
    }
  }
  return 0;
#endif
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

}  // namespace

int main(int argc, char** argv) {
  const int ticks = argc > 1 ? std::atoi(argv[1]) : 10000;
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
  form.Timer1->SetEnabled(false);  // the bench runs the ticks itself
  form.Show();
  Pump();

  std::printf("statuspanel tick, %s, %d ticks each\n", backendName, ticks);
  for (int i = 0; i < 20; ++i) {  // warm up: first drawing of every needle, fonts, buffers
    Put(recordPath, Record(i));
    form.Timer1Timer();
    Pump();
  }
  const GdiCount before = gdi();
  const double setBefore = WorkingSetMiB();

  auto run = [&](const char* what, bool changing) {
    const double start = CpuSeconds();
    const auto wallStart = std::chrono::steady_clock::now();
    for (int i = 0; i < ticks; ++i) {
      Put(recordPath, Record(changing ? i : 0));
      system.now += 0.5 / 86400;  // the clock moves half a second a tick
      form.Timer1Timer();
      Pump();
    }
    const double cpu = CpuSeconds() - start;
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    std::printf("  %-38s %8.1f us CPU per tick (%7.1f us wall)\n", what, cpu / ticks * 1e6,
                wall / ticks * 1e6);
  };
  run("unchanged record:", false);
  run("all six values changing every tick:", true);

  const GdiCount after = gdi();
  std::printf("  working set: %.1f MiB before the ticks, %.1f MiB after\n", setBefore, WorkingSetMiB());
  if (before.system <= 0 && after.system <= 0)
    std::printf("  GDI objects (system count): not reported by this system\n");
  else
    std::printf("  GDI objects (system count): %ld before, %ld after; USER objects: %ld before, %ld after\n",
                before.system, after.system, before.user, after.user);
  std::printf("  GDI objects held by the form library: %ld before, %ld after\n", before.backend,
              after.backend);

  std::error_code ec;
  fs::remove_all(root, ec);
  return after.backend == before.backend && after.system == before.system ? 0 : 1;
}

// The cost of a fill of the event grid: eleven month files of 10,000 records each (all of them listed, every
// tenth one older than the row before it, so the ordering step works too), read and put into the grid.
//
//   eventbook_bench [records per month] [fills]     (defaults 10000 and 5)
//
// The win32 build fills the real grid window and then lets it paint; the native build runs the headless
// backend, which measures the viewer's own logic alone.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#ifdef _WIN32
#include <windows.h>

#include "win32_backend.h"
#else
#include "headless.h"
#endif

#include "application.h"
#include "datetime.h"
#include "eventlog.h"
#include "record_event.h"

namespace {

using Clock = std::chrono::steady_clock;
using korval::eventbook::TnEventLog;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

std::string Record(int code, double time) {
  std::string r(16, '\0');
  r[0] = static_cast<char>(code);
  std::memcpy(&r[8], &time, 8);
  return r;
}

#ifdef _WIN32
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}
#endif

}  // namespace

int main(int argc, char** argv) {
  const int perMonth = argc > 1 ? std::atoi(argv[1]) : 10000;
  const int fills = argc > 2 ? std::atoi(argv[2]) : 5;
  namespace fs = std::filesystem;
  std::mt19937 random(7);
  const fs::path root = fs::temp_directory_path() / ("eventbook-bench-" + std::to_string(random()));
  fs::create_directories(root / "program");
  fs::create_directories(root / "data");
  const std::string program = (root / "program" / "").string(), data = (root / "data" / "").string();
  std::ofstream(program + "UserPath.dat", std::ios::binary) << data << "\r\n";
  std::ofstream(program + "English.txt", std::ios::binary) << "Log0=Event Log\r\nLog10=No.\r\n";
  // Every code listed, December of 2026 as today: months 2..12.
  std::ofstream(data + "KORVAL.ini", std::ios::binary)
      << "[Main]\r\nLanguage=0\r\n[EventLog]\r\nState=111111111111111\r\nAllState=1\r\n";
  for (int month = 1; month <= 12; ++month) {
    korval::CalendarTime t;
    t.year = 2026;
    t.month = month;
    t.day = 1;
    double start = 0;
    korval::EncodeDateTime(t, start);
    std::string file;
    file.reserve(static_cast<std::size_t>(perMonth) * 16);
    for (int i = 0; i < perMonth; ++i) {
      const double when = start + (i % 10 == 9 ? i - 5 : i) * (25.0 / perMonth);
      file += Record(1 + i % 15, when);
    }
#ifdef _WIN32
    fs::create_directories(data + std::to_string(month));
#endif
    std::ofstream(korval::eventbook::MonthFileName(data, month), std::ios::binary) << file;
  }

#ifdef _WIN32
  korval::forms::Win32Backend backend(GetModuleHandleA(nullptr));
  korval::forms::Win32System realSystem;
  (void)realSystem;
  const char* kind = "win32 (real windows)";
#else
  korval::forms::HeadlessBackend backend;
  const char* kind = "native (headless)";
#endif
  korval::forms::FakeSystem system;
  system.programDir = program;
  system.now = 46365.5;  // 2026-12-09 12:00
  korval::eventbook::FakeViewerSystem viewer;
  korval::forms::Application app(backend, system);
  app.SetTitle("Event Log");
  const auto created = Clock::now();
  TnEventLog& form = app.CreateForm<TnEventLog>(viewer);
  const double startUp = Ms(Clock::now() - created);
#ifdef _WIN32
  form.Show();
  Pump();
#endif
  double best = 1e300, total = 0;
  for (int i = 0; i < fills; ++i) {
    const auto t0 = Clock::now();
    form.RefreshEventGrid();
#ifdef _WIN32
    Pump();  // the scroll bars and the picture follow once the fill is done
#endif
    const double ms = Ms(Clock::now() - t0);
    best = ms < best ? ms : best;
    total += ms;
  }
  std::printf("eventbook fill, %s: 11 months x %d records, %d rows listed\n", kind, perMonth,
              form.StringGrid1->RowCount() - 1);
  std::printf("  start-up (two fills): %.1f ms\n", startUp);
  std::printf("  fill: best %.1f ms, mean %.1f ms over %d fills (%.2f us a record)\n", best, total / fills,
              fills, 1000.0 * best / (11.0 * perMonth));
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}

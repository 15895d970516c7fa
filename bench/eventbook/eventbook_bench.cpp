// The cost of the event viewer's two heavy jobs, the fill of the grid and the export, at 1,000 to 220,000
// records (eleven month files, every record listed, every tenth one older than the row before it so that the
// ordering step works too), each next to floors measured in the same run:
//
//   read    the eleven month files read whole, the same calls the fill makes;
//   logic   the fill on the headless backend: the viewer's own work without windows;
//   write   the export's two files written from texts made beforehand.
//
// The win32 build (run it under Wine on a display) fills the real grid window and lets it paint, and measures
// the logic floor with a headless form in the same process; the native build has the headless fill alone.
// Before each timed fill the grid is scrolled to its foot, as a user leaves it, so that the fill moves the
// scroll bar back to the top as it does after a click. Figures are medians.
//
//   eventbook_bench [runs] [records ...]     (defaults 5, and 1000 10000 100000 220000)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "win32_backend.h"
#endif

#include "application.h"
#include "datetime.h"
#include "eventlog.h"
#include "export.h"
#include "fileio.h"
#include "headless.h"
#include "record_event.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using korval::eventbook::TnEventLog;

constexpr int kFirstMonth = 2;  // December as today: the eleven months 2 to 12

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The median time of `runs` calls of `job`, in milliseconds; `before` runs untimed ahead of each call.
double Median(int runs, const std::function<void()>& job, const std::function<void()>& before = nullptr) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    if (before) before();
    const auto t0 = Clock::now();
    job();
    times.push_back(Ms(Clock::now() - t0));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

std::string Record(int code, double time) {
  std::string r(16, '\0');
  r[0] = static_cast<char>(code);
  std::memcpy(&r[8], &time, 8);
  return r;
}

// Spreads `total` records over the eleven month files.
void WriteMonthFiles(const std::string& data, int total) {
  for (int k = 0; k < korval::eventbook::kRecentMonthCount; ++k) {
    const int month = kFirstMonth + k;
    const int count = total / 11 + (k < total % 11 ? 1 : 0);
    korval::CalendarTime t;
    t.year = 2026;
    t.month = month;
    t.day = 1;
    double start = 0;
    korval::EncodeDateTime(t, start);
    std::string file;
    file.reserve(static_cast<std::size_t>(count) * 16);
    for (int i = 0; i < count; ++i) {
      const double when = start + (i % 10 == 9 ? i - 5 : i) * (25.0 / count);
      file += Record(1 + i % 15, when);
    }
#ifdef _WIN32
    fs::create_directories(data + std::to_string(month));
#endif
    std::ofstream(korval::eventbook::MonthFileName(data, month), std::ios::binary) << file;
  }
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

// The viewer on one backend, started in the bench's program folder.
struct Viewer {
  Viewer(korval::forms::Backend& backend, const std::string& programDir) : app(backend, system) {
    system.programDir = programDir;
    system.now = 46365.5;  // 2026-12-09 12:00
    app.SetTitle("Event Log");
  }
  korval::forms::FakeSystem system;
  korval::forms::Application app;
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::vector<int> totals;
  for (int i = 2; i < argc; ++i) totals.push_back(std::max(0, std::atoi(argv[i])));
  if (totals.empty()) totals = {1000, 10000, 100000, 220000};

  std::mt19937 random(static_cast<unsigned>(Clock::now().time_since_epoch().count()));
  const fs::path root = fs::temp_directory_path() / ("eventbook-bench-" + std::to_string(random()));
  fs::create_directories(root / "program");
  fs::create_directories(root / "data");
  const std::string program = (root / "program" / "").string(), data = (root / "data" / "").string();
  const std::string exportBase = data + "Event_12-09", floorBase = data + "Floor_12-09";
  std::ofstream(program + "UserPath.dat", std::ios::binary) << data << "\r\n";
  std::ofstream(program + "English.txt", std::ios::binary) << "Log0=Event Log\r\nLog10=No.\r\n";
  std::ofstream(data + "KORVAL.ini", std::ios::binary)
      << "[Main]\r\nLanguage=0\r\n[EventLog]\r\nState=111111111111111\r\nAllState=1\r\n";

  korval::forms::HeadlessBackend headless;
  Viewer logic(headless, program);
  TnEventLog& logicForm = logic.app.CreateForm<TnEventLog>();
#ifdef _WIN32
  korval::forms::Win32Backend backend(GetModuleHandleA(nullptr));
  Viewer shown(backend, program);
  TnEventLog& form = shown.app.CreateForm<TnEventLog>();
  form.Show();
  Pump();
  const char* kind = "win32, real windows";
#else
  TnEventLog& form = logicForm;
  const char* kind = "native, headless";
#endif

  std::printf("eventbook, %s: the fill and the export of every record listed, medians of %d runs\n", kind,
              runs);
#if !defined(__OPTIMIZE__) || defined(__SANITIZE_ADDRESS__)
  std::printf("  NOTE: built without optimisation or with sanitizers; build the native-release preset for "
              "figures to compare\n");
#endif
  std::printf("  read: the month files read whole; logic: the fill headless; write: the export's files from "
              "ready texts\n\n");
  std::printf("%8s %8s %9s", "records", "read ms", "logic ms");
#ifdef _WIN32
  std::printf(" %9s", "fill ms");
#endif
  std::printf(" %10s %8s", "us/record", "x read");
#ifdef _WIN32
  std::printf(" %8s", "x logic");
#endif
  std::printf(" %10s %9s %8s %7s\n", "export ms", "write ms", "x write", "MB out");
  for (const int total : totals) {
    WriteMonthFiles(data, total);
    std::string bytes;
    const double read = Median(runs, [&] {
      for (int k = 0; k < korval::eventbook::kRecentMonthCount; ++k)
        korval::fileio::ReadWhole(korval::eventbook::MonthFileName(data, kFirstMonth + k), bytes);
    });
    // As after a user's scrolling to the foot: the fill brings the grid back to its first row.
    const auto scrolledDown = [&](TnEventLog& viewer) {
      viewer.StringGrid1->SetTopRow(viewer.StringGrid1->RowCount() - 1);
#ifdef _WIN32
      Pump();
#endif
    };
    const double logicFill =
        Median(runs, [&] { logicForm.RefreshEventGrid(); }, [&] { scrolledDown(logicForm); });
    double fill = logicFill;
#ifdef _WIN32
    fill = Median(
        runs,
        [&] {
          form.RefreshEventGrid();
          Pump();  // the scroll bars and the picture follow once the fill is done
        },
        [&] { scrolledDown(form); });
#endif
    const int listed = form.StringGrid1->RowCount() - 1;
    if (total > 0 && listed != total) std::printf("  (listed %d rows of %d records)\n", listed, total);

    const std::string encoding = "windows-1252";
    const double exported = Median(runs, [&] {
      korval::eventbook::WriteExportFiles(exportBase, *form.StringGrid1, encoding);
    });
    const std::string xml = korval::eventbook::ExportXmlText(exportBase, encoding);
    const std::string xsl = korval::eventbook::ExportXslText(*form.StringGrid1, encoding);
    const double written = Median(runs, [&] {
      korval::fileio::ReplaceWhole(floorBase + ".xml", xml);
      korval::fileio::ReplaceWhole(floorBase + ".xsl", xsl);
    });

    std::printf("%8d %8.1f %9.1f", total, read, logicFill);
#ifdef _WIN32
    std::printf(" %9.1f", fill);
#endif
    std::printf(" %10.2f %7.0fx", total ? 1000.0 * fill / total : 0.0, fill / read);
#ifdef _WIN32
    std::printf(" %7.1fx", fill / logicFill);
#endif
    std::printf(" %10.1f %9.1f %7.1fx %7.1f\n", exported, written, exported / written,
                static_cast<double>(xml.size() + xsl.size()) / 1e6);
    std::fflush(stdout);
  }
  std::error_code ec;
  fs::remove_all(root, ec);
  return 0;
}

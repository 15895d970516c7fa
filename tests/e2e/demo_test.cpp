// The demo's scenario as a newcomer meets it: played by the simulated monitor into a data folder, it leaves
// events of the unit's states in month files that are recent whenever the demo runs, and eventbook lists
// them.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "datetime.h"
#include "e2e.h"
#include "eventlog.h"
#include "probe.h"
#include "program_folder.h"
#include "shown.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

constexpr UINT kSuiteCommandMessage = WM_USER + 22;

std::string WindowText(HWND hwnd) {
  std::vector<char> buf(1 << 20, '\0');
  DWORD_PTR got = 0;
  SendMessageTimeoutA(hwnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()), SMTO_ABORTIFHUNG,
                      5000, &got);
  return std::string(buf.data(), got);
}

TEST(DemoScenario, LogsTheRoadOfAPowerFailureOverRecentMonthsAndTheViewerListsIt) {
  test::TempDir dir;
  FolderLayout layout;
  layout.files = {"eventbook.exe", "English.txt"};
  layout.settings = "[Main]\r\nLanguage=0\r\n";
  ProgramFolder folder;
  ASSERT_TRUE(folder.Lay(dir, layout));
  const std::string& program = folder.program;
  const std::string& data = folder.data;
  SYSTEMTIME today;
  GetLocalTime(&today);

  // Up to the low battery of the power failure that the demo plays, then stopped.
  Process monitor = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") +
                                   " /data " + Quote(data) + " /scenario " +
                                   Quote(std::string(SourceDir()) + "scenarios\\unit-states.txt") + " /log " +
                                   Quote(dir.File("monitor.log")));
  HWND back = nullptr;
  ASSERT_TRUE(
      WaitFor([&] { return (back = FindWindowOfProcess("TnKORVALBack", monitor.Id())) != nullptr; }, 10000));
  ASSERT_TRUE(
      WaitFor([&] { return dir.Read("monitor.log").find("step at 8000") != std::string::npos; }, 20000))
      << dir.Read("monitor.log");
  PostMessageA(back, kSuiteCommandMessage, 99, 99);
  ASSERT_TRUE(monitor.WaitExit(10000));

  // Each record in the file of its own month, within the eleven months the viewer lists.
  const int now = today.wYear * 12 + today.wMonth - 1;
  std::map<int, std::set<int>> monthsOfCode;
  std::set<int> months;
  int listed = 0;  // records of the kinds the viewer lists unless told otherwise (all but 5 and 15)
  for (int month = 1; month <= 12; ++month) {
    eventbook::ForEachEventRecord(ReadFileBytes(eventbook::MonthFileName(data, month)), [&](const auto& r) {
      CalendarTime t;
      ASSERT_TRUE(DecodeDateTime(r.time, t));
      EXPECT_EQ(t.month, month) << "code " << int(r.code);
      const int ago = now - (t.year * 12 + t.month - 1);
      EXPECT_TRUE(ago >= 0 && ago < eventbook::kRecentMonthCount)
          << "code " << int(r.code) << " in " << t.year;
      monthsOfCode[r.code].insert(month);
      months.insert(month);
      if (r.code != 5 && r.code != 15) ++listed;
    });
  }
  EXPECT_GE(months.size(), 3u);
  for (int code : {1, 6, 7, 8, 10, 14})
    EXPECT_FALSE(monthsOfCode[code].empty()) << "no event of code " << code;
  EXPECT_GE(monthsOfCode[6].size(), 3u) << "power failures in several months";

  Process viewer = Process::Start(Quote(program + "eventbook.exe"), program);
  HWND window = WaitForWindow("TnEventLog", nullptr, 15000);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitFor([&] { return IsWindowVisible(window) != FALSE; }, 15000));
  HWND grid = nullptr;
  for (const probe::ChildWindow& c : probe::ChildWindows(window))
    if (c.className == "KorvalGrid") grid = c.hwnd;
  ASSERT_NE(grid, nullptr);
  const std::string rows = WindowText(grid);
  std::size_t lines = 0;
  for (std::size_t at = rows.find("\r\n"); at != std::string::npos; at = rows.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, static_cast<std::size_t>(listed) + 1) << "the header and a row for each record:\n" << rows;
  for (const char* kind : {"\tProgram start", "\tPower failure", "\tLow battery", "\tPower restored",
                           "\tOverload", "\tUPS self test"})
    EXPECT_NE(rows.find(kind), std::string::npos) << kind << " not listed:\n" << rows;
  // The power failure that the status window has just shown, under today's date.
  char day[16];
  std::snprintf(day, sizeof day, "%02d/%02d/%04d", today.wMonth, today.wDay, today.wYear);
  const std::size_t failure = rows.find("\t6\t" + std::string(day));
  ASSERT_NE(failure, std::string::npos) << rows;
  EXPECT_NE(rows.find("\t7\t" + std::string(day), failure), std::string::npos) << rows;

  EXPECT_TRUE(BroughtToFront(window));
  forms::Bitmap shot;
  EXPECT_TRUE(PictureSettles([&] { return probe::CaptureClient(window); }, shot));
  probe::SaveFile(std::string(BinDir()) + "tests\\e2e\\demo_eventbook.png", probe::EncodePng(shot));
}

}  // namespace
}  // namespace korval::e2e

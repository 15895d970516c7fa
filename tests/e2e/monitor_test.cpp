// The simulated background monitor, as the status panel and the tests meet it: its window, the record it
// writes, the command bytes it takes and the messages it logs.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "datetime.h"
#include "e2e.h"
#include "record.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

constexpr UINT kSuiteCommandMessage = WM_USER + 22;

double LocalNow() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  double value = 0;
  EncodeDateTime(
      CalendarTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds}, value);
  return value;
}
int Occurrences(const std::string& text, const std::string& part) {
  int n = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}
double DateValue(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
  double value = 0;
  EncodeDateTime(CalendarTime{year, month, day, hour, minute, second}, value);
  return value;
}

class Monitor : public ::testing::Test {
 protected:
  // The monitor on `scenario`, started.
  Process Run(const std::string& scenario) const {
    dir_.Write("scenario.txt", scenario);
    return Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                          Quote(dir_.Prefix()) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                          Quote(dir_.File("monitor.log")));
  }
  // The monitor on `scenario`, with its window shown.
  void Start(const std::string& scenario) {
    process_ = Run(scenario);
    ASSERT_TRUE(process_.Running());
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindWindowOfProcess("TnKORVALBack", process_.Id())) != nullptr; },
                        10000));
  }
  std::string Log() const { return dir_.Read("monitor.log"); }
  bool LogHas(const std::string& text, DWORD ms = 5000) const {
    return WaitFor([&] { return Log().find(text) != std::string::npos; }, ms);
  }
  // The code and date-time of each record of a month's Event.log, in file order.
  std::vector<std::pair<int, double>> Events(int month) const {
    const std::string bytes = dir_.Read(std::to_string(month) + "\\Event.log");
    std::vector<std::pair<int, double>> out;
    for (std::size_t at = 0; at + 16 <= bytes.size(); at += 16) {
      double when;
      std::memcpy(&when, bytes.data() + at + 8, 8);
      out.emplace_back(static_cast<unsigned char>(bytes[at]), when);
    }
    return out;
  }
  DataBuffRecord Record() const {
    DataBuffRecord r;
    ReadRecordImage(dir_.Prefix(), r);
    return r;
  }

  test::TempDir dir_;
  Process process_;
  HWND window_ = nullptr;
};

TEST_F(Monitor, PlaysTheScenarioIntoTheRecordAndEventLog) {
  Start(
      "at 0\n"
      "set DataValid 1\nset UnitType 5\nset OutputVoltage 230\nset RatedVoltage 300\n"
      "set ScheduleAt[2] 2026-12-10 22:30\nset byte[12] 0x0\n"
      "event 6 2026-12-09 10:15:00\n"
      "at 300\n"
      "set StatusBitsA 1\n");
  ASSERT_TRUE(LogHas("step at 300"));
  DataBuffRecord r = Record();
  EXPECT_EQ(r.DataValid(), 1);
  EXPECT_EQ(r.UnitType(), 5);
  EXPECT_EQ(r.OutputVoltage(), 230);
  EXPECT_EQ(r.RatedVoltage(), 300);
  EXPECT_EQ(r.StatusBitsA(), 1);
  EXPECT_NEAR(r.ScheduleAt(2), 46366.0 + 22.5 / 24, 1e-9);
  EXPECT_EQ(dir_.Read("DATABuff.REC").size(), 296u);
  std::string events = dir_.Read("12\\Event.log");
  ASSERT_EQ(events.size(), 16u);
  EXPECT_EQ(events[0], 6);
}

TEST_F(Monitor, TakesCommandBytesAndLogsMessagesUntilStopped) {
  Start("at 0\nset DataValid 1\nset UnitType 22\n");
  ASSERT_TRUE(LogHas("step at 0"));
  // The status panel's self-test write: the record it last read, with offset 59 = 3.
  DataBuffRecord r = Record();
  r.SetByte(DataBuffRecord::kTestCommand, 3);
  WriteRecordImage(dir_.Prefix(), r);
  EXPECT_TRUE(LogHas("command TestCommand 3"));
  EXPECT_TRUE(WaitFor([&] { return Record().TestCommand() == 0; }, 5000));

  PostMessageA(window_, kSuiteCommandMessage, 22, 22);
  EXPECT_TRUE(LogHas("message 1046 22 22 posted"));
  DWORD_PTR result;
  SendMessageTimeoutA(window_, kSuiteCommandMessage, 99, 99, SMTO_ABORTIFHUNG, 2000, &result);
  EXPECT_TRUE(LogHas("message 1046 99 99 sent"));
  EXPECT_TRUE(process_.Running()) << "only a posted stop request stops the monitor";

  PostMessageA(window_, kSuiteCommandMessage, 99, 99);
  DWORD code = 1;
  ASSERT_TRUE(process_.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_NE(Log().find("message 1046 99 99 posted\r\nstop\r\n"), std::string::npos);
}

TEST_F(Monitor, DatesEventsFromItsStartAndWritesADatedEventOnce) {
  SYSTEMTIME today;
  GetLocalTime(&today);
  const int y = today.wYear, m = today.wMonth, before = m == 1 ? 12 : m - 1;
  const double started = LocalNow();
  Start(
      "at 0\n"
      "event 6 1 month ago 31 23:59\n"  // the last day of the month before, whatever its length
      "event 7 0 months ago 1 00:00:30\n"
      "event 8 12 months ago 1 12:00\n"  // a year back: the same month's file
      "event 14 now\n"
      "at 1100\nloop\n");
  ASSERT_TRUE(WaitFor([&] { return Occurrences(Log(), "loop") >= 2; }, 15000)) << Log();
  PostMessageA(window_, kSuiteCommandMessage, 99, 99);
  ASSERT_TRUE(process_.WaitExit(10000));
  const double stopped = LocalNow();
  const int passes = Occurrences(Log(), "step at 0\r\n");
  ASSERT_GE(passes, 3);

  const auto last = Events(before);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_EQ(last[0].first, 6);
  EXPECT_NEAR(last[0].second, DateValue(y, m, 1) - 1.0 / 1440, 1e-9);

  // The dated events once, the step's moment on every pass.
  const auto events = Events(m);
  ASSERT_EQ(events.size(), 2u + static_cast<unsigned>(passes));
  EXPECT_EQ(events[0].first, 7);
  EXPECT_NEAR(events[0].second, DateValue(y, m, 1, 0, 0, 30), 1e-9);
  EXPECT_EQ(events[1].first, 8);
  EXPECT_NEAR(events[1].second, DateValue(y - 1, m, 1, 12), 1e-9);
  for (std::size_t i = 2; i < events.size(); ++i) {
    EXPECT_EQ(events[i].first, 14);
    EXPECT_GE(events[i].second, started - 1.0 / 86400);
    EXPECT_LE(events[i].second, stopped);
    if (i > 2) {
      EXPECT_GT(events[i].second, events[i - 1].second);
    }
  }
}

TEST_F(Monitor, RejectsABadScenario) {
  const struct {
    const char* line;
    const char* error;
  } cases[] = {
      {"set NoSuchField 1", "unknown field NoSuchField"},
      {"event 6 2 weeks ago 3 10:00", "event needs a code and a date-time, months ago or now"},
      {"event 6 1 month ago 32 10:00", "event needs a code and a date-time, months ago or now"},
      {"event 6 -1 months ago 3 10:00", "event needs a code and a date-time, months ago or now"},
      {"event 6 1 month ago 3 10:00 later", "event needs a code and a date-time, months ago or now"},
  };
  for (const auto& c : cases) {
    dir_.Write("monitor.log", "");
    Process p = Run(std::string("at 0\n") + c.line + "\n");
    DWORD code = 0;
    ASSERT_TRUE(p.WaitExit(10000, &code)) << c.line;
    EXPECT_EQ(code, 2u) << c.line;
    EXPECT_NE(Log().find(std::string("error scenario line 2: ") + c.error), std::string::npos) << Log();
  }
}

}  // namespace
}  // namespace korval::e2e

// The simulated background monitor, as the status panel and the tests meet it: its window, the record it
// writes, the command bytes it takes and the messages it logs.
#include <gtest/gtest.h>

#include "e2e.h"
#include "record.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

constexpr UINT kSuiteCommandMessage = WM_USER + 22;

class Monitor : public ::testing::Test {
 protected:
  void Start(const std::string& scenario) {
    dir_.Write("scenario.txt", scenario);
    process_ = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                              Quote(dir_.Prefix()) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                              Quote(dir_.File("monitor.log")));
    ASSERT_TRUE(process_.Running());
    ASSERT_TRUE(WaitFor([&] { return (window_ = FindWindowOfProcess("TnKORVALBack", process_.Id())) != nullptr; },
                        10000));
  }
  std::string Log() const { return dir_.Read("monitor.log"); }
  bool LogHas(const std::string& text, DWORD ms = 5000) const {
    return WaitFor([&] { return Log().find(text) != std::string::npos; }, ms);
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

TEST_F(Monitor, RejectsABadScenario) {
  dir_.Write("scenario.txt", "at 0\nset NoSuchField 1\n");
  Process p = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                             Quote(dir_.Prefix()) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                             Quote(dir_.File("monitor.log")));
  DWORD code = 0;
  ASSERT_TRUE(p.WaitExit(10000, &code));
  EXPECT_EQ(code, 2u);
  EXPECT_NE(Log().find("error scenario line 2: unknown field NoSuchField"), std::string::npos);
}

}  // namespace
}  // namespace korval::e2e

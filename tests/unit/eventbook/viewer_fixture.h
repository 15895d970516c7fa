#pragma once
// The event viewer on the headless backend, in a temporary program folder (UserPath.dat, a small
// English.txt) whose data folder gets month files and KORVAL.ini as a test needs them.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "application.h"
#include "datetime.h"
#include "eventlog.h"
#include "headless.h"
#include "record_event.h"
#include "temp_dir.h"

namespace korval::eventbook::test {

inline const char kEnglishFixture[] =
    "Log0=Event Log\r\nLog1=Program start\r\nLog2=Program stop\r\nMsg2=Start monitor\r\nMsg3=Connection "
    "error\r\n"
    "Log3=System shutdown\r\nMsg8=Power failure\r\nMsg9=Low battery\r\nMsg7=Power restored\r\n"
    "Log4=UPS shutdown\r\nMsg5=Overload\r\nMsg4=Bad battery\r\nLog5=UPS started\r\nMsg10=Scheduled "
    "shutdown\r\n"
    "Msg6=UPS self test\r\nLog6=Other\r\nLog7=All\r\nLog8=Start Year/Month\r\nLog9=End Year/Month\r\n"
    "Save=Save\r\nPrint=Print\r\nLog10=No.\r\nLog11=Code\r\nLog12=Date/Time\r\nLog13=Event\r\n";

inline double At(int y, int m, int d, int h = 0, int n = 0, int s = 0) {
  CalendarTime t;
  t.year = y;
  t.month = m;
  t.day = d;
  t.hour = h;
  t.minute = n;
  t.second = s;
  double v = 0;
  EncodeDateTime(t, v);
  return v;
}

// One 16-byte record; the reserved bytes carry noise, which the viewer never reads.
inline std::string Record(int code, double time) {
  std::string r(16, '\x5A');
  r[0] = static_cast<char>(code);
  unsigned char bytes[8];
  std::memcpy(bytes, &time, 8);  // the hosts are little-endian, as the file is
  for (int i = 0; i < 8; ++i) r[8 + static_cast<std::size_t>(i)] = static_cast<char>(bytes[i]);
  return r;
}

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system.programDir = program.Prefix();
    program.Write("UserPath.dat", data.Prefix() + "\r\n");
    program.Write("English.txt", kEnglishFixture);
    Today(2026, 12, 9);
  }

  void Today(int y, int m, int d) { system.now = At(y, m, d, 12, 0, 0); }

  TnEventLog& Start() {
    app = std::make_unique<forms::Application>(backend, system);
    app->SetTitle("Event Log");  // as the program start sets it
    form = &app->CreateForm<TnEventLog>();
    return *form;
  }

  void WriteMonth(int month, const std::string& bytes) const { WriteMonthIn(data.Prefix(), month, bytes); }
  static void WriteMonthIn(const std::string& dataDir, int month, const std::string& bytes) {
    const std::string path = MonthFileName(dataDir, month);
#ifdef _WIN32
    std::filesystem::create_directories(dataDir + std::to_string(month));
#endif
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  void WriteSettings(const std::string& text) const { data.Write("KORVAL.ini", text); }
  std::string Settings() const { return data.Read("KORVAL.ini"); }

  // Column `col` of rows 1 and on.
  std::vector<std::string> Column(int col) const {
    std::vector<std::string> out;
    for (int r = 1; r < form->StringGrid1->RowCount(); ++r) out.push_back(form->StringGrid1->Cell(col, r));
    return out;
  }
  std::string BoxStates() const {
    std::string s;
    for (const CheckBox* b : form->EventCodeBoxes) s += b->Checked() ? '1' : '0';
    return s;
  }

  korval::test::TempDir program, data;
  forms::HeadlessBackend backend;
  forms::FakeSystem system;
  std::unique_ptr<forms::Application> app;
  TnEventLog* form = nullptr;
};

}  // namespace korval::eventbook::test

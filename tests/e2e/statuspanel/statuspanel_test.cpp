// The real statuspanel.exe on a temporary program and data folder beside the simulated monitor: what a user
// sees of it when the record changes.
#include <gtest/gtest.h>

#include <string>

#include "bitmap.h"
#include "e2e.h"
#include "probe.h"
#include "record.h"
#include "temp_dir.h"

namespace korval::e2e {
namespace {

using forms::Bitmap;
using forms::Color;
using forms::Rgb;

const Color kRed = Rgb(255, 0, 0), kYellow = Rgb(255, 255, 0), kGreen = Rgb(0, 255, 0);

// The readout panels' places in the client area, and a pixel inside their bevel and clear of their text.
const POINT kReadouts[7] = {{0, 0}, {80, 210}, {251, 211}, {422, 210}, {80, 389}, {251, 389}, {421, 389}};
Color ReadoutColour(const Bitmap& shot, int gauge) {
  return shot.Pixel(kReadouts[gauge].x + 3, kReadouts[gauge].y + 3);
}

// The three lamps: place and size.
struct Lamp {
  int left, top, width, height;
};
const Lamp kAvr{536, 99, 73, 46}, kLine{536, 162, 73, 54}, kUnit{536, 231, 73, 54};

class StatusPanel : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = dir_.Prefix() + "program\\";
    data_ = dir_.Prefix() + "data\\";
    CreateDirectoryA(program_.c_str(), nullptr);
    CreateDirectoryA(data_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((std::string(ProgramDir()) + "statuspanel.exe").c_str(),
                          (program_ + "statuspanel.exe").c_str(), FALSE));
    WriteFileBytes(program_ + "UserPath.dat", data_ + "\r\n");
  }

  // The monitor writes the record of `scenario` once; the test changes it by hand afterwards.
  void Start(const DataBuffRecord& first) {
    std::string scenario = "at 0\nclear\n";
    for (std::size_t i = 0; i < DataBuffRecord::kSize; ++i)
      if (first.bytes[i])
        scenario += "set byte[" + std::to_string(i) + "] " + std::to_string(first.bytes[i]) + "\n";
    dir_.Write("scenario.txt", scenario);
    monitor_ = Process::Start(Quote(std::string(BinDir()) + "tools\\monitor\\korvalmon.exe") + " /data " +
                              Quote(data_) + " /scenario " + Quote(dir_.File("scenario.txt")) + " /log " +
                              Quote(dir_.File("monitor.log")));
    ASSERT_TRUE(
        WaitFor([&] { return dir_.Read("monitor.log").find("step at 0") != std::string::npos; }, 10000));
    panel_ = Process::Start(Quote(program_ + "statuspanel.exe"), program_);
    ASSERT_TRUE(panel_.Running());
    // The window is there once its start-up is done and it is shown.
    ASSERT_TRUE(WaitFor(
        [&] {
          window_ = FindWindowOfProcess("TnKORVALmain", panel_.Id());
          return window_ && IsWindowVisible(window_);
        },
        15000));
    SetForegroundWindow(window_);
  }

  void Put(const DataBuffRecord& r) {
    WriteFileBytes(data_ + "DATABuff.REC",
                   std::string(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()));
  }

  Bitmap Shot() const { return probe::CaptureClient(window_); }

  // Waits until a capture of the window passes `check`; the last capture goes to `last`.
  bool Shows(const std::function<bool(const Bitmap&)>& check, Bitmap* last = nullptr, DWORD ms = 5000) const {
    Bitmap shot;
    const bool ok = WaitFor(
        [&] {
          shot = Shot();
          return check(shot);
        },
        ms);
    if (last) *last = shot;
    return ok;
  }

  // The lamp shows this picture of the artwork.
  static bool LampShows(const Bitmap& shot, const Lamp& lamp, const Bitmap& picture) {
    return probe::DifferentShare(probe::Crop(shot, lamp.left, lamp.top, lamp.width, lamp.height), picture) <
           0.001;
  }
  static Bitmap Art(const std::string& name) {
    auto p = forms::DecodePicture(ReadFileBytes(std::string(SourceDir()) + "resources\\art\\" + name));
    return p ? *p : Bitmap();
  }

  static DataBuffRecord Live(int unitType) {
    DataBuffRecord r;
    r.SetByte(DataBuffRecord::kDataValid, 1);
    r.SetByte(DataBuffRecord::kUnitType, static_cast<std::uint8_t>(unitType));
    r.SetByte(DataBuffRecord::kStatusBlockValid, 1);
    r.SetBE16(DataBuffRecord::kInputVoltage, 230);
    r.SetBE16(DataBuffRecord::kOutputVoltage, 230);
    r.SetByte(DataBuffRecord::kLoadPercent, 40);
    r.SetByte(DataBuffRecord::kInputFrequency, 50);
    r.SetByte(DataBuffRecord::kOutFreqOrTemp, 50);
    r.SetByte(DataBuffRecord::kBatteryPercent, 100);
    r.SetRatedVoltage(230);
    return r;
  }

  test::TempDir dir_;
  std::string program_, data_;
  Process monitor_, panel_;
  HWND window_ = nullptr;
};

TEST_F(StatusPanel, FixedWindowOfItsClassCentredWithTheLayoutClientArea) {
  Start(Live(5));
  char title[128] = {};
  GetWindowTextA(window_, title, sizeof title);
  EXPECT_STREQ(title, "KORVAL Plus for Windows V2.86");
  RECT client;
  GetClientRect(window_, &client);
  EXPECT_EQ(client.right, 640);
  EXPECT_EQ(client.bottom, 479);
  const LONG style = GetWindowLongA(window_, GWL_STYLE);
  EXPECT_FALSE(style & WS_THICKFRAME);
  EXPECT_FALSE(style & WS_MAXIMIZEBOX);
  EXPECT_TRUE(style & WS_MINIMIZEBOX);
  RECT outer, work;
  GetWindowRect(window_, &outer);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  EXPECT_NEAR((outer.left + outer.right) / 2, (work.left + work.right) / 2, 2);
  EXPECT_NE(GetMenu(window_), nullptr);
}

TEST_F(StatusPanel, ReadoutColoursAndLampPicturesFollowTheRecord) {
  const Bitmap normal = Art("Image7.bmp"), boost = Art("Image10.bmp"), bypass = Art("Image23.bmp");
  const Bitmap utility = Art("Image8.jpg"), lowBat = Art("Image14.jpg"), lineFail = Art("Image13.jpg");
  const Bitmap ok = Art("Image9.bmp"), overload = Art("Image18.bmp"), bad = Art("Image19.bmp");
  ASSERT_FALSE(utility.Empty());
  ASSERT_FALSE(ok.Empty());

  Start(Live(5));
  Bitmap shot;
  EXPECT_TRUE(Shows(
      [&](const Bitmap& s) {
        for (int g = 1; g <= 6; ++g)
          if (ReadoutColour(s, g) != kGreen) return false;
        return LampShows(s, kAvr, normal) && LampShows(s, kLine, utility) && LampShows(s, kUnit, ok);
      },
      &shot))
      << "live, everything in its green band";

  // Power failure on a low battery, the unit boosting and overloaded.
  DataBuffRecord failing = Live(5);
  failing.SetBE16(DataBuffRecord::kInputVoltage, 0);
  failing.SetByte(DataBuffRecord::kLoadPercent, 110);
  failing.SetByte(DataBuffRecord::kBatteryPercent, 20);
  failing.SetByte(DataBuffRecord::kStatusBitsA, 0x3B);
  Put(failing);
  EXPECT_TRUE(Shows(
      [&](const Bitmap& s) {
        return ReadoutColour(s, 1) == kRed && ReadoutColour(s, 2) == kGreen && ReadoutColour(s, 3) == kRed &&
               ReadoutColour(s, 4) == kRed && ReadoutColour(s, 6) == kRed && LampShows(s, kAvr, boost) &&
               LampShows(s, kLine, lowBat) && LampShows(s, kUnit, overload);
      },
      &shot));

  // A monitored unit of type 23 on bypass, warm, with a bad battery; the line failed but the battery holds.
  DataBuffRecord bypassed = Live(23);
  bypassed.SetByte(DataBuffRecord::kModeBits, 0x20);
  bypassed.SetByte(DataBuffRecord::kOutFreqOrTemp, 45);
  bypassed.SetByte(DataBuffRecord::kStatusBitsA, 0x01);
  bypassed.SetByte(DataBuffRecord::kStatusBitsB, 0x02);
  bypassed.SetByte(DataBuffRecord::kLoadPercent, 85);
  Put(bypassed);
  EXPECT_TRUE(Shows(
      [&](const Bitmap& s) {
        return ReadoutColour(s, 3) == kYellow && ReadoutColour(s, 5) == kYellow &&
               LampShows(s, kAvr, bypass) && LampShows(s, kLine, lineFail) && LampShows(s, kUnit, bad);
      },
      &shot));

  // No data: the reset display.
  DataBuffRecord none = bypassed;
  none.SetByte(DataBuffRecord::kDataValid, 0);
  Put(none);
  EXPECT_TRUE(Shows(
      [&](const Bitmap& s) {
        return ReadoutColour(s, 1) == kRed && ReadoutColour(s, 3) == kGreen && ReadoutColour(s, 6) == kRed &&
               LampShows(s, kAvr, normal) && LampShows(s, kLine, utility) && LampShows(s, kUnit, ok);
      },
      &shot));
  if (HasFailure()) probe::SaveFile(dir_.File("failed.png"), probe::EncodePng(shot));
}

TEST_F(StatusPanel, PortMessageComesAndGoesAndTheClockMoves) {
  Start(Live(5));
  auto portMessage = [&]() -> const probe::ChildWindow* {
    static std::vector<probe::ChildWindow> children;
    children = probe::ChildWindows(window_);
    return probe::ChildAt(children, 170, 76, 344, 18);
  };
  ASSERT_NE(portMessage(), nullptr);
  EXPECT_FALSE(portMessage()->visible);
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kPortState, 2);
  Put(r);
  EXPECT_TRUE(WaitFor([&] { return portMessage()->visible; }, 5000));
  r.SetByte(DataBuffRecord::kPortState, 3);
  Put(r);
  EXPECT_TRUE(WaitFor([&] { return !portMessage()->visible; }, 5000));

  const Bitmap before = probe::Crop(Shot(), 539, 401, 60, 13);
  EXPECT_TRUE(Shows(
      [&](const Bitmap& s) { return probe::DifferentShare(probe::Crop(s, 539, 401, 60, 13), before) > 0; },
      nullptr, 3000))
      << "the seconds of the clock";
}

TEST_F(StatusPanel, PicturesShowTheirHintsOnHover) {
  Start(Live(5));
  POINT p{kLine.left + 36, kLine.top + 27};
  ClientToScreen(window_, &p);
  SetCursorPos(p.x - 5, p.y);
  SetCursorPos(p.x, p.y);
  HWND hint = nullptr;
  EXPECT_TRUE(WaitFor(
      [&] {
        hint = FindWindowOfProcess("KorvalHint", panel_.Id());
        char text[64] = {};
        if (hint) GetWindowTextA(hint, text, sizeof text);
        return hint && IsWindowVisible(hint) && std::string(text) == "Utility Normal";
      },
      5000));
  POINT away{10, 300};
  ClientToScreen(window_, &away);
  SetCursorPos(away.x, away.y);
  EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(hint); }, 5000));
}

TEST_F(StatusPanel, MinimisingOrClosingEndsTheProgram) {
  Start(Live(5));
  PostMessageA(window_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
  DWORD code = 1;
  ASSERT_TRUE(panel_.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);

  panel_ = Process::Start(Quote(program_ + "statuspanel.exe"), program_);
  ASSERT_TRUE(WaitFor([&] { return (window_ = FindWindowOfProcess("TnKORVALmain", panel_.Id())) != nullptr; },
                      15000));
  PostMessageA(window_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(panel_.WaitExit(10000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(monitor_.Running()) << "only Exit stops the monitor";
}

namespace {
struct BoxSearch {
  DWORD pid;
  int count;
  HWND last;
};
BOOL CALLBACK CountBoxes(HWND hwnd, LPARAM param) {
  auto* s = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char cls[64] = {};
  GetClassNameA(hwnd, cls, sizeof cls);
  if (pid == s->pid && lstrcmpA(cls, "#32770") == 0 && IsWindowVisible(hwnd)) {
    ++s->count;
    s->last = hwnd;
  }
  return TRUE;
}
}  // namespace

// A UserPath.dat that cannot be read stops the start-up at once: one error report, then a window whose ticks
// do nothing (no clock), which still closes.
TEST_F(StatusPanel, FailedStartUpReportsOnceAndRunsNoTick) {
  DeleteFileA((program_ + "UserPath.dat").c_str());
  CreateDirectoryA((program_ + "UserPath.dat").c_str(), nullptr);
  panel_ = Process::Start(Quote(program_ + "statuspanel.exe"), program_);
  BoxSearch boxes{panel_.Id(), 0, nullptr};
  ASSERT_TRUE(WaitFor(
      [&] {
        boxes = BoxSearch{panel_.Id(), 0, nullptr};
        EnumWindows(CountBoxes, reinterpret_cast<LPARAM>(&boxes));
        return boxes.count > 0;
      },
      15000));
  Sleep(1500);  // the window timer runs under the message box
  boxes = BoxSearch{panel_.Id(), 0, nullptr};
  EnumWindows(CountBoxes, reinterpret_cast<LPARAM>(&boxes));
  EXPECT_EQ(boxes.count, 1);
  bool named = false;
  for (const auto& c : probe::ChildWindows(boxes.last))
    named |= c.text.find("Cannot open file") != std::string::npos && c.text.find("UserPath.dat") != std::string::npos;
  EXPECT_TRUE(named);
  PostMessageA(boxes.last, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor(
      [&] {
        window_ = FindWindowOfProcess("TnKORVALmain", panel_.Id());
        return window_ && IsWindowVisible(window_);
      },
      10000));
  SetForegroundWindow(window_);
  Sleep(700);
  const Bitmap clock = probe::Crop(Shot(), 539, 401, 60, 13);
  Sleep(1500);
  EXPECT_EQ(probe::DifferentShare(probe::Crop(Shot(), 539, 401, 60, 13), clock), 0.0);
  PostMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(panel_.WaitExit(10000));
}

}  // namespace
}  // namespace korval::e2e

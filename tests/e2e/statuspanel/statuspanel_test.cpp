// The real statuspanel.exe on a temporary program and data folder beside the simulated monitor: what a user
// sees of it when the record changes.
#include <gtest/gtest.h>

#include <string>

#include "panel_e2e.h"

namespace korval::e2e {
namespace {

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

// A UserPath.dat that cannot be read stops the start-up at once: one error report, then a window whose ticks
// do nothing (no clock), which still closes.
TEST_F(StatusPanel, FailedStartUpReportsOnceAndRunsNoTick) {
  DeleteFileA((program_ + "UserPath.dat").c_str());
  CreateDirectoryA((program_ + "UserPath.dat").c_str(), nullptr);
  panel_ = Process::Start(Quote(program_ + "statuspanel.exe"), program_);
  ASSERT_TRUE(WaitFor([&] { return !MessageBoxes().empty(); }, 15000));
  Sleep(1500);  // the window timer runs under the message box
  const std::vector<HWND> boxes = MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  const std::string text = BoxText(boxes[0]);
  EXPECT_NE(text.find("Cannot open file"), std::string::npos) << text;
  EXPECT_NE(text.find("UserPath.dat"), std::string::npos) << text;
  PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitFor(
      [&] {
        window_ = FindWindowOfProcess("TnKORVALmain", panel_.Id());
        return window_ && IsWindowVisible(window_);
      },
      10000));
  EXPECT_TRUE(BroughtToFront(window_));
  Bitmap clock;
  ASSERT_TRUE(PictureSettles([&] { return Clock(); }, clock));
  Sleep(1500);  // three ticks, which must not move the clock
  EXPECT_EQ(probe::DifferentShare(Clock(), clock), 0.0);
  PostMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(panel_.WaitExit(10000));
}

}  // namespace
}  // namespace korval::e2e

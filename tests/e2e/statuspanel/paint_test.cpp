// What the ticks paint of the real window, part by part, is what a paint of the whole window shows.
#include <gtest/gtest.h>

#include "panel_e2e.h"

namespace korval::e2e {
namespace {

TEST_F(StatusPanel, WhatTheTicksPaintIsWhatAWholeRepaintShows) {
  Start(Live(5));
  if (HasFatalFailure()) return;
  // Needles, readouts, colours, the halving mark, lamps, the port message and the unit type all move.
  for (int step = 0; step < 12; ++step) {
    DataBuffRecord r = Live(step % 3 == 2 ? 23 : 5);
    r.SetByte(DataBuffRecord::kModeBits, step % 2 ? 0x08 : 0x02);
    r.SetByte(DataBuffRecord::kStatusBitsB, step % 4 == 1 ? 0x02 : 0x00);
    r.SetByte(DataBuffRecord::kPortState, step % 5 == 0 ? 1 : 0);
    r.SetBE16(DataBuffRecord::kInputVoltage, static_cast<std::uint16_t>(150 + step * 37 % 200));
    r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(150 + step * 53 % 200));
    r.SetByte(DataBuffRecord::kLoadPercent, static_cast<std::uint8_t>(step * 29 % 150));
    r.SetByte(DataBuffRecord::kInputFrequency, static_cast<std::uint8_t>(30 + step * 7 % 40));
    r.SetByte(DataBuffRecord::kOutFreqOrTemp, static_cast<std::uint8_t>(step * 17 % 120));
    r.SetByte(DataBuffRecord::kBatteryPercent, static_cast<std::uint8_t>(step * 13 % 110));
    Put(r);
    Sleep(300);  // the unit's pace: faster than the ticks, so that some records are never painted
  }
  // A tick after the last record, and what it painted.
  ASSERT_TRUE(TicksShown());
  Bitmap ticked;
  ASSERT_TRUE(PictureSettles([&] { return Shot(); }, ticked));
  RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Bitmap whole;
  ASSERT_TRUE(PictureSettles([&] { return Shot(); }, whole));
  ASSERT_EQ(ticked.Width(), whole.Width());
  ASSERT_EQ(ticked.Height(), whole.Height());
  int differing = 0;
  for (int y = 0; y < whole.Height(); ++y)
    for (int x = 0; x < whole.Width(); ++x) {
      if (x >= 530 && y >= 395 && y < 430) continue;  // the clock may move between the two
      if (!(ticked.Pixel(x, y) == whole.Pixel(x, y))) ++differing;
    }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace korval::e2e

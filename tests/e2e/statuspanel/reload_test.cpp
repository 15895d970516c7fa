// The real window on a unit whose rated voltage is not the detected one, while another program holds the
// settings file open for writing: the window stays and its clock goes on.
#include <gtest/gtest.h>

#include "panel_e2e.h"

namespace korval::e2e {
namespace {

TEST_F(StatusPanel, KeepsTickingWhileAnotherProgramHoldsTheSettingsFile) {
  SetLanguage(0);
  DataBuffRecord r = Live(1);
  r.SetRatedVoltage(200);  // the output voltage of 230 detects 230
  Start(r);
  if (HasFatalFailure()) return;
  // Ticks that the clock shows: the tick's nominal values now differ from those of every read.
  ASSERT_TRUE(TicksShown());

  const std::string settings = data_ + "KORVAL.ini";
  HANDLE held =
      CreateFileA(settings.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Bitmap shown = Clock();
  int changes = 0;
  WaitFor(
      [&] {
        const Bitmap now = Clock();
        if (probe::DifferentShare(now, shown) > 0) ++changes;
        shown = now;
        return changes >= 2 || !panel_.Running();
      },
      6000);
  const bool runningWhileHeld = panel_.Running() && IsWindow(window_) && IsWindowVisible(window_);
  CloseHandle(held);
  EXPECT_TRUE(runningWhileHeld);
  EXPECT_GE(changes, 2) << "the clock's seconds while the file was held";
  EXPECT_TRUE(TicksShown()) << "a tick after the file is free again";
  EXPECT_TRUE(panel_.Running());
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
}  // namespace korval::e2e

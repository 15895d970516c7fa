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
  Sleep(1200);  // a few ticks: the tick's nominal values now differ from those of every read

  const std::string settings = data_ + "KORVAL.ini";
  HANDLE held = CreateFileA(settings.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Bitmap clock = probe::Crop(Shot(), 539, 401, 60, 13);
  int changes = 0;
  for (int i = 0; i < 12 && panel_.Running(); ++i) {
    Sleep(250);
    const Bitmap now = probe::Crop(Shot(), 539, 401, 60, 13);
    if (probe::DifferentShare(now, clock) > 0) ++changes;
    clock = now;
  }
  const bool runningWhileHeld = panel_.Running() && IsWindow(window_) && IsWindowVisible(window_);
  CloseHandle(held);
  EXPECT_TRUE(runningWhileHeld);
  EXPECT_GE(changes, 2) << "the clock's seconds while the file was held";
  Sleep(1000);
  EXPECT_TRUE(panel_.Running());
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
}  // namespace korval::e2e

// Caption loads that the tick asks for: how often they happen, and a settings file that another program holds
// open for writing while they do.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>

#include <cstdio>
#endif

#include "panel_fixture.h"

namespace korval::statuspanel::test {
namespace {

// Keeps a file from being opened for reading while it lives: on Windows it is held open for writing without
// sharing, as a writer of the suite does; POSIX has no sharing modes, so there a folder takes its place.
class HeldFile {
 public:
  explicit HeldFile(std::string path) : path_(std::move(path)) {
#ifdef _WIN32
    handle_ = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(handle_, INVALID_HANDLE_VALUE);
#else
    EXPECT_EQ(std::rename(path_.c_str(), (path_ + ".held").c_str()), 0);
    EXPECT_EQ(mkdir(path_.c_str(), 0700), 0);
#endif
  }
  ~HeldFile() {
#ifdef _WIN32
    CloseHandle(handle_);
#else
    rmdir(path_.c_str());
    std::rename((path_ + ".held").c_str(), path_.c_str());
#endif
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

 private:
  std::string path_;
#ifdef _WIN32
  HANDLE handle_ = INVALID_HANDLE_VALUE;
#endif
};

class Reload : public PanelTest {
 protected:
  void SetUp() override {
    PanelTest::SetUp();
    data.Write("KORVAL.ini", "[Main]\r\nLanguage=0\r\n");
  }
  HeldFile Hold() { return HeldFile(data.Prefix() + "KORVAL.ini"); }
  // A live record of a unit whose rated voltage (200) is not the detected one (230).
  static DataBuffRecord Mismatched(int unitType) {
    DataBuffRecord r = Live(unitType);
    r.SetRatedVoltage(200);
    r.SetBE16(DataBuffRecord::kOutputVoltage, 230);
    return r;
  }
  void TickOn(const DataBuffRecord& r) {
    system.now += 1.0 / 86400;
    Tick(r);
  }
};

TEST_F(Reload, MismatchedRatedVoltageLoadsOnceAndTicksOnWhileTheSettingsAreHeld) {
  const DataBuffRecord r = Mismatched(1);
  Put(r);
  Start();
  const int loads = form->captionLoads;
  TickOn(r);
  {
    HeldFile held = Hold();
    for (int i = 0; i < 4; ++i) {
      const std::string clock = form->Label25->Caption();
      TickOn(r);
      EXPECT_NE(form->Label25->Caption(), clock) << "the clock goes on";
    }
  }
  TickOn(r);
  EXPECT_FALSE(backend.terminated);
  EXPECT_EQ(form->captionLoads, loads) << "nothing that a load sets changes";
  EXPECT_EQ(form->NominalIn, 230);
  EXPECT_EQ(form->NominalOut, 230);
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "110 150 190 230 270 310 350");
  EXPECT_EQ(ScaleTexts(form->ScaleLabels2), "110 150 190 230 270 310 350");

  // Without live data nothing is detected: the labels are those of the rated voltage, as a load makes them.
  DataBuffRecord frozen = r;
  frozen.SetByte(DataBuffRecord::kDataValid, 0);
  TickOn(frozen);
  EXPECT_EQ(form->NominalIn, 200);
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "80 120 160 200 240 280 320");
  EXPECT_EQ(ScaleTexts(form->ScaleLabels2), "80 120 160 200 240 280 320");
}

// A load the tick needs (a new unit type) while the file is held: the window keeps its captions and the next
// tick tries again.
TEST_F(Reload, HeldSettingsPutTheTicksLoadOffToALaterTick) {
  Start();
  TickOn(Mismatched(5));
  EXPECT_EQ(form->StaticTexts[5]->Caption(), "O/P Frequency  [Hz]");
  const int loads = form->captionLoads;
  {
    HeldFile held = Hold();
    TickOn(Mismatched(23));
    TickOn(Mismatched(23));
    EXPECT_EQ(form->StaticTexts[5]->Caption(), "O/P Frequency  [Hz]");
    EXPECT_EQ(ScaleTexts(form->ScaleLabels5), "30 40 50 60 70 80 90");
  }
  TickOn(Mismatched(23));
  EXPECT_FALSE(backend.terminated);
  EXPECT_EQ(form->StaticTexts[5]->Caption(), "Temperature  [C]");
  EXPECT_EQ(ScaleTexts(form->ScaleLabels5), "0 10 20 30 40 50 60");
  TickOn(Mismatched(23));
  EXPECT_EQ(form->captionLoads, loads + 3) << "one load per tick until one succeeds, then none";
}

TEST_F(Reload, StartUpAndTheReloadMessageStillEndTheProgramOnHeldSettings) {
  {
    HeldFile held = Hold();
    Start();
    EXPECT_TRUE(backend.terminated) << "start-up";
  }
  backend.terminated = false;
  Start();
  HeldFile held = Hold();
  form->AppMessage(forms::Message{1046, 22, 22, nullptr});
  EXPECT_TRUE(backend.terminated) << "reload message";
}

}  // namespace
}  // namespace korval::statuspanel::test

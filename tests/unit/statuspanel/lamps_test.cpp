// The two decoders and the lamp pictures they lead to.
#include <vector>

#include "panel_fixture.h"

namespace korval::statuspanel::test {
namespace {

std::string Flags(const Tstate& s) {
  char buf[160];
  std::snprintf(buf, sizeof buf, "lf%d bl%d avr%d boost%d fault%d test%d off%d over%d bad%d", s.LineFail,
                s.BatteryLow, s.AvrMode, s.Boost, s.UpsFault, s.UpsTest, s.UpsOff, s.Overload, s.BatteryBad);
  return buf;
}

TEST(DecodeStatusBits, EveryFlagFromItsBit) {
  struct Case {
    int a, b;
    const char* flags;
  };
  const Case cases[] = {
      {0x00, 0x00, "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},
      {0x01, 0x00, "lf1 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},
      {0x02, 0x00, "lf0 bl1 avr0 boost0 fault0 test0 off0 over0 bad0"},
      {0x08, 0x00, "lf0 bl0 avr1 boost0 fault0 test0 off0 over0 bad0"},  // buck
      {0x18, 0x00, "lf0 bl0 avr1 boost1 fault0 test0 off0 over0 bad0"},  // boost
      {0x20, 0x00, "lf0 bl0 avr0 boost0 fault0 test0 off0 over1 bad0"},
      {0x80, 0x00, "lf0 bl0 avr0 boost0 fault0 test0 off1 over0 bad0"},
      {0x44, 0xF8, "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},  // bits nobody reads
      {0x00, 0x01, "lf0 bl0 avr0 boost0 fault1 test0 off0 over0 bad0"},
      {0x00, 0x02, "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad1"},
      {0x00, 0x04, "lf0 bl0 avr0 boost0 fault0 test1 off0 over0 bad0"},
  };
  for (const Case& c : cases) {
    StatusBlock block{};
    block[9] = static_cast<std::uint8_t>(c.a);
    block[10] = static_cast<std::uint8_t>(c.b);
    Tstate s;
    s.AvrMode = 3;  // every field is overwritten
    DecodeStatusBits(block, s);
    EXPECT_EQ(Flags(s), c.flags) << c.a << "/" << c.b;
  }
}

TEST(DecodeSmartStatus, ModeBitsBoostBuckAndTheType22OffRule) {
  struct Case {
    int unit, mode, in, out, a;
    int boostBefore;
    const char* flags;
  };
  const Case cases[] = {
      {23, 0x28, 220, 230, 0x00, 0, "lf0 bl0 avr1 boost1 fault0 test0 off0 over0 bad0"},
      {23, 0x28, 230, 220, 0x00, 1, "lf0 bl0 avr1 boost0 fault0 test0 off0 over0 bad0"},
      {23, 0x28, 230, 230, 0x00, 1, "lf0 bl0 avr1 boost0 fault0 test0 off0 over0 bad0"},
      {23, 0x00, 230, 230, 0x00, 1, "lf0 bl0 avr2 boost1 fault0 test0 off0 over0 bad0"},  // Boost unchanged
      {23, 0x20, 230, 230, 0x00, 0, "lf0 bl0 avr3 boost0 fault0 test0 off0 over0 bad0"},
      {23, 0x08, 230, 230, 0x18, 0,
       "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},  // A bits 3, 4 unread
      {22, 0x08, 230, 0, 0x00, 0, "lf0 bl0 avr0 boost0 fault0 test0 off1 over0 bad0"},
      {22, 0x08, 230, 230, 0x80, 0, "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},
      {23, 0x08, 230, 0, 0x00, 0, "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},
      {21, 0x08, 230, 0, 0x00, 0, "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0"},
      {27, 0x08, 230, 0, 0x80, 0, "lf0 bl0 avr0 boost0 fault0 test0 off1 over0 bad0"},
      {21, 0x08, 230, 230, 0xA3, 0, "lf1 bl1 avr0 boost0 fault0 test0 off1 over1 bad0"},
  };
  for (const Case& c : cases) {
    DataBuffRecord r;
    r.SetByte(DataBuffRecord::kUnitType, static_cast<std::uint8_t>(c.unit));
    r.SetByte(DataBuffRecord::kModeBits, static_cast<std::uint8_t>(c.mode));
    r.SetByte(DataBuffRecord::kStatusBitsA, static_cast<std::uint8_t>(c.a));
    r.SetBE16(DataBuffRecord::kInputVoltage, static_cast<std::uint16_t>(c.in));
    r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(c.out));
    r.SetByte(DataBuffRecord::kLoadPercent, 33);
    r.SetByte(DataBuffRecord::kInputFrequency, 60);
    r.SetByte(DataBuffRecord::kOutFreqOrTemp, 41);
    r.SetByte(DataBuffRecord::kBatteryPercent, 77);
    Tstate s;
    s.Boost = static_cast<std::uint8_t>(c.boostBefore);
    GaugeArray g{};
    DecodeSmartStatus(r, s, g);
    EXPECT_EQ(Flags(s), c.flags) << c.unit << " mode " << c.mode << " " << c.in << "/" << c.out;
    EXPECT_EQ(g, (GaugeArray{0, c.in, c.out, 33, 60, 41, 77}));
  }
}

// The picture of each lamp that is seen: the topmost visible one of its stack.
class Lamps : public PanelTest {
 protected:
  std::string Seen(const std::vector<Image*>& bottomToTop) const {
    for (auto it = bottomToTop.rbegin(); it != bottomToTop.rend(); ++it)
      if ((*it)->Visible()) return (*it)->Hint();
    return "";
  }
  std::string Avr() const {
    return Seen({form->Image10, form->Image11, form->Image12, form->Image23, form->Image7});
  }
  std::string Line() const { return Seen({form->Image13, form->Image14, form->Image8}); }
  std::string Unit() const {
    return Seen({form->Image15, form->Image16, form->Image17, form->Image18, form->Image19, form->Image9});
  }
  void Show(const Tstate& s) {
    *form->State = s;
    form->ShowStatusImages();
  }
};

TEST_F(Lamps, TopPictureOfEachLamp) {
  Start();
  struct Case {
    Tstate s;
    const char *avr, *line, *unit;
  };
  auto flags = [](int lf, int bl, int avr, int boost, int fault, int test, int off, int over, int bad) {
    Tstate s;
    s.LineFail = static_cast<std::uint8_t>(lf);
    s.BatteryLow = static_cast<std::uint8_t>(bl);
    s.AvrMode = static_cast<std::uint8_t>(avr);
    s.Boost = static_cast<std::uint8_t>(boost);
    s.UpsFault = static_cast<std::uint8_t>(fault);
    s.UpsTest = static_cast<std::uint8_t>(test);
    s.UpsOff = static_cast<std::uint8_t>(off);
    s.Overload = static_cast<std::uint8_t>(over);
    s.BatteryBad = static_cast<std::uint8_t>(bad);
    return s;
  };
  const Case cases[] = {
      {flags(0, 0, 0, 0, 0, 0, 0, 0, 0), "Normal", "Utility Normal", "UPS OK"},
      {flags(0, 0, 1, 0, 0, 0, 0, 0, 0), "Buck", "Utility Normal", "UPS OK"},
      {flags(0, 0, 1, 1, 0, 0, 0, 0, 0), "Boost", "Utility Normal", "UPS OK"},
      {flags(0, 0, 2, 0, 0, 0, 0, 0, 0), "On Line", "Utility Normal", "UPS OK"},
      {flags(0, 0, 3, 0, 0, 0, 0, 0, 0), "Bypass", "Utility Normal", "UPS OK"},
      {flags(1, 0, 0, 0, 0, 0, 0, 0, 0), "Normal", "Line fail", "UPS OK"},
      {flags(1, 1, 0, 0, 0, 1, 0, 0, 0), "Normal", "Low Bat", "UPS Test"},
      {flags(1, 0, 0, 0, 0, 1, 0, 0, 0), "Normal", "Utility Normal", "UPS Test"},
      {flags(0, 0, 0, 0, 1, 0, 0, 0, 0), "Normal", "Utility Normal", "UPS Fault"},
      {flags(0, 0, 0, 0, 0, 0, 1, 0, 0), "Normal", "Utility Normal", "UPS OFF"},
      {flags(0, 0, 0, 0, 0, 0, 0, 1, 0), "Normal", "Utility Normal", "Over Load"},
      {flags(0, 0, 0, 0, 0, 1, 0, 0, 1), "Normal", "Utility Normal", "Bat Bad"},
      {flags(0, 0, 0, 0, 1, 1, 1, 1, 0), "Normal", "Utility Normal", "Over Load"},
  };
  for (const Case& c : cases) {
    Show(flags(0, 0, 0, 0, 0, 0, 0, 0, 0));
    Show(c.s);
    EXPECT_EQ(Avr(), c.avr) << Flags(c.s);
    EXPECT_EQ(Line(), c.line) << Flags(c.s);
    EXPECT_EQ(Unit(), c.unit) << Flags(c.s);
  }
}

TEST_F(Lamps, PicturesBeneathKeepTheirStateUnderTheTopOne) {
  Start();
  Tstate s;
  s.AvrMode = 3;
  Show(s);
  s.AvrMode = 0;
  Show(s);
  EXPECT_EQ(Avr(), "Normal");
  EXPECT_TRUE(form->Image23->Visible()) << "Bypass stays beneath Normal";

  s.LineFail = 1;
  Show(s);
  EXPECT_TRUE(form->Image13->Visible());
  s.UpsTest = 1;
  Show(s);
  EXPECT_EQ(Line(), "Utility Normal");
  EXPECT_TRUE(form->Image13->Visible()) << "Line fail keeps its state beneath";
  EXPECT_FALSE(form->Image14->Visible());

  s = Tstate{};
  s.UpsTest = 1;
  s.BatteryBad = 1;
  Show(s);
  int visible = 0;
  for (Image* i : {form->Image15, form->Image16, form->Image17, form->Image18, form->Image19, form->Image9})
    visible += i->Visible();
  EXPECT_EQ(visible, 1);
  EXPECT_TRUE(form->Image19->Visible());
}

TEST_F(Lamps, ResetShowsTheNormalPicturesAndKeepsTheHalvingMark) {
  Start();
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kStatusBitsA, 0x3B);  // line fail, low battery, boost, overload
  r.SetByte(DataBuffRecord::kOutFreqOrTemp, 120);
  Tick(r);
  EXPECT_EQ(Avr(), "Boost");
  EXPECT_EQ(Line(), "Low Bat");
  EXPECT_EQ(Unit(), "Over Load");
  EXPECT_TRUE(form->Label50->Visible());
  r.SetByte(DataBuffRecord::kDataValid, 0);
  Tick(r);
  EXPECT_EQ(Avr(), "Normal");
  EXPECT_EQ(Line(), "Utility Normal");
  EXPECT_EQ(Unit(), "UPS OK");
  EXPECT_EQ(Flags(*form->State), "lf0 bl0 avr0 boost0 fault0 test0 off0 over0 bad0");
  EXPECT_TRUE(form->Label50->Visible()) << "the reset leaves X2 alone";
}

}  // namespace
}  // namespace korval::statuspanel::test

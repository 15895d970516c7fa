// Gauge scales, clamps, colours, needles and readouts.
#include "gauges.h"

#include <cmath>

#include "panel_fixture.h"

namespace korval::statuspanel::test {
namespace {

double Angle(int value, const Scale& s) { return (value + s.offset) / static_cast<double>(s.span); }  // in pi

TEST(VoltageBands, RowsAndTheirArcEnds) {
  struct Case {
    int n, offset, span, low, high;
  };
  const Case cases[] = {
      {60, -10, 50, 30, 90},      {100, 0, 100, 40, 160},     {104, 0, 100, 40, 160},
      {105, -10, 100, 50, 170},   {112, -10, 100, 50, 170},   {113, -15, 100, 55, 175},
      {117, -15, 100, 55, 175},   {118, -20, 100, 60, 180},   {169, -20, 100, 60, 180},
      {170, -20, 200, 100, 340},  {224, -20, 200, 100, 340},  {225, -30, 200, 110, 350},
      {234, -30, 200, 110, 350},  {235, -40, 200, 120, 360},  {346, -40, 200, 120, 360},
      {347, -147, 200, 227, 467}, {400, -200, 200, 280, 520},  // beyond the table: the needle's stops of the
                                                               // 347 row moved to n (the colours: below)
  };
  for (const Case& c : cases) {
    const Scale s = VoltageBand(c.n);
    EXPECT_EQ(s.offset, c.offset) << c.n;
    EXPECT_EQ(s.span, c.span) << c.n;
    EXPECT_EQ(s.low, c.low) << c.n;
    EXPECT_EQ(s.high, c.high) << c.n;
    EXPECT_DOUBLE_EQ(Angle(s.low, s), 0.4) << c.n;
    EXPECT_DOUBLE_EQ(Angle(s.high, s), 1.6) << c.n;
  }
  EXPECT_DOUBLE_EQ(Angle(400, VoltageBand(400)), 1.0) << "straight up at the nominal value";
}

TEST(FixedScales, ClampsAndColours) {
  struct Case {
    int gauge;
    bool temperature, unit12;
    int value, clamped;
    Rating rating;
  };
  const Case cases[] = {
      {3, false, false, 0, 0, Rating::Green},    {3, false, false, 79, 79, Rating::Green},
      {3, false, false, 80, 80, Rating::Yellow}, {3, false, false, 104, 104, Rating::Yellow},
      {3, false, false, 105, 105, Rating::Red},  {3, false, false, 150, 120, Rating::Red},
      {4, false, false, 0, 30, Rating::Red},     {4, false, false, 40, 40, Rating::Red},
      {4, false, false, 41, 41, Rating::Yellow}, {4, false, false, 45, 45, Rating::Yellow},
      {4, false, false, 46, 46, Rating::Green},  {4, false, false, 200, 90, Rating::Green},
      {5, false, true, 0, 30, Rating::Green},    {5, false, false, 0, 30, Rating::Red},
      {5, true, false, 0, 0, Rating::Green},     {5, true, false, 39, 39, Rating::Green},
      {5, true, false, 40, 40, Rating::Yellow},  {5, true, false, 50, 50, Rating::Yellow},
      {5, true, false, 51, 51, Rating::Red},     {5, true, true, 95, 60, Rating::Red},
      {6, false, false, 0, 0, Rating::Red},      {6, false, false, 29, 29, Rating::Red},
      {6, false, false, 30, 30, Rating::Yellow}, {6, false, false, 59, 59, Rating::Yellow},
      {6, false, false, 60, 60, Rating::Green},  {6, false, false, 255, 120, Rating::Green},
  };
  for (const Case& c : cases) {
    const Scale s = FixedScale(c.gauge, c.temperature);
    const int v = ClampToScale(c.value, s);
    EXPECT_EQ(v, c.clamped) << c.gauge << " " << c.value;
    EXPECT_EQ(RateFixed(c.gauge, v, c.temperature, c.unit12), c.rating) << c.gauge << " " << c.value;
    if (v == s.high) {
      EXPECT_DOUBLE_EQ(Angle(v, s), 1.6);
    }
  }
}

TEST(VoltageRating, ExactThresholds) {
  struct Case {
    int gauge, value, n;
    Rating rating;
  };
  const Case cases[] = {
      {1, 69, 100, Rating::Red},    {1, 70, 100, Rating::Green},   {1, 129, 100, Rating::Green},
      {1, 130, 100, Rating::Keep},  {1, 131, 100, Rating::Red},    {2, 69, 100, Rating::Red},
      {2, 70, 100, Rating::Yellow}, {2, 84, 100, Rating::Yellow},  {2, 85, 100, Rating::Green},
      {2, 114, 100, Rating::Green}, {2, 115, 100, Rating::Yellow}, {2, 130, 100, Rating::Yellow},
      {2, 131, 100, Rating::Red},   {2, 196, 230, Rating::Green},  {2, 195, 230, Rating::Yellow},
  };
  for (const Case& c : cases)
    EXPECT_EQ(RateVoltage(c.gauge, c.value, c.n), c.rating) << c.gauge << " " << c.value;
}

TEST(Needle, EndPoints) {
  // 0.4 pi: lower left; pi: straight up; 1.6 pi: lower right; 0.5 pi: left.
  EXPECT_EQ(NeedleEnd(55, -15, 100), (Point{70 - 22, 70 + 7}));
  EXPECT_EQ(NeedleEnd(115, -15, 100), (Point{70, 70 - 23}));
  EXPECT_EQ(NeedleEnd(175, -15, 100), (Point{70 + 22, 70 + 7}));
  EXPECT_EQ(NeedleEnd(65, -15, 100), (Point{70 - 23, 70}));
}

TEST(ScaleLabels, VoltageFormula) {
  auto labels = [](int n) {
    std::string s;
    for (int i = 1; i <= 7; ++i) s += (i > 1 ? " " : "") + VoltageLabel(i, n);
    return s;
  };
  EXPECT_EQ(labels(115), "55 75 95 115 135 155 175");
  EXPECT_EQ(labels(230), "110 150 190 230 270 310 350");
  EXPECT_EQ(labels(347), "227 267 307 347 387 427 467");
  EXPECT_EQ(labels(200), "80 120 160 200 240 280 320");
  EXPECT_EQ(labels(90), "30 50 70 90 110 130 150");
}

class Gauges : public PanelTest {
 protected:
  DataBuffRecord WithInput(int volts) {
    DataBuffRecord r = Live(5);
    r.SetBE16(DataBuffRecord::kInputVoltage, static_cast<std::uint16_t>(volts));
    return r;
  }
};

TEST_F(Gauges, VoltageGaugesOnTheirStops) {
  DataBuffRecord r = WithInput(0);
  r.SetRatedVoltage(0);
  r.SetBE16(DataBuffRecord::kOutputVoltage, 110);  // detects 115
  Start();
  Tick(r);
  EXPECT_EQ(form->NominalIn, 115);
  EXPECT_EQ(form->LastNeedle[1], 55);
  EXPECT_EQ(Readout(1), "0");
  EXPECT_EQ(ReadoutColor(1), kRed);
  r.SetBE16(DataBuffRecord::kInputVoltage, 200);
  Tick(r);
  EXPECT_EQ(form->LastNeedle[1], 175);
  EXPECT_EQ(Readout(1), "200");
  EXPECT_EQ(ReadoutColor(1), kRed);

  // NominalOut 230: both ends of the arc, a value past the stop, and straight up.
  r.SetBE16(DataBuffRecord::kInputVoltage, 230);
  r.SetBE16(DataBuffRecord::kRatedInputVoltage, 230);
  r.SetBE16(DataBuffRecord::kRatedOutputVoltage, 230);
  const std::tuple<int, int, forms::Color> outs[] = {
      {110, 110, kRed}, {350, 350, kRed}, {355, 350, kRed}, {230, 230, kGreen}, {200, 200, kGreen}};
  for (auto [out, needle, colour] : outs) {
    r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(out));
    Tick(r);
    EXPECT_EQ(form->NominalOut, 230);
    EXPECT_EQ(form->LastNeedle[2], needle) << out;
    EXPECT_EQ(Readout(2), std::to_string(out));
    EXPECT_EQ(ReadoutColor(2), colour) << out;
  }
}

// The readouts rate the measured voltage; the needle alone stops at the ends of the arc. Above 346 V the
// arc's ends lie inside 0.7 and 1.3 times the nominal value, so a rated stop would never show red.
TEST_F(Gauges, VoltageColoursRateTheMeasuredValue) {
  struct Case {
    int nominal, volts;
    forms::Color in, out;
    int needle;
  };
  const Case cases[] = {
      {480, 0, kRed, kRed, 360},         {480, 700, kRed, kRed, 600},       {480, 480, kGreen, kGreen, 480},
      {480, 340, kGreen, kYellow, 360},  {400, 279, kRed, kRed, 280},       {400, 280, kGreen, kYellow, 280},
      {400, 521, kRed, kRed, 520},       {348, 460, kRed, kRed, 460},       {300, 400, kRed, kRed, 360},
      {300, 330, kGreen, kGreen, 330},   {115, 0, kRed, kRed, 55},          {115, 200, kRed, kRed, 175},
  };
  Start();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.nominal) + " V nominal, " + std::to_string(c.volts) + " V");
    DataBuffRecord r = WithInput(c.volts);
    r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(c.volts));
    r.SetBE16(DataBuffRecord::kRatedInputVoltage, static_cast<std::uint16_t>(c.nominal));
    r.SetBE16(DataBuffRecord::kRatedOutputVoltage, static_cast<std::uint16_t>(c.nominal));
    Tick(r);
    EXPECT_EQ(ReadoutColor(1), c.in);
    EXPECT_EQ(ReadoutColor(2), c.out);
    EXPECT_EQ(form->LastNeedle[1], c.needle);
    EXPECT_EQ(form->LastNeedle[2], c.needle);
    EXPECT_EQ(Readout(1), std::to_string(c.volts));
  }
}

TEST_F(Gauges, ExactlyThirtyPerCentAboveKeepsGaugeOnesColour) {
  DataBuffRecord r = WithInput(129);
  r.SetBE16(DataBuffRecord::kRatedInputVoltage, 100);
  r.SetBE16(DataBuffRecord::kRatedOutputVoltage, 100);
  r.SetBE16(DataBuffRecord::kOutputVoltage, 130);
  Start();
  Tick(r);
  EXPECT_EQ(ReadoutColor(1), kGreen);
  r.SetBE16(DataBuffRecord::kInputVoltage, 131);
  Tick(r);
  EXPECT_EQ(ReadoutColor(1), kRed);
  r.SetBE16(DataBuffRecord::kInputVoltage, 130);
  Tick(r);
  EXPECT_EQ(ReadoutColor(1), kRed) << "r = 1.3 exactly: the colour stays";
  EXPECT_EQ(ReadoutColor(2), kYellow);
}

// The labels that ScaleLabelSet rewrites, by name in position order, each at its place on the dial.
TEST_F(Gauges, ScaleLabelTablesHoldTheLabelsOfTheirPositions) {
  struct Table {
    const std::array<Label*, 8> TnKORVALmain::*labels;
    int numbers[7];
  };
  const Table tables[] = {{&TnKORVALmain::ScaleLabels1, {1, 2, 3, 4, 5, 6, 7}},
                          {&TnKORVALmain::ScaleLabels2, {8, 11, 12, 16, 17, 18, 19}},
                          {&TnKORVALmain::ScaleLabels5, {36, 37, 38, 39, 40, 41, 42}}};
  const int left[7] = {35, 32, 44, 65, 84, 94, 91}, top[7] = {81, 57, 39, 34, 39, 56, 81};
  Start();
  for (const Table& t : tables) {
    const bool voltage = &t != &tables[2];
    for (std::size_t i = 1; i <= 7; ++i) {
      const Label* label = (form->*t.labels)[i];
      ASSERT_NE(label, nullptr);
      EXPECT_EQ(label->Name(), "Label" + std::to_string(t.numbers[i - 1])) << i;
      EXPECT_EQ(label->Left(), left[i - 1] + (!voltage && i >= 6 ? 2 : 0)) << label->Name();
      EXPECT_EQ(label->Top(), top[i - 1]) << label->Name();
    }
  }
}

TEST_F(Gauges, UnitType12ScalesAndReadouts) {
  DataBuffRecord r = Live(12);
  r.SetBE16(DataBuffRecord::kRatedInputVoltage, 230);  // no detection, which would rewrite the labels
  r.SetBE16(DataBuffRecord::kRatedOutputVoltage, 230);
  r.SetBE16(DataBuffRecord::kOutputVoltage, 60);
  r.SetByte(DataBuffRecord::kOutFreqOrTemp, 0);
  Put(r);
  Start();
  Tick(r);
  EXPECT_EQ(Readout(2), "6.0");
  EXPECT_EQ(form->LastNeedle[2], 60);
  EXPECT_DOUBLE_EQ(Angle(60, VoltageBand(60)), 1.0);
  EXPECT_EQ(ReadoutColor(2), kGreen);
  EXPECT_EQ(ScaleTexts(form->ScaleLabels2), "3.0 4.0 5.0 6.0 7.0 8.0 9.0");
  EXPECT_EQ(ReadoutColor(5), kGreen) << "gauge 5 of unit type 12 is green whatever its value";
  r.SetBE16(DataBuffRecord::kOutputVoltage, 61);
  Tick(r);
  EXPECT_EQ(Readout(2), "6.1");
}

TEST_F(Gauges, Gauge5HalvingMark) {
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kOutFreqOrTemp, 100);
  Start();
  Tick(r);
  EXPECT_EQ(form->LastNeedle[5], 90);
  EXPECT_EQ(ReadoutColor(5), kGreen);
  EXPECT_EQ(Readout(5), "50");
  EXPECT_TRUE(form->Label50->Visible());
  r.SetByte(DataBuffRecord::kOutFreqOrTemp, 90);
  Tick(r);
  EXPECT_EQ(Readout(5), "90");
  EXPECT_FALSE(form->Label50->Visible());

  // Temperature (unit type above 20): the stop at 60, red, halved readout.
  DataBuffRecord t = Live(23);
  t.SetByte(DataBuffRecord::kOutFreqOrTemp, 95);
  Tick(t);
  Tick(t);  // the first read of type 23 switches the scale
  EXPECT_EQ(form->LastNeedle[5], 60);
  EXPECT_EQ(ReadoutColor(5), kRed);
  EXPECT_EQ(Readout(5), "47");
  EXPECT_TRUE(form->Label50->Visible());

  // A value the tick no longer refreshes (unit type 28 and above) is halved again on every tick.
  DataBuffRecord high = Live(5);
  high.SetByte(DataBuffRecord::kOutFreqOrTemp, 250);
  Tick(high);
  EXPECT_EQ(Readout(5), "125");
  DataBuffRecord stale = Live(30);
  Tick(stale);
  EXPECT_EQ(Readout(5), "62");
  Tick(stale);
  EXPECT_EQ(Readout(5), "62");
  EXPECT_FALSE(form->Label50->Visible());
}

TEST_F(Gauges, NeedleIsDrawnOnlyWhenItsClampedValueChanges) {
  Start();
  DataBuffRecord r = Live(5);
  Tick(r);
  const forms::Bitmap first = form->Image3->Picture();
  const int repaints = backend.repaints;
  Tick(r);
  EXPECT_EQ(backend.repaints, repaints) << "an unchanged record repaints nothing";
  r.SetByte(DataBuffRecord::kLoadPercent, 130);
  Tick(r);
  const forms::Bitmap stop = form->Image3->Picture();
  EXPECT_NE(stop, first);
  r.SetByte(DataBuffRecord::kLoadPercent, 200);  // the same stop
  Tick(r);
  EXPECT_EQ(form->Image3->Picture(), stop);
  EXPECT_EQ(Readout(3), "200");
}

TEST_F(Gauges, NeedlePixels) {
  Start();
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kLoadPercent, 60);  // straight up: (70, 47)
  Tick(r);
  const forms::Bitmap& dial = form->Image3->Picture();
  const forms::Color white = forms::Rgb(255, 255, 255),
                     face = backend.GetSystemColor(forms::SystemColor::ButtonFace);
  EXPECT_EQ(dial.Pixel(70, 47), white);
  EXPECT_EQ(dial.Pixel(69, 55), white);
  EXPECT_EQ(dial.Pixel(70, 70), face) << "the hub covers the needle's root";
  EXPECT_EQ(dial.Pixel(80, 47), kDialFace);
  EXPECT_EQ(form->Image22->Picture().Pixel(70, 47), kDialFace) << "the blank face stays blank";
}

TEST_F(Gauges, InputFrequencyFollowsInputVoltage) {
  DataBuffRecord r = Live(23);
  r.SetBE16(DataBuffRecord::kInputVoltage, 0);
  r.SetByte(DataBuffRecord::kInputFrequency, 50);
  Start();
  Tick(r);
  EXPECT_EQ(Readout(4), "0");
  EXPECT_EQ(form->LastNeedle[4], 30);
  EXPECT_EQ(ReadoutColor(4), kRed);
}

}  // namespace
}  // namespace korval::statuspanel::test

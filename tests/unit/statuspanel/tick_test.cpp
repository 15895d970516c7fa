// Start-up, the record read and the 500 ms tick: display states, port message, clock, nominal voltages,
// schedule texts and the pending self-test write.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <limits>

#include "gauges.h"
#include "panel_fixture.h"

namespace korval::statuspanel::test {
namespace {

TEST_F(PanelTest, NoRecordFileResetsEveryTickWhileTheClockRuns) {
  Start();
  system.dateSeparator = '-';
  system.timeSeparator = '.';
  system.now = 46366.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0;  // 2026-12-10 13:05:09
  form->Timer1Timer();
  EXPECT_EQ(form->Label25->Caption(), "13 . 05 . 09");
  EXPECT_EQ(form->Label24->Caption(), "2026-12-10");
  for (int g = 1; g <= 6; ++g) EXPECT_EQ(Readout(g), "0") << g;
  EXPECT_EQ(ReadoutColor(1), kRed);    // on the low stop of the 115 V band
  EXPECT_EQ(ReadoutColor(3), kGreen);  // load 0
  EXPECT_EQ(ReadoutColor(6), kRed);    // battery 0
  EXPECT_EQ(form->Label13->Caption(), "NULL");
  EXPECT_EQ(form->Label14->Caption(), "");
  EXPECT_EQ(form->Label9->Caption(), "NULL");
  EXPECT_FALSE(form->StaticText11->Visible());
  std::string zeros;
  for (int i = 0; i < 17; ++i) zeros += "0 ";
  EXPECT_EQ(form->Label15->Caption(), zeros);
  EXPECT_FALSE(form->Label15->Visible());
  EXPECT_FALSE(app->ErrorReportOpen());
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(PanelTest, ThreeDisplayStates) {
  Start();
  DataBuffRecord live = Live(22);
  live.SetBE16(DataBuffRecord::kInputVoltage, 231);
  live.SetByte(DataBuffRecord::kLoadPercent, 90);
  live.SetByte(DataBuffRecord::kStatusBitsA, 0x01);  // line failure
  Tick(live);
  EXPECT_EQ(Readout(1), "231");
  EXPECT_EQ(Readout(3), "90");
  EXPECT_EQ(ReadoutColor(3), kYellow);
  EXPECT_TRUE(form->Image13->Visible());
  EXPECT_FALSE(form->Image8->Visible());

  // Frozen: DataValid 2..255 with a unit type leaves everything as it was shown.
  DataBuffRecord frozen = live;
  frozen.SetByte(DataBuffRecord::kDataValid, 3);
  frozen.SetBE16(DataBuffRecord::kInputVoltage, 100);
  frozen.SetByte(DataBuffRecord::kStatusBitsA, 0);
  Tick(frozen);
  EXPECT_EQ(Readout(1), "231");
  EXPECT_EQ(ReadoutColor(3), kYellow);
  EXPECT_FALSE(form->Image8->Visible());

  // No data: DataValid 0, or DataValid 1 with unit type 0.
  for (auto [valid, unit] : {std::pair{0, 22}, std::pair{1, 0}}) {
    Tick(live);
    DataBuffRecord none = live;
    none.SetByte(DataBuffRecord::kDataValid, static_cast<std::uint8_t>(valid));
    none.SetByte(DataBuffRecord::kUnitType, static_cast<std::uint8_t>(unit));
    Tick(none);
    EXPECT_EQ(Readout(1), "0") << valid << "/" << unit;
    EXPECT_EQ(Readout(3), "0");
    EXPECT_TRUE(form->Image8->Visible());
    EXPECT_EQ(form->State->LineFail, 0);
  }
}

TEST_F(PanelTest, PortMessageFollowsPortState) {
  Start();  // PortText1 and PortText2 are Dis27 and Dis28 of the language file
  DataBuffRecord r = Live(5);
  const std::pair<int, const char*> cases[] = {
      {1, "Cannot open the COM port!"}, {2, "No response from the UPS!"}, {3, nullptr}, {0, nullptr}};
  for (auto [state, text] : cases) {
    r.SetByte(DataBuffRecord::kPortState, static_cast<std::uint8_t>(state));
    Tick(r);
    EXPECT_EQ(form->StaticText11->Visible(), text != nullptr) << state;
    if (text) {
      EXPECT_EQ(form->StaticText11->Caption(), text);
    }
  }
}

TEST_F(PanelTest, NominalValueDetectedFromTheOutputVoltage) {
  Start();
  const std::pair<int, int> cases[] = {{165, 115}, {166, 230}, {300, 230}, {301, 347}};
  for (auto [out, nominal] : cases) {
    DataBuffRecord r = Live(5);
    r.SetRatedVoltage(0);
    r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(out));
    Tick(r);
    EXPECT_EQ(form->NominalIn, nominal) << out;
    EXPECT_EQ(form->NominalOut, nominal) << out;
    EXPECT_EQ(form->ScaleLabels1[4]->Caption(), std::to_string(nominal));
    EXPECT_EQ(form->ScaleLabels2[4]->Caption(), std::to_string(nominal));
  }
}

// How the record read and the tick's detection meet when the rated input/output fields are not usable.
TEST_F(PanelTest, NominalRulesAndTheirInterplay) {
  struct Case {
    int rated, out, ticks;
    int nominal;
    int captionLoads;  // after start-up and the ticks
    const char* labels;
  };
  const Case cases[] = {
      {348, 230, 3, 348, 2, "228 268 308 348 388 428 468"},  // no detection: RatedVoltage stands
      {347, 230, 3, 230, 2, "110 150 190 230 270 310 350"},  // still detected; no reload from a tick
      {230, 230, 3, 230, 2, "110 150 190 230 270 310 350"},  // one reload at the first read
      {200, 230, 3, 230, 2, "110 150 190 230 270 310 350"},  // no reload from a tick: nothing would change
      {0, 230, 3, 230, 1, "110 150 190 230 270 310 350"},    // no reload; detection on every tick
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.rated);
    DataBuffRecord r = Live(1);  // unit type 1: no reload for a new unit type
    r.SetRatedVoltage(static_cast<std::uint16_t>(c.rated));
    r.SetBE16(DataBuffRecord::kOutputVoltage, static_cast<std::uint16_t>(c.out));
    Put(r);
    Start();
    for (int i = 0; i < c.ticks; ++i) Tick(r);
    EXPECT_EQ(form->NominalIn, c.nominal);
    EXPECT_EQ(form->NominalOut, c.nominal);
    EXPECT_EQ(form->captionLoads, c.captionLoads);
    EXPECT_EQ(ScaleTexts(form->ScaleLabels1), c.labels);
    EXPECT_EQ(ScaleTexts(form->ScaleLabels2), c.labels);
  }
}

TEST_F(PanelTest, RatedInputAndOutputFields) {
  DataBuffRecord r = Live(1);
  r.SetBE16(DataBuffRecord::kRatedInputVoltage, 220);
  r.SetBE16(DataBuffRecord::kRatedOutputVoltage, 230);
  Put(r);
  Start();
  for (int i = 0; i < 3; ++i) Tick(r);
  EXPECT_EQ(form->NominalIn, 220);
  EXPECT_EQ(form->NominalOut, 230);
  EXPECT_EQ(form->captionLoads, 2);  // the first read, then the start-up's own
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "100 140 180 220 260 300 340");
  EXPECT_EQ(ScaleTexts(form->ScaleLabels2), "110 150 190 230 270 310 350");

  // A low byte of zero (256) makes both fields unusable: RatedVoltage and detection apply.
  r.SetBE16(DataBuffRecord::kRatedOutputVoltage, 256);
  r.SetRatedVoltage(348);
  Tick(r);
  EXPECT_EQ(form->NominalIn, 348);
  EXPECT_EQ(form->NominalOut, 348);
}

TEST_F(PanelTest, RatedVoltageBelow100BecomesThe115OfTheGauges) {
  DataBuffRecord r;  // no live data: the tick does not detect
  r.SetByte(DataBuffRecord::kUnitType, 1);
  r.SetRatedVoltage(90);
  Put(r);
  Start();
  EXPECT_EQ(form->RecordImage.RatedVoltage(), 115);  // in memory only, until the next read
  EXPECT_EQ(data.Read("DATABuff.REC")[64], 90);
  form->Timer1Timer();
  EXPECT_EQ(form->NominalIn, 90);
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "30 50 70 90 110 130 150");
  EXPECT_EQ(form->LastNeedle[1], 55);  // the needle uses the 115 V band
}

TEST_F(PanelTest, UnitTypeChanges) {
  Start();
  EXPECT_FALSE(form->BitBtn7->Visible());
  EXPECT_FALSE(form->unitprep1->Visible());
  Tick(Live(1));
  const int loads = form->captionLoads;
  Tick(Live(23));
  EXPECT_EQ(form->captionLoads, loads + 1);
  EXPECT_FALSE(form->BitBtn7->Visible()) << "the offer follows one read later";
  Tick(Live(23));
  EXPECT_TRUE(form->BitBtn7->Visible());
  EXPECT_TRUE(form->unitprep1->Visible());
  EXPECT_EQ(ScaleTexts(form->ScaleLabels5), "0 10 20 30 40 50 60");

  // Type 30 after type 5: the last values and lamps stay; one reload for the new type.
  DataBuffRecord five = Live(5);
  five.SetByte(DataBuffRecord::kStatusBitsB, 0x02);  // bad battery
  Tick(five);
  EXPECT_EQ(ScaleTexts(form->ScaleLabels5), "30 40 50 60 70 80 90");
  DataBuffRecord thirty = Live(30);
  thirty.SetBE16(DataBuffRecord::kInputVoltage, 100);
  const int before = form->captionLoads;
  Tick(thirty);
  Tick(thirty);
  EXPECT_EQ(form->captionLoads, before + 1);
  EXPECT_EQ(form->ShownUnitType, 30);
  EXPECT_EQ(Readout(1), "230");
  EXPECT_TRUE(form->Image19->Visible());
}

// The unit type picks the decoder at the tick (1..20 status block, 21..27 extended status, 28 and up none)
// and, one read later, whether UPS Setup is offered (22..27).
TEST_F(PanelTest, UnitTypeBoundariesOfTheDecodersAndTheSetupOffer) {
  const struct {
    int unit;
    int avrMode;  // A bit 3 set and mode bits 0: AVR under the status block, on-line under extended status
    const char* input;
    bool offer;
  } cases[] = {
      {1, 1, "210", false},  {20, 1, "210", false}, {21, 2, "210", false},
      {22, 2, "210", true},  {27, 2, "210", true},  {28, 0, "230", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.unit);
    Start();
    Tick(Live(5));  // flags all 0, input 230
    DataBuffRecord r = Live(c.unit);
    r.SetByte(DataBuffRecord::kStatusBitsA, 0x08);
    r.SetByte(DataBuffRecord::kModeBits, 0x00);
    r.SetBE16(DataBuffRecord::kInputVoltage, 210);
    Tick(r);
    Tick(r);
    EXPECT_EQ(form->State->AvrMode, c.avrMode);
    EXPECT_EQ(Readout(1), c.input);
    EXPECT_EQ(form->BitBtn7->Visible(), c.offer);
    EXPECT_EQ(form->unitprep1->Visible(), c.offer);
  }
}

TEST_F(PanelTest, StatusBlockValidOnlyGatesTheFlags) {
  Start();
  DataBuffRecord r = Live(5);
  r.SetByte(DataBuffRecord::kStatusBlockValid, 0);
  r.SetByte(DataBuffRecord::kStatusBitsA, 0xFF);
  r.SetByte(DataBuffRecord::kStatusBitsB, 0xFF);
  r.SetBE16(DataBuffRecord::kInputVoltage, 0);
  Tick(r);
  const Tstate& s = *form->State;
  EXPECT_EQ(s.LineFail + s.BatteryLow + s.AvrMode + s.UpsFault + s.UpsTest + s.UpsOff + s.Overload +
                s.BatteryBad + s.Boost,
            0);
  EXPECT_EQ(Readout(2), "230");
  EXPECT_EQ(Readout(4), "0") << "no input voltage, no input frequency";
  EXPECT_EQ(form->GaugeValues[4], 0);
}

TEST_F(PanelTest, ScheduleTexts) {
  Start();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    int index;
    double at, next;
    const char *date13, *time14, *date9, *time10;
  };
  const Case cases[] = {
      {2, 46366.9375, 46367.5, "2026/12/10", "22 : 30", "2026/12/11", "12 : 00"},
      {2, 99999.0, 65530.0, "NULL", "", "NULL", ""},
      {2, 99998.5, 0.0, "2173/10/12", "12 : 00", "NULL", ""},
      {2, -1.0, -5.0, "NULL", "", "NULL", ""},
      {2, nan, nan, "NULL", "", "NULL", ""},
      {10, 46366.9375, 46367.5, "2026/12/10", "22 : 30", "2026/12/11", "12 : 00"},
      {11, 46366.9375, 46367.5, "NULL", "", "NULL", ""},  // no entry 11 in the record
      {255, 46366.9375, 46367.5, "NULL", "", "NULL", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.index);
    DataBuffRecord r;  // whatever DataValid says
    r.SetByte(DataBuffRecord::kScheduleIndex, static_cast<std::uint8_t>(c.index));
    const int entry = c.index <= 10 ? c.index : 10;
    r.SetScheduleAt(entry, c.at);
    r.SetUpsNextAt(entry, c.next);
    Tick(r);
    EXPECT_EQ(form->Label13->Caption(), c.date13);
    EXPECT_EQ(form->Label14->Caption(), c.time14);
    EXPECT_EQ(form->Label9->Caption(), c.date9);
    EXPECT_EQ(form->Label10->Caption(), c.time10);
  }
}

TEST_F(PanelTest, PendingSelfTestIsWrittenOnceByTheNextTick) {
  Start();
  Label flag(*form, form, "Label1");
  flag.SetCaption("1");
  form->SelfTestRequestFlag = &flag;
  DataBuffRecord r = Live(22);
  r.SetByte(100, 0x5A);  // a reserved byte, carried back as read
  Tick(r);
  EXPECT_EQ(flag.Caption(), "0");
  std::string file = data.Read("DATABuff.REC");
  ASSERT_EQ(file.size(), 296u);
  EXPECT_EQ(file[59], 3);
  EXPECT_EQ(file[100], 0x5A);
  Tick(r);  // the monitor took the command: nothing more is written
  EXPECT_EQ(data.Read("DATABuff.REC")[59], 0);

  // Without a record file the request is used up and nothing is created.
  flag.SetCaption("1");
  std::remove(data.File("DATABuff.REC").c_str());
  form->Timer1Timer();
  EXPECT_EQ(flag.Caption(), "0");
  EXPECT_FALSE(data.Has("DATABuff.REC"));
}

TEST_F(PanelTest, StartUpArrangesTheLayout) {
  Start();
  EXPECT_EQ(form->BitBtns[1]->Top(), 25);
  EXPECT_EQ(form->BitBtns[7]->Left(), 524);
  EXPECT_EQ(form->Labels[5]->Left(), 84);
  EXPECT_EQ(form->Labels[17]->Left(), 84);
  EXPECT_EQ(form->StaticTexts[2]->Bounds(), (forms::Rect{210, 253, 137, 18}));
  EXPECT_EQ(form->StaticTexts[5]->Bounds(), (forms::Rect{200, 430, 151, 18}));
  EXPECT_EQ(form->StaticTexts[12]->Top(), 342);
  EXPECT_EQ(form->Label10->Width(), 67);
  EXPECT_EQ(form->ReadoutPanel(5)->BoundsInForm(), (forms::Rect{251, 389, 46, 22}));
  // Before the first tick the top pictures of the three lamps are Normal, Utility Normal and UPS OK.
  for (Image* shown : {form->Image7, form->Image23, form->Image8, form->Image9})
    EXPECT_TRUE(shown->Visible());
  for (Image* hidden : {form->Image10, form->Image11, form->Image12, form->Image13, form->Image14,
                        form->Image15, form->Image16, form->Image17, form->Image18, form->Image19})
    EXPECT_FALSE(hidden->Visible());
  EXPECT_EQ(ScaleTexts(form->ScaleLabels1), "55 75 95 115 135 155 175");
}

TEST_F(PanelTest, HooksReloadCaptionsOnTheRequestAndCloseOnMinimise) {
  Start();
  ASSERT_TRUE(app->OnMessage);
  const int loads = form->captionLoads;
  app->OnMessage(forms::Message{1046, 22, 0, nullptr});
  app->OnMessage(forms::Message{1045, 22, 22, nullptr});
  EXPECT_EQ(form->captionLoads, loads);
  app->OnMessage(forms::Message{1046, 22, 22, nullptr});
  EXPECT_EQ(form->captionLoads, loads + 1);
  ASSERT_TRUE(app->OnMinimize);
  app->OnMinimize();
  EXPECT_TRUE(backend.mainFormClosed);
}

// A UserPath.dat that exists but cannot be read stops the start-up at its first step: the error is
// reported once and the ticks, which would need the flags and tables, do nothing.
TEST_F(PanelTest, FailedStartUpLeavesNoTickRunning) {
  std::remove(program.File("UserPath.dat").c_str());
  std::filesystem::create_directory(program.File("UserPath.dat"));
  Start();
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_NE(backend.boxes[0].text.find("Cannot open file"), std::string::npos);
  EXPECT_EQ(backend.boxes[0].caption, "");  // the application title is set by the program start
  EXPECT_FALSE(form->State);
  EXPECT_FALSE(app->OnMinimize) << "the hooks come after the first read";
  form->Timer1Timer();
  form->Timer1Timer();
  EXPECT_EQ(form->Label25->Caption(), " ");
  EXPECT_EQ(form->BitBtns[1]->Top(), 19) << "the layout of the window data stays";
  EXPECT_EQ(backend.boxes.size(), 1u);
}

}  // namespace
}  // namespace korval::statuspanel::test

// Start-up, the record read and the 500 ms tick of the status window; its lamps and gauges.
#include "main_form.h"

#include <cmath>
#include <string>

#include "datetime.h"
#include "folders.h"
#include "gauges.h"

namespace korval::statuspanel {

namespace {

constexpr int kDiagnosticFirst = 2, kDiagnosticLast = 18;

}  // namespace

void TnKORVALmain::FormCreate() {
  forms::System& system = App().GetSystem();
  ProgramDir = system.ProgramDir();
  DataDir = ReadDataDir(ProgramDir);
  State = std::make_unique<Tstate>();
  NominalIn = 115;
  NominalOut = 115;
  ShownUnitType = 1;
  ImageSet();
  BuildScaleLabelTables();
  ReadData();
  App().OnMinimize = [this] { AppMinimize(); };
  App().OnMessage = [this](const forms::Message& m) { AppMessage(m); };
  CaptionSet();
  LastNeedle.fill(-10);
  ArrangeLayout();
}

void TnKORVALmain::AppMinimize() { Close(); }

void TnKORVALmain::ReadData() {
  ReadRecordImage(DataDir, RecordImage);
  RecordAsRead = RecordImage;
  const bool offerSetup = ShownUnitType >= 22 && ShownUnitType <= 27;
  BitBtn7->SetVisible(offerSetup);
  unitprep1->SetVisible(offerSetup);
  // A load that an earlier tick could not make (the settings file was held) is made now.
  bool due = ticking_ && captionsDue_;
  if (RecordImage.UnitType() != ShownUnitType) {
    ShownUnitType = RecordImage.UnitType();
    CaptionSet();
    due = false;
  }
  if (RecordImage.RatedFieldsUsable()) {
    const std::int32_t a = RecordImage.RatedInputVoltage(), b = RecordImage.RatedOutputVoltage();
    if (a != NominalIn || b != NominalOut) {
      NominalIn = a;
      NominalOut = b;
      if (a > 0 && b > 0 && NominalRead()) due = false;
    }
  } else {
    const std::int32_t r = RecordImage.RatedVoltage();
    if (r != NominalIn || r != NominalOut) {
      NominalIn = r;
      NominalOut = r;
      if (r > 0 && NominalRead()) due = false;
    }
  }
  if (due) CaptionSet();
  std::string line;
  for (int i = kDiagnosticFirst; i <= kDiagnosticLast; ++i)
    line += std::to_string(RecordImage.Byte(static_cast<std::size_t>(i))) + " ";
  Label15->SetCaption(line);
}

// New nominal values from the read. A tick loads the captions again only when they differ from those of the
// last load: a unit whose rated voltage (1..347) is not the detected value gets the rated value from every
// read and the detected one from every tick, and loading the settings and the language file twice a second
// would change nothing. Such a tick only brings what the load would set from these values up to date: the
// scale labels (unless the tick's detection writes them) and the 115 of a rated voltage below 100. True when
// the captions were loaded.
bool TnKORVALmain::NominalRead() {
  if (!ticking_ || NominalIn != loadedNominalIn_ || NominalOut != loadedNominalOut_) {
    CaptionSet();
    return true;
  }
  KeepRatedVoltageShown();
  labelsDue_ = true;
  return false;
}

void TnKORVALmain::SetVoltageScaleLabels() {
  for (int i = 1; i <= 7; ++i) {
    ScaleLabels1[static_cast<std::size_t>(i)]->SetCaption(VoltageLabel(i, NominalIn));
    ScaleLabels2[static_cast<std::size_t>(i)]->SetCaption(VoltageLabel(i, NominalOut));
  }
}

void TnKORVALmain::Timer1Timer() {
  // A start-up that failed before the flags and tables existed leaves nothing for the tick to work on.
  if (!ReadyToTick()) return;
  // Caption loads from here on pass over a settings file that cannot be opened (see CaptionSet).
  struct Ticking {
    bool& flag;
    const bool before;
    explicit Ticking(bool& f) : flag(f), before(f) { flag = true; }
    ~Ticking() { flag = before; }
  } ticking(ticking_);
  labelsDue_ = false;
  forms::System& system = App().GetSystem();
  const double now = system.Now();
  const char dateSep = system.DateSeparator(), timeSep = system.TimeSeparator();
  Label25->SetCaption(FormatTimeHMS(now, timeSep));
  Label24->SetCaption(FormatDate(now, dateSep));

  ReadData();

  const std::uint8_t port = RecordImage.PortState();
  if (port == 1 || port == 2) {
    StaticText11->SetCaption(port == 1 ? PortText1 : PortText2);
    StaticText11->SetVisible(true);
  } else {
    StaticText11->SetVisible(false);
  }

  const std::uint8_t valid = RecordImage.DataValid(), unit = RecordImage.UnitType();
  if (valid == 0 || unit == 0) {
    ResetDisplay();
  } else if (valid == 1) {
    if (RecordImage.RatedFieldsUsable()) {
      NominalIn = RecordImage.RatedInputVoltage();
      NominalOut = RecordImage.RatedOutputVoltage();
    } else if (RecordImage.RatedVoltage() <= 347) {
      NominalIn = DetectNominal(RecordImage.OutputVoltage());
      if (NominalOut != NominalIn) {
        NominalOut = NominalIn;
        SetVoltageScaleLabels();
        labelsDue_ = false;
      }
    }
    if (unit <= 20) {
      StatusBlock block{};
      if (RecordImage.StatusBlockValid() == 1)
        for (std::size_t i = 0; i < block.size(); ++i)
          block[i] = RecordImage.Byte(DataBuffRecord::kStatusBlock + i);
      DecodeStatusBits(block, *State);
      GaugeValues[1] = RecordImage.InputVoltage();
      GaugeValues[2] = RecordImage.OutputVoltage();
      GaugeValues[3] = RecordImage.LoadPercent();
      GaugeValues[4] = RecordImage.InputFrequency();
      GaugeValues[5] = RecordImage.OutFreqOrTemp();
      GaugeValues[6] = RecordImage.BatteryPercent();
      if (GaugeValues[1] == 0) GaugeValues[4] = 0;
    } else if (unit <= 27) {
      DecodeSmartStatus(RecordImage, *State, GaugeValues);
    }
    ShowValues();
  }
  if (labelsDue_) ScaleLabelSet();

  // Only entries 0..10 lie inside the record; any other index shows no time.
  const int index = RecordImage.ScheduleIndex();
  const bool entry = DataBuffRecord::ScheduleEntryExists(index);
  const double at = entry ? RecordImage.ScheduleAt(index) : std::nan("");
  const double next = entry ? RecordImage.UpsNextAt(index) : std::nan("");
  if (at > 0 && at < 99999.0) {
    Label13->SetCaption(FormatDate(at, dateSep));
    Label14->SetCaption(FormatTimeHM(at, timeSep));
  } else {
    Label13->SetCaption("NULL");
    Label14->SetCaption("");
  }
  if (next > 0 && next < 65530.0) {
    Label9->SetCaption(FormatDate(next, dateSep));
    Label10->SetCaption(FormatTimeHM(next, timeSep));
  } else {
    Label9->SetCaption("NULL");
    Label10->SetCaption("");
  }

  if (SelfTestRequestFlag && SelfTestRequestFlag->Caption() == "1") {
    SelfTestRequestFlag->SetCaption("0");
    SendSelfTestCommand();
  }
}

void TnKORVALmain::SendSelfTestCommand() {
  RecordImage.SetByte(DataBuffRecord::kTestCommand, 3);
  RecordAsRead.SetByte(DataBuffRecord::kTestCommand, 3);
  WriteRecordImage(DataDir, RecordAsRead);
}

void TnKORVALmain::ShowStatusImages() {
  const Tstate& s = *State;
  switch (s.AvrMode) {
    case 0:
      Image7->SetVisible(true);
      break;
    case 1:
      Image7->SetVisible(false);
      Image12->SetVisible(false);
      Image23->SetVisible(false);
      Image10->SetVisible(s.Boost == 1);
      Image11->SetVisible(s.Boost != 1);
      break;
    case 2:
      Image7->SetVisible(false);
      Image10->SetVisible(false);
      Image11->SetVisible(false);
      Image12->SetVisible(true);
      Image23->SetVisible(false);
      break;
    case 3:
      Image7->SetVisible(false);
      Image10->SetVisible(false);
      Image11->SetVisible(false);
      Image12->SetVisible(false);
      Image23->SetVisible(true);
      break;
    default:
      break;
  }
  if (s.LineFail == 0 || s.UpsTest == 1) Image8->SetVisible(true);
  if (s.LineFail == 1 && s.UpsTest == 0 && s.BatteryLow == 0) {
    Image8->SetVisible(false);
    Image14->SetVisible(false);
    Image13->SetVisible(true);
  }
  if (s.LineFail == 1 && s.BatteryLow == 1) {
    Image8->SetVisible(false);
    Image13->SetVisible(false);
    Image14->SetVisible(true);
  }
  Image* const problems[5] = {Image15, Image16, Image17, Image18, Image19};
  const std::uint8_t flags[5] = {s.UpsTest, s.UpsFault, s.UpsOff, s.Overload, s.BatteryBad};
  bool any = false;
  for (int i = 0; i < 5; ++i) {
    if (flags[i] != 1) continue;
    any = true;
    Image9->SetVisible(false);
    for (int j = 0; j < 5; ++j) problems[j]->SetVisible(j == i);
  }
  if (!any) Image9->SetVisible(true);
}

void TnKORVALmain::ResetDisplay() {
  for (int g = 1; g <= 6; ++g) {
    std::int32_t zero = 0;
    DrawFront(g, zero);
  }
  for (int g = 1; g <= 6; ++g) ReadoutPanel(g)->SetCaption("0");
  *State = Tstate{};
  ShowStatusImages();
}

void TnKORVALmain::ImageSet() {
  Image* dials[7] = {nullptr, Image1, Image2, Image3, Image4, Image5, Image6};
  for (std::size_t g = 1; g <= 6; ++g) GaugeImages[g] = dials[g];
}

void TnKORVALmain::DrawFront(int gauge, std::int32_t& value) {
  Scale scale;
  Rating rating;
  if (gauge <= 2) {
    int n = gauge == 1 ? NominalIn : NominalOut;
    if (n < 100) n = 115;
    if (gauge == 2 && RecordImage.UnitType() == 12) n = 60;
    scale = VoltageBand(n);
    // The measured value is rated; only the needle is held to the arc. Some stops lie inside the red limits
    // (the top one from 277 V, both from 400 V), where a clamped value would never show red.
    rating = RateVoltage(gauge, value, n);
    value = ClampToScale(value, scale);
  } else {
    const bool temperature = gauge == 5 && ShownUnitType > 20;
    scale = FixedScale(gauge, temperature);
    value = ClampToScale(value, scale);
    rating = RateFixed(gauge, value, temperature, RecordImage.UnitType() == 12);
  }
  if (rating != Rating::Keep) ReadoutPanel(gauge)->SetColor(RatingColor(rating));
  if (LastNeedle[static_cast<std::size_t>(gauge)] != value) {
    DrawPoint(gauge, value, scale.offset, scale.span);
    LastNeedle[static_cast<std::size_t>(gauge)] = value;
  }
}

void TnKORVALmain::DrawPoint(int gauge, int value, int offset, int span) {
  forms::Bitmap scratch = Image22->Picture();
  forms::Canvas canvas(scratch);
  canvas.SetPen(forms::Rgb(255, 255, 255), 2);
  const Point end = NeedleEnd(value, offset, span);
  canvas.MoveTo(69, 69);
  canvas.LineTo(end.x, end.y);
  const forms::Color face = App().GetBackend().GetSystemColor(forms::SystemColor::ButtonFace);
  canvas.SetBrush(face);
  canvas.SetPen(face, 2);
  canvas.Ellipse(67, 67, 73, 73);
  Image21->SetPicture(std::move(scratch));
  GaugeImages[static_cast<std::size_t>(gauge)]->SetPicture(Image21->Picture());
}

void TnKORVALmain::ShowValues() {
  if (RecordImage.DataValid() != 1) {
    ResetDisplay();
    return;
  }
  if (GaugeValues[1] == 0) GaugeValues[4] = 0;
  for (int g = 1; g <= 6; ++g) {
    std::int32_t copy = GaugeValues[static_cast<std::size_t>(g)];
    DrawFront(g, copy);
    std::string text;
    if (g == 2 && RecordImage.UnitType() == 12) {
      const std::int32_t v = GaugeValues[2];
      text = std::to_string(v / 10) + "." + std::to_string(std::abs(v % 10));
    } else if (g == 5) {
      if (GaugeValues[5] > 90) {
        GaugeValues[5] /= 2;
        Label50->SetVisible(true);
      } else {
        Label50->SetVisible(false);
      }
      text = std::to_string(GaugeValues[5]);
    } else {
      text = std::to_string(GaugeValues[static_cast<std::size_t>(g)]);
    }
    ReadoutPanel(g)->SetCaption(text);
  }
  ShowStatusImages();
}

void TnKORVALmain::ScaleLabelSet() {
  SetVoltageScaleLabels();
  if (RecordImage.UnitType() == 12)
    for (int i = 1; i <= 7; ++i)
      ScaleLabels2[static_cast<std::size_t>(i)]->SetCaption(std::to_string(i + 2) + ".0");
  for (int i = 1; i <= 7; ++i)
    ScaleLabels5[static_cast<std::size_t>(i)]->SetCaption(
        std::to_string(ShownUnitType <= 20 ? 10 * i + 20 : 10 * i - 10));
}

}  // namespace korval::statuspanel

// The window layout of the status window: every control with its place, size, font, colour, text and
// visibility as the window is loaded, and ArrangeLayout, which puts the controls on their final places.
#include <algorithm>
#include <array>
#include <cctype>
#include <iterator>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "gauges.h"
#include "main_form.h"

namespace korval::statuspanel {

namespace {

using forms::Alignment;
using forms::Bevel;
using forms::BorderStyle;
using forms::Rgb;

const forms::Color kPlateGrey = Rgb(204, 204, 204);
const forms::Color kBlue = Rgb(0, 0, 255);
const forms::Color kNavy = Rgb(0, 0, 128);
const forms::Color kOlive = Rgb(128, 128, 0);
const forms::Color kFuchsia = Rgb(255, 0, 255);

struct Place {
  int left, top;
};

// Gauge panels, their dial pictures, readouts and scale labels (positions 1..7).
struct GaugeLayout {
  int panel;
  Place at;
  int labels[7];
  const char* texts[7];
};
const GaugeLayout kGauges[6] = {
    {7, {32, 106}, {1, 2, 3, 4, 5, 6, 7}, {"55", "75", "95", "115", "135", "155", "175"}},
    {8, {203, 107}, {8, 11, 12, 16, 17, 18, 19}, {"55", "75", "95", "115", "135", "155", "175"}},
    {9, {374, 106}, {21, 20, 22, 23, 26, 27, 28}, {"0", "20", "40", "60", "80", "100", "120"}},
    {10, {32, 285}, {30, 29, 31, 32, 33, 34, 35}, {"30", "40", "50", "60", "70", "80", "90"}},
    {11, {203, 285}, {36, 37, 38, 39, 40, 41, 42}, {"0", "10", "20", "30", "40", "50", "60"}},
    {12, {373, 285}, {43, 44, 45, 46, 47, 48, 49}, {"0", "20", "40", "60", "80", "100", "120"}},
};
const Place kVoltageLabelPlaces[7] = {{35, 81}, {32, 57}, {44, 39}, {65, 34}, {84, 39}, {94, 56}, {91, 81}};
const Place kFixedLabelPlaces[7] = {{35, 81}, {32, 57}, {44, 39}, {65, 34}, {84, 39}, {96, 56}, {93, 81}};
const Place kReadoutPlace{48, 104};

struct TextLayout {
  int number;
  Place at;
  int width, height;
  const char* text;
};
const TextLayout kGaugeTitles[6] = {
    {1, {50, 253}, 120, 18, "I/P Voltage  [V]"},  {2, {210, 253}, 137, 18, "O/P Voltage  [V]"},
    {3, {370, 253}, 162, 18, "Load Level  [%]"},  {4, {52, 430}, 122, 18, "I/P Frequency  [HZ]"},
    {5, {200, 430}, 151, 18, "Temperature  [C]"}, {6, {370, 430}, 162, 18, "Battery Level  [%]"},
};
const TextLayout kColumnTitles[5] = {
    {7, {520, 83}, 91, 15, "AVR Mode"},   {8, {520, 147}, 91, 15, "Line State"},
    {9, {520, 218}, 91, 13, "UPS State"}, {10, {520, 286}, 91, 15, "Schedule"},
    {12, {520, 342}, 91, 15, "Ups Next"},
};

// The toolbar, left to right: the self-test button and the siblings' buttons.
struct ButtonLayout {
  int number, left;
  const char* hint;
};
std::vector<ButtonLayout> Toolbar() {
  std::vector<ButtonLayout> buttons{{kSelfTestButton, kSelfTestButtonLeft, ""}};
  for (const SiblingProgram& s : kSiblingPrograms) buttons.push_back({s.button, s.buttonLeft, s.buttonHint});
  std::stable_sort(buttons.begin(), buttons.end(),
                   [](const ButtonLayout& a, const ButtonLayout& b) { return a.left < b.left; });
  return buttons;
}
constexpr int kButtonTop = 25;

const Place kAvrLamp{536, 99}, kLineLamp{536, 162}, kUnitLamp{536, 231};

struct ScheduleLayout {
  int number;
  Place at;
  int width, height;
};
const ScheduleLayout kScheduleLabels[4] = {
    {13, {540, 305}, 67, 15}, {14, {540, 320}, 67, 17}, {9, {541, 368}, 67, 15}, {10, {541, 383}, 67, 14}};
const Place kClockPlace{539, 401}, kDatePlace{538, 414};
const Place kScrewPanelPlace{30, 100};

}  // namespace

TnKORVALmain::TnKORVALmain(forms::Application& app) : Form(app, "TnKORVALmain", "nKORVALmain") {
  BuildLayout();
  OnCreate = [this] { FormCreate(); };
}

void TnKORVALmain::BuildLayout() {
  SetCaption("KORVAL Plus for Windows V2.86");
  SetClientSize(640, 479);
  SetFixedSingle(true);
  SetCentered(true);
  SetKeyPreview(true);
  SetColor(kPlateGrey);
  SetFont(forms::Font{"MS Sans Serif", 11, false, Rgb(0, 0, 0)});

  Image20 = Add<Image>(this, "Image20");
  Image20->SetBounds(0, 0, 640, 479);
  Image20->SetStretch(true);
  Image20->LoadPicture("IMAGE20");

  // The lamp pictures, bottom of each stack first.
  struct Lamp {
    Image** member;
    const char* name;
    Place at;
    int height;
    const char* hint;
    bool visible;
  };
  const Lamp lamps[] = {
      {&Image10, "Image10", kAvrLamp, 46, "Boost", false},
      {&Image11, "Image11", kAvrLamp, 46, "Buck", false},
      {&Image12, "Image12", kAvrLamp, 46, "On Line", false},
      {&Image13, "Image13", kLineLamp, 54, "Line fail", false},
      {&Image14, "Image14", kLineLamp, 54, "Low Bat", false},
      {&Image15, "Image15", kUnitLamp, 54, "UPS Test", false},
      {&Image16, "Image16", kUnitLamp, 54, "UPS Fault", false},
      {&Image17, "Image17", kUnitLamp, 54, "UPS OFF", false},
      {&Image18, "Image18", kUnitLamp, 54, "Over Load", false},
      {&Image19, "Image19", kUnitLamp, 54, "Bat Bad", false},
      {&Image8, "Image8", kLineLamp, 54, "Utility Normal", true},
      {&Image9, "Image9", kUnitLamp, 54, "UPS OK", true},
      {&Image23, "Image23", kAvrLamp, 46, "Bypass", true},
      {&Image7, "Image7", kAvrLamp, 46, "Normal", true},
  };
  for (const Lamp& l : lamps) {
    Image* image = Add<Image>(this, l.name);
    image->SetBounds(l.at.left, l.at.top, 73, l.height);
    image->SetAutoSize(true);
    image->SetCenter(true);
    image->SetHint(l.hint);
    image->SetShowHint(true);
    image->SetVisible(l.visible);
    std::string resource = l.name;
    for (char& c : resource) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    image->LoadPicture(resource);
    *l.member = image;
  }

  const forms::Font scheduleFont{"Times New Roman", 11, true, kFuchsia};
  for (const ScheduleLayout& s : kScheduleLabels) {
    Label* label = Add<Label>(this, "Label" + std::to_string(s.number));
    label->SetAutoSize(false);
    label->SetBounds(s.at.left, s.at.top, s.width, s.height);
    label->SetFont(scheduleFont);
    label->SetColor(Rgb(233, 233, 233));
    label->SetAlignment(Alignment::Center);
    label->SetCaption(s.number == 13 || s.number == 9 ? "Schedule" : "Down Time");
    Labels[static_cast<std::size_t>(s.number)] = label;
  }
  Labels[10]->SetWidth(64);  // the window data's width; ArrangeLayout makes it 67
  const forms::Font clockFont{"Times New Roman", 11, true, kBlue};
  for (int n : {25, 24}) {
    Label* label = Add<Label>(this, "Label" + std::to_string(n));
    const Place at = n == 25 ? kClockPlace : kDatePlace;
    label->SetBounds(at.left, at.top, 0, 0);
    label->SetFont(clockFont);
    label->SetTransparent(true);
    label->SetCaption(" ");
    Labels[static_cast<std::size_t>(n)] = label;
  }
  Label* diagnostic = Add<Label>(this, "Label15");
  diagnostic->SetBounds(17, 459, 0, 0);
  diagnostic->SetTransparent(true);
  diagnostic->SetCaption("Label15");
  diagnostic->SetVisible(false);
  Labels[15] = diagnostic;

  Image21 = Add<Image>(this, "Image21");
  Image21->SetBounds(0, 0, 140, 140);
  Image21->SetStretch(true);
  Image21->SetVisible(false);
  Image22 = Add<Image>(this, "Image22");
  Image22->SetBounds(0, 0, 140, 140);
  Image22->SetStretch(true);
  Image22->SetVisible(false);
  Image22->LoadPicture("DIAL");

  // The six gauges: dial, scale labels, (gauge 5) the halving mark, readout.
  Image** dials[6] = {&Image1, &Image2, &Image3, &Image4, &Image5, &Image6};
  const forms::Font scaleFont{"MS Serif", 9, false, Rgb(255, 255, 255)};
  for (int g = 0; g < 6; ++g) {
    const GaugeLayout& gl = kGauges[g];
    Panel* panel = Add<Panel>(this, "Panel" + std::to_string(gl.panel));
    panel->SetBounds(gl.at.left, gl.at.top, 140, 140);
    panel->SetBevels(Bevel::None, Bevel::None, BorderStyle::None);
    panel->SetColor(kPlateGrey);
    Panels[static_cast<std::size_t>(gl.panel)] = panel;
    Image* dial = Add<Image>(panel, "Image" + std::to_string(g + 1));
    dial->SetBounds(0, 0, 140, 140);
    dial->SetPicture(Image22->Picture());
    *dials[g] = dial;
    const Place* places = g < 2 ? kVoltageLabelPlaces : kFixedLabelPlaces;
    for (int i = 0; i < 7; ++i) {
      Label* label = Add<Label>(panel, "Label" + std::to_string(gl.labels[i]));
      label->SetFont(scaleFont);
      label->SetTransparent(true);
      label->SetBounds(places[i].left, places[i].top, 0, 0);
      label->SetCaption(gl.texts[i]);
      Labels[static_cast<std::size_t>(gl.labels[i])] = label;
    }
    if (g == 4) {
      Label* x2 = Add<Label>(panel, "Label50");
      x2->SetFont(forms::Font{"Trebuchet MS", 13, true, kBlue});
      x2->SetTransparent(true);
      x2->SetBounds(94, 106, 0, 0);
      x2->SetCaption("X2");
      x2->SetVisible(false);
      Labels[50] = x2;
    }
    Panel* readout = Add<Panel>(panel, "Panel" + std::to_string(g + 1));
    readout->SetBounds(kReadoutPlace.left, kReadoutPlace.top, 46, 22);
    readout->SetBevels(Bevel::None, Bevel::Lowered, BorderStyle::Single);
    readout->SetColor(kGreen);
    readout->SetFont(forms::Font{"Times New Roman", 16, true, Rgb(0, 0, 0)});
    readout->SetAlignment(Alignment::Center);
    readout->SetCaption("0");
    Panels[static_cast<std::size_t>(g + 1)] = readout;
  }
  // The window data has these two scale labels one pixel to the left.
  Labels[5]->SetLeft(83);
  Labels[17]->SetLeft(83);

  Panel* screwPanel = Add<Panel>(this, "Panel13");
  screwPanel->SetBounds(kScrewPanelPlace.left, kScrewPanelPlace.top, 22, 24);
  screwPanel->SetBevels(Bevel::None, Bevel::None, BorderStyle::None);
  screwPanel->SetColor(kPlateGrey);
  Panels[13] = screwPanel;
  Image24 = Add<Image>(screwPanel, "Image24");
  Image24->SetBounds(0, 0, 22, 24);
  Image24->LoadPicture("IMAGE24");

  const forms::Font titleFont{"MS UI Gothic", 13, false, kBlue};
  for (const TextLayout& t : kGaugeTitles) {
    StaticText* text = Add<StaticText>(this, "StaticText" + std::to_string(t.number));
    text->SetBounds(t.at.left, t.at.top, t.width, t.height);
    text->SetFont(titleFont);
    text->SetAlignment(Alignment::Center);
    text->SetCaption(t.text);
    StaticTexts[static_cast<std::size_t>(t.number)] = text;
  }
  // Window data that ArrangeLayout overrides.
  StaticTexts[1]->SetBounds(51, 253, 123, 18);
  StaticTexts[2]->SetBounds(196, 253, 154, 18);
  StaticTexts[4]->SetBounds(51, 430, 124, 18);
  StaticTexts[5]->SetBounds(195, 430, 154, 18);
  for (const TextLayout& t : kColumnTitles) {
    StaticText* text = Add<StaticText>(this, "StaticText" + std::to_string(t.number));
    text->SetBounds(t.at.left, t.at.top, t.width, t.height);
    text->SetFont(forms::Font{"MS UI Gothic", 13, false, t.number <= 9 ? kNavy : kOlive});
    text->SetAlignment(Alignment::Right);
    text->SetCaption(t.text);
    StaticTexts[static_cast<std::size_t>(t.number)] = text;
  }
  StaticTexts[12]->SetTop(343);
  StaticText11 = Add<StaticText>(this, "StaticText11");
  StaticText11->SetBounds(170, 76, 344, 18);
  StaticText11->SetFont(forms::Font{"MS UI Gothic", 16, false, kFuchsia});
  StaticText11->SetCaption("Port OK");
  StaticText11->SetVisible(false);
  StaticTexts[11] = StaticText11;

  for (const ButtonLayout& b : Toolbar()) {
    const std::string name = "BitBtn" + std::to_string(b.number);
    BitBtn* button = Add<BitBtn>(this, name);
    button->SetBounds(b.left, 19, 41, 40);
    button->SetHint(b.hint);
    button->SetShowHint(true);
    button->LoadGlyph("BITBTN" + std::to_string(b.number));
    if (b.number == 1) button->SetLayout(forms::GlyphLayout::Bottom);
    BitBtns[static_cast<std::size_t>(b.number)] = button;
  }

  // Each menu lists the items of its siblings first, in the order of their rows.
  auto siblingItems = [this](MenuItem* menu) {
    for (std::size_t i = 0; i < kSiblingCount; ++i)
      if (menu->Name() == kSiblingPrograms[i].menu)
        SiblingItems[i] = menu->Add(kSiblingPrograms[i].menuItem, kSiblingPrograms[i].itemCaption);
  };
  File1 = Menu().Add("File1", "File");
  siblingItems(File1);
  SelfTest1 = File1->Add("SelfTest1", "Self Test");
  N2 = File1->Add("N2", "-");
  Exit1 = File1->Add("Exit1", "Exit");
  Setup1 = Menu().Add("Setup1", "&Setup");
  siblingItems(Setup1);
  PassWord1 = Setup1->Add("PassWord1", "Password");
  GreenMode1 = Setup1->Add("GreenMode1", "Green Mode");
  View1 = Menu().Add("View1", "&View");
  siblingItems(View1);
  Help1 = Menu().Add("Help1", "Help");
  Help2 = Help1->Add("Help2", "Help", [this](MenuItem&) { Help2Click(); });
  auto siblingItem = [this](const char* name) {
    for (std::size_t i = 0; i < kSiblingCount; ++i)
      if (SiblingItems[i] && SiblingItems[i]->Name() == name) return SiblingItems[i];
    throw std::logic_error(std::string("no sibling row has the menu item ") + name);
  };
  Config1 = siblingItem("Config1");
  COMPort1 = siblingItem("COMPort1");
  Schedule1 = siblingItem("Schedule1");
  Pager1 = siblingItem("Pager1");
  EMail1 = siblingItem("EMail1");
  unitprep1 = siblingItem("unitprep1");
  RecordView1 = siblingItem("RecordView1");
  EventView1 = siblingItem("EventView1");

  // A toolbar button and the menu item of the same command share one handler: each row's named handler,
  // found by its button.
  using Handler = void (TnKORVALmain::*)();
  static constexpr std::pair<int, Handler> kSiblingHandlers[] = {
      {1, &TnKORVALmain::BitBtn1Click}, {3, &TnKORVALmain::BitBtn3Click},    {4, &TnKORVALmain::BitBtn4Click},
      {5, &TnKORVALmain::BitBtn5Click}, {6, &TnKORVALmain::EventView1Click}, {8, &TnKORVALmain::BitBtn8Click},
      {9, &TnKORVALmain::Email1Click},  {7, &TnKORVALmain::BitBtn7Click},
  };
  static_assert(std::size(kSiblingHandlers) == kSiblingCount, "every sibling row needs its named handler");
  for (std::size_t i = 0; i < kSiblingCount; ++i) {
    const SiblingProgram& sibling = kSiblingPrograms[i];
    Handler handler = nullptr;
    for (const auto& [button, h] : kSiblingHandlers)
      if (button == sibling.button) handler = h;
    if (!handler) throw std::logic_error(std::string("no handler for the button of ") + sibling.program);
    BitBtns[static_cast<std::size_t>(sibling.button)]->OnClick = [this, handler](forms::Control&) {
      (this->*handler)();
    };
    if (!SiblingItems[i])
      throw std::logic_error(std::string("no menu ") + sibling.menu + " for " + sibling.program);
    SiblingItems[i]->OnClick = [this, handler](MenuItem&) { (this->*handler)(); };
  }
  BitBtns[kSelfTestButton]->OnClick = [this](forms::Control&) { BitBtn2Click(); };
  SelfTest1->OnClick = [this](MenuItem&) { BitBtn2Click(); };
  Exit1->OnClick = [this](MenuItem&) { Exit1Click(); };
  PassWord1->OnClick = [this](MenuItem&) { PassWord1Click(); };
  GreenMode1->OnClick = [this](MenuItem&) { GreenMode1Click(); };
  OnClose = [this](forms::CloseAction& action) { FormClose(action); };
  OnKeyDown = [this](std::uint16_t& key, unsigned shift) { FormKeyDown(key, shift); };

  Timer1 = AddTimer("Timer1", 500, [this] { Timer1Timer(); });

  Label9 = Labels[9];
  Label10 = Labels[10];
  Label13 = Labels[13];
  Label14 = Labels[14];
  Label15 = Labels[15];
  Label24 = Labels[24];
  Label25 = Labels[25];
  Label50 = Labels[50];
  BitBtn7 = BitBtns[7];
}

// The scale labels that ScaleLabelSet rewrites: those of gauges 1, 2 and 5, from the gauge table.
void TnKORVALmain::BuildScaleLabelTables() {
  const std::pair<std::array<Label*, 8>*, const GaugeLayout*> tables[] = {
      {&ScaleLabels1, &kGauges[0]}, {&ScaleLabels2, &kGauges[1]}, {&ScaleLabels5, &kGauges[4]}};
  for (const auto& [table, gauge] : tables)
    for (std::size_t i = 1; i <= 7; ++i) (*table)[i] = Labels[static_cast<std::size_t>(gauge->labels[i - 1])];
}

void TnKORVALmain::ArrangeLayout() {
  for (const ButtonLayout& b : Toolbar()) {
    BitBtn* button = BitBtns[static_cast<std::size_t>(b.number)];
    button->SetLeft(b.left);
    button->SetTop(kButtonTop);
  }
  for (Image* lamp : {Image10, Image11, Image12, Image23, Image7}) {
    lamp->SetLeft(kAvrLamp.left);
    lamp->SetTop(kAvrLamp.top);
  }
  for (Image* lamp : {Image13, Image14, Image8}) {
    lamp->SetLeft(kLineLamp.left);
    lamp->SetTop(kLineLamp.top);
  }
  for (Image* lamp : {Image15, Image16, Image17, Image18, Image19, Image9}) {
    lamp->SetLeft(kUnitLamp.left);
    lamp->SetTop(kUnitLamp.top);
  }
  Image20->SetLeft(0);
  Image20->SetTop(0);
  for (int g = 0; g < 6; ++g) {
    const GaugeLayout& gl = kGauges[g];
    Panel* panel = Panels[static_cast<std::size_t>(gl.panel)];
    panel->SetLeft(gl.at.left);
    panel->SetTop(gl.at.top);
    Panel* readout = Panels[static_cast<std::size_t>(g + 1)];
    readout->SetLeft(kReadoutPlace.left);
    readout->SetTop(kReadoutPlace.top);
    const Place* places = g < 2 ? kVoltageLabelPlaces : kFixedLabelPlaces;
    for (int i = 0; i < 7; ++i) {
      Label* label = Labels[static_cast<std::size_t>(gl.labels[i])];
      label->SetLeft(places[i].left);
      label->SetTop(places[i].top);
    }
  }
  Panels[13]->SetLeft(kScrewPanelPlace.left);
  Panels[13]->SetTop(kScrewPanelPlace.top);
  for (const TextLayout& t : kGaugeTitles) {
    StaticText* text = StaticTexts[static_cast<std::size_t>(t.number)];
    text->SetLeft(t.at.left);
    text->SetTop(t.at.top);
    text->SetWidth(t.width);
  }
  for (const TextLayout& t : kColumnTitles) {
    StaticText* text = StaticTexts[static_cast<std::size_t>(t.number)];
    text->SetLeft(t.at.left);
    text->SetTop(t.at.top);
    text->SetWidth(t.width);
  }
  for (const ScheduleLayout& s : kScheduleLabels) {
    Label* label = Labels[static_cast<std::size_t>(s.number)];
    label->SetLeft(s.at.left);
    label->SetTop(s.at.top);
    label->SetWidth(s.width);
  }
  Label25->SetLeft(kClockPlace.left);
  Label25->SetTop(kClockPlace.top);
  Label24->SetLeft(kDatePlace.left);
  Label24->SetTop(kDatePlace.top);
}

}  // namespace korval::statuspanel

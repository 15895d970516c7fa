#pragma once
// The status window: the unit's front panel with six gauges, three lamps, the schedule times, the clock and
// the port message, refreshed from the status record every 500 ms.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "application.h"
#include "controls.h"
#include "record.h"
#include "tstate.h"

namespace korval::statuspanel {

using forms::BitBtn;
using forms::Image;
using forms::Label;
using forms::MenuItem;
using forms::Panel;
using forms::StaticText;

class TnKORVALmain : public forms::Form {
 public:
  explicit TnKORVALmain(forms::Application& app);

  // Controls, created in the order of the window layout (later ones lie on top).
  Image *Image1, *Image2, *Image3, *Image4, *Image5, *Image6, *Image7, *Image8, *Image9, *Image10, *Image11,
      *Image12, *Image13, *Image14, *Image15, *Image16, *Image17, *Image18, *Image19, *Image20, *Image21,
      *Image22, *Image23, *Image24;
  std::array<Label*, 51> Labels{};  // Label1..Label50 by number
  Label *Label9, *Label10, *Label13, *Label14, *Label15, *Label24, *Label25, *Label50;
  std::array<Panel*, 14> Panels{};            // Panel1..Panel13 by number
  std::array<StaticText*, 13> StaticTexts{};  // StaticText1..StaticText12 by number
  StaticText* StaticText11;
  std::array<BitBtn*, 10> BitBtns{};  // BitBtn1..BitBtn9 by number
  BitBtn* BitBtn7;
  forms::Timer* Timer1;
  MenuItem *File1, *Config1, *SelfTest1, *N2, *Exit1, *Setup1, *COMPort1, *Schedule1, *Pager1, *EMail1,
      *unitprep1, *PassWord1, *GreenMode1, *View1, *RecordView1, *EventView1, *Help1, *Help2;

  // Status window variables.
  std::string ProgramDir, DataDir;
  DataBuffRecord RecordImage;
  std::unique_ptr<Tstate> State;  // made by the start-up
  std::uint8_t ShownUnitType = 1;
  std::int32_t NominalIn = 115, NominalOut = 115;
  std::array<std::int32_t, 7> GaugeValues{};  // 1..6
  std::array<std::int32_t, 7> LastNeedle{-10, -10, -10, -10, -10, -10, -10};
  std::array<Image*, 7> GaugeImages{};
  std::array<Label*, 8> ScaleLabels1{}, ScaleLabels2{}, ScaleLabels5{};  // positions 1..7
  std::string PortText1, PortText2;
  // The self-test dialog's hidden label: "1" while a self-test request waits for the next tick.
  Label* SelfTestRequestFlag = nullptr;

  void FormCreate();
  void ReadData();
  void Timer1Timer();
  virtual void CaptionSet();
  void ArrangeLayout();
  void AppMessage(const forms::Message& message);
  void AppMinimize();

  // Lamps.
  void ShowStatusImages();
  void ResetDisplay();

  // Gauges.
  void ImageSet();
  void BuildScaleLabelTables();
  void DrawFront(int gauge, std::int32_t& value);
  void DrawPoint(int gauge, int value, int offset, int span);
  void ShowValues();
  void ScaleLabelSet();

  Panel* ReadoutPanel(int gauge) const { return Panels[static_cast<std::size_t>(gauge)]; }

 private:
  void BuildLayout();
  void SetVoltageScaleLabels();
  // Start-up made the Tstate object and the tables that every tick uses.
  bool ReadyToTick() const { return State && GaugeImages[1] && ScaleLabels1[1]; }
};

}  // namespace korval::statuspanel

#pragma once
// The status window on the headless backend, in a temporary program folder whose UserPath.dat names a
// temporary data folder; records go into that folder's DATABuff.REC before each tick. The program folder has
// a small English.txt, the language of the fake system.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "live_record.h"
#include "application.h"
#include "bitmap.h"
#include "headless.h"
#include "main_form.h"
#include "record.h"
#include "temp_dir.h"

namespace korval::statuspanel::test {

// Counts the caption loads.
class CountingPanel : public TnKORVALmain {
 public:
  using TnKORVALmain::TnKORVALmain;
  void CaptionSet() override {
    ++captionLoads;
    TnKORVALmain::CaptionSet();
  }
  int captionLoads = 0;
};

inline const forms::Color kDialFace = forms::Rgb(20, 20, 40);

inline const char kEnglishFixture[] =
    "Ivol=I/P Voltage  [V]\r\n"
    "Ofre=O/P Frequency  [Hz]\r\n"
    "Temp=Temperature  [C]\r\n"
    "Dis27=Cannot open the COM port!\r\n"
    "Dis28=No response from the UPS!\r\n"
    "Dis29=Green Mode\r\n"
    "Dis34=Green Mode Setup\r\n";

class PanelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    system.programDir = program.Prefix();
    program.Write("UserPath.dat", data.Prefix() + "\r\n");
    program.Write("English.txt", kEnglishFixture);
    backend.resources["DIAL"] = forms::EncodeBmp(forms::Bitmap(140, 140, kDialFace));
  }

  CountingPanel& Start() {
    app = std::make_unique<forms::Application>(backend, system);
    form = &app->CreateForm<CountingPanel>();
    return *form;
  }

  void Put(const DataBuffRecord& r) {
    data.Write("DATABuff.REC", std::string(reinterpret_cast<const char*>(r.bytes.data()), r.bytes.size()));
  }
  void Tick(const DataBuffRecord& r) {
    Put(r);
    form->Timer1Timer();
  }

  static DataBuffRecord Live(int unitType) { return ::korval::test::LiveRecord(unitType); }

  std::string Readout(int gauge) const { return form->ReadoutPanel(gauge)->Caption(); }
  forms::Color ReadoutColor(int gauge) const { return form->ReadoutPanel(gauge)->GetColor(); }
  std::string ScaleTexts(const std::array<Label*, 8>& labels) const {
    std::string s;
    for (int i = 1; i <= 7; ++i) s += (i > 1 ? " " : "") + labels[static_cast<std::size_t>(i)]->Caption();
    return s;
  }

  korval::test::TempDir program, data;
  forms::HeadlessBackend backend;
  forms::FakeSystem system;
  std::unique_ptr<forms::Application> app;
  CountingPanel* form = nullptr;
};

}  // namespace korval::statuspanel::test

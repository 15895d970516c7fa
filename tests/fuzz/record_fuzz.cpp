// Status records as the background monitor (or a record caught half rewritten) may leave them, ticked
// through the status window on the headless backend: each 296 bytes of the input are one record file, a
// shorter tail a file cut short. The window lives on from input to input, as the program does from tick to
// tick. No tick may fail or open an error report.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "application.h"
#include "bitmap.h"
#include "headless.h"
#include "main_form.h"
#include "record.h"
#include "temp_dir.h"

namespace {

struct Panel {
  korval::test::TempDir program, data;
  korval::forms::HeadlessBackend backend;
  korval::forms::FakeSystem system;
  std::unique_ptr<korval::forms::Application> app;
  korval::statuspanel::TnKORVALmain* form = nullptr;

  Panel() {
    system.programDir = program.Prefix();
    program.Write("UserPath.dat", data.Prefix() + "\r\n");
    program.Write("English.txt", "Ivol=I/P Voltage\r\nOfre=O/P Frequency\r\nTemp=Temperature\r\nDis27=Port\r\n"
                                 "Dis28=No response\r\n");
    backend.resources["DIAL"] = korval::forms::EncodeBmp(korval::forms::Bitmap(140, 140));
    app = std::make_unique<korval::forms::Application>(backend, system);
    form = &app->CreateForm<korval::statuspanel::TnKORVALmain>();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static Panel panel;
  const std::string input(reinterpret_cast<const char*>(bytes), size);
  const std::size_t record = korval::DataBuffRecord::kSize;
  for (std::size_t at = 0; at < input.size() || at == 0; at += record) {
    panel.data.Write("DATABuff.REC", input.substr(at, record));
    panel.form->Timer1Timer();
    if (panel.app->ErrorReportOpen() || !panel.backend.boxes.empty()) std::abort();
    for (int g = 1; g <= 6; ++g)
      if (panel.form->ReadoutPanel(g)->Caption().empty()) std::abort();
  }
  return 0;
}

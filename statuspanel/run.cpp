#include "run.h"

#include "application.h"
#include "greenmode.h"
#include "main_form.h"
#include "pass.h"
#include "selftest.h"

namespace korval::statuspanel {

void CreateDialogs(forms::Application& app, TnKORVALmain& main) {
  main.nPassfunction = &app.CreateForm<TnPassfunction>();
  main.nselfTsetset = &app.CreateForm<TnselfTsetset>();
  main.SelfTestRequestFlag = main.nselfTsetset->Label1;
  main.nGreenModeSetup = &app.CreateForm<TnGreenModeSetup>();
}

void RunStatusPanel(forms::Backend& backend, forms::System& system) {
  forms::Application app(backend, system);
  app.SetTitle("KORVAL Plus for Windows");
  TnKORVALmain& main = app.CreateForm<TnKORVALmain>();
  CreateDialogs(app, main);
  app.Run();
}

}  // namespace korval::statuspanel

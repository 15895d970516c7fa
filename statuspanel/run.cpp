#include "run.h"

#include "application.h"
#include "main_form.h"

namespace korval::statuspanel {

void RunStatusPanel(forms::Backend& backend, forms::System& system) {
  forms::Application app(backend, system);
  app.SetTitle("KORVAL Plus for Windows");
  app.CreateForm<TnKORVALmain>();
  app.Run();
}

}  // namespace korval::statuspanel

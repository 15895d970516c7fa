#include "run.h"

#include "application.h"
#include "record_event.h"

namespace korval::eventbook {

void RunEventbook(forms::Backend& backend, forms::System& system, ViewerSystem& viewer) {
  forms::Application app(backend, system);
  app.SetTitle("Event Log");
  app.CreateForm<TnEventLog>(viewer);
  app.Run();
}

}  // namespace korval::eventbook

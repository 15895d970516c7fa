#include "run.h"

#include "application.h"
#include "record_event.h"

namespace korval::eventbook {

void RunEventbook(forms::Backend& backend, forms::System& system) {
  forms::Application app(backend, system);
  app.SetTitle("Event Log");
  app.CreateForm<TnEventLog>();
  app.Run();
}

}  // namespace korval::eventbook

#include "run.h"

#include "application.h"
#include "inst28.h"

namespace korval::setup {

void RunSetup(forms::Backend& backend, forms::System& system) {
  forms::Application app(backend, system);
  app.SetTitle("Install");
  app.CreateForm<TInstall>();
  app.Run();
}

}  // namespace korval::setup

#pragma once
// The program start of the event viewer.
#include "backend.h"
#include "system.h"

namespace korval::eventbook {

// RunEventbook: initialises the application with the title "Event Log", creates the viewer window as the
// main window and runs the message loop until it closes. The command line is not read.
void RunEventbook(forms::Backend& backend, forms::System& system);

}  // namespace korval::eventbook

#pragma once
// The program start of the status panel.
#include "backend.h"
#include "system.h"

namespace korval::statuspanel {

// Initialises the application, creates the status window and runs the message loop until it closes.
void RunStatusPanel(forms::Backend& backend, forms::System& system);

}  // namespace korval::statuspanel

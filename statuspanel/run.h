#pragma once
// The program start of the status panel.
#include "application.h"
#include "backend.h"
#include "system.h"

namespace korval::statuspanel {

class TnKORVALmain;

// The password, self-test and green-mode dialogs, created hidden after the status window in this order and
// hooked to it; they live until the program ends.
void CreateDialogs(forms::Application& app, TnKORVALmain& main);

// Initialises the application, creates the status window and its dialogs and runs the message loop until the
// window closes.
void RunStatusPanel(forms::Backend& backend, forms::System& system);

}  // namespace korval::statuspanel

#pragma once
// The program start of the installation launcher.
#include "backend.h"
#include "system.h"

namespace korval::setup {

// RunSetup: initialises the application with the title "Install", creates the launcher window as the main
// window and runs the message loop until it closes.
void RunSetup(forms::Backend& backend, forms::System& system);

}  // namespace korval::setup

#include "main_form.h"

namespace korval::statuspanel {

void TnKORVALmain::GreenMode1Click() {}

}  // namespace korval::statuspanel

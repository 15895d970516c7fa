#include "main_form.h"

namespace korval::statuspanel {

void TnKORVALmain::PassWord1Click() {}

}  // namespace korval::statuspanel

#include "main_form.h"

namespace korval::statuspanel {

void TnKORVALmain::BitBtn2Click() {}

}  // namespace korval::statuspanel

// The status window as the suite's hub: the sibling programs, closing and exit, the diagnostic line's keys.
#include "main_form.h"

namespace korval::statuspanel {

void TnKORVALmain::LaunchOrRaise(const std::string&, const std::string&) {}
void TnKORVALmain::BitBtn1Click() {}
void TnKORVALmain::BitBtn3Click() {}
void TnKORVALmain::BitBtn4Click() {}
void TnKORVALmain::BitBtn5Click() {}
void TnKORVALmain::EventView1Click() {}
void TnKORVALmain::BitBtn8Click() {}
void TnKORVALmain::Email1Click() {}
void TnKORVALmain::BitBtn7Click() {}
void TnKORVALmain::FormClose(forms::CloseAction&) {}
void TnKORVALmain::Exit1Click() {}
void TnKORVALmain::FormKeyDown(std::uint16_t&, unsigned) {}

}  // namespace korval::statuspanel

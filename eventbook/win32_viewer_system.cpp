// The Win32 side of the viewer's system interface.
#include <windows.h>

#include "viewer_system.h"

namespace korval::eventbook {

std::uint16_t Win32ViewerSystem::SystemLanguageId() { return GetSystemDefaultLangID(); }
unsigned Win32ViewerSystem::AnsiCodePage() { return GetACP(); }

}  // namespace korval::eventbook

// statuspanel.exe: the status panel on real windows.
#include <windows.h>

#include "run.h"
#include "win32_backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  korval::forms::Win32Backend backend(instance);
  korval::forms::Win32System system;
  korval::statuspanel::RunStatusPanel(backend, system);
  return 0;
}

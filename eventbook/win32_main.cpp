// eventbook.exe: the event viewer on real windows.
#include <windows.h>

#include "run.h"
#include "win32_backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  korval::forms::Win32Backend backend(instance);
  korval::forms::Win32System system;
  korval::eventbook::RunEventbook(backend, system);
  return 0;
}

// shutter.exe: started by the background monitor with "/CallByKorval" or "/KorvalNoSave" when the machine
// must go down.
#include "win32_system.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  shutter::Win32System system;
  return shutter::ShutterMain(system);
}

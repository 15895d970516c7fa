// Any command line for the shutdown agent, on Windows 9x and on NT: only the exact switch as the whole tail
// after the program name goes on to the window; "/KorvalNoSave" on 9x shuts down at once; everything else
// ends with nothing done. The simulated desktop refuses the window class, so a run that goes on ends there.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fake_desktop.h"
#include "shutter32.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  const std::string commandLine(text, strnlen(text, size));  // a command line ends at its first zero
  const char* tail = shutter::ArgumentTail(commandLine.c_str());
  if (tail < commandLine.c_str() || tail > commandLine.c_str() + commandLine.size()) std::abort();
  const bool callBy = std::strcmp(tail, "/CallByKorval") == 0;
  const bool noSave = std::strcmp(tail, "/KorvalNoSave") == 0;
  for (std::uint32_t platform : {1u, 2u}) {
    shutter::ResetState();
    shutter::test::FakeDesktop desk;
    desk.commandLine = commandLine;
    desk.platform = platform;
    desk.registerFails = true;
    if (shutter::ShutterMain(desk) != 0) std::abort();
    const bool window = callBy || (noSave && platform == 2);
    const bool exitAtOnce = noSave && platform == 1;
    if ((desk.CountNamed("RegisterClass") == 1) != window) std::abort();
    if ((desk.CountNamed("ExitWindowsEx") == 1) != exitAtOnce) std::abort();
    if (!window && desk.CountNamed("CreateDirectory") + desk.CountNamed("InitiateSystemShutdown") != 0) std::abort();
  }
  return 0;
}

// korvalprobe.exe: what a user sees of a window, for the demo and for looking at a running program.
//
//   korvalprobe shot <window class> <file.png>   the client area's pixels as a PNG file
//   korvalprobe texts <window class>             each child window: class, place, visibility and text
#include <windows.h>

#include <cstdio>
#include <string>

#include "probe.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: korvalprobe shot <class> <file.png> | texts <class>\n");
    return 2;
  }
  const std::string command = argv[1];
  HWND window = FindWindowA(argv[2], nullptr);
  if (!window) {
    std::fprintf(stderr, "no window of class %s\n", argv[2]);
    return 1;
  }
  if (command == "shot" && argc >= 4) {
    SetForegroundWindow(window);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Sleep(200);
    const korval::forms::Bitmap picture = korval::probe::CaptureClient(window);
    if (picture.Empty() || !korval::probe::SaveFile(argv[3], korval::probe::EncodePng(picture))) return 1;
    return 0;
  }
  if (command == "texts") {
    for (const auto& c : korval::probe::ChildWindows(window))
      std::printf("%s (%ld, %ld, %ld x %ld) %s \"%s\"\n", c.className.c_str(), c.rect.left, c.rect.top,
                  c.rect.right - c.rect.left, c.rect.bottom - c.rect.top, c.visible ? "visible" : "hidden",
                  c.text.c_str());
    return 0;
  }
  std::fprintf(stderr, "unknown command %s\n", command.c_str());
  return 2;
}

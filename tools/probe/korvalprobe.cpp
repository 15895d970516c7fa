// korvalprobe.exe: what a user sees of a window, for the demo and for looking at a running program.
//
//   korvalprobe shot <window class> <file.png>   the client area's pixels as a PNG file
//   korvalprobe texts <window class>             each child window: class, place, visibility and text
//   korvalprobe wait <window class> [ms]          waits (10 s unless told) for a shown window of the class
//   korvalprobe menu <window class> <menu> <item> chooses a menu item from the keyboard, by its place:
//                                                menu 0 is the first of the bar, item 0 the first of the
//                                                menu (separators and hidden items do not count)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "probe.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr,
                 "usage: korvalprobe shot <class> <file.png> | texts <class> | wait <class> [ms] |"
                 " menu <class> <menu> <item>\n");
    return 2;
  }
  const std::string command = argv[1];
  if (command == "wait") {
    const DWORD ms = argc >= 4 ? static_cast<DWORD>(std::strtoul(argv[3], nullptr, 10)) : 10000;
    for (DWORD waited = 0;; waited += 50) {
      HWND shown = FindWindowA(argv[2], nullptr);
      if (shown && IsWindowVisible(shown)) return 0;
      if (waited >= ms) return 1;
      Sleep(50);
    }
  }
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
  if (command == "menu" && argc >= 5) {
    return korval::probe::ChooseMenuItem(window, std::atoi(argv[3]), std::atoi(argv[4])) ? 0 : 1;
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

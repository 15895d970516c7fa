#pragma once
// Waits on what the screen shows: a window in front, a picture that has stopped changing.
#include <windows.h>

#include <functional>

#include "bitmap.h"
#include "e2e.h"
#include "probe.h"

namespace korval::e2e {

// Asks for `window` in front; true once the system has it there.
inline bool BroughtToFront(HWND window, DWORD ms = 5000) {
  SetForegroundWindow(window);
  return WaitFor([&] { return GetForegroundWindow() == window; }, ms);
}

// What `capture` shows once two captures 200 ms apart agree: a paint under way or one still to come after a
// raise or a move has ended. The last capture goes to `shown`.
inline bool PictureSettles(const std::function<forms::Bitmap()>& capture, forms::Bitmap& shown,
                           DWORD ms = 5000) {
  return WaitFor(
      [&] {
        shown = capture();
        Sleep(200);
        return probe::DifferentShare(shown, capture()) == 0;
      },
      ms);
}

}  // namespace korval::e2e

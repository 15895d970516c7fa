#pragma once
// Waits on what the windows show and do: a window in front, a program that takes messages again, a picture
// that has stopped changing.
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

// Waits until the thread of `window` takes messages again: the handler that it ran when asked (and the
// message box that the handler showed) has returned.
inline bool Answers(HWND window) {
  DWORD_PTR ignored = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &ignored) != 0;
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

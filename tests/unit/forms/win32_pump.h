#pragma once
// For the tests on real windows: hands the messages of `ms` milliseconds to their windows.
#include <windows.h>

namespace korval::forms {

inline void Pump(DWORD ms) {
  const DWORD end = GetTickCount() + ms;
  do {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(5);
  } while (static_cast<int>(end - GetTickCount()) > 0);
}

}  // namespace korval::forms

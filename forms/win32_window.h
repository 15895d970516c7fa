#pragma once
// What the Win32 backend keeps for each window it made (private to its source files).
#include <windows.h>

#include <string>
#include <vector>

#include "win32_backend.h"

namespace korval::forms {

// A function of a system library that is loaded on its first use (the shell and the common dialogs bring
// many libraries with them, which most runs never need); nullptr when it cannot be had.
template <class Function>
Function LoadOnFirstUse(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

struct Win32Backend::Window {
  Window(Win32Backend* b, WinControl* c) : backend(b), control(c) {}
  Win32Backend* backend;
  WinControl* control;
  // What the window does as a window of its control's kind.
  const Peer* peer = nullptr;
  HWND hwnd = nullptr;
  HMENU menu = nullptr;
  std::vector<MenuItem*> commands;
  bool menuPending = false;
  // The backend itself is setting the window's text: the edit's change notice is not the user's.
  bool syncing = false;
  // A grid's scroll bars and picture are brought up to date once the changes in hand are done.
  bool refreshPending = false;
  // The spin button half held down: 0 none, 1 up, 2 down.
  int pressedHalf = 0;
  // A form's changes that wait to be painted together (client rectangles), and whether the message that
  // paints them is on its way.
  std::vector<RECT> changed;
  bool changesPosted = false;
};

// The text a window shows.
std::string WindowText(HWND hwnd);

inline RECT ClientOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

}  // namespace korval::forms

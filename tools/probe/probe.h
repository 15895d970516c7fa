#pragma once
// Reads what a user sees of a window: the texts, classes, places and visibility of its child windows, and the
// pixels of its client area (copied from the screen, so the window must lie on top).
#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "bitmap.h"

namespace korval::probe {

struct ChildWindow {
  HWND hwnd = nullptr;
  std::string className;
  std::string text;
  RECT rect{};  // in the client area of the top-level window
  bool visible = false;
};

// Every child window, nested ones included, in the order the system enumerates them.
std::vector<ChildWindow> ChildWindows(HWND topLevel);
// The child window whose rectangle in the client area is exactly this one, or nullptr.
const ChildWindow* ChildAt(const std::vector<ChildWindow>& children, int left, int top, int width,
                           int height);

// The window that has the keyboard focus in the thread of `window` (the thread's own record, so it answers
// for another program's windows too); nullptr when none of that thread's windows has it.
HWND FocusedWindow(HWND window);

// Types `key` with the modifiers `held` (VK_MENU, VK_CONTROL, VK_SHIFT) down, into the foreground window.
void TypeKey(WORD key, std::initializer_list<WORD> held = {});
// Chooses an item of the window's menu bar from the keyboard, as a user does: F10, Right to menu `menu`
// (0: the first), Down into it and on to item `item` (0: the first; separators and hidden items do not
// count), Enter. False when the window cannot be brought to the front.
bool ChooseMenuItem(HWND window, int menu, int item);

// The client area's pixels as shown on the screen.
forms::Bitmap CaptureClient(HWND window);
// The part of a picture at (left, top), width x height.
forms::Bitmap Crop(const forms::Bitmap& picture, int left, int top, int width, int height);
// The share of pixels (0..1) in which two pictures of one size differ.
double DifferentShare(const forms::Bitmap& a, const forms::Bitmap& b);

// A PNG file (8-bit RGB, stored without compression).
std::string EncodePng(const forms::Bitmap& picture);
bool SaveFile(const std::string& path, const std::string& bytes);

}  // namespace korval::probe

// The spin button's peer: its two halves, painted and repeating while held.
#include <algorithm>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;

namespace {

constexpr UINT_PTR kSpinRepeatTimer = 1;

}  // namespace

Win32Backend::Peer::Shape Win32Backend::Peer::SpinPeer::MakeShape(const WinControl&) const {
  return Shape{kSpinClass, WS_CLIPCHILDREN, 0};
}

void Win32Backend::Peer::SpinPeer::Paint(Window& w, HDC dc, int dx, int dy) const {
  Win32Backend& b = *w.backend;
  const auto& spin = static_cast<const SpinButton&>(*w.control);
  const RECT r{dx, dy, dx + spin.Width(), dy + spin.Height()};
  const Color face = b.GetSystemColor(SystemColor::ButtonFace);
  const int middle = r.top + (r.bottom - r.top) / 2;
  const RECT halves[2] = {{r.left, r.top, r.right, middle}, {r.left, middle, r.right, r.bottom}};
  const Color arrow = spin.Enabled() ? Rgb(0, 0, 0) : b.GetSystemColor(SystemColor::ButtonShadow);
  for (int i = 0; i < 2; ++i) {
    RECT h = halves[i];
    b.Fill(dc, h, face);
    const bool pressed = w.pressedHalf == i + 1;
    DrawEdge(dc, &h, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    // The arrow: rows 1, 3, 5, 7 and 9 pixels wide in a 9 x 6 box, pointing up or down.
    const int cx = (h.left + h.right) / 2 + (pressed ? 1 : 0);
    const int top = (h.top + h.bottom - 6) / 2 + 1 + (pressed ? 1 : 0);
    for (int row = 0; row < 5; ++row) {
      const int half = i == 0 ? row : 4 - row;
      b.Fill(dc, RECT{cx - half, top + row, cx + half + 1, top + row + 1}, arrow);
    }
  }
}

void Win32Backend::Peer::SpinPeer::ClickHeldHalf(Window& w) {
  auto& spin = static_cast<SpinButton&>(*w.control);
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(w.hwnd, &p);
  const RECT client = ClientOf(w.hwnd);
  const int half = p.y < client.bottom / 2 ? 1 : 2;
  if (half != w.pressedHalf || !PtInRect(&client, p)) return;
  spin.OwnerForm().App().Dispatch([&] { half == 1 ? spin.ClickUp() : spin.ClickDown(); });
}

bool Win32Backend::Peer::SpinPeer::Handle(Window& w, UINT msg, WPARAM, LPARAM lp, LRESULT& result) const {
  auto& spin = static_cast<SpinButton&>(*w.control);
  HWND hwnd = w.hwnd;
  result = 0;
  switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      // A spin button of a disabled panel takes no input, even from a message posted to it directly.
      if (!spin.CanTakeInput()) return true;
      const RECT client = ClientOf(hwnd);
      w.pressedHalf = static_cast<short>(HIWORD(lp)) < client.bottom / 2 ? 1 : 2;
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      if (WinControl* focus = spin.FocusControl(); focus && focus->TabStop() && focus->CanTakeInput())
        spin.OwnerForm().SetActiveControl(focus);
      const int half = w.pressedHalf;
      SetTimer(hwnd, kSpinRepeatTimer, SpinButton::kFirstRepeatMs, nullptr);
      spin.OwnerForm().App().Dispatch([&] { half == 1 ? spin.ClickUp() : spin.ClickDown(); });
      return true;
    }
    case WM_TIMER:
      if (w.pressedHalf && spin.CanTakeInput()) {
        SetTimer(hwnd, kSpinRepeatTimer, SpinButton::kRepeatMs, nullptr);
        ClickHeldHalf(w);
      } else {
        KillTimer(hwnd, kSpinRepeatTimer);
      }
      return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      KillTimer(hwnd, kSpinRepeatTimer);
      if (w.pressedHalf) {
        w.pressedHalf = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
      }
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
      return true;
    default:
      return false;
  }
}

}  // namespace korval::forms

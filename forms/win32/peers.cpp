// The peers: which one each kind of control has, the plain windowed control's, and the form's (its focus,
// activation, menu commands, timers, closing and minimising).
#include <algorithm>

#include "application.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;

const Win32Backend::Peer& Win32Backend::Peer::For(const WinControl& c) {
  static const FormPeer form;
  static const PanelPeer panel;
  static const StaticTextPeer staticText;
  static const ButtonPeer button;
  static const BitButtonPeer bitButton;
  static const CheckPeer checkBox(BS_CHECKBOX | WS_TABSTOP, [](const WinControl& box) {
    return static_cast<const CheckBox&>(box).Checked();
  });
  static const CheckPeer radioButton(BS_RADIOBUTTON, [](const WinControl& radio) {
    return static_cast<const RadioButton&>(radio).Checked();
  });
  static const EditPeer edit;
  static const GridPeer grid;
  static const SpinPeer spin;
  static const Peer plain;
  if (dynamic_cast<const Form*>(&c)) return form;
  if (dynamic_cast<const Panel*>(&c)) return panel;
  if (dynamic_cast<const StaticText*>(&c)) return staticText;
  if (dynamic_cast<const Button*>(&c)) return button;
  if (dynamic_cast<const BitBtn*>(&c)) return bitButton;
  if (dynamic_cast<const CheckBox*>(&c)) return checkBox;
  if (dynamic_cast<const RadioButton*>(&c)) return radioButton;
  if (dynamic_cast<const Edit*>(&c)) return edit;
  if (dynamic_cast<const StringGrid*>(&c)) return grid;
  if (dynamic_cast<const SpinButton*>(&c)) return spin;
  return plain;
}

const Win32Backend::Peer& Win32Backend::Peer::Of(const WinControl& c) {
  static const Peer plain;
  const auto* w = static_cast<const Window*>(c.handle);
  return w && w->peer ? *w->peer : plain;
}

Win32Backend::Peer::Shape Win32Backend::Peer::MakeShape(const WinControl&) const {
  return Shape{kPanelClass, WS_CLIPCHILDREN, 0};
}

void Win32Backend::Peer::Moved(Window& w) const {
  const WinControl& c = *w.control;
  MoveWindow(w.hwnd, c.Left(), c.Top(), c.Width(), c.Height(), TRUE);
}

void Win32Backend::Peer::Shown(Window& w) const {
  ShowWindow(w.hwnd, w.control->Visible() ? SW_SHOWNA : SW_HIDE);
}

void Win32Backend::Peer::TextChanged(Window& w) const {
  SetText(w);
  Repaint(w, FALSE);
}

void Win32Backend::Peer::LookChanged(Window& w) const {
  SetFont(w);
  Repaint(w, TRUE);
}

void Win32Backend::Peer::SetText(Window& w) {
  w.syncing = true;
  SetWindowTextA(w.hwnd, w.control->Caption().c_str());
  w.syncing = false;
}

// The system's own controls draw with the font they are given; ours pick theirs when they paint.
void Win32Backend::Peer::SetFont(Window& w) {
  SendMessageA(w.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(w.backend->FontFor(w.control->Font())), FALSE);
}

void Win32Backend::Peer::Repaint(Window& w, BOOL erase) {
  const WinControl& c = *w.control;
  if (!c.Showing() || !w.backend->QueuePaint(*c.Parent(), c.Bounds())) InvalidateRect(w.hwnd, nullptr, erase);
}

void Win32Backend::Peer::Paint(Window& w, HDC dc, int dx, int dy) const {
  WinControl& c = *w.control;
  w.backend->Fill(dc, RECT{dx, dy, dx + c.Width(), dy + c.Height()}, c.GetColor());
  w.backend->PaintGraphics(c, dc, dx, dy);
}

SIZE Win32Backend::Peer::PaintedSize(const Window& w) const {
  return SIZE{w.control->Width(), w.control->Height()};
}

void Win32Backend::Peer::FormPeer::Moved(Window& w) const {
  w.backend->SizeFormWindow(w.control->OwnerForm(), false);
}

void Win32Backend::Peer::FormPeer::TextChanged(Window& w) const { SetText(w); }

void Win32Backend::Peer::FormPeer::LookChanged(Window& w) const {
  SetFont(w);
  InvalidateRect(w.hwnd, nullptr, TRUE);
  RedrawWindow(w.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

SIZE Win32Backend::Peer::FormPeer::PaintedSize(const Window& w) const {
  SIZE size = Peer::PaintedSize(w);
  RECT client{};
  if (w.hwnd && GetClientRect(w.hwnd, &client)) {
    size.cx = std::max(size.cx, client.right);
    size.cy = std::max(size.cy, client.bottom);
  }
  return size;
}

bool Win32Backend::Peer::FormPeer::Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const {
  Form& form = w.control->OwnerForm();
  Win32Backend& backend = *w.backend;
  Application& app = form.App();
  result = 0;
  switch (msg) {
    case WM_SETFOCUS:
      // The form passes the focus on to the control that had it (or was given it before the form showed).
      if (form.ActiveControl() && form.ActiveControl()->CanTakeInput()) {
        if (HWND child = WindowOf(*form.ActiveControl())) SetFocus(child);
        return true;
      }
      return false;
    case WM_ACTIVATE:
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        Window* had = focus && IsChild(w.hwnd, focus) ? backend.Find(focus) : nullptr;
        if (had) form.FocusMoved(had->control);
      }
      return false;
    case WM_COMMAND: {
      if (lp != 0 || HIWORD(wp) != 0) return false;  // not a menu command
      const UINT index = LOWORD(wp) - kFirstMenuCommand;
      if (LOWORD(wp) >= kFirstMenuCommand && index < w.commands.size()) {
        MenuItem* item = w.commands[index];
        if (item->OnClick) app.Dispatch([&] { item->OnClick(*item); });
      }
      return true;
    }
    case WM_TIMER: {
      if (wp < 1 || wp > form.Timers().size()) return false;
      Timer* t = form.Timers()[wp - 1];
      if (t->Enabled() && t->OnTimer) {
        // What a tick changes is painted in one go when it is done, without a message of its own.
        ++backend.holdingPaints_;
        app.Dispatch(t->OnTimer);
        --backend.holdingPaints_;
        backend.PaintWaitingChanges();
      }
      return true;
    }
    case kMenuRebuild:
      backend.RebuildMenu(form);
      return true;
    case kPaintChanges:
      backend.PaintChanges(form, w);
      return true;
    case WM_CLOSE:
      app.Dispatch([&] { form.Close(); });
      return true;
    case WM_SYSCOMMAND:
      if ((wp & 0xFFF0) == SC_MINIMIZE && app.MainForm() == &form && app.OnMinimize) {
        app.Dispatch(app.OnMinimize);
        return !IsWindow(w.hwnd);
      }
      return false;
    default:
      return false;
  }
}

}  // namespace korval::forms

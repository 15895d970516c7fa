#pragma once
// What differs from one kind of window to another: the peer of a control's kind, chosen once when its window
// is made and kept in its Window record (private to the backend's sources). The base is the peer of a plain
// windowed control: a window of our panel class that paints its colour and its graphic controls.
#include <windows.h>

#include "win32_window.h"

namespace korval::forms {

struct Win32Backend::Peer {
  // The window's class and the styles of its kind (beyond those of every child window).
  struct Shape {
    const char* windowClass;
    DWORD style;
    DWORD exStyle;
  };
  // The peers of the kinds, below.
  struct FormPeer;
  struct PanelPeer;
  struct StaticTextPeer;
  struct BitButtonPeer;
  struct SystemPeer;
  struct ButtonPeer;
  struct CheckPeer;
  struct EditPeer;
  struct GridPeer;
  struct SpinPeer;

  // The peer of a control's kind: the one place that asks what kind a control is.
  static const Peer& For(const WinControl& control);
  // The peer of a control whose window exists (the plain one before that).
  static const Peer& Of(const WinControl& control);

  virtual ~Peer() = default;

  // The window's class and styles, from the control as it is when its window is made.
  virtual Shape MakeShape(const WinControl& control) const;
  // The window is made and known by its record: the system's controls take their font and value.
  virtual void Created(Window&) const {}

  // The model changed (the window exists).
  virtual void Moved(Window& w) const;
  virtual void Shown(Window& w) const;
  virtual void TextChanged(Window& w) const;
  virtual void LookChanged(Window& w) const;
  virtual void ValueChanged(Window&) const {}

  // A message to the window, before those that every window of ours handles: true when it is handled, with
  // its result.
  virtual bool Handle(Window&, UINT, WPARAM, LPARAM, LRESULT&) const { return false; }
  // A notice that the window sends its parent (WM_COMMAND's code).
  virtual void Notice(Window&, WORD) const {}
  // The parent is asked to draw the (owner-drawn) window.
  virtual void DrawItem(Window&, const DRAWITEMSTRUCT&) const {}

  // Paints the client area with its corner at (dx, dy) in `dc`.
  virtual void Paint(Window& w, HDC dc, int dx, int dy) const;
  // How much of the client area is painted: the control's size (a form, all of its window's client area).
  virtual SIZE PaintedSize(const Window& w) const;
  // The picture is painted at the client area's own corner, whatever part is asked for.
  virtual bool PaintsFromOwnCorner() const { return false; }
  // The picture comes from the control alone (ours, without state of the system's): it can be painted into
  // the form's picture directly.
  virtual bool PaintedInPlace() const { return false; }
  // A visible one hides all that lies beneath it: a part that it covers is painted from it up.
  virtual bool HidesBeneath() const { return false; }
  // It shows its parent's paint beneath it, so it repaints where its parent does.
  virtual bool ShowsParentBeneath() const { return false; }
  // Its own hint shows when the pointer is over it.
  virtual bool ShowsOwnHint() const { return true; }

 protected:
  // The window's text set from the model's (not the user's change, for the edit's notice).
  static void SetText(Window& w);
  static void SetFont(Window& w);
  // The window painted anew: with its form's changes when it can be, else by its own paint.
  static void Repaint(Window& w, BOOL erase);
};

// Forms (peers.cpp): sized with their frame, shown by ShowForm, and the messages of a top window.
struct Win32Backend::Peer::FormPeer : Peer {
  void Moved(Window& w) const override;
  void Shown(Window&) const override {}
  void TextChanged(Window& w) const override;
  void LookChanged(Window& w) const override;
  bool Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const override;
  SIZE PaintedSize(const Window& w) const override;
  bool ShowsOwnHint() const override { return false; }
};

// Panels and static texts (painter.cpp): painted by us from the control alone.
struct Win32Backend::Peer::PanelPeer : Peer {
  void Paint(Window& w, HDC dc, int dx, int dy) const override;
  bool PaintedInPlace() const override { return true; }
  bool HidesBeneath() const override { return true; }
};

struct Win32Backend::Peer::StaticTextPeer : Peer {
  Shape MakeShape(const WinControl& control) const override;
  void Paint(Window& w, HDC dc, int dx, int dy) const override;
  bool PaintedInPlace() const override { return true; }
  bool ShowsParentBeneath() const override { return true; }
};

// Picture buttons (painter.cpp): the system's button, drawn by us.
struct Win32Backend::Peer::BitButtonPeer : Peer {
  Shape MakeShape(const WinControl& control) const override;
  void ValueChanged(Window& w) const override;
  void DrawItem(Window& w, const DRAWITEMSTRUCT& dis) const override;
};

// The controls drawn by the system (controls.cpp): they take their font and value when made.
struct Win32Backend::Peer::SystemPeer : Peer {
  void Created(Window& w) const override;
};

struct Win32Backend::Peer::ButtonPeer : SystemPeer {
  Shape MakeShape(const WinControl& control) const override;
  void ValueChanged(Window& w) const override;
};

// Check boxes and radio buttons: `style` their button style, `checked` whether the model's is checked.
struct Win32Backend::Peer::CheckPeer : SystemPeer {
  CheckPeer(DWORD style, bool (*checked)(const WinControl&)) : style_(style), checked_(checked) {}
  Shape MakeShape(const WinControl& control) const override;
  void ValueChanged(Window& w) const override;

 private:
  DWORD style_;
  bool (*checked_)(const WinControl&);
};

struct Win32Backend::Peer::EditPeer : SystemPeer {
  Shape MakeShape(const WinControl& control) const override;
  void Created(Window& w) const override;
  void TextChanged(Window& w) const override;
  void LookChanged(Window& w) const override;
  void ValueChanged(Window& w) const override;
  void Notice(Window& w, WORD code) const override;
};

// The string grid (grid.cpp): its scroll bars, picture, keys and clicks.
struct Win32Backend::Peer::GridPeer : Peer {
  Shape MakeShape(const WinControl& control) const override;
  void Created(Window& w) const override;
  void ValueChanged(Window& w) const override;
  bool Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const override;
  void Paint(Window& w, HDC dc, int dx, int dy) const override;
  bool PaintsFromOwnCorner() const override { return true; }

 private:
  static void Refresh(Window& w);
};

// The spin button (spin.cpp): its two halves, painted and repeating while held.
struct Win32Backend::Peer::SpinPeer : Peer {
  Shape MakeShape(const WinControl& control) const override;
  bool Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const override;
  void Paint(Window& w, HDC dc, int dx, int dy) const override;

 private:
  static void ClickHeldHalf(Window& w);
};

}  // namespace korval::forms

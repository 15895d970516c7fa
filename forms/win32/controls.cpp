// The peers of the controls drawn by the system (check boxes, radio buttons, buttons, edits): their windows
// kept in step with the model; the colours of the child windows, the dialog keys and the focus.
#include <algorithm>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], length + 1)));
  return text;
}

HBRUSH Win32Backend::BrushFor(Color c) { return brushes_.For(c); }

void Win32Backend::Peer::SystemPeer::Created(Window& w) const {
  SetFont(w);
  ValueChanged(w);
}

Win32Backend::Peer::Shape Win32Backend::Peer::ButtonPeer::MakeShape(const WinControl& c) const {
  const bool isDefault = static_cast<const Button&>(c).Default();
  return Shape{"BUTTON", static_cast<DWORD>(isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP, 0};
}

void Win32Backend::Peer::ButtonPeer::ValueChanged(Window& w) const {
  const bool isDefault = static_cast<const Button&>(*w.control).Default();
  SendMessageA(w.hwnd, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
}

Win32Backend::Peer::Shape Win32Backend::Peer::CheckPeer::MakeShape(const WinControl&) const {
  return Shape{"BUTTON", style_, 0};
}

void Win32Backend::Peer::CheckPeer::ValueChanged(Window& w) const {
  SendMessageA(w.hwnd, BM_SETCHECK, checked_(*w.control) ? BST_CHECKED : BST_UNCHECKED, 0);
}

namespace {

// Narrow fields (a two-digit month in 17 pixels) need every pixel: no margin beyond the pixel that the edit
// itself keeps clear on each side.
void NoMargins(HWND edit) {
  SendMessageA(edit, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
}

}  // namespace

Win32Backend::Peer::Shape Win32Backend::Peer::EditPeer::MakeShape(const WinControl& c) const {
  const auto& e = static_cast<const Edit&>(c);
  return Shape{"EDIT",
               static_cast<DWORD>(ES_AUTOHSCROLL | WS_TABSTOP | (e.ReadOnly() ? ES_READONLY : 0) |
                                  (e.PasswordChar() ? ES_PASSWORD : 0)),
               WS_EX_CLIENTEDGE};
}

void Win32Backend::Peer::EditPeer::Created(Window& w) const {
  SetFont(w);
  NoMargins(w.hwnd);
  ValueChanged(w);
}

void Win32Backend::Peer::EditPeer::TextChanged(Window& w) const {
  const auto& edit = static_cast<const Edit&>(*w.control);
  // What the user typed is in the edit already: setting it again would put the caret back to the start.
  if (WindowText(w.hwnd) == edit.Caption()) return;
  SetText(w);
  // A text that the program puts (a filtered one among them) leaves the caret at its end, to type on. Only in
  // the edit being typed into: elsewhere, and in an edit that takes no typing, the text's start stays in view
  // (a caret at the end scrolls a narrow field's text away from its start).
  const bool typing = GetFocus() == w.hwnd && !edit.ReadOnly();
  const WPARAM caret = typing ? edit.Caption().size() : 0;
  SendMessageA(w.hwnd, EM_SETSEL, caret, static_cast<LPARAM>(caret));
  Repaint(w, FALSE);
}

void Win32Backend::Peer::EditPeer::LookChanged(Window& w) const {
  SetFont(w);
  NoMargins(w.hwnd);
  Repaint(w, TRUE);
}

void Win32Backend::Peer::EditPeer::ValueChanged(Window& w) const {
  const auto& edit = static_cast<const Edit&>(*w.control);
  SendMessageA(w.hwnd, EM_SETREADONLY, edit.ReadOnly(), 0);
  SendMessageA(w.hwnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(edit.PasswordChar()), 0);
  SendMessageA(w.hwnd, EM_LIMITTEXT, static_cast<WPARAM>(edit.MaxLength()), 0);
  InvalidateRect(w.hwnd, nullptr, TRUE);
}

void Win32Backend::Peer::EditPeer::Notice(Window& w, WORD code) const {
  auto& edit = static_cast<Edit&>(*w.control);
  if (code == EN_KILLFOCUS) {
    // A read-only field that the focus leaves shows its text from the start again: a caret moved to the end
    // of a text as wide as a narrow field scrolled its first character out of view.
    if (edit.ReadOnly()) SendMessageA(w.hwnd, EM_SETSEL, 0, 0);
  } else if (code == EN_CHANGE && !w.syncing) {
    const std::string text = WindowText(w.hwnd);
    edit.OwnerForm().App().Dispatch([&] { edit.Typed(text); });
  }
}

LRESULT Win32Backend::ControlColour(HDC dc, HWND child) {
  Window* w = Find(child);
  const Control& c = *w->control;
  SetTextColor(dc, Ref(c.Font().color));
  SetBkColor(dc, Ref(c.GetColor()));
  return reinterpret_cast<LRESULT>(BrushFor(c.GetColor()));
}

void Win32Backend::FocusControl(WinControl& control) {
  HWND hwnd = WindowOf(control);
  HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
  // A form that is not shown yet passes the focus on when it becomes active.
  if (hwnd && root && IsWindowVisible(root) && control.CanTakeInput()) SetFocus(hwnd);
}

void Win32Backend::DialogKeys(const MSG& msg, bool& eaten) {
  if (msg.message != WM_KEYDOWN || !app_) return;
  switch (msg.wParam) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_SPACE:
    case VK_LEFT:
    case VK_UP:
    case VK_RIGHT:
    case VK_DOWN:
      break;
    default:
      return;
  }
  Window* w = Find(GetAncestor(msg.hwnd, GA_ROOT));
  if (!w) return;
  Form* form = &w->control->OwnerForm();  // our top windows are forms'
  Window* focused = Find(GetFocus());
  form->FocusMoved(focused && focused->control != form && &focused->control->OwnerForm() == form
                       ? focused->control
                       : nullptr);
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShift;
  if (GetKeyState(VK_MENU) < 0) shift |= kAlt;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrl;
  bool used = false;
  app_->Dispatch(*form, [&] { used = form->DialogKey(static_cast<std::uint16_t>(msg.wParam), shift); });
  eaten = used;
  if (!used) return;
  // From the first key on the focused control shows it, as in the system's dialogs (which hide the focus
  // cues until the keyboard is used). A radio button checked while it has the focus draws its focus
  // rectangle again over the one it drew on taking the focus, which takes it away: it is drawn anew whole.
  if (IsWindow(w->hwnd)) SendMessageA(w->hwnd, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
  if (HWND focus = GetFocus()) InvalidateRect(focus, nullptr, TRUE);
}

}  // namespace korval::forms

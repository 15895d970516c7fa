// The controls drawn by the system (check boxes, radio buttons, buttons, edits): their windows made and
// kept in step with the model; the dialog keys and the focus.
#include <algorithm>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32_window.h"

namespace korval::forms {

using namespace win32;

namespace {

bool IsSystemControl(const WinControl& c) {
  return dynamic_cast<const CheckBox*>(&c) || dynamic_cast<const RadioButton*>(&c) ||
         dynamic_cast<const Button*>(&c) || dynamic_cast<const Edit*>(&c);
}

}  // namespace

std::string WindowText(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(hwnd, &text[0], length + 1)));
  return text;
}

HBRUSH Win32Backend::BrushFor(Color c) { return brushes_.For(c); }

HWND Win32Backend::CreateControlWindow(WinControl& wc, Window& w, HWND parentWindow) {
  DWORD style =
      WS_CHILD | WS_CLIPSIBLINGS | (wc.Visible() ? WS_VISIBLE : 0) | (wc.Enabled() ? 0 : WS_DISABLED);
  DWORD exStyle = 0;
  const char* cls = kPanelClass;
  if (dynamic_cast<StaticText*>(&wc)) {
    cls = kStaticTextClass;
  } else if (dynamic_cast<BitBtn*>(&wc)) {
    cls = "BUTTON";
    style |= BS_OWNERDRAW | WS_TABSTOP;
  } else if (auto* b = dynamic_cast<Button*>(&wc)) {
    cls = "BUTTON";
    style |= (b->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP;
  } else if (dynamic_cast<CheckBox*>(&wc)) {
    cls = "BUTTON";
    style |= BS_CHECKBOX | WS_TABSTOP;
  } else if (dynamic_cast<RadioButton*>(&wc)) {
    cls = "BUTTON";
    style |= BS_RADIOBUTTON;
  } else if (auto* e = dynamic_cast<Edit*>(&wc)) {
    cls = "EDIT";
    style |= ES_AUTOHSCROLL | WS_TABSTOP | (e->ReadOnly() ? ES_READONLY : 0) |
             (e->PasswordChar() ? ES_PASSWORD : 0);
    exStyle = WS_EX_CLIENTEDGE;
  } else if (dynamic_cast<StringGrid*>(&wc)) {
    cls = kGridClass;
    style |= WS_VSCROLL | WS_HSCROLL | WS_TABSTOP;
    exStyle = WS_EX_CLIENTEDGE;
  } else if (dynamic_cast<SpinButton*>(&wc)) {
    cls = kSpinClass;
  }
  if (!IsSystemControl(wc)) style |= WS_CLIPCHILDREN;
  w.syncing = true;
  HWND hwnd = CreateWindowExA(exStyle, cls, wc.Caption().c_str(), style, wc.Left(), wc.Top(), wc.Width(),
                              wc.Height(), parentWindow, nullptr, instance_, &w);
  w.syncing = false;
  if (!hwnd) return nullptr;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&w));
  if (IsSystemControl(wc)) {
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(wc.Font())), FALSE);
    // Narrow fields (a two-digit month in 17 pixels) need every pixel: no margin beyond the pixel that the
    // edit itself keeps clear on each side.
    if (dynamic_cast<Edit*>(&wc))
      SendMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
    w.hwnd = hwnd;
    ValueChanged(wc, w);
  }
  if (auto* grid = dynamic_cast<StringGrid*>(&wc)) {
    w.hwnd = hwnd;
    RefreshGrid(w, *grid);
  }
  return hwnd;
}

void Win32Backend::ValueChanged(WinControl& control, Window& w) {
  HWND hwnd = w.hwnd;
  if (!hwnd) return;
  if (auto* box = dynamic_cast<CheckBox*>(&control)) {
    SendMessageA(hwnd, BM_SETCHECK, box->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (auto* radio = dynamic_cast<RadioButton*>(&control)) {
    SendMessageA(hwnd, BM_SETCHECK, radio->Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  } else if (auto* edit = dynamic_cast<Edit*>(&control)) {
    SendMessageA(hwnd, EM_SETREADONLY, edit->ReadOnly(), 0);
    SendMessageA(hwnd, EM_SETPASSWORDCHAR, static_cast<unsigned char>(edit->PasswordChar()), 0);
    SendMessageA(hwnd, EM_LIMITTEXT, static_cast<WPARAM>(edit->MaxLength()), 0);
    InvalidateRect(hwnd, nullptr, TRUE);
  } else if (auto* button = dynamic_cast<Button*>(&control)) {
    SendMessageA(hwnd, BM_SETSTYLE, button->Default() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, TRUE);
  } else if (dynamic_cast<BitBtn*>(&control)) {
    InvalidateRect(hwnd, nullptr, FALSE);
  } else if (dynamic_cast<StringGrid*>(&control)) {
    ScheduleRefresh(w);
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
  auto* form = w ? dynamic_cast<Form*>(w->control) : nullptr;
  if (!form) return;
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

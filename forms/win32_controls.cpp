// The Win32 backend's windowed controls beyond panels and picture buttons: the system's check boxes, radio
// buttons, push buttons and edits; our own grid and spin button windows; the dialog keys and the focus; the
// save-file dialog, the input box and the Yes/No question.
#include <windows.h>
// The common dialogs after windows.h, which they build on.
#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32_backend.h"
#include "win32_window.h"

namespace korval::forms {

using namespace win32;

namespace {

constexpr UINT_PTR kSpinRepeatTimer = 1;

bool IsSystemControl(const WinControl& c) {
  return dynamic_cast<const CheckBox*>(&c) || dynamic_cast<const RadioButton*>(&c) ||
         dynamic_cast<const Button*>(&c) || dynamic_cast<const Edit*>(&c);
}

// Grid geometry: every cell is followed by a one-pixel grid line to its right and below it.
int RowStep(const StringGrid& g) { return g.DefaultRowHeight() + 1; }
int FixedHeight(const StringGrid& g) { return g.FixedRows() * RowStep(g); }
int FixedWidth(const StringGrid& g) {
  int w = 0;
  for (int c = 0; c < g.FixedCols(); ++c) w += g.ColWidth(c) + 1;
  return w;
}
// Scrolling rows wholly shown in a client area of `height` pixels (at least one).
int VisibleRows(const StringGrid& g, int height) {
  return std::max(1, (height - FixedHeight(g)) / RowStep(g));
}
int VisibleCols(const StringGrid& g, int width) {
  int x = FixedWidth(g), n = 0;
  for (int c = g.LeftCol(); c < g.ColCount(); ++c) {
    x += g.ColWidth(c) + 1;
    if (x > width) break;
    ++n;
  }
  return std::max(1, n);
}
int LastTopRow(const StringGrid& g, int height) {
  return std::max(g.FixedRows(), g.RowCount() - VisibleRows(g, height));
}
// The last first column that still shows the last column wholly (or as much as fits).
int LastLeftCol(const StringGrid& g, int width) {
  int x = FixedWidth(g), col = g.ColCount();
  while (col > g.FixedCols()) {
    const int w = g.ColWidth(col - 1) + 1;
    if (x + w > width && col < g.ColCount()) break;
    x += w;
    --col;
  }
  return std::max(g.FixedCols(), col);
}

// Sets a scroll bar only when its range, page or position changes: Wine repaints the bar on every call, some
// milliseconds each, also when nothing changed. The values are first limited as the system limits them, so
// that they compare with what it keeps.
void SetScrollBar(HWND hwnd, int bar, int max, int page, int pos) {
  max = std::max(0, max);
  page = std::clamp(page, 0, max + 1);
  pos = std::clamp(pos, 0, std::max(0, max - std::max(page, 1) + 1));
  SCROLLINFO now{};
  now.cbSize = sizeof now;
  now.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (GetScrollInfo(hwnd, bar, &now) && now.nMin == 0 && now.nMax == max &&
      now.nPage == static_cast<UINT>(page) && now.nPos == pos)
    return;
  SCROLLINFO next{};
  next.cbSize = sizeof next;
  next.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  next.nMax = max;
  next.nPage = static_cast<UINT>(page);
  next.nPos = pos;
  SetScrollInfo(hwnd, bar, &next, TRUE);
}

RECT ClientOf(HWND hwnd) {
  RECT r{};
  GetClientRect(hwnd, &r);
  return r;
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], n);
  return out;
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

// Grid.

void Win32Backend::ScheduleRefresh(Window& w) {
  if (w.refreshPending || !w.hwnd) return;
  // A fill changes thousands of cells in one handler: the scroll bars and the picture follow once.
  w.refreshPending = true;
  PostMessageA(w.hwnd, kGridRefresh, 0, 0);
}

void Win32Backend::RefreshGrid(Window& w, StringGrid& g) {
  w.refreshPending = false;
  HWND hwnd = w.hwnd;
  // Showing or hiding one scroll bar changes the room for the other: twice settles it.
  for (int pass = 0; pass < 2; ++pass) {
    const RECT client = ClientOf(hwnd);
    if (g.TopRow() > LastTopRow(g, client.bottom)) g.SetTopRow(LastTopRow(g, client.bottom));
    if (g.LeftCol() > LastLeftCol(g, client.right)) g.SetLeftCol(LastLeftCol(g, client.right));
    SetScrollBar(hwnd, SB_VERT, g.RowCount() - g.FixedRows() - 1, VisibleRows(g, client.bottom),
                 g.TopRow() - g.FixedRows());
    int total = FixedWidth(g);
    for (int c = g.FixedCols(); c < g.ColCount(); ++c) total += g.ColWidth(c) + 1;
    const bool wide = total > client.right;
    SetScrollBar(hwnd, SB_HORZ, wide ? g.ColCount() - g.FixedCols() - 1 : 0,
                 wide ? VisibleCols(g, client.right) : 1, g.LeftCol() - g.FixedCols());
  }
  w.refreshPending = false;  // the clamps above may have asked for one more
  InvalidateRect(hwnd, nullptr, FALSE);
}

void Win32Backend::PaintGrid(StringGrid& g, HDC dc, HWND hwnd) {
  const RECT client = ClientOf(hwnd);
  Fill(dc, client, g.GetColor());
  const bool focused = GetFocus() == hwnd;
  const Color face = GetSystemColor(SystemColor::ButtonFace);
  const Color line = Rgb(192, 192, 192);
  Selected f(dc, FontFor(g.Font()));
  SetBkMode(dc, TRANSPARENT);
  auto nextRow = [&](int row) { return row + 1 == g.FixedRows() ? g.TopRow() : row + 1; };
  auto nextCol = [&](int col) { return col + 1 == g.FixedCols() ? g.LeftCol() : col + 1; };
  const int firstRow = g.FixedRows() > 0 ? 0 : g.TopRow();
  const int firstCol = g.FixedCols() > 0 ? 0 : g.LeftCol();
  int y = 0;
  for (int row = firstRow; row < g.RowCount() && y < client.bottom; row = nextRow(row)) {
    int x = 0;
    for (int col = firstCol; col < g.ColCount() && x < client.right; col = nextCol(col)) {
      const int width = g.ColWidth(col);
      RECT cell{x, y, x + width, y + g.DefaultRowHeight()};
      {
        const bool fixed = row < g.FixedRows() || col < g.FixedCols();
        const bool current = !fixed && row == g.Row() && col == g.Col();
        Color back = fixed ? face : g.GetColor();
        Color text = g.Font().color;
        if (current && !focused) {
          back = Rgb(0, 0, 128);
          text = Rgb(255, 255, 255);
        }
        Fill(dc, cell, back);
        if (fixed) {
          RECT edge = cell;
          DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
        }
        Fill(dc, RECT{cell.right, y, cell.right + 1, cell.bottom + 1}, fixed ? Rgb(0, 0, 0) : line);
        Fill(dc, RECT{x, cell.bottom, cell.right + 1, cell.bottom + 1}, fixed ? Rgb(0, 0, 0) : line);
        const std::string& s = g.Cell(col, row);
        if (!s.empty()) {
          SetTextColor(dc, Ref(g.Enabled() ? text : GetSystemColor(SystemColor::ButtonShadow)));
          RECT t{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom};
          DrawTextA(dc, s.c_str(), static_cast<int>(s.size()), &t,
                    DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
        }
        if (current && focused) DrawFocusRect(dc, &cell);
      }
      x += width + 1;
    }
    y += RowStep(g);
  }
}

bool Win32Backend::HandleGrid(Window& w, StringGrid& g, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  HWND hwnd = w.hwnd;
  const RECT client = ClientOf(hwnd);
  auto showRow = [&](int row) {
    if (row < g.TopRow()) g.SetTopRow(row);
    const int visible = VisibleRows(g, client.bottom);
    if (row >= g.TopRow() + visible) g.SetTopRow(row - visible + 1);
  };
  auto showCol = [&](int col) {
    if (col < g.LeftCol()) g.SetLeftCol(col);
    while (col >= g.LeftCol() + VisibleCols(g, client.right) && g.LeftCol() < LastLeftCol(g, client.right))
      g.SetLeftCol(g.LeftCol() + 1);
  };
  result = 0;
  switch (msg) {
    case kGridRefresh:
      RefreshGrid(w, g);
      return true;
    case WM_SIZE:
      RefreshGrid(w, g);
      return true;
    case WM_GETDLGCODE:
      result = DLGC_WANTARROWS;
      return true;
    case WM_GETTEXTLENGTH:
      result = static_cast<LRESULT>(g.Text().size());
      return true;
    case WM_GETTEXT: {
      // Other programs (screen readers, the test probe) read the cells as the window's text.
      const std::string text = g.Text();
      auto* out = reinterpret_cast<char*>(lp);
      if (!out || wp == 0) return true;
      const std::size_t n = std::min(text.size(), static_cast<std::size_t>(wp) - 1);
      std::memcpy(out, text.data(), n);
      out[n] = '\0';
      result = static_cast<LRESULT>(n);
      return true;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (msg == WM_SETFOCUS) g.OwnerForm().FocusMoved(&g);
      InvalidateRect(hwnd, nullptr, FALSE);
      return true;
    case WM_VSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd, SB_VERT, &si);
      const int page = VisibleRows(g, client.bottom);
      int top = g.TopRow();
      switch (LOWORD(wp)) {
        case SB_LINEUP:
          --top;
          break;
        case SB_LINEDOWN:
          ++top;
          break;
        case SB_PAGEUP:
          top -= page;
          break;
        case SB_PAGEDOWN:
          top += page;
          break;
        case SB_TOP:
          top = g.FixedRows();
          break;
        case SB_BOTTOM:
          top = g.RowCount();
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          top = g.FixedRows() + si.nTrackPos;
          break;
        default:
          return true;
      }
      g.SetTopRow(std::min(top, LastTopRow(g, client.bottom)));
      return true;
    }
    case WM_HSCROLL: {
      SCROLLINFO si{};
      si.cbSize = sizeof si;
      si.fMask = SIF_TRACKPOS;
      GetScrollInfo(hwnd, SB_HORZ, &si);
      int left = g.LeftCol();
      switch (LOWORD(wp)) {
        case SB_LINELEFT:
        case SB_PAGELEFT:
          --left;
          break;
        case SB_LINERIGHT:
        case SB_PAGERIGHT:
          ++left;
          break;
        case SB_LEFT:
          left = g.FixedCols();
          break;
        case SB_RIGHT:
          left = g.ColCount();
          break;
        case SB_THUMBTRACK:
        case SB_THUMBPOSITION:
          left = g.FixedCols() + si.nTrackPos;
          break;
        default:
          return true;
      }
      g.SetLeftCol(std::min(left, LastLeftCol(g, client.right)));
      return true;
    }
    case WM_MOUSEWHEEL: {
      const int notches = static_cast<short>(HIWORD(wp)) / WHEEL_DELTA;
      g.SetTopRow(std::min(g.TopRow() - 3 * notches, LastTopRow(g, client.bottom)));
      return true;
    }
    case WM_KEYDOWN: {
      const int page = VisibleRows(g, client.bottom);
      int row = g.Row(), col = g.Col();
      const bool ctrl = GetKeyState(VK_CONTROL) < 0;
      switch (wp) {
        case VK_UP:
          --row;
          break;
        case VK_DOWN:
          ++row;
          break;
        case VK_PRIOR:
          row -= page;
          break;
        case VK_NEXT:
          row += page;
          break;
        case VK_LEFT:
          --col;
          break;
        case VK_RIGHT:
          ++col;
          break;
        case VK_HOME:
          if (ctrl)
            row = g.FixedRows();
          else
            col = g.FixedCols();
          break;
        case VK_END:
          if (ctrl)
            row = g.RowCount() - 1;
          else
            col = g.ColCount() - 1;
          break;
        default:
          return false;
      }
      g.SetCurrent(col, row);
      showRow(g.Row());
      showCol(g.Col());
      return true;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetFocus(hwnd);
      const int px = static_cast<short>(LOWORD(lp)), py = static_cast<short>(HIWORD(lp));
      int row = -1, col = -1;
      if (py >= FixedHeight(g)) row = g.TopRow() + (py - FixedHeight(g)) / RowStep(g);
      int x = FixedWidth(g);
      for (int c = g.LeftCol(); c < g.ColCount() && px >= FixedWidth(g); ++c) {
        if (px < x + g.ColWidth(c) + 1) {
          col = c;
          break;
        }
        x += g.ColWidth(c) + 1;
      }
      if (row >= 0 && row < g.RowCount() && col >= 0) {
        g.SetCurrent(col, row);
        showRow(g.Row());
      }
      return true;
    }
    default:
      return false;
  }
}

// Spin button.

void Win32Backend::PaintSpin(const SpinButton& spin, const Window& w, HDC dc, const RECT& r) {
  const Color face = GetSystemColor(SystemColor::ButtonFace);
  const int middle = r.top + (r.bottom - r.top) / 2;
  const RECT halves[2] = {{r.left, r.top, r.right, middle}, {r.left, middle, r.right, r.bottom}};
  const Color arrow = spin.Enabled() ? Rgb(0, 0, 0) : GetSystemColor(SystemColor::ButtonShadow);
  for (int i = 0; i < 2; ++i) {
    RECT h = halves[i];
    Fill(dc, h, face);
    const bool pressed = w.pressedHalf == i + 1;
    DrawEdge(dc, &h, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    // The arrow: rows 1, 3, 5, 7 and 9 pixels wide in a 9 x 6 box, pointing up or down.
    const int cx = (h.left + h.right) / 2 + (pressed ? 1 : 0);
    const int top = (h.top + h.bottom - 6) / 2 + 1 + (pressed ? 1 : 0);
    for (int row = 0; row < 5; ++row) {
      const int half = i == 0 ? row : 4 - row;
      Fill(dc, RECT{cx - half, top + row, cx + half + 1, top + row + 1}, arrow);
    }
  }
}

void Win32Backend::SpinClick(Window& w, SpinButton& spin) {
  POINT p;
  GetCursorPos(&p);
  ScreenToClient(w.hwnd, &p);
  const RECT client = ClientOf(w.hwnd);
  const int half = p.y < client.bottom / 2 ? 1 : 2;
  if (half != w.pressedHalf || !PtInRect(&client, p)) return;
  spin.OwnerForm().App().Dispatch([&] { half == 1 ? spin.ClickUp() : spin.ClickDown(); });
}

bool Win32Backend::HandleSpin(Window& w, SpinButton& spin, UINT msg, WPARAM, LPARAM lp, LRESULT& result) {
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
        SpinClick(w, spin);
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

// Dialogs.

bool Win32Backend::ExecuteSaveDialog(SaveDialog& dialog) {
  std::string filter;
  for (const auto& pair : dialog.FilterPairs()) {
    filter += pair.first;
    filter += '\0';
    filter += pair.second;
    filter += '\0';
  }
  filter += '\0';
  std::vector<char> file(4096, '\0');
  const std::string proposal = dialog.FileName().substr(0, file.size() - 1);
  std::memcpy(file.data(), proposal.data(), proposal.size());
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  HWND owner = WindowOf(dialog.OwnerForm());
  ofn.hwndOwner = owner && IsWindowVisible(owner) ? owner : nullptr;
  ofn.lpstrFilter = filter.size() > 1 ? filter.c_str() : nullptr;
  ofn.nFilterIndex = 1;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = dialog.InitialDir().empty() ? nullptr : dialog.InitialDir().c_str();
  ofn.lpstrTitle = dialog.Title().empty() ? nullptr : dialog.Title().c_str();
  ofn.lpstrDefExt = dialog.DefaultExt().empty() ? nullptr : dialog.DefaultExt().c_str();
  // The current folder stays: data files named relative to it must not move with the user's browsing.
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING | OFN_NOCHANGEDIR;
  HideHint();
  using GetSaveFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);
  static const auto getSaveFileName =
      LoadOnFirstUse<GetSaveFileNameFunction>("comdlg32.dll", "GetSaveFileNameA");
  if (!getSaveFileName || !getSaveFileName(&ofn)) return false;
  dialog.SetFileName(file.data());
  return true;
}

struct Win32Backend::DialogState {
  enum Kind { Question, Input } kind;
  std::string caption, text, value;
  MessageResult answer = MessageResult::No;
  bool ok = false;
  Win32Backend* backend = nullptr;
  HWND edit = nullptr;
};

INT_PTR Win32Backend::RunDialog(DialogState& state, HWND owner) {
  state.backend = this;
  // An empty template: the controls are made in pixels when the dialog starts.
  std::vector<WORD> t(64, 0);
  auto* tmpl = reinterpret_cast<DLGTEMPLATE*>(t.data());
  tmpl->style = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_CENTER;
  tmpl->cx = 100;
  tmpl->cy = 50;
  // After the header: no menu, the standard class, an empty title (set when it starts).
  HideHint();
  return DialogBoxIndirectParamA(instance_, tmpl, owner, DialogProc, reinterpret_cast<LPARAM>(&state));
}

void Win32Backend::LayOutDialog(HWND dialog, DialogState& state) {
  SetWindowTextW(dialog, Wide(state.caption).c_str());
  HFONT font = FontFor(Font{});
  auto make = [&](const char* cls, const std::string& text, DWORD style, int id, int x, int y, int w, int h,
                  DWORD ex = 0) {
    HWND c = CreateWindowExA(ex, cls, text.c_str(), WS_CHILD | WS_VISIBLE | style, x, y, w, h, dialog,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    SendMessageA(c, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return c;
  };
  // The text's size, wrapped at 400 pixels.
  RECT textBox{0, 0, 400, 0};
  {
    Selected f(measureDc_, font);
    DrawTextA(measureDc_, state.text.c_str(), static_cast<int>(state.text.size()), &textBox,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  const int textWidth = std::max<int>(textBox.right, 1), textHeight = std::max<int>(textBox.bottom, 13);
  int width = 0, height = 0;
  const int buttonW = 75, buttonH = 25;
  if (state.kind == DialogState::Question) {
    HWND icon = make("STATIC", "", SS_ICON, -1, 12, 12, 32, 32);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
    make("STATIC", state.text, SS_LEFT | SS_NOPREFIX, -1, 56, 12 + std::max(0, (32 - textHeight) / 2),
         textWidth, textHeight);
    width = std::max(56 + textWidth + 12, 2 * buttonW + 3 * 12);
    const int buttonsTop = 12 + std::max(32, textHeight) + 16;
    height = buttonsTop + buttonH + 12;
    const int left = (width - (2 * buttonW + 8)) / 2;
    HWND yes =
        make("BUTTON", "&Yes", BS_DEFPUSHBUTTON | WS_TABSTOP, IDYES, left, buttonsTop, buttonW, buttonH);
    make("BUTTON", "&No", BS_PUSHBUTTON | WS_TABSTOP, IDNO, left + buttonW + 8, buttonsTop, buttonW, buttonH);
    SendMessageA(dialog, DM_SETDEFID, IDYES, 0);
    SetFocus(yes);
  } else {
    width = std::max(textWidth, 240) + 2 * 12;
    make("STATIC", state.text, SS_LEFT | SS_NOPREFIX, -1, 12, 12, width - 24, textHeight);
    const int editTop = 12 + textHeight + 6;
    state.edit = make("EDIT", state.value, ES_AUTOHSCROLL | WS_TABSTOP, 100, 12, editTop, width - 24, 21,
                      WS_EX_CLIENTEDGE);
    SendMessageA(state.edit, EM_LIMITTEXT, 255, 0);
    const int buttonsTop = editTop + 21 + 14;
    height = buttonsTop + buttonH + 12;
    const int left = (width - (2 * buttonW + 8)) / 2;
    make("BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK, left, buttonsTop, buttonW, buttonH);
    make("BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL, left + buttonW + 8, buttonsTop, buttonW,
         buttonH);
    SendMessageA(dialog, DM_SETDEFID, IDOK, 0);
    SetFocus(state.edit);
    SendMessageA(state.edit, EM_SETSEL, 0, -1);
  }
  RECT outer{0, 0, width, height};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  const int ow = outer.right - outer.left, oh = outer.bottom - outer.top;
  RECT work;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  SetWindowPos(dialog, nullptr, work.left + (work.right - work.left - ow) / 2,
               work.top + (work.bottom - work.top - oh) / 2, ow, oh, SWP_NOZORDER);
}

INT_PTR CALLBACK Win32Backend::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_INITDIALOG) {
    auto* state = reinterpret_cast<DialogState*>(lp);
    SetWindowLongPtrA(hwnd, DWLP_USER, lp);
    state->backend->LayOutDialog(hwnd, *state);
    return FALSE;  // the focus is set
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrA(hwnd, DWLP_USER));
  if (!state || msg != WM_COMMAND || HIWORD(wp) != BN_CLICKED) return FALSE;
  switch (LOWORD(wp)) {
    case IDYES:
      state->answer = MessageResult::Yes;
      state->ok = true;
      break;
    case IDOK:
      state->ok = true;
      state->answer = MessageResult::Yes;
      if (state->edit) state->value = WindowText(state->edit);
      break;
    case IDNO:
    case IDCANCEL:  // Esc and the close box
      state->answer = MessageResult::No;
      state->ok = false;
      break;
    default:
      return FALSE;
  }
  EndDialog(hwnd, LOWORD(wp));
  return TRUE;
}

MessageResult Win32Backend::AskYesNo(HWND owner, const std::string& caption, const std::string& text) {
  DialogState state;
  state.kind = DialogState::Question;
  state.caption = caption;
  state.text = text;
  MessageBeep(MB_ICONQUESTION);
  if (RunDialog(state, owner) <= 0) return MessageResult::No;
  return state.answer;
}

bool Win32Backend::ShowInputBox(const std::string& caption, const std::string& prompt, std::string& value) {
  DialogState state;
  state.kind = DialogState::Input;
  state.caption = caption;
  state.text = prompt;
  state.value = value;
  if (RunDialog(state, OwnerWindow(app_ ? app_->HandlerForm() : nullptr)) <= 0 || !state.ok) return false;
  value = state.value;
  return true;
}

}  // namespace korval::forms

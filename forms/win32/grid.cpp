// The string grid's peer: its scroll bars, its picture and the user's keys and clicks.
#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "application.h"
#include "grid_geometry.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;
using namespace grid_geometry;

namespace {

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

// Where a scroll bar's request moves the first scrolling row or column, `first` of `count` with `fixed`
// before it; none for a request that moves nothing (the end of a drag).
std::optional<int> ScrollTarget(HWND hwnd, int bar, WPARAM wp, int first, int fixed, int count, int page) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(hwnd, bar, &si);
  switch (LOWORD(wp)) {
    case SB_LINEUP:  // and SB_LINELEFT
      return first - 1;
    case SB_LINEDOWN:  // and SB_LINERIGHT
      return first + 1;
    case SB_PAGEUP:
      return first - page;
    case SB_PAGEDOWN:
      return first + page;
    case SB_TOP:
      return fixed;
    case SB_BOTTOM:
      return count;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      return fixed + si.nTrackPos;
    default:
      return std::nullopt;
  }
}

}  // namespace

Win32Backend::Peer::Shape Win32Backend::Peer::GridPeer::MakeShape(const WinControl&) const {
  return Shape{kGridClass, WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | WS_CLIPCHILDREN, WS_EX_CLIENTEDGE};
}

void Win32Backend::Peer::GridPeer::Created(Window& w) const { Refresh(w); }

void Win32Backend::Peer::GridPeer::ValueChanged(Window& w) const {
  if (w.refreshPending || !w.hwnd) return;
  // A fill changes thousands of cells in one handler: the scroll bars and the picture follow once.
  w.refreshPending = true;
  PostMessageA(w.hwnd, kGridRefresh, 0, 0);
}

void Win32Backend::Peer::GridPeer::Refresh(Window& w) {
  auto& g = static_cast<StringGrid&>(*w.control);
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

// Painted from the client area's corner, whatever part is asked for.
void Win32Backend::Peer::GridPeer::Paint(Window& w, HDC dc, int, int) const {
  Win32Backend& b = *w.backend;
  const auto& g = static_cast<const StringGrid&>(*w.control);
  HWND hwnd = w.hwnd;
  const RECT client = ClientOf(hwnd);
  b.Fill(dc, client, g.GetColor());
  const bool focused = GetFocus() == hwnd;
  const Color face = b.GetSystemColor(SystemColor::ButtonFace);
  const Color line = Rgb(192, 192, 192);
  Selected f(dc, b.FontFor(g.Font()));
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
        b.Fill(dc, cell, back);
        if (fixed) {
          RECT edge = cell;
          DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
        }
        b.Fill(dc, RECT{cell.right, y, cell.right + 1, cell.bottom + 1}, fixed ? Rgb(0, 0, 0) : line);
        b.Fill(dc, RECT{x, cell.bottom, cell.right + 1, cell.bottom + 1}, fixed ? Rgb(0, 0, 0) : line);
        const std::string& s = g.Cell(col, row);
        if (!s.empty()) {
          SetTextColor(dc, Ref(g.Enabled() ? text : b.GetSystemColor(SystemColor::ButtonShadow)));
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

bool Win32Backend::Peer::GridPeer::Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) const {
  auto& g = static_cast<StringGrid&>(*w.control);
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
    case WM_SIZE:
      Refresh(w);
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
    case WM_VSCROLL:
      if (const auto top = ScrollTarget(hwnd, SB_VERT, wp, g.TopRow(), g.FixedRows(), g.RowCount(),
                                        VisibleRows(g, client.bottom)))
        g.SetTopRow(std::min(*top, LastTopRow(g, client.bottom)));
      return true;
    case WM_HSCROLL:
      // A page to the side is one column.
      if (const auto left = ScrollTarget(hwnd, SB_HORZ, wp, g.LeftCol(), g.FixedCols(), g.ColCount(), 1))
        g.SetLeftCol(std::min(*left, LastLeftCol(g, client.right)));
      return true;
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

}  // namespace korval::forms

// Hints: the text of the control under the pointer, shown after a short pause in a window of its own.
#include <algorithm>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;

namespace {

constexpr UINT_PTR kHintPauseTimer = 1;
constexpr UINT_PTR kHintWatchTimer = 2;
constexpr UINT kHintPauseMs = 500;
constexpr DWORD kHintHideMs = 10000;
// The hint's text within its border: the margins on each side and the drawing flags, for painting and sizing.
constexpr int kHintMarginX = 3, kHintMarginY = 1;
constexpr UINT kHintFormat = DT_LEFT | DT_NOPREFIX | DT_NOCLIP;

}  // namespace

// Hints are drawn as the system draws its tool tips: in its status and tool-tip font, realised in the
// character set of the system's code page, in which the hint texts are written (the face alone may map to a
// font of another character set, whose glyphs would not be those of the text's bytes).
HFONT Win32Backend::HintFont() {
  if (hintFont_) return hintFont_.get();
  NONCLIENTMETRICSA metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTA font{};
  if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    font = metrics.lfStatusFont;
  } else {
    font.lfHeight = -11;
    font.lfWeight = FW_NORMAL;
    lstrcpynA(font.lfFaceName, "MS Sans Serif", LF_FACESIZE);
  }
  CHARSETINFO charset{};
  const UINT_PTR codePage = GetACP();
  font.lfCharSet = TranslateCharsetInfo(reinterpret_cast<DWORD*>(codePage), &charset, TCI_SRCCODEPAGE)
                       ? static_cast<BYTE>(charset.ciCharset)
                       : DEFAULT_CHARSET;
  hintFont_.reset(CreateFontIndirectA(&font));
  return hintFont_.get();
}

// Hints: the control under the pointer that has a hint to show, after a short pause; it goes when the pointer
// leaves that control, on a click or a key, or after ten seconds.
void Win32Backend::TrackHint(const MSG& msg) {
  if (msg.message == WM_LBUTTONDOWN || msg.message == WM_RBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN) {
    HideHint();
    return;
  }
  if (msg.message != WM_MOUSEMOVE) return;
  Window* w = Find(msg.hwnd);
  if (!w) return;
  Control* target =
      HintTargetAt(*w, static_cast<short>(LOWORD(msg.lParam)), static_cast<short>(HIWORD(msg.lParam)));
  if (target == hintTarget_) return;
  HideHint();
  hintTarget_ = target;
  if (target) SetTimer(hintWindow_, kHintPauseTimer, kHintPauseMs, nullptr);
}

Control* Win32Backend::HintTargetAt(Window& w, int x, int y) {
  const auto& children = w.control->Children();
  for (auto it = children.rbegin(); it != children.rend(); ++it) {
    Control* c = *it;
    if (c->IsWindowed() || !c->Visible() || !c->Bounds().Contains(x, y)) continue;
    // The topmost picture under the pointer is the one seen; it has the say even without a hint.
    return c->ShowHint() && !c->Hint().empty() ? c : nullptr;
  }
  Control* self = w.control;
  return self->ShowHint() && !self->Hint().empty() && w.peer->ShowsOwnHint() ? self : nullptr;
}

RECT Win32Backend::ScreenRect(const Control& c) const {
  RECT r{};
  if (c.IsWindowed()) {
    if (HWND hwnd = WindowOf(static_cast<const WinControl&>(c))) GetWindowRect(hwnd, &r);
    return r;
  }
  HWND parent = c.Parent() ? WindowOf(*c.Parent()) : nullptr;
  if (!parent) return r;
  POINT p{c.Left(), c.Top()};
  ClientToScreen(parent, &p);
  return RECT{p.x, p.y, p.x + c.Width(), p.y + c.Height()};
}

bool Win32Backend::HintTargetUnderCursor() const {
  if (!hintTarget_ || !hintTarget_->Showing()) return false;
  POINT p;
  GetCursorPos(&p);
  RECT r = ScreenRect(*hintTarget_);
  return PtInRect(&r, p) != 0;
}

void Win32Backend::ShowHintNow() {
  KillTimer(hintWindow_, kHintPauseTimer);
  if (!HintTargetUnderCursor()) {
    hintTarget_ = nullptr;
    return;
  }
  hintText_ = hintTarget_->Hint();
  SetWindowTextA(hintWindow_, hintText_.c_str());
  // Sized from the font and the flags that it is drawn with: the text, its margins and the border.
  RECT r{0, 0, 0, 0};
  {
    Selected f(measureDc_, HintFont());
    DrawTextA(measureDc_, hintText_.c_str(), static_cast<int>(hintText_.size()), &r,
              kHintFormat | DT_CALCRECT);
  }
  r.right += 2 * kHintMarginX;
  r.bottom += 2 * kHintMarginY;
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hintWindow_, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(hintWindow_, GWL_EXSTYLE)));
  POINT p;
  GetCursorPos(&p);
  SetWindowPos(hintWindow_, HWND_TOPMOST, p.x, p.y + 20, r.right - r.left, r.bottom - r.top,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(hintWindow_, nullptr, FALSE);
  hintShown_ = true;
  hintShownAt_ = GetTickCount();
  SetTimer(hintWindow_, kHintWatchTimer, 100, nullptr);
}

void Win32Backend::HideHint() {
  if (!hintWindow_) return;
  KillTimer(hintWindow_, kHintPauseTimer);
  KillTimer(hintWindow_, kHintWatchTimer);
  if (hintShown_) ShowWindow(hintWindow_, SW_HIDE);
  hintShown_ = false;
  hintTarget_ = nullptr;
}

LRESULT CALLBACK Win32Backend::HintProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  auto* self = reinterpret_cast<Win32Backend*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wp, lp);
  switch (msg) {
    case WM_TIMER:
      if (wp == kHintPauseTimer) {
        self->ShowHintNow();
      } else if (wp == kHintWatchTimer) {
        if (!self->HintTargetUnderCursor() || GetTickCount() - self->hintShownAt_ > kHintHideMs)
          self->HideHint();
      }
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT r;
      GetClientRect(hwnd, &r);
      self->Fill(dc, r, self->GetSystemColor(SystemColor::InfoBackground));
      Selected f(dc, self->HintFont());
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, Ref(self->GetSystemColor(SystemColor::InfoText)));
      InflateRect(&r, -kHintMarginX, -kHintMarginY);
      DrawTextA(dc, self->hintText_.c_str(), static_cast<int>(self->hintText_.size()), &r, kHintFormat);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

}  // namespace korval::forms

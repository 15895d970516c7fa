#include "win32_backend.h"

#include <algorithm>

#include "application.h"
#include "datetime.h"
#include "folders.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32_window.h"

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
constexpr UINT kFirstMenuCommand = 100;
UINT AlignFlag(Alignment a) {
  switch (a) {
    case Alignment::Center:
      return DT_CENTER;
    case Alignment::Right:
      return DT_RIGHT;
    case Alignment::Left:
      break;
  }
  return DT_LEFT;
}

// The header of `rows` rows of a picture's pixels as a 32-bit top-down bitmap.
BITMAPINFO DibHeader(const Bitmap& bitmap, int rows) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bitmap.Width();
  bi.bmiHeader.biHeight = -rows;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// Windows whose picture the backend paints from the control alone (ours, without state of the system's):
// they can be painted into their form's picture directly.
bool PaintedInPlace(const WinControl& c) {
  return dynamic_cast<const Panel*>(&c) || dynamic_cast<const StaticText*>(&c);
}

// No window under `parent` (whose client area lies at dx, dy) that paints itself otherwise shows in `r`.
bool OnlyInPlaceIn(const WinControl& parent, int dx, int dy, const RECT& r) {
  for (const Control* c : parent.Children()) {
    if (!c->IsWindowed() || !c->Visible()) continue;
    const auto& child = static_cast<const WinControl&>(*c);
    const RECT at{dx + child.Left(), dy + child.Top(), dx + child.Bounds().Right(),
                  dy + child.Bounds().Bottom()};
    RECT both;
    if (!IntersectRect(&both, &at, &r)) continue;
    if (!PaintedInPlace(child) || !OnlyInPlaceIn(child, at.left, at.top, both)) return false;
  }
  return true;
}

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
  measureDc_ = CreateCompatibleDC(nullptr);
  RegisterClassOnce(kPanelClass, WindowProc, false);
  RegisterClassOnce(kStaticTextClass, WindowProc, false);
  RegisterClassOnce(kGridClass, WindowProc, false);
  RegisterClassOnce(kSpinClass, WindowProc, false);
  WNDCLASSA wc{};
  wc.style = CS_SAVEBITS;
  wc.lpfnWndProc = HintProc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kHintClass;
  RegisterClassA(&wc);
  hintWindow_ = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kHintClass, "", WS_POPUP | WS_BORDER, 0, 0,
                                10, 10, nullptr, nullptr, instance_, nullptr);
  SetWindowLongPtrA(hintWindow_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Win32Backend::~Win32Backend() {
  for (auto& entry : windows_)
    if (entry.second->hwnd && IsWindow(entry.second->hwnd)) DestroyWindow(entry.second->hwnd);
  windows_.clear();
  if (hintWindow_) DestroyWindow(hintWindow_);
  if (measureFont_) SelectObject(measureDc_, measureOld_);
  if (backDc_) {
    SelectObject(backDc_, backOld_);
    backBitmap_.reset();
    DeleteDC(backDc_);
  }
  if (measureDc_) DeleteDC(measureDc_);
}

void Win32Backend::RegisterClassOnce(const std::string& name, WNDPROC proc, bool icon) {
  if (std::find(classes_.begin(), classes_.end(), name) != classes_.end()) return;
  WNDCLASSA wc{};
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = proc;
  wc.hInstance = instance_;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  if (icon) wc.hIcon = LoadIconA(instance_, "MAINICON");
  wc.lpszClassName = name.c_str();
  RegisterClassA(&wc);
  classes_.push_back(name);
}

Win32Backend::Window* Win32Backend::Find(HWND hwnd) const {
  auto it = byWindow_.find(hwnd);
  return it == byWindow_.end() ? nullptr : it->second;
}

HWND Win32Backend::WindowOf(const WinControl& control) {
  return control.handle ? static_cast<Window*>(control.handle)->hwnd : nullptr;
}

void Win32Backend::FormCreated(Form& form) {
  RegisterClassOnce(form.ClassName(), WindowProc, true);
  auto w = std::make_unique<Window>(this, &form);
  Window* raw = w.get();
  form.handle = raw;
  windows_[&form] = std::move(w);
  const DWORD style = form.DialogBorder()
                          ? WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN
                          : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN |
                                (form.FixedSingle() ? 0 : WS_THICKFRAME | WS_MAXIMIZEBOX);
  CreateWindowExA(form.DialogBorder() ? WS_EX_DLGMODALFRAME : 0, form.ClassName().c_str(),
                  form.Caption().c_str(), style, CW_USEDEFAULT, CW_USEDEFAULT, form.Width(), form.Height(),
                  nullptr, nullptr, instance_, raw);
  if (raw->hwnd) byWindow_[raw->hwnd] = raw;
  RebuildMenu(form);
  SizeFormWindow(form, true);
  CreateChildren(form, raw->hwnd);
  for (std::size_t i = 0; i < form.Timers().size(); ++i) {
    form.Timers()[i]->id = i + 1;
    TimerChanged(*form.Timers()[i]);
  }
}

void Win32Backend::CreateChildren(WinControl& parent, HWND parentWindow) {
  for (Control* c : parent.Children()) {
    if (!c->IsWindowed()) continue;
    auto& wc = static_cast<WinControl&>(*c);
    auto w = std::make_unique<Window>(this, &wc);
    Window* raw = w.get();
    wc.handle = raw;
    windows_[&wc] = std::move(w);
    HWND hwnd = CreateControlWindow(wc, *raw, parentWindow);
    raw->hwnd = hwnd;
    if (hwnd) byWindow_[hwnd] = raw;
    // Later controls lie on top of earlier ones.
    SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    CreateChildren(wc, hwnd);
  }
}

void Win32Backend::SizeFormWindow(Form& form, bool place) {
  HWND hwnd = WindowOf(form);
  if (!hwnd) return;
  RECT r{0, 0, form.Width(), form.Height()};
  AdjustWindowRectEx(&r, static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE)), GetMenu(hwnd) != nullptr,
                     static_cast<DWORD>(GetWindowLongA(hwnd, GWL_EXSTYLE)));
  const int width = r.right - r.left;
  int height = r.bottom - r.top;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE;
  SetWindowPos(hwnd, nullptr, 0, 0, width, height, flags);
  // A menu bar that wraps to a second line takes client height: size again once it is known.
  RECT client;
  GetClientRect(hwnd, &client);
  if (client.bottom != form.Height()) {
    height += form.Height() - client.bottom;
    SetWindowPos(hwnd, nullptr, 0, 0, width, height, flags);
  }
  // Centred on the whole screen, at the full size: the work area that a taskbar leaves does not count.
  if (place && form.Centered()) {
    SetWindowPos(hwnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOSIZE);
  }
}

void Win32Backend::FormDestroyed(Form& form) {
  HWND hwnd = WindowOf(form);
  if (hwnd && IsWindow(hwnd)) DestroyWindow(hwnd);  // its menu bar goes with it
  if (hintTarget_ && &hintTarget_->OwnerForm() == &form) HideHint();
  waiting_.erase(std::remove(waiting_.begin(), waiting_.end(), &form), waiting_.end());
  for (auto it = windows_.begin(); it != windows_.end();) {
    if (&it->first->OwnerForm() == &form) {
      byWindow_.erase(it->second->hwnd);
      const_cast<WinControl*>(it->first)->handle = nullptr;
      it = windows_.erase(it);
    } else {
      ++it;
    }
  }
}

// Changes made while a handler runs (a tick sets a clock, readouts, needles) are painted together once it is
// done, into one picture of the form that goes to the screen in one piece for each changed part: far less
// work for the window system than a paint of every window that changed. Only parts that hold nothing but
// our own painting qualify; false leaves the part to the window's own paint.
bool Win32Backend::QueuePaint(const WinControl& parent, const Rect& area) {
  Form& form = parent.OwnerForm();
  auto* fw = static_cast<Window*>(form.handle);
  if (!fw || !fw->hwnd || !IsWindowVisible(fw->hwnd) || IsIconic(fw->hwnd)) return false;
  const Rect at = parent.BoundsInForm();
  RECT r{at.left + area.left, at.top + area.top, at.left + area.Right(), at.top + area.Bottom()};
  const RECT client{0, 0, form.Width(), form.Height()};
  if (!IntersectRect(&r, &r, &client)) return true;  // nothing of it shows
  if (!OnlyInPlaceIn(form, 0, 0, r)) return false;
  // Overlapping parts become one.
  for (auto it = fw->changed.begin(); it != fw->changed.end();) {
    RECT both;
    if (IntersectRect(&both, &*it, &r)) {
      UnionRect(&r, &r, &*it);
      it = fw->changed.erase(it);
    } else {
      ++it;
    }
  }
  fw->changed.push_back(r);
  if (holdingPaints_ > 0) {  // painted when the timer's handler is done
    if (std::find(waiting_.begin(), waiting_.end(), &form) == waiting_.end()) waiting_.push_back(&form);
    return true;
  }
  if (!fw->changesPosted) fw->changesPosted = PostMessageA(fw->hwnd, kPaintChanges, 0, 0) != 0;
  return fw->changesPosted;
}

void Win32Backend::PaintWaitingChanges() {
  std::vector<Form*> forms;
  forms.swap(waiting_);
  for (Form* f : forms)
    if (auto* w = static_cast<Window*>(f->handle); w && w->hwnd) PaintChanges(*f, *w);
}

void Win32Backend::PaintChanges(Form& form, Window& w) {
  w.changesPosted = false;
  std::vector<RECT> changed;
  changed.swap(w.changed);
  if (changed.empty() || !IsWindowVisible(w.hwnd)) return;
  // Not clipped to the child windows: their part of the picture is painted here too.
  HDC dc = GetDCEx(w.hwnd, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
  if (!dc) {
    for (const RECT& r : changed) RedrawWindow(w.hwnd, &r, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
    return;
  }
  for (const RECT& r : changed) {
    // Painted at the buffer's corner, as in PaintClient.
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC back = BackBuffer(width, height);
    clip_ = RECT{0, 0, width, height};
    const int saved = SaveDC(back);
    IntersectClipRect(back, 0, 0, width, height);
    PaintTree(form, back, -r.left, -r.top);
    RestoreDC(back, saved);
    BitBlt(dc, r.left, r.top, width, height, back, 0, 0, SRCCOPY);
  }
  ReleaseDC(w.hwnd, dc);
  TrimBackBuffer();
}

// A window's picture and then, above it in their order, those of its child windows, each within its bounds.
// A child panel that covers all of the part hides everything beneath it (a readout on its dial): painting
// starts with the topmost such panel.
void Win32Backend::PaintTree(WinControl& control, HDC dc, int dx, int dy) {
  const std::vector<Control*>& children = control.Children();
  std::size_t first = 0;
  bool covered = false;
  for (std::size_t i = children.size(); i-- > 0 && !covered;) {
    const Control* c = children[i];
    if (!c->Visible() || !dynamic_cast<const Panel*>(c)) continue;
    const Rect& b = c->Bounds();
    if (dx + b.left <= clip_.left && dy + b.top <= clip_.top && dx + b.Right() >= clip_.right &&
        dy + b.Bottom() >= clip_.bottom) {
      first = i;
      covered = true;
    }
  }
  if (!covered) PaintContent(control, dc, dx, dy);
  for (std::size_t i = first; i < children.size(); ++i) {
    Control* c = children[i];
    if (!c->IsWindowed() || !c->Visible()) continue;
    auto& child = static_cast<WinControl&>(*c);
    const RECT at{dx + child.Left(), dy + child.Top(), dx + child.Bounds().Right(),
                  dy + child.Bounds().Bottom()};
    RECT both;
    if (!IntersectRect(&both, &at, &clip_)) continue;
    const RECT outer = clip_;
    clip_ = both;
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, at.left, at.top, at.right, at.bottom);
    PaintTree(child, dc, at.left, at.top);
    RestoreDC(dc, saved);
    clip_ = outer;
  }
}

void Win32Backend::InvalidateGraphic(Control& control, const Rect& area) {
  WinControl* parent = control.Parent();
  HWND hwnd = parent ? WindowOf(*parent) : nullptr;
  if (!hwnd) return;
  RECT r = ToRect(area);
  InvalidateRect(hwnd, &r, FALSE);
  // Static texts show their parent's paint beneath them: they repaint too where they overlap.
  for (Control* sibling : parent->Children()) {
    if (!dynamic_cast<StaticText*>(sibling)) continue;
    RECT s = ToRect(sibling->Bounds()), both;
    if (IntersectRect(&both, &s, &r))
      InvalidateRect(WindowOf(static_cast<WinControl&>(*sibling)), nullptr, FALSE);
  }
}

void Win32Backend::ControlChanged(Control& control, Change what, const Rect& area) {
  if (!control.OwnerForm().handle) return;  // the windows do not exist yet: they will be made as things stand
  if (what == Change::Hint) return;
  if (!control.IsWindowed()) {
    if (&control == hintTarget_ && what == Change::Visible) HideHint();
    // A control that is not on screen changes nothing there, unless it comes or goes.
    if (what != Change::Visible && !control.Showing()) return;
    auto paint = [&](const Rect& part) {
      if (!control.Parent() || !QueuePaint(*control.Parent(), part)) InvalidateGraphic(control, part);
    };
    if (what == Change::Bounds) paint(control.Bounds());
    paint(area);
    return;
  }
  auto& wc = static_cast<WinControl&>(control);
  HWND hwnd = WindowOf(wc);
  if (!hwnd) return;
  Form* form = dynamic_cast<Form*>(&wc);
  switch (what) {
    case Change::Bounds:
      if (form)
        SizeFormWindow(*form, false);
      else
        MoveWindow(hwnd, wc.Left(), wc.Top(), wc.Width(), wc.Height(), TRUE);
      break;
    case Change::Visible:
      if (!form) ShowWindow(hwnd, wc.Visible() ? SW_SHOWNA : SW_HIDE);
      break;
    case Change::Enabled:
      EnableWindow(hwnd, wc.Enabled());
      break;
    case Change::Text: {
      auto* w = static_cast<Window*>(wc.handle);
      const bool edit = dynamic_cast<Edit*>(&wc) != nullptr;
      // What the user typed is in the edit already: setting it again would put the caret back to the start.
      if (edit && WindowText(hwnd) == wc.Caption()) break;
      w->syncing = true;
      SetWindowTextA(hwnd, wc.Caption().c_str());
      w->syncing = false;
      // A text that the program puts (a filtered one among them) leaves the caret at its end, to type on.
      // Only in the edit being typed into: elsewhere, and in an edit that takes no typing, the text's start
      // stays in view (a caret at the end scrolls a narrow field's text away from its start).
      if (edit) {
        const bool typing = GetFocus() == hwnd && !static_cast<Edit&>(wc).ReadOnly();
        const WPARAM caret = typing ? wc.Caption().size() : 0;
        SendMessageA(hwnd, EM_SETSEL, caret, static_cast<LPARAM>(caret));
      }
      if (!form && !(wc.Showing() && QueuePaint(*wc.Parent(), wc.Bounds())))
        InvalidateRect(hwnd, nullptr, FALSE);
      break;
    }
    case Change::Look:
      // The system's own controls draw with the font they are given; ours pick theirs when they paint.
      SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(wc.Font())), FALSE);
      if (dynamic_cast<Edit*>(&wc))
        SendMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, MAKELPARAM(0, 0));
      if (form || !wc.Showing() || !QueuePaint(*wc.Parent(), wc.Bounds()))
        InvalidateRect(hwnd, nullptr, TRUE);
      if (form) RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
      break;
    case Change::Value:
      ValueChanged(wc, *static_cast<Window*>(wc.handle));
      break;
    case Change::Hint:
      break;
  }
}

void Win32Backend::MenuChanged(Form& form) {
  auto* w = static_cast<Window*>(form.handle);
  if (!w || !w->hwnd || w->menuPending) return;
  // Many captions change together at a language load: rebuild once, when they are all set.
  w->menuPending = true;
  PostMessageA(w->hwnd, kMenuRebuild, 0, 0);
}

void Win32Backend::RebuildMenu(Form& form) {
  auto* w = static_cast<Window*>(form.handle);
  if (!w || !w->hwnd) return;
  w->menuPending = false;
  w->commands.clear();
  HMENU old = w->menu;
  HMENU bar = nullptr;
  if (!form.Menu().Items().empty()) {
    bar = CreateMenu();
    std::function<void(HMENU, const MenuItem&)> fill = [&](HMENU into, const MenuItem& parent) {
      for (MenuItem* item : parent.Items()) {
        if (!item->Visible()) continue;
        const UINT state = item->Enabled() ? 0 : MF_GRAYED;
        if (item->IsSeparator()) {
          AppendMenuA(into, MF_SEPARATOR, 0, nullptr);
        } else if (!item->Items().empty()) {
          HMENU sub = CreatePopupMenu();
          fill(sub, *item);
          AppendMenuA(into, MF_POPUP | MF_STRING | state, reinterpret_cast<UINT_PTR>(sub),
                      item->Caption().c_str());
        } else {
          const UINT id = kFirstMenuCommand + static_cast<UINT>(w->commands.size());
          w->commands.push_back(item);
          AppendMenuA(into, MF_STRING | state, id, item->Caption().c_str());
        }
      }
    };
    fill(bar, form.Menu());
  }
  w->menu = bar;
  SetMenu(w->hwnd, bar);
  if (old) DestroyMenu(old);
  DrawMenuBar(w->hwnd);
  SizeFormWindow(form, false);
}

void Win32Backend::TimerChanged(Timer& timer) {
  for (auto& entry : windows_) {
    const Form* form = dynamic_cast<const Form*>(entry.first);
    if (!form || !entry.second->hwnd) continue;
    const auto& timers = form->Timers();
    if (std::find(timers.begin(), timers.end(), &timer) == timers.end()) continue;
    if (timer.id == 0) return;  // numbered when the form's window is made
    KillTimer(entry.second->hwnd, timer.id);
    if (timer.Enabled() && timer.Interval() > 0)
      SetTimer(entry.second->hwnd, timer.id, timer.Interval(), nullptr);
    return;
  }
}

void Win32Backend::ShowForm(Form& form) {
  HWND hwnd = WindowOf(form);
  if (!hwnd) return;
  ShowWindow(hwnd, SW_SHOWNORMAL);
  UpdateWindow(hwnd);
  SetForegroundWindow(hwnd);
}

void Win32Backend::HideForm(Form& form) {
  if (HWND hwnd = WindowOf(form)) ShowWindow(hwnd, SW_HIDE);
}

void Win32Backend::MainFormClosed(Form& form) {
  HideHint();
  if (HWND hwnd = WindowOf(form)) DestroyWindow(hwnd);
  PostQuitMessage(0);
}

Size Win32Backend::MeasureText(const Font& font, const std::string& text) {
  // A label sized to its text is measured at every change of it (the clock every second): the measuring DC
  // keeps the font of the last measure, and the height of each font is asked for once.
  HFONT f = FontFor(font);
  if (f != measureFont_) {
    HGDIOBJ old = SelectObject(measureDc_, f);
    if (!measureFont_) measureOld_ = old;
    measureFont_ = f;
  }
  SIZE s{0, 0};
  if (!text.empty()) {
    GetTextExtentPoint32A(measureDc_, text.c_str(), static_cast<int>(text.size()), &s);
  }
  auto height = fontHeights_.find(f);
  if (height == fontHeights_.end()) {
    TEXTMETRICA tm{};
    GetTextMetricsA(measureDc_, &tm);
    height = fontHeights_.emplace(f, static_cast<int>(tm.tmHeight)).first;
  }
  return Size{static_cast<int>(s.cx), height->second};
}

Color Win32Backend::GetSystemColor(SystemColor which) {
  int index = COLOR_BTNFACE;
  switch (which) {
    case SystemColor::ButtonFace:
      index = COLOR_BTNFACE;
      break;
    case SystemColor::ButtonShadow:
      index = COLOR_BTNSHADOW;
      break;
    case SystemColor::ButtonHighlight:
      index = COLOR_BTNHIGHLIGHT;
      break;
    case SystemColor::WindowText:
      index = COLOR_WINDOWTEXT;
      break;
    case SystemColor::InfoBackground:
      index = COLOR_INFOBK;
      break;
    case SystemColor::InfoText:
      index = COLOR_INFOTEXT;
      break;
    case SystemColor::Light3D:
      index = COLOR_3DLIGHT;
      break;
  }
  const COLORREF c = GetSysColor(index);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

std::optional<std::string> Win32Backend::ResourceBytes(const std::string& name) {
  HRSRC res = FindResourceA(instance_, name.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (!res) return std::nullopt;
  HGLOBAL data = LoadResource(instance_, res);
  const DWORD size = SizeofResource(instance_, res);
  const void* bytes = data ? LockResource(data) : nullptr;
  if (!bytes) return std::nullopt;
  return std::string(static_cast<const char*>(bytes), size);
}

void Win32Backend::RunMessageLoop(Application& app) {
  app_ = &app;
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (app.OnMessage) {
      const Message m{msg.message, static_cast<std::uintptr_t>(msg.wParam),
                      static_cast<std::intptr_t>(msg.lParam), msg.hwnd};
      app.Dispatch([&] { app.OnMessage(m); });
    }
    TrackHint(msg);
    bool eaten = false;
    KeyPreview(msg, eaten);
    if (!eaten) DialogKeys(msg, eaten);
    if (eaten) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  app_ = nullptr;
}

void Win32Backend::Terminate() { PostQuitMessage(0); }

MessageResult Win32Backend::ShowMessageBox(const Form* form, const std::string& caption,
                                           const std::string& text, MessageButtons buttons,
                                           MessageIcon icon) {
  PaintWaitingChanges();  // the window as things stand, under the box
  HWND owner = OwnerWindow(form);
  MessageResult answer = MessageResult::Ok;
  if (buttons == MessageButtons::YesNo) {
    // The system's Yes/No box takes no Esc: ours answers No to it.
    answer = AskYesNo(owner, caption, text);
  } else {
    UINT flags = buttons == MessageButtons::OkCancel ? MB_OKCANCEL : MB_OK;
    if (icon == MessageIcon::Error) flags |= MB_ICONSTOP;
    if (icon == MessageIcon::Information) flags |= MB_ICONINFORMATION;
    if (icon == MessageIcon::Question) flags |= MB_ICONQUESTION;
    HideHint();
    answer = MessageBoxA(owner, text.c_str(), caption.c_str(), flags) == IDOK ? MessageResult::Ok
                                                                              : MessageResult::Cancel;
  }
  // The form goes on where the user left it; its focus comes back with its activation.
  if (owner && IsWindowVisible(owner) && GetForegroundWindow() != owner) SetForegroundWindow(owner);
  return answer;
}

HWND Win32Backend::OwnerWindow(const Form* form) const {
  if (!form && app_) form = app_->MainForm();
  HWND owner = form ? WindowOf(*form) : nullptr;
  if ((!owner || !IsWindowVisible(owner)) && app_ && app_->MainForm() && form != app_->MainForm())
    owner = WindowOf(*app_->MainForm());
  return owner && IsWindowVisible(owner) ? owner : nullptr;
}

void Win32Backend::KeyPreview(MSG& msg, bool& eaten) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  HideHint();
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  Window* w = Find(root);
  if (!w) return;
  auto* form = dynamic_cast<Form*>(w->control);
  if (!form || !form->KeyPreview() || !form->OnKeyDown || !app_) return;
  unsigned shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= kShift;
  if (GetKeyState(VK_MENU) < 0) shift |= kAlt;
  if (GetKeyState(VK_CONTROL) < 0) shift |= kCtrl;
  std::uint16_t key = static_cast<std::uint16_t>(msg.wParam);
  app_->Dispatch(*form, [&] { form->OnKeyDown(key, shift); });
  if (key == 0) eaten = true;
}

LRESULT CALLBACK Win32Backend::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* cs = reinterpret_cast<CREATESTRUCTA*>(lp);
    auto* w = static_cast<Window*>(cs->lpCreateParams);
    if (w) {
      w->hwnd = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(w));
    }
  }
  auto* w = reinterpret_cast<Window*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!w) return DefWindowProcA(hwnd, msg, wp, lp);
  // Changes made while this message is handled are not held back for a timer handler that it interrupts
  // (a message box of that handler takes messages).
  Win32Backend& backend = *w->backend;
  const int held = backend.holdingPaints_;
  backend.holdingPaints_ = 0;
  LRESULT result = 0;
  // No error may unwind through the system's frames; handlers report theirs through Dispatch already. What
  // the message runs are the handlers of the window's form.
  Form& form = w->control->OwnerForm();
  form.App().Dispatch(form, [&] { result = backend.Handle(*w, msg, wp, lp); });
  backend.holdingPaints_ = held;
  return result;
}

LRESULT Win32Backend::Handle(Window& w, UINT msg, WPARAM wp, LPARAM lp) {
  HWND hwnd = w.hwnd;
  Form* form = dynamic_cast<Form*>(w.control);
  Application& app = w.control->OwnerForm().App();
  LRESULT result = 0;
  if (auto* grid = dynamic_cast<StringGrid*>(w.control)) {
    if (HandleGrid(w, *grid, msg, wp, lp, result)) return result;
  } else if (auto* spin = dynamic_cast<SpinButton*>(w.control)) {
    if (HandleSpin(w, *spin, msg, wp, lp, result)) return result;
  }
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (Find(reinterpret_cast<HWND>(lp)))
        return ControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
      break;
    case WM_SETFOCUS:
      // The form passes the focus on to the control that had it (or was given it before the form showed).
      if (form && form->ActiveControl() && form->ActiveControl()->CanTakeInput()) {
        if (HWND child = WindowOf(*form->ActiveControl())) SetFocus(child);
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (form && LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        Window* had = focus && IsChild(hwnd, focus) ? Find(focus) : nullptr;
        if (had) form->FocusMoved(had->control);
      }
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      PaintClient(*w.control, dc, &ps.rcPaint);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintClient(*w.control, reinterpret_cast<HDC>(wp), nullptr);
      return 0;
    case WM_DRAWITEM: {
      const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (dis->CtlType == ODT_BUTTON) {
        DrawButton(*dis);
        return TRUE;
      }
      break;
    }
    case WM_COMMAND: {
      if (lp == 0 && HIWORD(wp) == 0 && form) {  // a menu command
        const UINT index = LOWORD(wp) - kFirstMenuCommand;
        if (LOWORD(wp) >= kFirstMenuCommand && index < w.commands.size()) {
          MenuItem* item = w.commands[index];
          if (item->OnClick) app.Dispatch([&] { item->OnClick(*item); });
        }
        return 0;
      }
      if (HIWORD(wp) == BN_CLICKED && lp) {
        Window* child = Find(reinterpret_cast<HWND>(lp));
        if (child && child->control->CanTakeInput()) {
          Control* c = child->control;
          HideHint();
          app.Dispatch([&] { c->Click(); });
        }
        return 0;
      }
      if (HIWORD(wp) == EN_KILLFOCUS && lp) {
        // A read-only field that the focus leaves shows its text from the start again: a caret moved to the
        // end of a text as wide as a narrow field scrolled its first character out of view.
        Window* child = Find(reinterpret_cast<HWND>(lp));
        auto* edit = child ? dynamic_cast<Edit*>(child->control) : nullptr;
        if (edit && edit->ReadOnly()) SendMessageA(child->hwnd, EM_SETSEL, 0, 0);
        return 0;
      }
      if (HIWORD(wp) == EN_CHANGE && lp) {
        Window* child = Find(reinterpret_cast<HWND>(lp));
        auto* edit = child ? dynamic_cast<Edit*>(child->control) : nullptr;
        if (edit && !child->syncing) {
          const std::string text = WindowText(child->hwnd);
          app.Dispatch([&] { edit->Typed(text); });
        }
        return 0;
      }
      break;
    }
    case WM_TIMER:
      if (form && wp >= 1 && wp <= form->Timers().size()) {
        Timer* t = form->Timers()[wp - 1];
        if (t->Enabled() && t->OnTimer) {
          // What a tick changes is painted in one go when it is done, without a message of its own.
          ++holdingPaints_;
          app.Dispatch(t->OnTimer);
          --holdingPaints_;
          PaintWaitingChanges();
        }
        return 0;
      }
      break;
    case kMenuRebuild:
      if (form) RebuildMenu(*form);
      return 0;
    case kPaintChanges:
      if (form) PaintChanges(*form, w);
      return 0;
    case WM_CLOSE:
      if (form) {
        app.Dispatch([&] { form->Close(); });
        return 0;
      }
      break;
    // The pointer over the graphic controls (labels, pictures) that this window paints.
    case WM_MOUSEMOVE: {
      unsigned shift = 0;
      if (wp & MK_SHIFT) shift |= kShift;
      if (wp & MK_CONTROL) shift |= kCtrl;
      if (GetKeyState(VK_MENU) < 0) shift |= kAlt;
      const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
      app.Dispatch([&] { w.control->PointerMoved(x, y, shift); });
      if (!IsWindow(hwnd)) return 0;
      break;
    }
    case WM_LBUTTONDOWN:
      if (w.control->CanTakeInput()) {
        const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
        w.control->PointerPressed(x, y);
        if (w.control->GraphicAt(x, y)) SetCapture(hwnd);
      }
      break;
    case WM_LBUTTONUP: {
      if (GetCapture() == hwnd) ReleaseCapture();
      const int x = static_cast<short>(LOWORD(lp)), y = static_cast<short>(HIWORD(lp));
      app.Dispatch([&] { w.control->PointerReleased(x, y); });
      if (!IsWindow(hwnd)) return 0;
      break;
    }
    case WM_SYSCOMMAND:
      if (form && (wp & 0xFFF0) == SC_MINIMIZE && app.MainForm() == form && app.OnMinimize) {
        app.Dispatch(app.OnMinimize);
        if (!IsWindow(hwnd)) return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

HDC Win32Backend::BackBuffer(int width, int height) {
  if (!backDc_) {
    backDc_ = CreateCompatibleDC(nullptr);
  }
  if (width > backWidth_ || height > backHeight_) {
    HDC screen = GetDC(nullptr);
    HBITMAP bigger =
        CreateCompatibleBitmap(screen, std::max(width, backWidth_), std::max(height, backHeight_));
    ReleaseDC(nullptr, screen);
    if (backBitmap_)
      SelectObject(backDc_, bigger);
    else
      backOld_ = SelectObject(backDc_, bigger);
    backBitmap_.reset(bigger);
    backWidth_ = std::max(width, backWidth_);
    backHeight_ = std::max(height, backHeight_);
  }
  return backDc_;
}

// A back buffer as large as a whole window is memory held for the few paints that need it (the first one,
// a window uncovered): it goes once they are done, and the small one of the ticks' parts stays.
void Win32Backend::TrimBackBuffer() {
  constexpr int kKeptPixels = 200 * 200;
  if (!backBitmap_ || backWidth_ * backHeight_ <= kKeptPixels) return;
  SelectObject(backDc_, backOld_);
  backBitmap_.reset();
  backWidth_ = backHeight_ = 0;
}

void Win32Backend::PaintClient(WinControl& control, HDC dc, const RECT* area) {
  int width = control.Width(), height = control.Height();
  // A form that the user has made larger than its layout shows its colour in the room that it gained.
  bool grown = false;
  if (dynamic_cast<Form*>(&control)) {
    RECT client{};
    if (HWND hwnd = WindowOf(control); hwnd && GetClientRect(hwnd, &client)) {
      grown = client.right > width || client.bottom > height;
      width = std::max(width, static_cast<int>(client.right));
      height = std::max(height, static_cast<int>(client.bottom));
    }
  }
  if (width <= 0 || height <= 0) return;
  RECT all{0, 0, width, height}, part = all;
  if (area && !IntersectRect(&part, area, &all)) return;  // nothing of the window needs paint
  // The part is painted at the buffer's corner, so that the buffer need be no larger than the part; the grid
  // paints from its own corner and takes a buffer of its size.
  const bool grid = dynamic_cast<StringGrid*>(&control) != nullptr;
  const int dx = grid ? 0 : -part.left, dy = grid ? 0 : -part.top;
  clip_ = RECT{part.left + dx, part.top + dy, part.right + dx, part.bottom + dy};
  HDC back = BackBuffer(clip_.right, clip_.bottom);
  const int saved = SaveDC(back);
  IntersectClipRect(back, clip_.left, clip_.top, clip_.right, clip_.bottom);
  if (grown) Fill(back, clip_, control.GetColor());
  PaintContent(control, back, dx, dy);
  RestoreDC(back, saved);
  BitBlt(dc, part.left, part.top, part.right - part.left, part.bottom - part.top, back, clip_.left, clip_.top,
         SRCCOPY);
  TrimBackBuffer();
}

void Win32Backend::Fill(HDC dc, const RECT& r, Color c) { win32::Fill(brushes_, dc, r, c); }

void Win32Backend::PaintContent(WinControl& control, HDC dc, int dx, int dy) {
  RECT r{dx, dy, dx + control.Width(), dy + control.Height()};
  if (auto* grid = dynamic_cast<StringGrid*>(&control)) {
    PaintGrid(*grid, dc, WindowOf(*grid));
    return;
  }
  if (auto* spin = dynamic_cast<SpinButton*>(&control)) {
    PaintSpin(*spin, *static_cast<Window*>(spin->handle), dc, r);
    return;
  }
  if (auto* st = dynamic_cast<StaticText*>(&control)) {
    // What the parent shows beneath, then the text.
    if (WinControl* parent = st->Parent()) PaintContent(*parent, dc, dx - st->Left(), dy - st->Top());
    PaintText(*st, dc, r, AlignFlag(st->GetAlignment()) | DT_WORDBREAK);
    return;
  }
  Fill(dc, r, control.GetColor());
  if (auto* panel = dynamic_cast<Panel*>(&control)) {
    RECT inner = r;
    PaintPanelFrame(*panel, dc, inner);
    if (!panel->Caption().empty())
      PaintText(*panel, dc, inner, AlignFlag(panel->GetAlignment()) | DT_VCENTER | DT_SINGLELINE);
  }
  PaintGraphics(control, dc, dx, dy);
}

void Win32Backend::PaintPanelFrame(const Panel& panel, HDC dc, RECT& r) {
  const Color shadow = GetSystemColor(SystemColor::ButtonShadow);
  const Color light = GetSystemColor(SystemColor::ButtonHighlight);
  auto frame = [&](Color topLeft, Color bottomRight) {
    Fill(dc, RECT{r.left, r.top, r.right, r.top + 1}, topLeft);
    Fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom}, topLeft);
    Fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    Fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    InflateRect(&r, -1, -1);
  };
  if (panel.Border() == BorderStyle::Single) frame(Rgb(0, 0, 0), Rgb(0, 0, 0));
  auto bevel = [&](Bevel b) {
    if (b == Bevel::Lowered) frame(shadow, light);
    if (b == Bevel::Raised) frame(light, shadow);
  };
  bevel(panel.BevelOuter());
  bevel(panel.BevelInner());
}

void Win32Backend::PaintText(const Control& c, HDC dc, RECT r, UINT format) {
  if (c.Caption().empty()) return;
  Selected f(dc, FontFor(c.Font()));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, Ref(c.Enabled() ? c.Font().color : GetSystemColor(SystemColor::ButtonShadow)));
  DrawTextA(dc, c.Caption().c_str(), static_cast<int>(c.Caption().size()), &r, format | DT_EXPANDTABS);
}

void Win32Backend::PaintGraphics(WinControl& parent, HDC dc, int dx, int dy) {
  for (Control* c : parent.Children()) {
    if (c->IsWindowed() || !c->Visible()) continue;
    const RECT r{dx + c->Left(), dy + c->Top(), dx + c->Left() + c->Width(), dy + c->Top() + c->Height()};
    RECT seen;
    if (!IntersectRect(&seen, &r, &clip_)) continue;  // outside the part being painted
    if (auto* label = dynamic_cast<Label*>(c))
      PaintLabel(*label, dc, r);
    else if (auto* image = dynamic_cast<Image*>(c))
      PaintImage(*image, dc, r);
  }
}

void Win32Backend::PaintLabel(const Label& label, HDC dc, const RECT& r) {
  if (!label.Transparent()) Fill(dc, r, label.GetColor());
  PaintText(label, dc, r, AlignFlag(label.GetAlignment()));
}

void Win32Backend::PaintImage(const Image& image, HDC dc, const RECT& r) {
  const Bitmap& p = image.Picture();
  if (p.Empty()) return;
  const int width = r.right - r.left, height = r.bottom - r.top;
  if (image.Stretch() && (p.Width() != width || p.Height() != height)) {
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    BlitBitmap(dc, p, r.left, r.top, width, height);
    RestoreDC(dc, saved);
    return;
  }
  // One pixel for one: copy only the part that is inside the control and being painted.
  int x = r.left, y = r.top;
  if (image.Center() && !image.Stretch()) {
    x += (width - p.Width()) / 2;
    y += (height - p.Height()) / 2;
  }
  RECT picture{x, y, x + p.Width(), y + p.Height()}, inside, part;
  if (!IntersectRect(&inside, &picture, &r) || !IntersectRect(&part, &inside, &clip_)) return;
  BlitPart(dc, p, part.left, part.top, part.left - x, part.top - y, part.right - part.left,
           part.bottom - part.top);
}

void Win32Backend::BlitBitmap(HDC dc, const Bitmap& bitmap, int x, int y, int width, int height) {
  BITMAPINFO bi = DibHeader(bitmap, bitmap.Height());
  SetStretchBltMode(dc, COLORONCOLOR);
  StretchDIBits(dc, x, y, width, height, 0, 0, bitmap.Width(), bitmap.Height(), bitmap.Data(), &bi,
                DIB_RGB_COLORS, SRCCOPY);
}

void Win32Backend::BlitPart(HDC dc, const Bitmap& bitmap, int x, int y, int srcX, int srcY, int width,
                            int height) {
  // A view of the rows srcY .. srcY + height as a bitmap of its own.
  BITMAPINFO bi = DibHeader(bitmap, height);
  const std::uint32_t* rows =
      bitmap.Data() + static_cast<std::size_t>(srcY) * static_cast<std::size_t>(bitmap.Width());
  StretchDIBits(dc, x, y, width, height, srcX, 0, width, height, rows, &bi, DIB_RGB_COLORS, SRCCOPY);
}

void Win32Backend::DrawButton(const DRAWITEMSTRUCT& dis) {
  Window* w = Find(dis.hwndItem);
  auto* button = w ? dynamic_cast<BitBtn*>(w->control) : nullptr;
  if (!button) return;
  const int width = dis.rcItem.right - dis.rcItem.left, height = dis.rcItem.bottom - dis.rcItem.top;
  if (width <= 0 || height <= 0) return;
  HDC back = BackBuffer(width, height);
  RECT r{0, 0, width, height};
  const Color face = GetSystemColor(SystemColor::ButtonFace);
  Fill(back, r, face);
  const bool pressed = (dis.itemState & ODS_SELECTED) != 0;
  if (button->Default()) {
    FrameRect(back, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    InflateRect(&r, -1, -1);
  }
  DrawEdge(back, &r, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  r = RECT{0, 0, width, height};
  // The focused button shows it inside its edges, as the system's buttons do (unless the system hides focus
  // cues until the keyboard is used).
  auto finish = [&] {
    if ((dis.itemState & ODS_FOCUS) && !(dis.itemState & ODS_NOFOCUSRECT)) {
      RECT f{4, 4, width - 4, height - 4};
      DrawFocusRect(back, &f);
    }
    BitBlt(dis.hDC, dis.rcItem.left, dis.rcItem.top, width, height, back, 0, 0, SRCCOPY);
  };
  // A strip of pictures: the first one normally, the second one while the button is disabled.
  Bitmap glyph = button->Glyph();
  if (button->NumGlyphs() > 1 && glyph.Width() >= button->NumGlyphs()) {
    const int partWidth = glyph.Width() / button->NumGlyphs();
    const int part = !button->Enabled() ? 1 : 0;
    Bitmap one(partWidth, glyph.Height());
    for (int y = 0; y < glyph.Height(); ++y)
      for (int x = 0; x < partWidth; ++x) one.SetPixel(x, y, glyph.Pixel(part * partWidth + x, y));
    glyph = one;
  }
  if (button->Layout() == GlyphLayout::Left) {
    // The picture, 4 pixels, the caption: the two together in the middle.
    const int gap = !glyph.Empty() && !button->Caption().empty() ? 4 : 0;
    const int textWidth =
        button->Caption().empty() ? 0 : MeasureText(button->Font(), button->Caption()).width;
    int x = (width - glyph.Width() - gap - textWidth) / 2, y = (height - glyph.Height()) / 2;
    if (pressed) {
      ++x;
      ++y;
    }
    if (!glyph.Empty()) {
      const Color clear = glyph.Pixel(0, glyph.Height() - 1);
      Bitmap shown(glyph.Width(), glyph.Height());
      for (int gy = 0; gy < glyph.Height(); ++gy)
        for (int gx = 0; gx < glyph.Width(); ++gx) {
          const Color c = glyph.Pixel(gx, gy);
          shown.SetPixel(gx, gy, c == clear ? face : c);
        }
      BlitBitmap(back, shown, x, y, shown.Width(), shown.Height());
    }
    RECT text{x + glyph.Width() + gap, pressed ? 1 : 0, width, height + (pressed ? 1 : 0)};
    PaintText(*button, back, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    finish();
    return;
  }
  if (!glyph.Empty()) {
    // The glyph's bottom left pixel names its transparent colour.
    const Color clear = glyph.Pixel(0, glyph.Height() - 1);
    Bitmap shown(glyph.Width(), glyph.Height());
    for (int y = 0; y < glyph.Height(); ++y)
      for (int x = 0; x < glyph.Width(); ++x) {
        const Color c = glyph.Pixel(x, y);
        shown.SetPixel(x, y, c == clear ? face : c);
      }
    int x = (width - glyph.Width()) / 2;
    int y =
        button->Layout() == GlyphLayout::Bottom ? height - glyph.Height() - 2 : (height - glyph.Height()) / 2;
    if (pressed) {
      ++x;
      ++y;
    }
    BlitBitmap(back, shown, x, y, shown.Width(), shown.Height());
  }
  if (!button->Caption().empty()) PaintText(*button, back, r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  finish();
}

HFONT Win32Backend::FontFor(const Font& font) { return fonts_.For(font); }

int Win32Backend::HeldGdiObjects() const {
  return static_cast<int>(fonts_.Size() + brushes_.Size()) + (backBitmap_ ? 1 : 0) + (backDc_ ? 1 : 0) +
         (measureDc_ ? 1 : 0) + (hintFont_ ? 1 : 0);
}

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
  return self->ShowHint() && !self->Hint().empty() && !dynamic_cast<Form*>(self) ? self : nullptr;
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

// The Win32 backend itself: a window for every form and windowed control, their changes from the model,
// menu bars, timers and the message loop with the application's hooks.
#include <algorithm>

#include "application.h"
#include "win32/gdi.h"
#include "win32/names.h"
#include "win32/peer.h"

namespace korval::forms {

using namespace win32;

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
  raw->peer = &Peer::For(form);
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
    raw->peer = &Peer::For(wc);
    wc.handle = raw;
    windows_[&wc] = std::move(w);
    const Peer::Shape shape = raw->peer->MakeShape(wc);
    const DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (wc.Visible() ? WS_VISIBLE : 0) |
                        (wc.Enabled() ? 0 : WS_DISABLED) | shape.style;
    raw->syncing = true;
    HWND hwnd = CreateWindowExA(shape.exStyle, shape.windowClass, wc.Caption().c_str(), style, wc.Left(),
                                wc.Top(), wc.Width(), wc.Height(), parentWindow, nullptr, instance_, raw);
    raw->syncing = false;
    raw->hwnd = hwnd;
    if (hwnd) {
      byWindow_[hwnd] = raw;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(raw));
      raw->peer->Created(*raw);
    }
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
  auto* w = static_cast<Window*>(static_cast<WinControl&>(control).handle);
  if (!w->hwnd) return;
  const Peer& peer = *w->peer;
  switch (what) {
    case Change::Bounds:
      peer.Moved(*w);
      break;
    case Change::Visible:
      peer.Shown(*w);
      break;
    case Change::Enabled:
      EnableWindow(w->hwnd, control.Enabled());
      break;
    case Change::Text:
      peer.TextChanged(*w);
      break;
    case Change::Look:
      peer.LookChanged(*w);
      break;
    case Change::Value:
      peer.ValueChanged(*w);
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
  // The timer runs on its form's window.
  for (auto& entry : windows_) {
    const Form& form = entry.first->OwnerForm();
    HWND hwnd = WindowOf(form);
    if (!hwnd) continue;
    const auto& timers = form.Timers();
    if (std::find(timers.begin(), timers.end(), &timer) == timers.end()) continue;
    if (timer.id == 0) return;  // numbered when the form's window is made
    KillTimer(hwnd, timer.id);
    if (timer.Enabled() && timer.Interval() > 0) SetTimer(hwnd, timer.id, timer.Interval(), nullptr);
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

void Win32Backend::KeyPreview(MSG& msg, bool& eaten) {
  if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return;
  HideHint();
  HWND root = GetAncestor(msg.hwnd, GA_ROOT);
  Window* w = Find(root);
  if (!w) return;
  Form* form = &w->control->OwnerForm();  // our top windows are forms'
  if (!form->KeyPreview() || !form->OnKeyDown || !app_) return;
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
  Application& app = w.control->OwnerForm().App();
  LRESULT result = 0;
  if (w.peer->Handle(w, msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      if (Find(reinterpret_cast<HWND>(lp)))
        return ControlColour(reinterpret_cast<HDC>(wp), reinterpret_cast<HWND>(lp));
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
        if (Window* item = Find(dis->hwndItem)) item->peer->DrawItem(*item, *dis);
        return TRUE;
      }
      break;
    }
    case WM_COMMAND: {
      if (HIWORD(wp) == BN_CLICKED && lp) {
        Window* child = Find(reinterpret_cast<HWND>(lp));
        if (child && child->control->CanTakeInput()) {
          Control* c = child->control;
          HideHint();
          app.Dispatch([&] { c->Click(); });
        }
        return 0;
      }
      if ((HIWORD(wp) == EN_KILLFOCUS || HIWORD(wp) == EN_CHANGE) && lp) {
        if (Window* child = Find(reinterpret_cast<HWND>(lp))) child->peer->Notice(*child, HIWORD(wp));
        return 0;
      }
      break;
    }
    case kMenuRebuild:
    case kPaintChanges:
      return 0;  // to a form's window only
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
    default:
      break;
  }
  return DefWindowProcA(hwnd, msg, wp, lp);
}

int Win32Backend::HeldGdiObjects() const {
  return static_cast<int>(fonts_.Size() + brushes_.Size()) + (backBitmap_ ? 1 : 0) + (backDc_ ? 1 : 0) +
         (measureDc_ ? 1 : 0) + (hintFont_ ? 1 : 0);
}

}  // namespace korval::forms

// The save-dialog answers: what EnumChildProc does with each control of a dialog that is being closed.
#include <cstring>
#include <initializer_list>

#include "shutter32.h"

namespace shutter {

namespace {

constexpr int kClassNameSize = 80;
constexpr std::uint32_t kScrollBars = win::WS_HSCROLL | win::WS_VSCROLL;

void ClassOf(Hwnd window, char (&name)[kClassNameSize]) {
  std::memset(name, 0, sizeof name);
  if (window) sys->GetClassName(window, name, kClassNameSize);
}

bool HasScrollBars(Hwnd control) {
  return (static_cast<std::uint32_t>(sys->GetWindowLong(control, win::GWL_STYLE)) & kScrollBars) != 0;
}

// The control that got the last save name, and the tick on which it got it.
void Remember(Hwnd control, LParam tick) {
  hOldEdit = control;
  nOldEditTick = tick;
  wOldEditSeen = 0;
}

// A control that was just filled, or a multi-line field, gets no name. Meeting the control that got the
// last name again is counted once for each later tick: the closing rules dismiss a dialog that stays.
bool Declined(Hwnd control, LParam tick) {
  if (control == hOldEdit) {
    if (tick != nOldEditTick) {
      nOldEditTick = tick;
      ++wOldEditSeen;
    }
    return true;
  }
  return HasScrollBars(control);
}

// The control found again through its parent, by its identifier.
Hwnd Target(Hwnd control) {
  auto nDlgID = static_cast<std::uint16_t>(sys->GetDlgCtrlID(control));
  return sys->GetDlgItem(sys->GetParent(control), nDlgID);
}

void Post(Hwnd w, std::uint32_t message, WParam wParam, LParam lParam) {
  sys->PostMessage(w, message, wParam, lParam);
}

void SendWithTimeout(Hwnd w, std::uint32_t message, WParam wParam, LParam lParam, std::uint32_t ms) {
  sys->SendMessageTimeout(w, message, wParam, lParam, win::SMTO_ABORTIFHUNG, ms, &lpNot);
}

// The name buffer, locked, holding the next save name; nullptr when there is no buffer to write into.
class SaveName {
 public:
  SaveName() {
    char* lpBuf = hGlb ? sys->GlobalLock(hGlb) : nullptr;
    if (lpBuf && FormatSaveName(lpBuf, kNameBufferSize)) {
      lpBuf_ = lpBuf;
    } else if (lpBuf) {
      sys->GlobalUnlock(hGlb);
    }
  }
  ~SaveName() {
    if (lpBuf_) sys->GlobalUnlock(hGlb);
  }
  SaveName(const SaveName&) = delete;
  SaveName& operator=(const SaveName&) = delete;
  const char* get() const { return lpBuf_; }

 private:
  char* lpBuf_ = nullptr;
};

void PostChars(Hwnd w, const char* text, LParam lParam) {
  for (const char* c = text; *c; ++c) Post(w, win::WM_CHAR, static_cast<unsigned char>(*c), lParam);
}

int EditRule(Hwnd hWnd, LParam tick) {
  if (Declined(hWnd, tick)) return 0;
  SaveName name;
  if (!name.get()) return 1;
  Hwnd hDlgWnd = Target(hWnd);
  sys->SetFocus(hDlgWnd);
  SendWithTimeout(hDlgWnd, win::EM_SETSEL, 0, -1, kEditTimeoutMs);
  SendWithTimeout(hDlgWnd, win::EM_REPLACESEL, 0, reinterpret_cast<LParam>(name.get()), kEditTimeoutMs);
  Post(hDlgWnd, win::WM_KEYDOWN, win::VK_RETURN, kEnterDown);
  Post(hDlgWnd, win::WM_CHAR, 13, kEnterDown);
  SendWithTimeout(hDlgWnd, win::WM_KEYUP, win::VK_RETURN, kEnterUp, kEditTimeoutMs);
  Remember(hWnd, tick);
  return 0;
}

int YesRule(Hwnd hWnd) {
  Post(hWnd, win::WM_KEYDOWN, 0x59, kYDown);
  Post(hWnd, win::WM_CHAR, 0x79, kYDown);
  SendWithTimeout(hWnd, win::WM_KEYUP, 0x59, kYUp, kYesKeyTimeoutMs);
  Post(hWnd, win::WM_KEYDOWN, win::VK_RETURN, kEnterDown);
  return 0;
}

int EnterRule(Hwnd hWnd) {
  Post(hWnd, win::WM_KEYDOWN, win::VK_RETURN, kEnterDown);
  Post(hWnd, win::WM_CHAR, 13, kEnterDown);
  SendWithTimeout(hWnd, win::WM_KEYUP, win::VK_RETURN, kEnterUp, kEnterKeyTimeoutMs);
  return 0;
}

int BearBarsRule(Hwnd hWnd) {
  if (sys->GetWindowLong(hWnd, win::GWL_EXSTYLE) == 0) return 1;
  Post(sys->GetParent(hWnd), win::WM_CLOSE, 0, 0);
  return 0;
}

int RichEditRule(Hwnd hWnd, LParam tick) {
  if (Declined(hWnd, tick)) return 0;
  SaveName name;
  if (!name.get()) return 1;
  Hwnd hDlgWnd = Target(hWnd);
  PostChars(hDlgWnd, name.get(), kEnterDown);
  SendWithTimeout(hDlgWnd, win::WM_KEYUP, win::VK_RETURN, kEnterUp, kEditTimeoutMs);
  Remember(hWnd, tick);
  return 0;
}

int AfxEditRule(Hwnd hWnd, LParam tick) {
  SaveName name;
  if (!name.get()) return 1;
  sys->SetFocus(hWnd);
  PostChars(hWnd, name.get(), kAfxCharKey);
  sys->Sleep(300);
  Post(hWnd, win::WM_KEYDOWN, win::VK_RETURN, kEnterDown);
  Post(hWnd, win::WM_CHAR, 13, kEnterDown);
  Etl80Flag = 0;
  sys->Sleep(300);
  Remember(hWnd, tick);
  return 0;
}

void PostKeyTriple(Hwnd w, WParam key, LParam lParam) {
  Post(w, win::WM_KEYDOWN, key, lParam);
  Post(w, win::WM_CHAR, key, lParam);
  Post(w, win::WM_KEYUP, key, lParam);
}

int PanelRule(Hwnd hWnd, LParam tick) {
  if (Declined(hWnd, tick)) return 0;
  SaveName name;
  if (!name.get()) return 1;
  Hwnd hDlgWnd = Target(hWnd);
  sys->SetFocus(hDlgWnd);
  for (int i = 0; i < 80; ++i) PostKeyTriple(hDlgWnd, 8, kBackspaceKey);
  for (const char* c = name.get(); *c; ++c) {
    auto byte = static_cast<unsigned char>(*c);
    PostKeyTriple(hDlgWnd, byte, static_cast<LParam>(dVKey[byte]));
  }
  for (int i = 0; i < 2; ++i) {
    PostKeyTriple(hWnd, 13, kEnterDown);
    sys->Sleep(500);
  }
  Remember(hWnd, tick);
  return 0;
}

// A hidden control gets one Enter only as the "AfxWnd40" of a dialog of a "js:TARO" window.
int HiddenControl(Hwnd hWnd, const char* szClassName, char (&szParent)[kClassNameSize]) {
  if (!SameClass(szParent, "#32770")) return 1;
  ClassOf(sys->GetParent(sys->GetParent(hWnd)), szParent);
  if (!SameClass(szParent, "js:TARO")) return 1;
  if (!SameClass(szClassName, "AfxWnd40")) return 1;
  if (HasScrollBars(hWnd)) return 1;
  if (Etl80Flag != 0) return 1;
  Post(hWnd, win::WM_KEYDOWN, win::VK_RETURN, kEnterDown);
  Etl80Flag = 1;
  return 0;
}

bool Is(const char* szClassName, std::initializer_list<const char*> classes) {
  for (const char* c : classes)
    if (SameClass(szClassName, c)) return true;
  return false;
}

}  // namespace

int EnumChildProc(Hwnd hWnd, LParam lParam) {
  char szClassName[kClassNameSize];
  char szParent[kClassNameSize];
  ClassOf(hWnd, szClassName);
  ClassOf(sys->GetParent(hWnd), szParent);

  if (!sys->IsWindowVisible(hWnd) || !sys->IsWindow(hWnd)) return HiddenControl(hWnd, szClassName, szParent);

  if (Is(szClassName, {"Edit", "OpusFedt", "EDTBX", "TEdit"})) return EditRule(hWnd, lParam);
  if (Is(szClassName, {"Button"})) return YesRule(hWnd);
  if (Is(szClassName, {"BorBtn"})) return EnterRule(hWnd);
  if (Is(szClassName, {"Bear-bars"})) return BearBarsRule(hWnd);
  if (Is(szClassName, {"TButton", "TBitBtn"})) return YesRule(hWnd);
  if (Is(szClassName, {"RichEdit20W"})) return RichEditRule(hWnd, lParam);
  if (Is(szClassName, {"Js-BUTTON", "JDButton"})) return EnterRule(hWnd);
  // A control met right after it got its name is passed over; no later row matches it.
  if (Is(szClassName, {"Afx:23930000:b"})) return hWnd == hOldEdit ? 1 : AfxEditRule(hWnd, lParam);
  if (Is(szClassName, {"Just-Panel"})) return PanelRule(hWnd, lParam);
  return 1;
}

}  // namespace shutter

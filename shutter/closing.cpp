// The closing rules: what EnumerateWindow32 does with each top-level window during ticks 0 to 49.
#include <cstring>

#include "shutter32.h"

namespace shutter {

namespace {

constexpr int kClassNameSize = 80;
constexpr const char* kSkipList[] = {"PROGMAN", "Shell_TrayWnd", "Shutter32",
                                     "king",    "CabinetWClass", "ExploreWClass"};
constexpr const char kDesktopClass[] = "#32769";

bool InSkipList(const char* className) {
  for (const char* skipped : kSkipList)
    if (SameClass(className, skipped)) return true;
  return false;
}

void ClassOf(Hwnd window, char (&name)[kClassNameSize]) {
  std::memset(name, 0, sizeof name);
  if (window) sys->GetClassName(window, name, kClassNameSize);
}

// Restores a minimised window after bringing it up; true when it had to be restored.
bool BringToFront(Hwnd w) {
  sys->SetForegroundWindow(w);
  if (!(static_cast<std::uint32_t>(sys->GetWindowLong(w, win::GWL_STYLE)) & win::WS_MINIMIZE)) return false;
  sys->ShowWindow(w, win::SW_SHOWNORMAL);
  sys->SendMessageTimeout(w, win::WM_PAINT, 0, 0, win::SMTO_ABORTIFHUNG, kPaintTimeoutMs, &lpNot);
  return true;
}

void AskToClose(Hwnd w) {
  sys->SendMessageTimeout(w, win::WM_CLOSE, 0, 0, win::SMTO_ABORTIFHUNG, kCloseTimeoutMs, &lpNot);
}

enum class Walk { Stopped, Through, Dismissed };

// Walks the dialog's controls with EnumChildProc: a control stopped the walk, or none did. A dialog whose
// field got the last save name and that is met with it again on a second later tick did not go away on
// its Enter (a search box, or a dialog that keeps refusing the name): it is closed as its Cancel would
// close it, so that the next tick reaches its owner.
Walk WalkDialog(Hwnd dialog, LParam tick) {
  const std::uint16_t seen = wOldEditSeen;
  const bool stopped = sys->EnumChildWindows(dialog, tick) == 0;
  if (wOldEditSeen != seen && wOldEditSeen >= 2) {
    AskToClose(dialog);
    return Walk::Dismissed;
  }
  return stopped ? Walk::Stopped : Walk::Through;
}

void PressEnterOnDialog(Hwnd dialog) {
  sys->PostMessage(dialog, win::WM_KEYDOWN, win::VK_RETURN, kEnterDown);
  sys->PostMessage(dialog, win::WM_CHAR, 13, kEnterDown);
  sys->SendMessageTimeout(dialog, win::WM_KEYUP, win::VK_RETURN, kEnterUp, win::SMTO_ABORTIFHUNG,
                          kDialogEnterTimeoutMs, &lpNot);
}

// The termination attempt: with the debug privilege, open "the process" by the identifier that
// GetWindowThreadProcessId returns without its out-parameter, which is the window's thread. No process
// bears a thread's identifier, so the open gives no handle and nothing is ended: the application keeps
// its chance to answer the close request with its save dialog.
void TerminationAttempt(Hwnd w) {
  Handle hToken = 0;
  bool privileged = false;
  if (sys->OpenProcessToken(sys->GetCurrentProcess(), win::TOKEN_ADJUST_PRIVILEGES | win::TOKEN_QUERY,
                            &hToken)) {
    privileged = SetPrivilege(hToken, "SeDebugPrivilege", 1) != 0;
    if (!privileged) {
      sys->CloseHandle(hToken);
      hToken = 0;
    }
  }
  Handle hTerminate = sys->OpenProcess(win::PROCESS_ALL_ACCESS, 0, sys->GetWindowThreadProcessId(w, nullptr));
  if (privileged) {
    SetPrivilege(hToken, "SeDebugPrivilege", 0);
    sys->CloseHandle(hToken);
  }
  sys->TerminateProcess(hTerminate, 0);
  if (hTerminate) sys->CloseHandle(hTerminate);
}

}  // namespace

int EnumerateWindow32(Hwnd hWnd, LParam lParam) {
  if (lParam > kLastCloseTick) return ShutdownStep(lParam);

  if (hHistory && !sys->IsWindowVisible(hHistory)) hHistory = 0;

  char szClassName[kClassNameSize];
  char szParentName[kClassNameSize];
  ClassOf(hWnd, szClassName);
  Hwnd owner = sys->GetParent(hWnd);
  ClassOf(owner, szParentName);

  if (!sys->IsWindowVisible(hWnd) || !sys->IsWindow(hWnd) || InSkipList(szClassName)) return 1;
  if (owner && SameClass(szParentName, kDesktopClass)) return 1;

  Hwnd hOffWnd = sys->GetLastActivePopup(hWnd);
  if (hOffWnd != hWnd) {
    if (sys->GetParent(hOffWnd)) {
      WalkDialog(hOffWnd, lParam);
      return 0;
    }
    return 1;
  }

  Hwnd hParent = sys->GetParent(hWnd);
  if (hParent) {
    auto lStyleEx = static_cast<std::uint32_t>(sys->GetWindowLong(hWnd, win::GWL_EXSTYLE));
    auto lStyle = static_cast<std::uint32_t>(sys->GetWindowLong(hWnd, win::GWL_STYLE));
    if ((lStyleEx & win::WS_EX_DLGMODALFRAME) && (lStyle & win::WS_DLGFRAME)) {
      if (WalkDialog(hWnd, lParam) == Walk::Stopped) {
        PressEnterOnDialog(hWnd);
        return 1;
      }
      return 0;
    }
    if (hParent == hHistory) return 1;
    BringToFront(hParent);
    AskToClose(hParent);
    hHistory = hParent;
    return 0;
  }

  if (hWnd == hHistory) {
    if (!BringToFront(hWnd)) sys->Sleep(200);
    ++wSameNum;
    if (wSameNum >= 2) {
      sys->SleepEx(2000, 1);
      hHistory = 0;
      wSameNum = 0;
    }
    return 0;
  }

  TerminationAttempt(hWnd);
  BringToFront(hWnd);
  AskToClose(hWnd);
  if (SameClass(szClassName, "js:TARO")) sys->PostMessage(hWnd, win::WM_CLOSE, 0, 0);
  hHistory = hWnd;
  wSameNum = 0;
  return 0;
}

}  // namespace shutter

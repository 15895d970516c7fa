#pragma once
// The status window's dialogs driven the way a user drives them: menu commands from the keyboard, mouse
// clicks on buttons, choices and edits, typing, Enter and Esc. The results are read where the monitor and the
// other programs see them: the settings file, the record file and the monitor's log.
#include <initializer_list>
#include <string>

#include "panel_e2e.h"
#include "settings.h"

namespace korval::e2e {

struct Place {
  int left, top, width, height;
};

// The controls of the dialogs, by their places in the client area.
inline const Place kOldPassword{191, 10, 121, 20}, kNewPassword{191, 50, 121, 20},
    kConfirmPassword{191, 90, 121, 20};
inline const Place kPasswordLabels[3] = {{26, 10, 164, 17}, {26, 50, 164, 17}, {26, 90, 164, 17}};
inline const Place kPasswordOk{81, 157, 75, 25}, kPasswordCancel{193, 157, 75, 25};
inline const Place kChoices[4] = {{8, 15, 262, 17}, {8, 45, 348, 17}, {8, 105, 262, 17}, {8, 135, 262, 17}};
inline const Place kMinutes{28, 67, 37, 24}, kSelfTestOk{80, 179, 75, 25}, kSelfTestCancel{200, 179, 75, 25};
inline const Place kGreenOn{56, 32, 339, 17}, kGreenOff{56, 79, 339, 17};
inline const Place kGreenOk{55, 130, 95, 25}, kGreenCancel{239, 130, 95, 25};
inline const Place kSelfTestButton{213, 25, 41, 40};  // BitBtn2 of the status window's toolbar

class Dialogs : public StatusPanel {
 protected:
  // Keys and clicks go, as the keyboard's and the mouse's would, to the window with the focus and the window
  // under the pointer.
  static void Key(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &in, sizeof in);
  }
  static void Press(WORD vk) {
    Key(vk, false);
    Key(vk, true);
    // A key goes to the control that has the focus when it is sent: the next one waits for this one to have
    // moved it (a row of keys shows nothing in between to wait on).
    Sleep(60);
  }
  static void Type(const std::string& text) {
    for (char ch : text) {
      const SHORT code = VkKeyScanA(ch);
      const bool shift = (code >> 8) & 1;
      if (shift) Key(VK_SHIFT, false);
      Press(LOBYTE(code));
      if (shift) Key(VK_SHIFT, true);
    }
  }
  // The keys of `text` one after another into the focused edit, which takes them in their order.
  static void TypeFast(const std::string& text) {
    for (char ch : text) {
      const SHORT code = VkKeyScanA(ch);
      const bool shift = (code >> 8) & 1;
      if (shift) Key(VK_SHIFT, false);
      Key(LOBYTE(code), false);
      Key(LOBYTE(code), true);
      if (shift) Key(VK_SHIFT, true);
    }
  }
  // The pointer moves to the middle of the window and the left button goes down and up there.
  static void Click(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    INPUT in[3] = {};
    for (INPUT& i : in) i.type = INPUT_MOUSE;
    in[0].mi.dx = ((r.left + r.right) / 2 * 65536 + 65535) / GetSystemMetrics(SM_CXSCREEN);
    in[0].mi.dy = ((r.top + r.bottom) / 2 * 65536 + 65535) / GetSystemMetrics(SM_CYSCREEN);
    in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(1, &in[0], sizeof(INPUT));
    Sleep(60);
    SendInput(2, &in[1], sizeof(INPUT));
    Sleep(150);  // the click's handler, whose effects (a choice, an enabled edit) the tests read at once
  }

  // A command of the menu bar: Alt takes the keyboard to the first title, Right arrows go `right` titles on,
  // Down opens the popup on its first item and goes `down` items further, Enter chooses.
  void MenuCommand(int right, int down) const {
    EXPECT_TRUE(BroughtToFront(window_));
    Press(VK_MENU);
    for (int i = 0; i < right; ++i) Press(VK_RIGHT);
    Press(VK_DOWN);
    for (int i = 0; i < down; ++i) Press(VK_DOWN);
    Press(VK_RETURN);
  }
  // The Setup menu: COM Port, Schedule, Pager, E-Mail, UPS Setup (for unit types 22..27 only), Password,
  // Green Mode. The File menu: Config, Self Test, Exit.
  void PasswordCommand(bool upsSetup = false) const { MenuCommand(1, upsSetup ? 5 : 4); }
  void GreenModeCommand(bool upsSetup = false) const { MenuCommand(1, upsSetup ? 6 : 5); }
  void SelfTestCommand() const { MenuCommand(0, 1); }

  // The shown dialog of this class, once it is shown (nullptr when it is not within `ms`).
  HWND ShownDialog(const char* className, DWORD ms = 5000) const {
    HWND found = nullptr;
    WaitFor(
        [&] {
          found = FindWindowOfProcess(className, panel_.Id());
          return found && IsWindowVisible(found);
        },
        ms);
    return found && IsWindowVisible(found) ? found : nullptr;
  }
  bool Hidden(HWND dialog) const {
    return WaitFor([&] { return !IsWindowVisible(dialog); }, 5000);
  }
  static HWND ChildAt(HWND dialog, const Place& p) {
    const auto children = probe::ChildWindows(dialog);
    const probe::ChildWindow* c = probe::ChildAt(children, p.left, p.top, p.width, p.height);
    return c ? c->hwnd : nullptr;
  }
  // A window's text; asked of the window itself, since a control of another process keeps its text there.
  static std::string Text(HWND hwnd) {
    char text[512] = {};
    DWORD_PTR ignored;
    if (hwnd)
      SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG,
                          5000, &ignored);
    return text;
  }
  // The captions of a message box's buttons, joined by "/".
  static std::string BoxButtons(HWND box) {
    std::string buttons;
    for (const auto& c : probe::ChildWindows(box))
      if (c.visible && lstrcmpiA(c.className.c_str(), "Button") == 0)
        buttons += (buttons.empty() ? "" : "/") + c.text;
    return buttons;
  }
  static bool BoxHasIcon(HWND box) {
    for (const auto& c : probe::ChildWindows(box))
      if (lstrcmpiA(c.className.c_str(), "Static") == 0 && SendMessageA(c.hwnd, STM_GETICON, 0, 0) != 0)
        return true;
    return false;
  }
  // `window` is the foreground window and `focus` has the keyboard focus in it.
  static void ExpectInFront(HWND window, HWND focus) {
    EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == window; }, 2000))
        << "in front: " << Text(GetForegroundWindow());
    EXPECT_TRUE(WaitFor([&] { return probe::FocusedWindow(window) == focus; }, 2000))
        << "focused: " << Text(probe::FocusedWindow(window));
  }
  static bool Checked(HWND button) { return SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED; }
  // Clicks into an edit and types `text` over what it holds; returns once the edit shows `shown` (what its
  // filter leaves of `text`).
  static void TypeInto(HWND edit, const std::string& text, const char* shown = nullptr) {
    Click(edit);
    // A key goes to the window that has the focus when it is sent.
    HWND dialog = GetAncestor(edit, GA_ROOT);
    ASSERT_TRUE(WaitFor([&] { return probe::FocusedWindow(dialog) == edit; }, 5000)) << "the click's focus";
    Key(VK_END, false);
    Key(VK_END, true);
    for (int i = 0; i < 12; ++i) {
      Key(VK_BACK, false);
      Key(VK_BACK, true);
    }
    ASSERT_TRUE(WaitFor([&] { return Text(edit).empty(); }, 5000)) << "emptied: " << Text(edit);
    TypeFast(text);
    const std::string want = shown ? shown : text;
    EXPECT_TRUE(WaitFor([&] { return Text(edit) == want; }, 5000)) << "typed: " << Text(edit);
  }

  std::string Setting(const char* section, const char* key) const {
    return SettingsFile::FromText("", ReadFileBytes(data_ + "KORVAL.ini")).ReadString(section, key, "(none)");
  }
  // How often the monitor logged `line`.
  int Logged(const std::string& line) const {
    const std::string log = dir_.Read("monitor.log");
    int n = 0;
    for (std::size_t at = log.find(line); at != std::string::npos; at = log.find(line, at + 1)) ++n;
    return n;
  }
  bool LoggedTimes(const std::string& line, int times) const {
    return WaitFor([&] { return Logged(line) == times; }, 5000);
  }
  // The monitor has been handed no command at byte `index` of the record beyond the `times` that it logged
  // as `line`: the record does not carry it, and the log holds no more. The record is read first: the
  // monitor logs a command before it clears it.
  bool NoFurtherCommand(std::size_t index, const std::string& line, int times) const {
    const std::string record = ReadFileBytes(data_ + "DATABuff.REC");
    const bool carried = record.size() > index && record[index] != 0;
    return !carried && Logged(line) == times;
  }

  // The window's client area as the screen shows it once it has stopped changing, to `folder` + name +
  // ".png".
  static void SaveShot(HWND window, const std::string& folder, const std::string& name) {
    Bitmap shot;
    EXPECT_TRUE(PictureSettles([&] { return probe::CaptureClient(window); }, shot))
        << name << " keeps changing";
    probe::SaveFile(folder + name + ".png", probe::EncodePng(shot));
  }
};

}  // namespace korval::e2e

// The password, self-test and green-mode dialogs of the real status window used from the keyboard alone:
// the menus opened by Alt and the arrow keys, every choice reached by Tab and the arrow keys, Space and Enter
// to press, Esc to leave. The results are read where the monitor sees them.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "dialogs_e2e.h"

namespace korval::e2e {
namespace {

class KeyboardE2e : public Dialogs {
 protected:
  // A menu command from the keyboard alone, into the status window, which must be in front by itself.
  void KeyMenuCommand(int right, int down) const {
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == window_; }, 3000))
        << "in front: " << Text(GetForegroundWindow());
    Press(VK_MENU);
    for (int i = 0; i < right; ++i) Press(VK_RIGHT);
    Press(VK_DOWN);
    for (int i = 0; i < down; ++i) Press(VK_DOWN);
    Press(VK_RETURN);
  }
  HWND Open(int right, int down, const char* className) const {
    KeyMenuCommand(right, down);
    HWND dialog = ShownDialog(className);
    // In front, and its window has taken the focus (the program does that once it hears of its activation).
    EXPECT_TRUE(dialog &&
                WaitFor([&] { return GetForegroundWindow() == dialog && FocusedWindow(dialog); }, 2000));
    return dialog;
  }
  static HWND FocusedWindow(HWND dialog) { return probe::FocusedWindow(dialog); }
  static Bitmap Part(HWND dialog, const Place& p) {
    return probe::Crop(probe::CaptureClient(dialog), p.left, p.top, p.width, p.height);
  }
  // The control at `p` as shown once it has stopped changing.
  static bool Settled(HWND dialog, const Place& p, Bitmap& shown) {
    return PictureSettles([&] { return Part(dialog, p); }, shown, 3000);
  }
  // The dark pixels of a picture: its text, and the dots of a focus rectangle.
  static int Dark(const Bitmap& b) {
    int n = 0;
    for (int y = 0; y < b.Height(); ++y)
      for (int x = 0; x < b.Width(); ++x) {
        const Color c = b.Pixel(x, y);
        if (c.r + c.g + c.b < 300) ++n;
      }
    return n;
  }
  // Presses each key in turn (Shift held for all of them when `shift`), then expects the focus on `focus`.
  static void Keys(HWND dialog, std::initializer_list<WORD> keys, HWND focus, bool shift = false) {
    if (shift) Key(VK_SHIFT, false);
    for (WORD k : keys) Press(k);
    if (shift) Key(VK_SHIFT, true);
    EXPECT_TRUE(WaitFor([&] { return FocusedWindow(dialog) == focus; }, 5000))
        << "focused: " << Text(FocusedWindow(dialog)) << ", wanted: " << Text(focus);
  }
};

TEST_F(KeyboardE2e, GreenModeOffIsChosenAndSent) {
  Start(Live(5));
  HWND dialog = Open(1, 5, "TnGreenModeSetup");
  ASSERT_TRUE(dialog);
  HWND on = ChildAt(dialog, kGreenOn), off = ChildAt(dialog, kGreenOff);
  EXPECT_TRUE(Checked(on));
  Keys(dialog, {VK_TAB}, on);  // the group is entered at its checked choice
  Keys(dialog, {VK_DOWN}, off);
  EXPECT_TRUE(Checked(off));
  EXPECT_FALSE(Checked(on));
  // The focus shows where it is: a focused choice or button has the dots of its focus rectangle besides
  // its text.
  Bitmap offFocused, okUnfocused, offUnfocused, okFocused;
  ASSERT_TRUE(Settled(dialog, kGreenOff, offFocused));
  ASSERT_TRUE(Settled(dialog, kGreenOk, okUnfocused));
  Keys(dialog, {VK_TAB}, ChildAt(dialog, kGreenOk));
  ASSERT_TRUE(Settled(dialog, kGreenOff, offUnfocused));
  ASSERT_TRUE(Settled(dialog, kGreenOk, okFocused));
  EXPECT_GT(Dark(offFocused), Dark(offUnfocused) + 20) << "the focused choice shows no focus";
  EXPECT_GT(Dark(okFocused), Dark(okUnfocused) + 20) << "the focused button shows no focus";
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "1");
  EXPECT_TRUE(LoggedTimes("command GreenCommand 2", 1));

  // Back on ON and left with Esc: nothing written, nothing sent.
  ASSERT_EQ(Open(1, 5, "TnGreenModeSetup"), dialog);
  Keys(dialog, {VK_TAB}, off, true);  // from OK, where the focus was left, back into the group
  Keys(dialog, {VK_UP}, on);
  Press(VK_ESCAPE);
  ASSERT_TRUE(Hidden(dialog));
  // OK hands the command over in its own handler, which has ended with the dialog.
  ASSERT_TRUE(Answers(dialog));
  EXPECT_EQ(Setting("Set", "GreenStatus"), "1");
  EXPECT_TRUE(NoFurtherCommand(DataBuffRecord::kGreenCommand, "command GreenCommand 2", 1));
  EXPECT_EQ(Logged("command GreenCommand 2"), 1);
}

TEST_F(KeyboardE2e, EverySelfTestChoiceIsChosen) {
  WriteFileBytes(data_ + "KORVAL.ini", "[Main]\r\nTestFun=0\r\nTestTime=5\r\n");
  Start(Live(21));
  HWND dialog = Open(0, 1, "TnselfTsetset");
  ASSERT_TRUE(dialog);
  HWND choices[4], minutes = ChildAt(dialog, kMinutes), ok = ChildAt(dialog, kSelfTestOk);
  for (int i = 0; i < 4; ++i) choices[i] = ChildAt(dialog, kChoices[i]);
  EXPECT_TRUE(Checked(choices[0]));
  // OK, Cancel, then the panel: the minutes (open as the dialog opens) and the choices.
  Keys(dialog, {VK_TAB}, ok);
  Keys(dialog, {VK_TAB}, ChildAt(dialog, kSelfTestCancel));
  Keys(dialog, {VK_TAB}, minutes);
  Keys(dialog, {VK_TAB}, choices[0]);
  Keys(dialog, {VK_DOWN}, choices[1]);
  EXPECT_TRUE(Checked(choices[1]));
  EXPECT_TRUE(IsWindowEnabled(minutes)) << "the choice's own handler opened the minutes";
  Keys(dialog, {VK_TAB}, minutes, true);
  GUITHREADINFO gui{};
  gui.cbSize = sizeof gui;
  EXPECT_TRUE(GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &gui) && gui.hwndCaret == minutes)
      << "the caret in the focused edit";
  Press(VK_END);
  Press(VK_BACK);
  Press(VK_BACK);
  Type("7");
  EXPECT_EQ(Text(minutes), "7");
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "TestFun"), "1");
  EXPECT_EQ(Setting("Main", "TestTime"), "7");
  EXPECT_TRUE(LoggedTimes("command TestCommand 3", 1));

  // The focus comes back where it was; Tab takes it into the group at the checked choice.
  ASSERT_EQ(Open(0, 1, "TnselfTsetset"), dialog);
  EXPECT_TRUE(WaitFor([&] { return FocusedWindow(dialog) == minutes; }, 5000))
      << "focused: " << Text(FocusedWindow(dialog));
  Keys(dialog, {VK_TAB}, choices[1]);
  Keys(dialog, {VK_RIGHT}, choices[2]);
  EXPECT_FALSE(IsWindowEnabled(minutes));
  Keys(dialog, {VK_TAB}, ok);
  Press(VK_SPACE);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "TestFun"), "2");
  EXPECT_TRUE(LoggedTimes("command TestCommand 3", 2));

  ASSERT_EQ(Open(0, 1, "TnselfTsetset"), dialog);
  Keys(dialog, {VK_TAB}, choices[2], true);
  Keys(dialog, {VK_DOWN}, choices[3]);
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "TestFun"), "3");
  EXPECT_TRUE(LoggedTimes("command TestCommand 3", 3));

  // Round from the last choice to the first.
  ASSERT_EQ(Open(0, 1, "TnselfTsetset"), dialog);
  EXPECT_TRUE(WaitFor([&] { return FocusedWindow(dialog) == choices[3]; }, 5000))
      << "focused: " << Text(FocusedWindow(dialog));
  Keys(dialog, {VK_DOWN}, choices[0]);
  EXPECT_TRUE(Checked(choices[0]));
  Press(VK_RETURN);
  ASSERT_TRUE(Hidden(dialog));
  EXPECT_EQ(Setting("Main", "TestFun"), "0");
  EXPECT_TRUE(LoggedTimes("command TestCommand 3", 4));

  ASSERT_EQ(Open(0, 1, "TnselfTsetset"), dialog);
  Keys(dialog, {VK_UP}, choices[3]);
  Press(VK_ESCAPE);
  ASSERT_TRUE(Hidden(dialog));
  // A tick of the window after the dialog closed: it hands over a requested self-test.
  ASSERT_TRUE(TicksShown());
  EXPECT_EQ(Setting("Main", "TestFun"), "0");
  EXPECT_TRUE(NoFurtherCommand(DataBuffRecord::kTestCommand, "command TestCommand 3", 4));
  EXPECT_EQ(Logged("command TestCommand 3"), 4);
}

// One round trip: set, then changed with the right old one. What the dialog accepts, and what Esc leaves, the
// unit tables of the password dialog hold.
TEST_F(KeyboardE2e, PasswordIsSetAndChanged) {
  Start(Live(5));
  HWND dialog = Open(1, 4, "TnPassfunction");
  ASSERT_TRUE(dialog);
  HWND old = ChildAt(dialog, kOldPassword), fresh = ChildAt(dialog, kNewPassword),
       confirm = ChildAt(dialog, kConfirmPassword);
  // In the new password's edit: the password, Tab, the password again, Enter.
  auto newTwice = [&](const std::string& password) {
    Type(password);
    Keys(dialog, {VK_TAB}, confirm);
    Type(password);
    Press(VK_RETURN);
    ASSERT_TRUE(Hidden(dialog));
    EXPECT_EQ(Setting("Main", "ShowDisp"), password);
  };
  EXPECT_FALSE(IsWindowVisible(old));
  Keys(dialog, {VK_TAB}, ChildAt(dialog, kPasswordOk));
  Keys(dialog, {VK_TAB}, ChildAt(dialog, kPasswordCancel));
  Keys(dialog, {VK_TAB}, fresh);
  newTwice("Tiger7");

  ASSERT_EQ(Open(1, 4, "TnPassfunction"), dialog);
  ASSERT_TRUE(IsWindowVisible(old));
  // The focus comes back where it was, once the program has heard of the activation; keys sent before go
  // from wherever the focus stood.
  ASSERT_TRUE(WaitFor([&] { return FocusedWindow(dialog) == confirm; }, 5000))
      << "focused: " << Text(FocusedWindow(dialog));
  Keys(dialog, {VK_TAB, VK_TAB}, old, true);
  Type("Tiger7");
  Keys(dialog, {VK_TAB}, fresh);
  newTwice("lion");
}

}  // namespace
}  // namespace korval::e2e

// The closing rules for top-level windows, tick by tick, on a simulated desktop.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "fake_desktop.h"

namespace shutter::test {
namespace {

constexpr std::uint32_t kModal = win::WS_DLGFRAME;
constexpr std::uint32_t kModalEx = win::WS_EX_DLGMODALFRAME;

class Closing : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetState();
    sys = &desk;
    std::strcpy(cPath, "C:\\Tools\\");
    MakeProgramPath();
    FillKeyTable();
    hGlb = desk.GlobalAlloc(0x42, kNameBufferSize);
  }
  // One tick's enumeration; the window actions it made.
  std::vector<std::string> Tick(int tick) {
    desk.ClearCalls();
    desk.EnumWindows(tick);
    return desk.Only({"EnumChildWindows", "SetForegroundWindow", "ShowWindow", "SetFocus", "PostMessage",
                      "SendMessage", "SendMessageTimeout", "Sleep", "SleepEx"});
  }
  static std::string CloseOf(const std::string& w) {
    return "SendMessageTimeout(" + w + ", WM_CLOSE, 0x0, 0x0, 2, 500)";
  }

  FakeDesktop desk;
};

TEST_F(Closing, PassesOverShellOwnAndInvisibleWindowsInAnyCapitalisation) {
  const char* skipped[] = {"PROGMAN",       "progman",       "Shell_TrayWnd", "SHELL_TRAYWND",
                           "Shutter32",     "shutter32",     "king",          "KING",
                           "CabinetWClass", "cabinetwclass", "ExploreWClass", "EXPLOREWCLASS"};
  for (const char* cls : skipped) {
    SCOPED_TRACE(cls);
    SetUp();
    desk = FakeDesktop();
    hGlb = desk.GlobalAlloc(0x42, kNameBufferSize);
    desk.Top("skipped", cls);
    desk.Top("app", "Notepad");
    EXPECT_EQ(Tick(0), (std::vector<std::string>{"SetForegroundWindow(app)", CloseOf("app")}));
  }

  SetUp();
  desk = FakeDesktop();
  desk.Top("hidden", "Notepad").visible = false;
  Hwnd desktop = desk.Top("desktop", "#32769").id;
  desk.Top("onDesktop", "Notepad", desktop);
  desk[desktop].visible = false;
  desk.Top("app", "Notepad");
  EXPECT_EQ(Tick(0), (std::vector<std::string>{"SetForegroundWindow(app)", CloseOf("app")}));
}

TEST_F(Closing, PendingPopupOfAnApplicationIsAnsweredAndEndsTheTick) {
  Hwnd app = desk.Top("app", "Notepad").id;
  Hwnd popup = desk.Top("popup", "#32770", app).id;
  Hwnd yes = desk.Child(popup, "yes", "Button", 6).id;
  desk.Top("other", "WordPad");
  desk[app].lastActivePopup = popup;
  EXPECT_EQ(Tick(0), (std::vector<std::string>{
                         "EnumChildWindows(popup, 0)",
                         "PostMessage(yes, WM_KEYDOWN, 0x59, 0x150001)",
                         "PostMessage(yes, WM_CHAR, 0x79, 0x150001)",
                         "SendMessageTimeout(yes, WM_KEYUP, 0x59, 0xc0150001, 2, 750)",
                         "PostMessage(yes, WM_KEYDOWN, 0xd, 0x1c0001)",
                     }));

  // Whatever the walk found, the tick ends there.
  desk.Destroy(yes);
  desk.Child(popup, "label", "Static", 7);
  EXPECT_EQ(Tick(1), std::vector<std::string>{"EnumChildWindows(popup, 1)"});
}

TEST_F(Closing, PopupWithoutOwnerIsPassedOver) {
  Hwnd app = desk.Top("app", "Notepad").id;
  Hwnd loose = desk.Top("loose", "Tooltip").id;
  desk.Top("other", "WordPad");
  desk[app].lastActivePopup = loose;
  // app: its popup has no owner, passed over; loose: its own last popup, new, asked to close.
  EXPECT_EQ(Tick(0), (std::vector<std::string>{"SetForegroundWindow(loose)", CloseOf("loose")}));
}

TEST_F(Closing, ModalDialogWithAnsweredControlGetsEnterAndTheTickGoesOn) {
  Hwnd app = desk.Top("app", "Notepad").id;
  FakeWindow& dialog = desk.Top("dialog", "#32770", app);
  dialog.style = kModal;
  dialog.exStyle = kModalEx;
  Hwnd combo = desk.Child(dialog.id, "combo", "ComboBox", 1148).id;
  desk.Child(combo, "name", "Edit", 1001);
  desk.SetForegroundWindow(dialog.id);  // the dialog above its owner
  desk[app].lastActivePopup = 0;
  desk.Top("other", "WordPad");

  std::vector<std::string> actions = Tick(3);
  std::vector<std::string> expected{
      "EnumChildWindows(dialog, 3)",
      "SetFocus(name)",
      "SendMessageTimeout(name, EM_SETSEL, 0x0, 0xffffffff, 2, 1500)",
      "SendMessageTimeout(name, EM_REPLACESEL, 0x0, \"C:\\Tools\\save\\save01\", 2, 1500)",
      "PostMessage(name, WM_KEYDOWN, 0xd, 0x1c0001)",
      "PostMessage(name, WM_CHAR, 0xd, 0x1c0001)",
      "SendMessageTimeout(name, WM_KEYUP, 0xd, 0xc01c0001, 2, 1500)",
      "PostMessage(dialog, WM_KEYDOWN, 0xd, 0x1c0001)",
      "PostMessage(dialog, WM_CHAR, 0xd, 0x1c0001)",
      "SendMessageTimeout(dialog, WM_KEYUP, 0xd, 0xc01c0001, 2, 250)",
      // the same tick goes on: the owner is new and asked to close
      "SetForegroundWindow(app)",
      CloseOf("app"),
  };
  EXPECT_EQ(actions, expected);
}

TEST_F(Closing, ModalDialogWhereNoRuleActedEndsTheTickWithoutEnter) {
  Hwnd app = desk.Top("app", "Notepad").id;
  FakeWindow& dialog = desk.Top("dialog", "#32770", app);
  dialog.style = kModal | 0x80000000u;
  dialog.exStyle = kModalEx;
  desk.Child(dialog.id, "label", "Static", 0xFFFF);
  desk.SetForegroundWindow(dialog.id);
  desk.Top("other", "WordPad");
  EXPECT_EQ(Tick(0), std::vector<std::string>{"EnumChildWindows(dialog, 0)"});
}

TEST_F(Closing, OwnedToolWindowClosesItsOwnerOnce) {
  FakeWindow& app = desk.Top("app", "Notepad");
  app.style = win::WS_MINIMIZE;
  Hwnd appId = app.id;
  desk.Top("tool", "ToolWindow", appId);
  desk.Top("tool2", "ToolWindow", appId);
  desk.SetForegroundWindow(appId);
  desk[appId].style = win::WS_MINIMIZE;
  desk.Top("other", "WordPad");

  EXPECT_EQ(Tick(0), (std::vector<std::string>{"SetForegroundWindow(app)", "ShowWindow(app, 1)",
                                               "SendMessageTimeout(app, WM_PAINT, 0x0, 0x0, 2, 1500)",
                                               CloseOf("app")}));
  EXPECT_EQ(hHistory, appId);
  // The owned windows of the remembered owner are passed over; the owner itself is met again.
  EXPECT_EQ(Tick(1), (std::vector<std::string>{"SetForegroundWindow(app)", "Sleep(200)"}));
}

TEST_F(Closing, WindowThatIgnoresCloseIsMetAgainThenForgottenThenAskedAgain) {
  Hwnd app = desk.Top("app", "Notepad").id;
  desk.Top("other", "WordPad");
  std::vector<std::string> ask{"SetForegroundWindow(app)", CloseOf("app")};
  EXPECT_EQ(Tick(10), ask);
  EXPECT_EQ(Tick(11), (std::vector<std::string>{"SetForegroundWindow(app)", "Sleep(200)"}));
  EXPECT_EQ(wSameNum, 1);
  EXPECT_EQ(Tick(12),
            (std::vector<std::string>{"SetForegroundWindow(app)", "Sleep(200)", "SleepEx(2000, 1)"}));
  EXPECT_EQ(hHistory, 0u);
  EXPECT_EQ(wSameNum, 0);
  EXPECT_EQ(Tick(13), ask);
  EXPECT_EQ(desk.CountNamed("OpenProcess"), 1) << "a new termination attempt";
  EXPECT_EQ(hHistory, app);

  // A minimised one is restored in place of the pause.
  desk[app].style = win::WS_MINIMIZE;
  EXPECT_EQ(Tick(14), (std::vector<std::string>{"SetForegroundWindow(app)", "ShowWindow(app, 1)",
                                                "SendMessageTimeout(app, WM_PAINT, 0x0, 0x0, 2, 1500)"}));
}

TEST_F(Closing, TaroWindowGetsASentAndAPostedClose) {
  for (const char* cls : {"js:TARO", "JS:taro"}) {
    SetUp();
    desk = FakeDesktop();
    desk.Top("taro", cls);
    EXPECT_EQ(Tick(0), (std::vector<std::string>{"SetForegroundWindow(taro)", CloseOf("taro"),
                                                 "PostMessage(taro, WM_CLOSE, 0x0, 0x0)"}));
  }
}

TEST_F(Closing, RememberedWindowThatWentIsForgottenAtTheNextCall) {
  for (bool destroy : {true, false}) {
    SetUp();
    desk = FakeDesktop();
    Hwnd first = desk.Top("first", "Notepad").id;
    desk.Top("second", "WordPad");
    Tick(0);
    ASSERT_EQ(hHistory, first);
    if (destroy)
      desk.Destroy(first);
    else
      desk[first].visible = false;
    EXPECT_EQ(Tick(1), (std::vector<std::string>{"SetForegroundWindow(second)", CloseOf("second")}));
  }
}

TEST_F(Closing, TerminationAttemptEndsNoProcess) {
  Hwnd app = desk.Top("app", "Notepad").id;
  Tick(0);
  std::vector<std::string> attempt =
      desk.Only({"OpenProcessToken", "LookupPrivilegeValue", "AdjustTokenPrivileges",
                 "GetWindowThreadProcessId", "OpenProcess", "TerminateProcess", "CloseHandle"});
  EXPECT_EQ(
      attempt,
      (std::vector<std::string>{
          "OpenProcessToken(self, 0x28)",
          "LookupPrivilegeValue(null, SeDebugPrivilege)",
          "AdjustTokenPrivileges(token, 0, count 1 luid 20 attributes 0x0, 16, previous)",
          "AdjustTokenPrivileges(token, 0, count 1 luid 20 attributes 0x2, 16, null)",
          "GetWindowThreadProcessId(app, null)",
          Fmt("OpenProcess(0x1f0fff, 0, %u)", FakeDesktop::ThreadOf(app)),  // the thread, not the process
          "LookupPrivilegeValue(null, SeDebugPrivilege)",
          "AdjustTokenPrivileges(token, 0, count 1 luid 20 attributes 0x0, 16, previous)",
          "AdjustTokenPrivileges(token, 0, count 1 luid 20 attributes 0x0, 16, null)",
          "CloseHandle(token)",
          "TerminateProcess(0x0, 0)",
      }));
  EXPECT_TRUE(desk.endedProcesses.empty());
  EXPECT_EQ(desk.OpenHandles(), 0u);

  // Without the privilege, the token is closed at once and not used again; the close request follows.
  SetUp();
  desk = FakeDesktop();
  hGlb = desk.GlobalAlloc(0x42, kNameBufferSize);
  desk.Top("app", "Notepad");
  desk.adjustError = 1300;
  std::vector<std::string> actions = Tick(0);
  EXPECT_EQ(desk.CountNamed("AdjustTokenPrivileges"), 1);
  EXPECT_EQ(desk.Count("CloseHandle(token)"), 1);
  EXPECT_EQ(actions, (std::vector<std::string>{"SetForegroundWindow(app)", CloseOf("app")}));
  EXPECT_TRUE(desk.endedProcesses.empty());

  SetUp();
  desk = FakeDesktop();
  desk.Top("app", "Notepad");
  desk.tokenFails = true;
  actions = Tick(0);
  EXPECT_EQ(desk.CountNamed("AdjustTokenPrivileges") + desk.CountNamed("CloseHandle"), 0);
  EXPECT_EQ(actions, (std::vector<std::string>{"SetForegroundWindow(app)", CloseOf("app")}));
}

// A modeless search box of an editor: an owned window with a dialog frame and one edit, the editor's last
// active popup. Its field takes the name and Find Next takes the Enter, but the box stays.
TEST_F(Closing, SearchBoxThatStaysAfterItsAnswerIsDismissedAndItsOwnerAskedToClose) {
  struct Case {
    const char* what;
    bool dialogFrame;
    int answeredOn;   // the tick on which the search field gets the name
    int dismissedOn;  // the tick on which the box gets WM_CLOSE
  };
  // With a dialog frame the box is answered as a modal dialog; without one its owner is asked to close
  // first (and, being busy with its box, stays), and the box is answered as the owner's last popup.
  for (const Case& c : {Case{"dialog frame", true, 0, 2}, Case{"no dialog frame", false, 1, 3}}) {
    SCOPED_TRACE(c.what);
    SetUp();
    desk = FakeDesktop();
    hGlb = desk.GlobalAlloc(0x42, kNameBufferSize);
    Hwnd editor = desk.Top("editor", "Notepad").id;
    FakeWindow& box = desk.Top("find", "#32770", editor);
    if (c.dialogFrame) {
      box.style = kModal;
      box.exStyle = kModalEx;
    }
    box.closesOnClose = true;
    const Hwnd boxId = box.id;
    desk.Child(boxId, "label", "Static", 0xFFFF);
    Hwnd what = desk.Child(boxId, "what", "Edit", 1152).id;
    desk.Child(boxId, "next", "Button", 1);
    desk[editor].lastActivePopup = boxId;
    desk.SetForegroundWindow(editor);
    desk.Top("other", "WordPad");

    const std::string enterOnBox = "SendMessageTimeout(find, WM_KEYUP, 0xd, 0xc01c0001, 2, 250)";
    int tick = 0;
    for (; tick < c.answeredOn; ++tick) Tick(tick);
    std::vector<std::string> answered = Tick(tick++);
    EXPECT_EQ(hOldEdit, what);
    EXPECT_EQ(std::count(answered.begin(), answered.end(), enterOnBox), c.dialogFrame ? 1 : 0);
    // Met again on the next tick: as a save dialog that is slow to go, it gets its Enter once more.
    std::vector<std::string> again = Tick(tick++);
    EXPECT_EQ(std::count(again.begin(), again.end(), enterOnBox), c.dialogFrame ? 1 : 0);
    EXPECT_EQ(std::count(again.begin(), again.end(), CloseOf("find")), 0);
    for (; tick < c.dismissedOn; ++tick) Tick(tick);
    EXPECT_EQ(Tick(tick),
              (std::vector<std::string>{Fmt("EnumChildWindows(find, %d)", tick), CloseOf("find")}));
    ++tick;
    EXPECT_FALSE(desk[boxId].alive);
    std::vector<std::string> next = Tick(tick++);
    if (c.dialogFrame)
      EXPECT_EQ(next, (std::vector<std::string>{"SetForegroundWindow(editor)", CloseOf("editor")}));
    else  // the owner had been asked already: it is met again
      EXPECT_EQ(next, (std::vector<std::string>{"SetForegroundWindow(editor)", "Sleep(200)"}));
    EXPECT_EQ(bTrace, 1) << "the search field got one name";
  }
}

TEST_F(Closing, QuestionThatStaysIsAnsweredOnEveryTickAndNeverDismissed) {
  Hwnd app = desk.Top("app", "Notepad").id;
  FakeWindow& box = desk.Top("question", "#32770", app);
  box.style = kModal;
  box.exStyle = kModalEx;
  desk.Child(box.id, "yes", "Button", 6);
  desk[app].lastActivePopup = box.id;
  desk.SetForegroundWindow(app);
  for (int tick = 0; tick < 6; ++tick) {
    Tick(tick);
    EXPECT_EQ(desk.Count("PostMessage(yes, WM_KEYDOWN, 0x59, 0x150001)"), 2) << tick;
    EXPECT_EQ(desk.Count(CloseOf("question")), 0) << tick;
  }
}

TEST_F(Closing, ApplicationsGoDownOneATick) {
  for (const char* n : {"a", "b", "c"}) desk.Top(n, "Notepad").closesOnClose = true;
  EXPECT_EQ(Tick(0), (std::vector<std::string>{"SetForegroundWindow(a)", CloseOf("a")}));
  EXPECT_EQ(Tick(1), (std::vector<std::string>{"SetForegroundWindow(b)", CloseOf("b")}));
  EXPECT_EQ(Tick(2), (std::vector<std::string>{"SetForegroundWindow(c)", CloseOf("c")}));
  EXPECT_TRUE(Tick(3).empty());
}

}  // namespace
}  // namespace shutter::test

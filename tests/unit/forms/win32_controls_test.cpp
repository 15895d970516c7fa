// The form library's input controls on real windows (win32 build, under Wine): the system's controls follow
// the model and report the user's changes back, the grid gives its cells as its text and scrolls, a spin
// button repeats while held, the dialog keys act in the message loop, and the Yes/No question and the input
// box answer Enter and Esc.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "application.h"
#include "win32_backend.h"
#include "win32_pump.h"

namespace korval::forms {
namespace {

class ControlsForm : public Form {
 public:
  explicit ControlsForm(Application& app) : Form(app, "TControlsTest", "ControlsTest") {
    SetCaption("Controls");
    SetClientSize(400, 300);
    panel = Add<Panel>(this, "Panel1");
    panel->SetBounds(0, 200, 400, 100);
    box = Add<CheckBox>(panel, "CheckBox1");
    box->SetBounds(4, 4, 120, 16);
    box->SetCaption("1.Program start");
    edit1 = Add<Edit>(panel, "Edit1");
    edit1->SetBounds(4, 30, 60, 23);
    edit2 = Add<Edit>(panel, "Edit2");
    edit2->SetBounds(70, 30, 60, 23);
    spin = Add<SpinButton>(panel, "SpinButton1");
    spin->SetBounds(140, 30, 15, 22);
    grid = Add<StringGrid>(this, "StringGrid1");
    grid->SetBounds(0, 0, 300, 190);
    ok = Add<Button>(this, "Button1");
    ok->SetBounds(310, 10, 75, 25);
    ok->SetCaption("OK");
    ok->SetDefault(true);
    ok->OnClick = [this](Control&) { ++okClicks; };
    box->OnClick = [this](Control&) { ++boxClicks; };
    edit1->OnChange = [this](Edit& e) { changes.push_back(e.Text()); };
    spin->OnUpClick = [this](SpinButton&) { ++ups; };
  }
  Panel* panel;
  CheckBox* box;
  Edit *edit1, *edit2;
  SpinButton* spin;
  StringGrid* grid;
  Button* ok;
  int okClicks = 0, boxClicks = 0, ups = 0;
  std::vector<std::string> changes;
};

class Win32ControlsTest : public ::testing::Test {
 protected:
  Win32Backend backend{GetModuleHandleA(nullptr)};
  FakeSystem system;
  Application app{backend, system};
};

TEST_F(Win32ControlsTest, SystemControlsFollowTheModelAndReportTheUser) {
  ControlsForm& f = app.CreateForm<ControlsForm>();
  f.Show();
  HWND box = Win32Backend::WindowOf(*f.box), edit = Win32Backend::WindowOf(*f.edit1);
  f.box->SetChecked(true);
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_FALSE(f.box->Checked()) << "the user's click toggles the model";
  EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  EXPECT_EQ(f.boxClicks, 2);

  f.edit1->SetText("abc");
  char text[32] = {};
  GetWindowTextA(edit, text, sizeof text);
  EXPECT_STREQ(text, "abc");
  SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("xyz"));  // as the user's typing changes it
  EXPECT_EQ(f.edit1->Text(), "xyz");
  EXPECT_EQ(f.changes, (std::vector<std::string>{"abc", "xyz"})) << "one change each, no echo";
  f.edit1->SetReadOnly(true);
  f.edit1->SetMaxLength(2);
  f.edit2->SetPasswordChar('*');
  EXPECT_TRUE(GetWindowLongA(edit, GWL_STYLE) & ES_READONLY);
  EXPECT_EQ(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0), 2);
  EXPECT_EQ(SendMessageA(Win32Backend::WindowOf(*f.edit2), EM_GETPASSWORDCHAR, 0, 0), '*');
  f.panel->SetEnabled(false);
  SendMessageA(box, BM_CLICK, 0, 0);
  EXPECT_EQ(f.boxClicks, 2) << "a control of a disabled panel takes no click";
}

TEST_F(Win32ControlsTest, GridGivesItsCellsAsTextAndScrollsByRows) {
  ControlsForm& f = app.CreateForm<ControlsForm>();
  f.Show();
  HWND grid = Win32Backend::WindowOf(*f.grid);
  f.grid->SetColCount(3);
  f.grid->SetRowCount(100);
  for (int r = 0; r < 100; ++r) f.grid->SetCell(0, r, std::to_string(r));
  Pump(100);
  std::string text(static_cast<std::size_t>(SendMessageA(grid, WM_GETTEXTLENGTH, 0, 0)) + 1, '\0');
  text.resize(static_cast<std::size_t>(
      SendMessageA(grid, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]))));
  EXPECT_EQ(text, f.grid->Text());
  char small[6] = {};
  EXPECT_EQ(SendMessageA(grid, WM_GETTEXT, sizeof small, reinterpret_cast<LPARAM>(small)), 5);
  EXPECT_STREQ(small, "0\t\t\r\n");
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 98);
  SendMessageA(grid, WM_VSCROLL, SB_PAGEDOWN, 0);
  EXPECT_GT(f.grid->TopRow(), 1);
  SendMessageA(grid, WM_VSCROLL, SB_BOTTOM, 0);
  Pump(50);
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(f.grid->TopRow() - 1, si.nPos);
  EXPECT_EQ(f.grid->TopRow() + static_cast<int>(si.nPage), 100) << "the last row shows at the foot";
  f.grid->SetRowCount(30);
  Pump(50);
  GetScrollInfo(grid, SB_VERT, &si);
  EXPECT_EQ(si.nMax, 28) << "a smaller grid sets its scroll bar anew";
  EXPECT_EQ(f.grid->TopRow() - 1, si.nPos);
  EXPECT_EQ(f.grid->TopRow() + static_cast<int>(si.nPage), 30);
  SendMessageA(grid, WM_KEYDOWN, VK_HOME, 0);
  EXPECT_EQ(f.grid->Col(), 1);
}

TEST_F(Win32ControlsTest, HeldSpinHalfRepeatsAndADisabledPanelStopsIt) {
  ControlsForm& f = app.CreateForm<ControlsForm>();
  f.Show();
  HWND spin = Win32Backend::WindowOf(*f.spin);
  f.spin->SetFocusControl(f.edit1);
  POINT p{7, 5};
  ClientToScreen(spin, &p);
  SetCursorPos(p.x, p.y);
  PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 5));
  Pump(30);
  EXPECT_EQ(f.ups, 1) << "the press clicks at once";
  Pump(750);
  PostMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(7, 5));
  Pump(30);
  EXPECT_GE(f.ups, 3) << "held: again after 400 ms and then every 100 ms";
  const int held = f.ups;
  Pump(300);
  EXPECT_EQ(f.ups, held) << "released: no more";
  f.panel->SetEnabled(false);
  PostMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(7, 5));
  PostMessageA(spin, WM_LBUTTONUP, 0, MAKELPARAM(7, 5));
  Pump(50);
  EXPECT_EQ(f.ups, held);
}

TEST_F(Win32ControlsTest, DialogKeysWorkInTheMessageLoop) {
  ControlsForm& f = app.CreateForm<ControlsForm>();
  f.grid->SetTabStop(false);
  f.SetActiveControl(f.edit1);
  // Tab, then Enter in the second edit, then the window closes.
  PostMessageA(Win32Backend::WindowOf(*f.edit1), WM_KEYDOWN, VK_TAB, 0);
  PostMessageA(Win32Backend::WindowOf(*f.edit2), WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(Win32Backend::WindowOf(f), WM_CLOSE, 0, 0);
  app.Run();
  EXPECT_EQ(f.ActiveControl(), f.edit2);
  EXPECT_EQ(f.okClicks, 1) << "Enter clicks the default button";
}

// The question box and the input box, answered by a timer that runs in their modal loops.
UINT g_key = 0;
std::string g_typed;
void CALLBACK Answer(HWND, UINT, UINT_PTR id, DWORD) {
  HWND dialog = nullptr;
  for (const char* title : {"Confirm", "Novell Setup"})
    if (!dialog) dialog = FindWindowA("#32770", title);
  if (!dialog) return;
  KillTimer(nullptr, id);
  if (HWND edit = GetDlgItem(dialog, 100); edit && !g_typed.empty()) SetWindowTextA(edit, g_typed.c_str());
  PostMessageA(GetFocus() ? GetFocus() : dialog, WM_KEYDOWN, g_key, 0);
}

TEST_F(Win32ControlsTest, QuestionAndInputBoxesAnswerEnterAndEsc) {
  const struct {
    UINT key;
    MessageResult answer;
  } questions[] = {{VK_RETURN, MessageResult::Yes}, {VK_ESCAPE, MessageResult::No}};
  for (const auto& q : questions) {
    g_key = q.key;
    g_typed.clear();
    SetTimer(nullptr, 0, 200, Answer);
    EXPECT_EQ(app.MessageBox("Confirm", "C:\\A&B File is Exists, Overwrite it now?", MessageButtons::YesNo,
                             MessageIcon::Question),
              q.answer);
  }
  std::string drive = "S:";
  g_key = VK_RETURN;
  g_typed = "G";
  SetTimer(nullptr, 0, 200, Answer);
  EXPECT_TRUE(app.InputQuery("Novell Setup", "Please input a drive of Novell Server", drive));
  EXPECT_EQ(drive, "G");
  g_key = VK_ESCAPE;
  g_typed = "H:";
  SetTimer(nullptr, 0, 200, Answer);
  EXPECT_FALSE(app.InputQuery("Novell Setup", "Please input a drive of Novell Server", drive));
  EXPECT_EQ(drive, "G");
}

}  // namespace
}  // namespace korval::forms

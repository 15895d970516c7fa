// The form library's input controls on the headless backend: check boxes, radio buttons, edits, the string
// grid, spin buttons, the tab order and dialog keys, the save dialog and the input box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "application.h"
#include "headless.h"

namespace korval::forms {
namespace {

class DialogForm : public Form {
 public:
  explicit DialogForm(Application& app) : Form(app, "TDialog", "Dialog") {
    panel = Add<Panel>(this, "Panel1");
    edit1 = Add<Edit>(panel, "Edit1");
    edit2 = Add<Edit>(panel, "Edit2");
    box = Add<CheckBox>(this, "CheckBox1");
    ok = Add<Button>(this, "BitBtn1");
    cancel = Add<BitBtn>(this, "BitBtn2");
    label = Add<StaticText>(this, "StaticText1");
    ok->SetDefault(true);
    cancel->SetCancel(true);
    ok->OnClick = [this](Control&) { clicks.push_back("ok"); };
    cancel->OnClick = [this](Control&) { clicks.push_back("cancel"); };
    // Tab order kept apart from the creation (stacking) order: the buttons first, then the panel.
    ok->SetTabOrder(0);
    cancel->SetTabOrder(1);
  }
  Panel* panel;
  Edit *edit1, *edit2;
  CheckBox* box;
  Button* ok;
  BitBtn* cancel;
  StaticText* label;
  std::vector<std::string> clicks;
};

class ControlsTest : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  FakeSystem system;
  Application app{backend, system};
};

TEST_F(ControlsTest, CheckBoxRunsOnClickForEveryChangeOfItsState) {
  DialogForm& f = app.CreateForm<DialogForm>();
  int clicks = 0;
  f.box->OnClick = [&](Control&) { ++clicks; };
  f.box->SetChecked(true);
  f.box->SetChecked(true);
  EXPECT_EQ(clicks, 1) << "the program setting it counts as a click, an unchanged state does not";
  f.box->Click();
  EXPECT_FALSE(f.box->Checked());
  EXPECT_EQ(clicks, 2);
  EXPECT_TRUE(f.box->TabStop());
}

TEST_F(ControlsTest, RadioButtonsOfOneParentAreAGroup) {
  DialogForm& f = app.CreateForm<DialogForm>();
  RadioButton* a = f.Add<RadioButton>(f.panel, "RadioButton1");
  RadioButton* b = f.Add<RadioButton>(f.panel, "RadioButton2");
  RadioButton* other = f.Add<RadioButton>(nullptr, "RadioButton3");
  std::vector<std::string> seen;
  for (RadioButton* r : {a, b, other}) r->OnClick = [&](Control& c) { seen.push_back(c.Name()); };
  a->SetChecked(true);
  other->SetChecked(true);
  b->Click();
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
  EXPECT_TRUE(other->Checked()) << "another parent, another group";
  EXPECT_EQ(seen, (std::vector<std::string>{"RadioButton1", "RadioButton3", "RadioButton2"}))
      << "becoming unchecked runs nothing";
  EXPECT_FALSE(a->TabStop());
  EXPECT_TRUE(b->TabStop()) << "only the checked one of a group is a tab stop";
}

TEST_F(ControlsTest, EditChangesRunOnChangeAndTypingHonoursItsLimits) {
  DialogForm& f = app.CreateForm<DialogForm>();
  std::vector<std::string> changes;
  f.edit1->OnChange = [&](Edit& e) { changes.push_back(e.Text()); };
  f.edit1->SetText("5");
  f.edit1->SetText("5");
  f.edit1->SetMaxLength(2);
  f.edit1->Typed("123");
  f.edit1->SetText("1234");  // the program may set more than the user may type
  f.edit1->SetReadOnly(true);
  f.edit1->Typed("9");
  EXPECT_EQ(changes, (std::vector<std::string>{"5", "12", "1234"}));
  f.edit2->SetPasswordChar('*');
  EXPECT_EQ(f.edit2->PasswordChar(), '*');
  EXPECT_EQ(f.edit1->GetColor(), Rgb(255, 255, 255));
}

TEST_F(ControlsTest, GridKeepsItsCellsWithinItsRowsAndColumns) {
  DialogForm& f = app.CreateForm<DialogForm>();
  StringGrid* g = f.Add<StringGrid>(nullptr, "StringGrid1");
  g->SetColCount(3);
  g->SetRowCount(4);
  g->SetFixedCols(0);
  g->SetCell(0, 0, "No.");
  g->SetCell(2, 3, "last");
  g->SetCell(3, 0, "outside");
  g->SetCell(0, 4, "outside");
  g->SetCell(-1, -1, "outside");
  EXPECT_EQ(g->Cell(2, 3), "last");
  EXPECT_EQ(g->Cell(3, 0), "");
  EXPECT_EQ(g->Cell(-1, 2), "");
  EXPECT_EQ(g->Text(), "No.\t\t\r\n\t\t\r\n\t\t\r\n\t\tlast\r\n");
  g->SetTopRow(3);
  g->SetCurrent(0, 3);
  g->SetRowCount(2);
  EXPECT_EQ(g->Cell(2, 3), "") << "rows beyond a smaller count lose their cells";
  g->SetRowCount(4);
  EXPECT_EQ(g->Cell(2, 3), "");
  EXPECT_EQ(g->Cell(0, 0), "No.");
  EXPECT_LE(g->TopRow(), 3);
  g->SetRowCount(1);
  EXPECT_EQ(g->FixedRows(), 0) << "the fixed rows shrink with the grid";
  g->SetColWidth(1, 46);
  g->SetColWidth(7, 46);
  EXPECT_EQ(g->ColWidth(1), 46);
  EXPECT_EQ(g->ColWidth(7), 0);
  EXPECT_EQ(g->ColWidth(0), 64);
}

TEST_F(ControlsTest, GridUpdateReachesTheBackendOnceAndColumnChangesKeepTheCells) {
  DialogForm& f = app.CreateForm<DialogForm>();
  StringGrid* g = f.Add<StringGrid>(nullptr, "StringGrid1");
  g->SetColCount(2);
  g->SetRowCount(3);
  g->SetCell(0, 2, "a");
  g->SetCell(1, 2, "b");
  backend.repaints = 0;
  {
    GridUpdate outer(*g);
    {
      GridUpdate inner(*g);
      g->SetRowCount(50);
      g->SetCell(1, 49, "z");
    }
    g->SetTopRow(40);
    EXPECT_EQ(backend.repaints, 0) << "nothing before the outermost update ends";
  }
  EXPECT_EQ(backend.repaints, 1);
  {
    GridUpdate unchanged(*g);
    g->SetCell(1, 49, "z");
  }
  EXPECT_EQ(backend.repaints, 1) << "an update that changed nothing repaints nothing";
  g->SetCell(0, 49, "y");
  EXPECT_EQ(backend.repaints, 2) << "outside an update every change goes at once";

  g->SetColCount(3);
  EXPECT_EQ(g->Cell(0, 2), "a");
  EXPECT_EQ(g->Cell(1, 2), "b");
  EXPECT_EQ(g->Cell(2, 2), "");
  EXPECT_EQ(g->Cell(1, 49), "z");
  g->SetColCount(1);
  g->SetColCount(2);
  EXPECT_EQ(g->Cell(0, 49), "y");
  EXPECT_EQ(g->Cell(1, 49), "") << "a column taken away loses its cells";
  EXPECT_EQ(g->RowCount(), 50);
}

TEST_F(ControlsTest, TabOrderIsKeptApartFromTheStackingOrderAndSkipsWhatTakesNoInput) {
  DialogForm& f = app.CreateForm<DialogForm>();
  f.Show();
  auto names = [&] {
    std::string s;
    for (WinControl* c : f.TabSequence()) s += c->Name() + " ";
    return s;
  };
  EXPECT_EQ(f.Children()[0], f.panel) << "creation order is untouched";
  EXPECT_EQ(names(), "BitBtn1 BitBtn2 Edit1 Edit2 CheckBox1 ");
  f.edit2->SetTabOrder(0);
  EXPECT_EQ(names(), "BitBtn1 BitBtn2 Edit2 Edit1 CheckBox1 ");
  f.panel->SetEnabled(false);
  EXPECT_EQ(names(), "BitBtn1 BitBtn2 CheckBox1 ") << "a disabled panel's controls take no input";
  EXPECT_FALSE(f.edit1->CanTakeInput());
  f.panel->SetEnabled(true);
  f.box->SetVisible(false);
  EXPECT_EQ(names(), "BitBtn1 BitBtn2 Edit2 Edit1 ");

  f.SetActiveControl(f.edit1);
  EXPECT_EQ(backend.focused, f.edit1);
  EXPECT_TRUE(f.DialogKey(kKeyTab, 0));
  EXPECT_EQ(f.ActiveControl(), f.ok) << "Tab wraps round";
  EXPECT_TRUE(f.DialogKey(kKeyTab, kShift));
  EXPECT_EQ(f.ActiveControl(), f.edit1);
  EXPECT_FALSE(f.DialogKey(kKeyTab, kCtrl));
}

TEST_F(ControlsTest, EnterClicksTheFocusedOrTheDefaultButtonAndEscTheCancelButton) {
  DialogForm& f = app.CreateForm<DialogForm>();
  f.Show();
  f.SetActiveControl(f.edit1);
  EXPECT_TRUE(f.DialogKey(kKeyReturn, 0));
  f.SetActiveControl(f.cancel);
  EXPECT_TRUE(f.DialogKey(kKeyReturn, 0));
  EXPECT_TRUE(f.DialogKey(kKeyEscape, 0));
  f.ok->SetEnabled(false);
  f.SetActiveControl(f.edit1);
  EXPECT_FALSE(f.DialogKey(kKeyReturn, 0)) << "a disabled default button is not clicked";
  EXPECT_EQ(f.clicks, (std::vector<std::string>{"ok", "cancel", "cancel"}));
  EXPECT_EQ(f.DefaultButton(), nullptr);
  EXPECT_EQ(f.CancelButton(), f.cancel);
}

TEST_F(ControlsTest, SpinButtonHalvesRunTheirOwnHandlers) {
  DialogForm& f = app.CreateForm<DialogForm>();
  SpinButton* s = f.Add<SpinButton>(f.panel, "SpinButton1");
  s->SetFocusControl(f.edit1);
  int value = 0;
  s->OnUpClick = [&](SpinButton&) { ++value; };
  s->OnDownClick = [&](SpinButton&) { value -= 10; };
  s->ClickUp();
  s->ClickUp();
  s->ClickDown();
  EXPECT_EQ(value, -8);
  EXPECT_EQ(s->FocusControl(), f.edit1);
  EXPECT_FALSE(s->TabStop());
}

TEST_F(ControlsTest, SaveDialogAndInputBoxAnswerFromTheScript) {
  DialogForm& f = app.CreateForm<DialogForm>();
  SaveDialog* d = f.AddSaveDialog("SaveDialog1");
  d->SetFilter("XML File|*.xml|All|*.*");
  EXPECT_EQ(d->FilterPairs(),
            (std::vector<std::pair<std::string, std::string>>{{"XML File", "*.xml"}, {"All", "*.*"}}));
  d->SetFileName("Event_12-09");
  EXPECT_FALSE(d->Execute()) << "no answer: cancelled";
  EXPECT_EQ(d->FileName(), "Event_12-09");
  d->SetDefaultExt("xml");
  backend.saveAnswers = {std::string("C:\\Logs\\Report"), std::string("C:\\a.b\\c.txt"), std::nullopt};
  EXPECT_TRUE(d->Execute());
  EXPECT_EQ(d->FileName(), "C:\\Logs\\Report.xml");
  EXPECT_TRUE(d->Execute());
  EXPECT_EQ(d->FileName(), "C:\\a.b\\c.txt");
  EXPECT_FALSE(d->Execute());
  EXPECT_EQ(backend.saveDialogs.size(), 4u);
  EXPECT_EQ(backend.saveDialogs[1].fileName, "Event_12-09");

  std::string drive = "S:";
  EXPECT_TRUE(app.InputQuery("Novell Setup", "Please input a drive of Novell Server", drive));
  EXPECT_EQ(drive, "S:");
  backend.inputAnswers = {std::string("G"), std::nullopt};
  EXPECT_TRUE(app.InputQuery("c", "p", drive));
  EXPECT_EQ(drive, "G");
  EXPECT_FALSE(app.InputQuery("c", "p", drive));
  EXPECT_EQ(drive, "G");
  EXPECT_EQ(backend.inputBoxes[0].prompt, "Please input a drive of Novell Server");
  EXPECT_EQ(app.MessageBox("Confirm", "?", MessageButtons::YesNo, MessageIcon::Question), MessageResult::Yes);
}

}  // namespace
}  // namespace korval::forms

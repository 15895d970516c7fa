// The form library on the headless backend: property changes, dispatch and the general error report, the
// owner of message boxes, auto-sizing, closing, and the keys of a dialog among groups of radio buttons.
#include <gtest/gtest.h>

#include <initializer_list>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "application.h"
#include "headless.h"

namespace korval::forms {
namespace {

class TestForm : public Form {
 public:
  explicit TestForm(Application& app) : Form(app, "TTestForm", "TestForm") {
    label = Add<Label>(this, "Label1");
    panel = Add<Panel>(this, "Panel1");
    inner = Add<Label>(panel, "Label2");
    item = Menu().Add("File1", "File")->Add("Exit1", "Exit");
    timer = AddTimer("Timer1", 500, [this] { ++ticks; });
  }
  Label* label;
  Panel* panel;
  Label* inner;
  MenuItem* item;
  Timer* timer;
  int ticks = 0;
};

class FormsTest : public ::testing::Test {
 protected:
  HeadlessBackend backend;
  FakeSystem system;
  Application app{backend, system};
};

TEST_F(FormsTest, UnchangedPropertiesNotifyNothing) {
  TestForm& f = app.CreateForm<TestForm>();
  f.label->SetCaption("a");
  f.label->SetColor(Rgb(1, 2, 3));
  const int before = backend.repaints;
  f.label->SetCaption("a");
  f.label->SetColor(Rgb(1, 2, 3));
  f.label->SetVisible(true);
  f.label->SetBounds(f.label->Left(), f.label->Top(), f.label->Width(), f.label->Height());
  EXPECT_EQ(backend.repaints, before);
  f.label->SetCaption("b");
  EXPECT_GT(backend.repaints, before);

  const int menus = backend.menuChanges;
  f.item->SetVisible(true);
  f.item->SetCaption("Exit");
  EXPECT_EQ(backend.menuChanges, menus);
  f.item->SetVisible(false);
  EXPECT_EQ(backend.menuChanges, menus + 1);
}

TEST_F(FormsTest, ControlsTakeTheirParentsFontAndColourAndStackInCreationOrder) {
  TestForm& f = app.CreateForm<TestForm>();
  EXPECT_EQ(f.Children().size(), 2u);
  EXPECT_EQ(f.Children()[0], f.label);
  EXPECT_EQ(f.panel->Children().front(), f.inner);
  EXPECT_EQ(f.inner->Parent(), f.panel);
  f.panel->SetBounds(10, 20, 100, 50);
  f.inner->SetBounds(5, 6, 10, 10);
  EXPECT_EQ(f.inner->BoundsInForm(), (Rect{15, 26, 10, 10}));
  EXPECT_EQ(f.inner->Font(), f.Font());
  f.SetVisible(true);
  f.panel->SetVisible(false);
  EXPECT_FALSE(f.inner->Showing());
}

TEST_F(FormsTest, AutoSizeFollowsTextAndPicture) {
  TestForm& f = app.CreateForm<TestForm>();
  Font font;
  font.height = 12;
  f.label->SetFont(font);
  f.label->SetCaption("abcd");
  EXPECT_EQ(f.label->Width(), backend.MeasureText(font, "abcd").width);
  EXPECT_EQ(f.label->Height(), backend.MeasureText(font, "abcd").height);
  f.label->SetAutoSize(false);
  f.label->SetCaption("abcdefgh");
  EXPECT_EQ(f.label->Width(), backend.MeasureText(font, "abcd").width);

  Image* image = f.Add<Image>(nullptr, "Image1");
  image->SetBounds(3, 4, 73, 46);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Bounds(), (Rect{3, 4, 73, 46})) << "no picture: the layout size stays";
  image->SetPicture(Bitmap(20, 30));
  EXPECT_EQ(image->Bounds(), (Rect{3, 4, 20, 30}));
  backend.resources["PIC"] = EncodeBmp(Bitmap(7, 9, Rgb(9, 8, 7)));
  image->LoadPicture("PIC");
  EXPECT_EQ(image->Picture().Pixel(6, 8), Rgb(9, 8, 7));
  image->LoadPicture("NONE");
  EXPECT_EQ(image->Width(), 7) << "a missing resource leaves the picture";
}

TEST_F(FormsTest, HandlerErrorsGoToOneErrorReportAtATime) {
  app.SetTitle("Title");
  TestForm& f = app.CreateForm<TestForm>();
  f.timer->OnTimer = [] { throw std::runtime_error("Cannot open file x.txt"); };
  // A timer keeps firing while the report is open: the same error comes again and again.
  backend.whileBoxOpen = [&] {
    EXPECT_TRUE(app.ErrorReportOpen());
    for (int i = 0; i < 5; ++i) app.Dispatch(f.timer->OnTimer);
  };
  app.Dispatch(f.timer->OnTimer);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].caption, "Title");
  EXPECT_EQ(backend.boxes[0].text, "Cannot open file x.txt");
  EXPECT_EQ(backend.boxes[0].icon, MessageIcon::Error);
  EXPECT_FALSE(app.ErrorReportOpen());
  backend.whileBoxOpen = nullptr;
  app.Dispatch(f.timer->OnTimer);  // once closed, the next error is shown again
  EXPECT_EQ(backend.boxes.size(), 2u);
}

class FailingForm : public Form {
 public:
  explicit FailingForm(Application& app) : Form(app, "TFailing", "Failing") {
    OnCreate = [this] {
      step = 1;
      throw std::runtime_error("start-up failed");
    };
  }
  int step = 0;
};

TEST_F(FormsTest, ErrorInOnCreateIsReportedAndTheProgramGoesOn) {
  FailingForm& f = app.CreateForm<FailingForm>();
  EXPECT_EQ(f.step, 1);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, "start-up failed");
  EXPECT_EQ(app.MainForm(), &f);
  app.Run();
  EXPECT_TRUE(backend.loopRan);
  EXPECT_TRUE(f.Visible());
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheLoopAndOnCloseCanRefuse) {
  TestForm& main = app.CreateForm<TestForm>();
  TestForm& dialog = app.CreateForm<TestForm>();
  dialog.Show();
  dialog.Close();
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(backend.mainFormClosed);
  main.OnClose = [](CloseAction& a) { a = CloseAction::None; };
  main.Close();
  EXPECT_FALSE(backend.mainFormClosed);
  main.OnClose = nullptr;
  main.Close();
  EXPECT_TRUE(backend.mainFormClosed);
  app.Terminate();
  EXPECT_TRUE(app.Terminated());
  EXPECT_TRUE(backend.terminated);
}

TEST_F(FormsTest, MessageBoxAnswersComeFromTheScript) {
  backend.answers.push_back(MessageResult::Cancel);
  EXPECT_EQ(app.MessageBox("c", "t", MessageButtons::OkCancel), MessageResult::Cancel);
  EXPECT_EQ(app.MessageBox("c", "t", MessageButtons::OkCancel), MessageResult::Ok);
  EXPECT_EQ(backend.boxes[0].buttons, MessageButtons::OkCancel);
}

TEST_F(FormsTest, AMessageBoxBelongsToTheFormWhoseHandlerShowsIt) {
  TestForm& main = app.CreateForm<TestForm>();
  TestForm& dialog = app.CreateForm<TestForm>();
  app.Dispatch(dialog, [&] {
    app.Dispatch(main, [&] { app.MessageBox("c", "main's", MessageButtons::Ok); });
    app.MessageBox("c", "dialog's", MessageButtons::Ok);  // after a nested handler of another form
    throw std::runtime_error("dialog's error");
  });
  main.timer->OnTimer = [] { throw std::runtime_error("main's error"); };
  app.Dispatch(main, main.timer->OnTimer);
  app.MessageBox("c", "no form's", MessageButtons::Ok);
  const std::vector<std::pair<std::string, const Form*>> want = {{"main's", &main},
                                                                 {"dialog's", &dialog},
                                                                 {"dialog's error", &dialog},
                                                                 {"main's error", &main},
                                                                 {"no form's", nullptr}};
  ASSERT_EQ(backend.boxes.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    EXPECT_EQ(backend.boxes[i].text, want[i].first);
    EXPECT_EQ(backend.boxes[i].owner, want[i].second) << want[i].first;
  }
}

// The self-test dialog's shape: OK and Cancel first in the tab order, then a panel with an edit and a group
// of four radio buttons; and a second group on the form itself, before the buttons (the green-mode dialog).
class ChoicesForm : public Form {
 public:
  explicit ChoicesForm(Application& app) : Form(app, "TChoices", "Choices") {
    on = Add<RadioButton>(this, "On");
    off = Add<RadioButton>(this, "Off");
    panel = Add<Panel>(this, "Panel1");
    edit = Add<Edit>(panel, "Edit1");
    for (const char* name : {"Kind1", "Kind2", "Kind3", "Kind4"})
      kinds.push_back(Add<RadioButton>(panel, name));
    box = Add<CheckBox>(this, "CheckBox1");
    ok = Add<BitBtn>(this, "OK");
    cancel = Add<BitBtn>(this, "Cancel");
    ok->SetDefault(true);
    cancel->SetCancel(true);
    ok->SetTabOrder(2);
    cancel->SetTabOrder(3);
    for (Control* c : std::vector<Control*>{on, off, kinds[0], kinds[1], kinds[2], kinds[3], box, ok, cancel})
      c->OnClick = [this](Control& clicked) { clicks += clicked.Name() + " "; };
  }
  RadioButton *on, *off;
  Panel* panel;
  Edit* edit;
  std::vector<RadioButton*> kinds;
  CheckBox* box;
  BitBtn *ok, *cancel;
  std::string clicks;
};

class DialogKeysTest : public FormsTest {
 protected:
  void SetUp() override { f.Show(); }
  ChoicesForm& f = app.CreateForm<ChoicesForm>();
  // Presses the keys in turn; the names of the focused controls after each one.
  std::string Keys(std::initializer_list<std::uint16_t> keys, unsigned shift = 0) {
    std::string focus;
    for (std::uint16_t key : keys) {
      EXPECT_TRUE(f.DialogKey(key, shift)) << key;
      focus += (f.ActiveControl() ? f.ActiveControl()->Name() : "-") + " ";
    }
    return focus;
  }
};

TEST_F(DialogKeysTest, TabEntersEachGroupAtItsCheckedButtonAndLeavesIt) {
  f.off->SetChecked(true);
  f.kinds[2]->SetChecked(true);
  f.clicks.clear();
  f.SetActiveControl(f.off);
  EXPECT_EQ(Keys({kKeyTab, kKeyTab, kKeyTab, kKeyTab, kKeyTab, kKeyTab}),
            "OK Cancel Edit1 Kind3 CheckBox1 Off ");
  EXPECT_EQ(Keys({kKeyTab, kKeyTab, kKeyTab}, kShift), "CheckBox1 Kind3 Edit1 ");
  EXPECT_EQ(backend.focused, f.edit);

  // No button of the group checked: Tab enters at its first one that takes input.
  f.kinds[2]->SetChecked(false);
  f.kinds[0]->SetEnabled(false);
  EXPECT_EQ(Keys({kKeyTab}), "Kind2 ");
  // A focused button that is not where Tab enters leaves the group all the same.
  f.SetActiveControl(f.kinds[3]);
  EXPECT_EQ(Keys({kKeyTab}), "CheckBox1 ");
  f.SetActiveControl(f.kinds[3]);
  EXPECT_EQ(Keys({kKeyTab}, kShift), "Edit1 ");
  EXPECT_EQ(f.clicks, "") << "Tab checks nothing";
}

TEST_F(DialogKeysTest, ArrowsMoveTheFocusRoundTheGroupAndCheckAsAClickDoes) {
  f.kinds[0]->SetChecked(true);
  f.on->SetChecked(true);
  f.kinds[2]->SetEnabled(false);
  f.clicks.clear();
  f.SetActiveControl(f.kinds[0]);
  EXPECT_EQ(Keys({kKeyDown, kKeyRight, kKeyDown, kKeyUp, kKeyLeft, kKeyLeft}),
            "Kind2 Kind4 Kind1 Kind4 Kind2 Kind1 ")
      << "a disabled button is passed over; round at both ends";
  EXPECT_EQ(f.clicks, "Kind2 Kind4 Kind1 Kind4 Kind2 Kind1 ");
  EXPECT_TRUE(f.kinds[0]->Checked());
  EXPECT_FALSE(f.kinds[1]->Checked());
  EXPECT_TRUE(f.on->Checked()) << "the other group keeps its choice";

  f.SetActiveControl(f.on);
  EXPECT_EQ(Keys({kKeyDown}), "Off ");
  EXPECT_TRUE(f.off->Checked());
  EXPECT_EQ(Keys({kKeyTab}), "OK ");

  // Outside a group the arrows are the control's own (the caret in an edit), or nobody's.
  for (WinControl* c : std::vector<WinControl*>{f.edit, f.ok, f.box}) {
    f.SetActiveControl(c);
    for (std::uint16_t key : {kKeyLeft, kKeyUp, kKeyRight, kKeyDown}) EXPECT_FALSE(f.DialogKey(key, 0));
  }
  f.SetActiveControl(f.off);
  EXPECT_FALSE(f.DialogKey(kKeyDown, kAlt));
  f.panel->SetEnabled(false);
  f.SetActiveControl(f.kinds[0]);
  EXPECT_FALSE(f.DialogKey(kKeyDown, 0)) << "a group that takes no input";
}

TEST_F(DialogKeysTest, SpacePressesTheFocusedButtonAndChecksTheFocusedChoice) {
  f.kinds[0]->SetChecked(true);
  f.clicks.clear();
  const std::vector<std::pair<WinControl*, const char*>> presses = {
      {f.ok, "OK "}, {f.cancel, "Cancel "}, {f.box, "CheckBox1 "}, {f.kinds[3], "Kind4 "}, {f.kinds[3], ""}};
  for (const auto& [control, click] : presses) {
    f.clicks.clear();
    f.SetActiveControl(control);
    EXPECT_TRUE(f.DialogKey(kKeySpace, 0)) << control->Name();
    EXPECT_EQ(f.clicks, click) << control->Name();
  }
  EXPECT_TRUE(f.box->Checked());
  EXPECT_TRUE(f.kinds[3]->Checked());
  EXPECT_FALSE(f.kinds[0]->Checked());
  f.SetActiveControl(f.edit);
  EXPECT_FALSE(f.DialogKey(kKeySpace, 0)) << "an edit types its space";
  f.ok->SetEnabled(false);
  f.SetActiveControl(f.ok);
  EXPECT_FALSE(f.DialogKey(kKeySpace, 0)) << "a disabled button is not pressed";
}

}  // namespace
}  // namespace korval::forms

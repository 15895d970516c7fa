// The answers to save dialogs: each control class, the declined and hidden controls, the save names.
#include <gtest/gtest.h>

#include <cstring>
#include <map>

#include "fake_desktop.h"

namespace shutter::test {
namespace {

using Lines = std::vector<std::string>;

class Answering : public ::testing::Test {
 protected:
  void SetUp() override { Prepare("C:\\Tools\\"); }
  void Prepare(const std::string& folder) {
    ResetState();
    desk = FakeDesktop();
    sys = &desk;
    std::strcpy(cPath, folder.c_str());
    MakeProgramPath();
    FillKeyTable();
    hGlb = desk.GlobalAlloc(0x42, kNameBufferSize);
    app = desk.Top("app", "Notepad").id;
    dialog = desk.Top("dialog", "#32770", app).id;
  }
  // The control's answer: EnumChildProc's result, and the window actions it made.
  int Answer(Hwnd control) {
    desk.ClearCalls();
    int r = EnumChildProc(control, 7);
    actions = desk.Only({"SetFocus", "PostMessage", "SendMessage", "SendMessageTimeout", "Sleep"});
    EXPECT_EQ(desk.LockedBlocks(), 0) << "the name buffer is unlocked again";
    return r;
  }
  Hwnd Control(const std::string& cls, std::uint32_t style = 0, std::uint32_t exStyle = 0) {
    FakeWindow& w = desk.Child(dialog, "ctl", cls, 1001);
    w.style = style;
    w.exStyle = exStyle;
    return w.id;
  }
  static Lines Chars(const std::string& w, const std::string& text, const char* lParam) {
    Lines out;
    for (unsigned char c : text)
      out.push_back(Fmt("PostMessage(%s, WM_CHAR, 0x%x, %s)", w.c_str(), c, lParam));
    return out;
  }
  static Lines Join(std::initializer_list<Lines> parts) {
    Lines out;
    for (const Lines& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  }
  // The save name the control received through EM_REPLACESEL.
  std::string NameGiven() const {
    for (const std::string& line : actions) {
      auto at = line.find("EM_REPLACESEL, 0x0, \"");
      if (at != std::string::npos) {
        std::size_t from = at + 21;
        return line.substr(from, line.find('"', from) - from);
      }
    }
    return "";
  }

  FakeDesktop desk;
  Hwnd app = 0, dialog = 0;
  Lines actions;
};

const std::string kName01 = "C:\\Tools\\save\\save01";

Lines EditAnswer(const std::string& name) {
  return {"SetFocus(ctl)",
          "SendMessageTimeout(ctl, EM_SETSEL, 0x0, 0xffffffff, 2, 1500)",
          "SendMessageTimeout(ctl, EM_REPLACESEL, 0x0, \"" + name + "\", 2, 1500)",
          "PostMessage(ctl, WM_KEYDOWN, 0xd, 0x1c0001)",
          "PostMessage(ctl, WM_CHAR, 0xd, 0x1c0001)",
          "SendMessageTimeout(ctl, WM_KEYUP, 0xd, 0xc01c0001, 2, 1500)"};
}
const Lines kYesAnswer{"PostMessage(ctl, WM_KEYDOWN, 0x59, 0x150001)",
                       "PostMessage(ctl, WM_CHAR, 0x79, 0x150001)",
                       "SendMessageTimeout(ctl, WM_KEYUP, 0x59, 0xc0150001, 2, 750)",
                       "PostMessage(ctl, WM_KEYDOWN, 0xd, 0x1c0001)"};
const Lines kEnterAnswer{"PostMessage(ctl, WM_KEYDOWN, 0xd, 0x1c0001)",
                         "PostMessage(ctl, WM_CHAR, 0xd, 0x1c0001)",
                         "SendMessageTimeout(ctl, WM_KEYUP, 0xd, 0xc01c0001, 2, 500)"};

TEST_F(Answering, EachClassOfTheTableGetsItsAnswer) {
  struct Row {
    const char* cls;
    std::uint32_t exStyle;
    int result;
    Lines answer;
  };
  const Row rows[] = {
      {"Edit", 0, 0, EditAnswer(kName01)},
      {"EDIT", 0, 0, EditAnswer(kName01)},
      {"edit", 0, 0, EditAnswer(kName01)},
      {"OpusFedt", 0, 0, EditAnswer(kName01)},
      {"EDTBX", 0, 0, EditAnswer(kName01)},
      {"TEdit", 0, 0, EditAnswer(kName01)},
      {"Button", 0, 0, kYesAnswer},
      {"BUTTON", 0, 0, kYesAnswer},
      {"TButton", 0, 0, kYesAnswer},
      {"TBitBtn", 0, 0, kYesAnswer},
      {"BorBtn", 0, 0, kEnterAnswer},
      {"Js-BUTTON", 0, 0, kEnterAnswer},
      {"JDButton", 0, 0, kEnterAnswer},
      {"Bear-bars", 0, 1, {}},
      {"Bear-bars", 0x200, 0, {"PostMessage(dialog, WM_CLOSE, 0x0, 0x0)"}},
      {"RichEdit20W", 0, 0,
       Join({Chars("ctl", kName01, "0x1c0001"),
             {"SendMessageTimeout(ctl, WM_KEYUP, 0xd, 0xc01c0001, 2, 1500)"}})},
      {"Afx:23930000:b", 0, 0,
       Join({{"SetFocus(ctl)"},
             Chars("ctl", kName01, "0x100001"),
             {"Sleep(300)", "PostMessage(ctl, WM_KEYDOWN, 0xd, 0x1c0001)",
              "PostMessage(ctl, WM_CHAR, 0xd, 0x1c0001)", "Sleep(300)"}})},
      {"Static", 0, 1, {}},
      {"RichEdit20A", 0, 1, {}},
      {"ComboBox", 0, 1, {}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.cls + std::string(" exstyle ") + std::to_string(row.exStyle));
    Prepare("C:\\Tools\\");
    Hwnd ctl = Control(row.cls, 0, row.exStyle);
    EXPECT_EQ(Answer(ctl), row.result);
    EXPECT_EQ(actions, row.answer);
  }
}

TEST_F(Answering, JustPanelIsClearedThenTypedKeyByKey) {
  Hwnd ctl = Control("Just-Panel");
  ASSERT_EQ(Answer(ctl), 0);
  Lines expected{"SetFocus(ctl)"};
  for (int i = 0; i < 80; ++i)
    for (const char* m : {"WM_KEYDOWN", "WM_CHAR", "WM_KEYUP"})
      expected.push_back(Fmt("PostMessage(ctl, %s, 0x8, 0xe0001)", m));
  // The keystroke values of the characters of C:\Tools\save\save01; none for capitals, ":" and "\".
  const std::map<char, unsigned> key{{'C', 0},        {':', 0},        {'\\', 0},       {'T', 0},
                                     {'o', 0x180001}, {'l', 0x260001}, {'s', 0x1f0001}, {'a', 0x1e0001},
                                     {'v', 0x2f0001}, {'e', 0x120001}, {'0', 0xb0001},  {'1', 0x20001}};
  for (char c : kName01)
    for (const char* m : {"WM_KEYDOWN", "WM_CHAR", "WM_KEYUP"})
      expected.push_back(
          Fmt("PostMessage(ctl, %s, 0x%x, 0x%x)", m, static_cast<unsigned char>(c), key.at(c)));
  for (int i = 0; i < 2; ++i) {
    for (const char* m : {"WM_KEYDOWN", "WM_CHAR", "WM_KEYUP"})
      expected.push_back(Fmt("PostMessage(ctl, %s, 0xd, 0x1c0001)", m));
    expected.push_back("Sleep(500)");
  }
  EXPECT_EQ(actions, expected);
  EXPECT_EQ(hOldEdit, ctl);
}

TEST_F(Answering, KeysGoToTheControlFoundByItsIdentifierAndTheWalkedOneIsRemembered) {
  FakeWindow& first = desk.Child(dialog, "first", "Edit", 1001);
  first.visible = false;
  Hwnd walked = Control("Edit");
  ASSERT_EQ(Answer(walked), 0);
  EXPECT_EQ(actions.front(), "SetFocus(first)");
  EXPECT_EQ(actions.at(2), "SendMessageTimeout(first, EM_REPLACESEL, 0x0, \"" + kName01 + "\", 2, 1500)");
  EXPECT_EQ(hOldEdit, walked);
}

TEST_F(Answering, DeclinedControlGetsNothingAndStopsTheWalk) {
  struct Case {
    const char* cls;
    std::uint32_t style;
    bool justFilled;
  };
  const Case cases[] = {
      {"Edit", win::WS_VSCROLL, false},
      {"Edit", win::WS_HSCROLL, false},
      {"Edit", 0, true},
      {"TEdit", 0, true},
      {"RichEdit20W", win::WS_VSCROLL, false},
      {"RichEdit20W", 0, true},
      {"Just-Panel", win::WS_HSCROLL, false},
      {"Just-Panel", 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cls + std::string(c.justFilled ? " just filled" : " scroll bar"));
    Prepare("C:\\Tools\\");
    Hwnd ctl = Control(c.cls, c.style);
    if (c.justFilled) hOldEdit = ctl;
    EXPECT_EQ(Answer(ctl), 0);
    EXPECT_TRUE(actions.empty());
    EXPECT_EQ(bTrace, 0) << "no name used up";
  }
}

TEST_F(Answering, EditMetRightAfterItWasFilledLetsTheDialogBePressed) {
  FakeWindow& d = desk[dialog];
  d.style = win::WS_DLGFRAME;
  d.exStyle = win::WS_EX_DLGMODALFRAME;
  Control("Edit");
  desk.SetForegroundWindow(dialog);
  desk.ClearCalls();
  desk.EnumWindows(0);
  EXPECT_EQ(desk.Count("SendMessageTimeout(dialog, WM_KEYUP, 0xd, 0xc01c0001, 2, 250)"), 1);
  desk.ClearCalls();
  desk.EnumWindows(1);  // the dialog is still there: its field is not filled again, Enter again
  EXPECT_EQ(desk.CountNamed("SetFocus"), 0);
  EXPECT_EQ(desk.Count("SendMessageTimeout(dialog, WM_KEYUP, 0xd, 0xc01c0001, 2, 250)"), 1);
  EXPECT_EQ(bTrace, 1);
}

TEST_F(Answering, AfxEditMetTwiceInARowIsTypedIntoOnce) {
  Hwnd ctl = Control("Afx:23930000:b");
  EXPECT_EQ(Answer(ctl), 0);
  EXPECT_EQ(Answer(ctl), 1);
  EXPECT_TRUE(actions.empty());
  EXPECT_EQ(bTrace, 1);
}

TEST_F(Answering, HiddenAfxControlOfATaroDialogGetsOneEnter) {
  struct Case {
    const char* parent;
    const char* grandparent;
    const char* cls;
    std::uint32_t style;
    int flag;
    bool acts;
  };
  const Case cases[] = {
      {"#32770", "js:TARO", "AfxWnd40", 0, 0, true},
      {"#32770", "JS:TARO", "afxwnd40", 0, 0, true},
      {"TDialog", "js:TARO", "AfxWnd40", 0, 0, false},
      {"#32770", "Notepad", "AfxWnd40", 0, 0, false},
      {"#32770", "js:TARO", "AfxWnd42", 0, 0, false},
      {"#32770", "js:TARO", "Edit", 0, 0, false},
      {"#32770", "js:TARO", "AfxWnd40", win::WS_VSCROLL, 0, false},
      {"#32770", "js:TARO", "AfxWnd40", 0, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.parent) + " / " + c.grandparent + " / " + c.cls);
    ResetState();
    desk = FakeDesktop();
    sys = &desk;
    Hwnd taro = desk.Top("taro", c.grandparent).id;
    Hwnd dlg = desk.Top("dlg", c.parent, taro).id;
    FakeWindow& ctl = desk.Child(dlg, "ctl", c.cls, 5);
    ctl.visible = false;
    ctl.style = c.style;
    Etl80Flag = c.flag;
    EXPECT_EQ(Answer(ctl.id), c.acts ? 0 : 1);
    EXPECT_EQ(actions, c.acts ? Lines{"PostMessage(ctl, WM_KEYDOWN, 0xd, 0x1c0001)"} : Lines{});
    EXPECT_EQ(Etl80Flag, c.acts ? 1 : c.flag);
  }
}

TEST_F(Answering, HiddenAfxControlGetsEnterAgainOnlyAfterAnAfxEditWasTyped) {
  Hwnd taro = desk.Top("taro", "js:TARO").id;
  Hwnd dlg = desk.Top("dlg", "#32770", taro).id;
  FakeWindow& hidden = desk.Child(dlg, "hidden", "AfxWnd40", 5);
  hidden.visible = false;
  Hwnd afx = desk.Child(dlg, "afx", "Afx:23930000:b", 6).id;
  EXPECT_EQ(Answer(hidden.id), 0);
  EXPECT_EQ(Answer(hidden.id), 1);
  EXPECT_EQ(Answer(afx), 0);
  EXPECT_EQ(Etl80Flag, 0);
  EXPECT_EQ(Answer(hidden.id), 0);
  EXPECT_EQ(actions, Lines{"PostMessage(hidden, WM_KEYDOWN, 0xd, 0x1c0001)"});
}

TEST_F(Answering, SaveNamesCountFrom01AndWrapAfter255) {
  struct Case {
    int before;
    const char* name;
  };
  for (const Case& c : {Case{0, "C:\\Tools\\save\\save01"}, Case{9, "C:\\Tools\\save\\save10"},
                        Case{98, "C:\\Tools\\save\\save99"}, Case{99, "C:\\Tools\\save\\save100"},
                        Case{254, "C:\\Tools\\save\\save255"}, Case{255, "C:\\Tools\\save\\save00"}}) {
    Prepare("C:\\Tools\\");
    bTrace = static_cast<std::uint8_t>(c.before);
    Answer(Control("Edit"));
    EXPECT_EQ(NameGiven(), c.name);
  }
}

TEST_F(Answering, SaveNamesPassOverNamesADocumentLiesUnder) {
  std::vector<std::string> wholeRound;
  for (int i = 0; i < 256; ++i) wholeRound.push_back(Fmt("save%.2d", i));
  struct Case {
    const char* what;
    int before;
    unsigned over;
    std::vector<std::string> inSave;  // what lies in C:\Tools\save\ ...
    const char* name;                 // ... and the name given; nullptr: none, the field is passed over
  };
  const Case cases[] = {
      {"bare, with any extension, in any case",
       0,
       0,
       {"save01", "save02.txt", "SAVE03.DOC", "Save04.tar.gz"},
       "save05"},
      {"names that only begin alike",
       0,
       0,
       {"save010", "save01 copy.txt", "save01x", "save011.txt"},
       "save01"},
      {"after 99", 98, 0, {"save99.txt", "save100"}, "save101"},
      {"the round goes on through 00", 254, 0, {"save255", "save00.doc", "save01"}, "save02"},
      {"every name of the round taken", 17, 0, wholeRound, "save256"},
      {"past the round", 0, 300, {"save301.txt"}, "save302"},
      {"no number left", 0, kLastSaveNumber - 1, {"save99999.rtf"}, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Prepare("C:\\Tools\\");
    desk.files = {"C:\\Tools\\save01", "C:\\Tools\\old\\save\\save01"};  // not in the save folder
    for (const std::string& f : c.inSave) desk.files.push_back("C:\\Tools\\save\\" + f);
    bTrace = static_cast<std::uint8_t>(c.before);
    nTraceOver = c.over;
    EXPECT_EQ(Answer(Control("Edit")), c.name ? 0 : 1);
    EXPECT_EQ(NameGiven(), c.name ? "C:\\Tools\\save\\" + std::string(c.name) : "");
    EXPECT_EQ(desk.OpenHandles(), 0u) << "every folder listing is closed";
  }

  // Once the round is used up, the names go on past it without looking at the round again.
  Prepare("C:\\Tools\\");
  for (const std::string& f : wholeRound) desk.files.push_back("C:\\Tools\\save\\" + f);
  Answer(Control("Edit"));
  ASSERT_EQ(NameGiven(), "C:\\Tools\\save\\save256");
  desk.files.clear();
  Answer(Control("Edit"));
  EXPECT_EQ(NameGiven(), "C:\\Tools\\save\\save257");
}

TEST_F(Answering, SaveNameKeepsEveryCharacterOfTheFolder) {
  const std::string deep = "C:\\" + std::string(300, 'd') + "\\" + std::string(300, 'e') + "\\";
  const std::string odd = "C:\\100% sure %d %s\\";
  for (const std::string& folder : {deep, odd}) {
    Prepare(folder);
    Answer(Control("Edit"));
    EXPECT_EQ(NameGiven(), folder + "save\\save01");
  }

  // The longest folder the platform allows still gives a whole name.
  std::string longest = "C:\\" + std::string(kPathSize - 5, 'x') + "\\";
  ASSERT_EQ(longest.size(), kPathSize - 1);
  Prepare(longest);
  Answer(Control("Edit"));
  EXPECT_EQ(NameGiven(), longest + "save\\save01");
}

TEST_F(Answering, FolderBytesFrom128AreTypedAsTheirByteValues) {
  Prepare("C:\\\xC4rger\xFF\\");
  ASSERT_EQ(Answer(Control("RichEdit20W")), 0);
  EXPECT_EQ(actions.at(3), "PostMessage(ctl, WM_CHAR, 0xc4, 0x1c0001)");
  EXPECT_EQ(actions.at(8), "PostMessage(ctl, WM_CHAR, 0xff, 0x1c0001)");
}

TEST_F(Answering, WithoutANameBufferTheFieldsArePassedOver) {
  desk.GlobalFree(hGlb);
  hGlb = 0;
  for (const char* cls : {"Edit", "RichEdit20W", "Afx:23930000:b", "Just-Panel"}) {
    SCOPED_TRACE(cls);
    EXPECT_EQ(Answer(Control(cls)), 1);
    EXPECT_TRUE(actions.empty());
  }
}

}  // namespace
}  // namespace shutter::test

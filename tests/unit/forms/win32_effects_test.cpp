// What the Win32 backend shows (win32 build, under Wine): overlapping child windows stack in creation order,
// the caret of an edit stays where the user put it while the program sets edit texts, a disabled picture
// button shows its greyed glyph, and a change painted in one go shows the parent around a panel that nearly
// covers it. Read from the windows themselves: their order, the edit's selection and the screen's pixels.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "application.h"
#include "win32_backend.h"
#include "win32_pump.h"

namespace korval::forms {
namespace {

constexpr Color kFormColour = Rgb(0, 0, 255), kFirst = Rgb(255, 0, 0), kSecond = Rgb(0, 255, 0);

// A pixel of a window's client area as the screen shows it.
Color ScreenPixel(HWND hwnd, int x, int y) {
  HDC dc = GetDC(hwnd);
  const COLORREF c = GetPixel(dc, x, y);
  ReleaseDC(hwnd, dc);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A pixel of a window's picture as it paints it into a memory DC.
Color PrintedPixel(HWND hwnd, int x, int y) {
  RECT r;
  GetWindowRect(hwnd, &r);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, r.right - r.left, r.bottom - r.top);
  HGDIOBJ old = SelectObject(dc, bitmap);
  PrintWindow(hwnd, dc, 0);
  const COLORREF c = GetPixel(dc, x, y);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return Rgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

std::string Name(Color c) {
  return std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b);
}

Panel* PlainPanel(Form& form, WinControl* parent, const std::string& name, Color colour) {
  auto* p = form.Add<Panel>(parent, name);
  p->SetBevels(Bevel::None, Bevel::None, BorderStyle::None);
  p->SetColor(colour);
  return p;
}

class EffectsForm : public Form {
 public:
  // `build` adds the controls, before the windows are made.
  EffectsForm(Application& app, const std::function<void(EffectsForm&)>& build)
      : Form(app, "TEffectsTest", "EffectsTest") {
    SetCaption("Effects");
    SetClientSize(300, 200);
    SetColor(kFormColour);
    build(*this);
  }
};

class Win32EffectsTest : public ::testing::Test {
 protected:
  EffectsForm& Shown(const std::function<void(EffectsForm&)>& build) {
    EffectsForm& f = app.CreateForm<EffectsForm>(build);
    f.Show();
    SetForegroundWindow(Win32Backend::WindowOf(f));
    Pump(150);
    return f;
  }
  Win32Backend backend{GetModuleHandleA(nullptr)};
  FakeSystem system;
  Application app{backend, system};
};

TEST_F(Win32EffectsTest, OverlappingChildWindowsStackInCreationOrder) {
  Panel *first = nullptr, *second = nullptr, *inner2 = nullptr;
  EffectsForm& f = Shown([&](EffectsForm& f) {
    first = PlainPanel(f, &f, "Panel1", kFirst);
    first->SetBounds(10, 10, 100, 100);
    second = PlainPanel(f, &f, "Panel2", kSecond);
    second->SetBounds(60, 60, 100, 100);
    PlainPanel(f, first, "Panel3", kSecond)->SetBounds(0, 0, 60, 60);
    inner2 = PlainPanel(f, first, "Panel4", kFirst);
    inner2->SetBounds(30, 30, 60, 60);
  });
  HWND form = Win32Backend::WindowOf(f), one = Win32Backend::WindowOf(*first),
       two = Win32Backend::WindowOf(*second);
  ASSERT_TRUE(one && two);
  EXPECT_EQ(GetWindow(form, GW_CHILD), two) << "the later window lies on top";
  EXPECT_EQ(GetWindow(two, GW_HWNDNEXT), one);
  EXPECT_EQ(GetWindow(one, GW_CHILD), Win32Backend::WindowOf(*inner2)) << "and so within a panel";
  POINT both{80, 80};
  EXPECT_EQ(ChildWindowFromPointEx(form, both, CWP_SKIPINVISIBLE), two);
  EXPECT_EQ(Name(ScreenPixel(form, 80, 80)), Name(kSecond)) << "the later panel shows where they overlap";
  EXPECT_EQ(Name(ScreenPixel(form, 50, 50)), Name(kFirst)) << "the later inner panel shows over the earlier";
  EXPECT_EQ(Name(ScreenPixel(form, 20, 20)), Name(kSecond));
}

TEST_F(Win32EffectsTest, TheCaretStaysWhereTheUserPutsItWhileTheProgramSetsTexts) {
  Edit *typed = nullptr, *other = nullptr, *shown = nullptr;
  Shown([&](EffectsForm& f) {
    typed = f.Add<Edit>(&f, "Edit1");
    typed->SetBounds(10, 10, 120, 23);
    other = f.Add<Edit>(&f, "Edit2");
    other->SetBounds(10, 40, 120, 23);
    shown = f.Add<Edit>(&f, "Edit3");
    shown->SetBounds(10, 70, 120, 23);
    shown->SetReadOnly(true);
  });
  // The program answers each change of the first edit by setting the others, and the first to what it has.
  typed->OnChange = [&](Edit& e) {
    other->SetText("echo " + e.Text());
    shown->SetText("read " + e.Text());
    typed->SetText(e.Text());
  };
  HWND edit = Win32Backend::WindowOf(*typed);
  auto caret = [](HWND hwnd) {
    DWORD start = 0, end = 0;
    SendMessageA(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    return std::make_tuple(static_cast<int>(start), static_cast<int>(end));
  };
  SetFocus(edit);
  ASSERT_EQ(GetFocus(), edit);
  for (char ch : std::string("acd")) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(ch), 1);
  EXPECT_EQ(typed->Text(), "acd");
  EXPECT_EQ(caret(edit), std::make_tuple(3, 3));
  SendMessageA(edit, EM_SETSEL, 1, 1);  // the user goes back to put in a letter
  SendMessageA(edit, WM_CHAR, 'b', 1);
  EXPECT_EQ(typed->Text(), "abcd");
  EXPECT_EQ(caret(edit), std::make_tuple(2, 2)) << "the caret stays after the letter typed";
  EXPECT_EQ(caret(Win32Backend::WindowOf(*other)), std::make_tuple(0, 0)) << "an edit not typed into";
  EXPECT_EQ(caret(Win32Backend::WindowOf(*shown)), std::make_tuple(0, 0)) << "a read-only edit";

  // A text that the program puts in the edit being typed into leaves the caret at its end, to type on; the
  // focused read-only edit keeps its start in view.
  typed->SetText("abcdef");
  EXPECT_EQ(caret(edit), std::make_tuple(6, 6));
  SetFocus(Win32Backend::WindowOf(*shown));
  shown->SetText("a longer text");
  EXPECT_EQ(caret(Win32Backend::WindowOf(*shown)), std::make_tuple(0, 0));
  other->SetText("another");
  EXPECT_EQ(caret(Win32Backend::WindowOf(*other)), std::make_tuple(0, 0));
}

TEST_F(Win32EffectsTest, ADisabledPictureButtonShowsItsGreyedGlyph) {
  // A strip of two 16 x 16 pictures, the normal one red and the greyed one green, each with a corner of
  // the transparent colour.
  Bitmap strip(32, 16, kFirst);
  for (int y = 0; y < 16; ++y)
    for (int x = 16; x < 32; ++x) strip.SetPixel(x, y, kSecond);
  strip.SetPixel(0, 15, Rgb(255, 0, 255));
  strip.SetPixel(16, 15, Rgb(255, 0, 255));
  std::vector<BitBtn*> buttons;
  Shown([&](EffectsForm& f) {
    for (GlyphLayout layout : {GlyphLayout::Center, GlyphLayout::Left}) {
      auto* b = f.Add<BitBtn>(&f, "BitBtn" + std::to_string(buttons.size() + 1));
      b->SetBounds(10, 10 + 40 * static_cast<int>(buttons.size()), 40, 30);
      b->SetLayout(layout);
      b->SetGlyph(strip);
      b->SetNumGlyphs(2);
      buttons.push_back(b);
    }
  });
  for (BitBtn* b : buttons) {
    SCOPED_TRACE(b->Name());
    HWND hwnd = Win32Backend::WindowOf(*b);
    EXPECT_EQ(Name(PrintedPixel(hwnd, 20, 15)), Name(kFirst)) << "enabled: the first picture";
    b->SetEnabled(false);
    Pump(50);
    EXPECT_EQ(Name(PrintedPixel(hwnd, 20, 15)), Name(kSecond)) << "disabled: the second picture";
    EXPECT_EQ(Name(ScreenPixel(hwnd, 20, 15)), Name(kSecond));
    b->SetEnabled(true);
    Pump(50);
    EXPECT_EQ(Name(ScreenPixel(hwnd, 20, 15)), Name(kFirst));
  }
}

TEST_F(Win32EffectsTest, APanelThatNearlyCoversAChangeLeavesTheParentShowingAroundIt) {
  // A label under a panel that it passes by one pixel on every side: a change of the label is painted in
  // one go from the form up, the panel over it, and the label's edge shows around the panel.
  Label *label = nullptr, *hidden = nullptr;
  EffectsForm& f = Shown([&](EffectsForm& f) {
    label = f.Add<Label>(&f, "Label1");
    label->SetAutoSize(false);
    label->SetBounds(49, 49, 102, 62);
    label->SetColor(kFirst);
    PlainPanel(f, &f, "Panel1", Rgb(128, 128, 128))->SetBounds(50, 50, 100, 60);
    // And one that a panel covers whole: painted from the panel up.
    hidden = f.Add<Label>(&f, "Label2");
    hidden->SetAutoSize(false);
    hidden->SetBounds(200, 50, 20, 20);
    hidden->SetColor(kFirst);
    Panel* cover = PlainPanel(f, &f, "Panel2", Rgb(0, 0, 0));
    cover->SetBounds(190, 40, 40, 40);
    PlainPanel(f, cover, "Panel3", kSecond)->SetBounds(5, 5, 30, 30);
  });
  HWND form = Win32Backend::WindowOf(f);
  ASSERT_EQ(Name(ScreenPixel(form, 49, 49)), Name(kFirst));
  for (Color c : {kSecond, Rgb(255, 255, 0)}) {
    label->SetColor(c);
    hidden->SetColor(c);
    Pump(100);
    for (POINT p : {POINT{49, 49}, POINT{150, 80}, POINT{100, 110}, POINT{49, 110}, POINT{150, 49}})
      EXPECT_EQ(Name(ScreenPixel(form, p.x, p.y)), Name(c)) << "the label's edge at " << p.x << "," << p.y;
    EXPECT_EQ(Name(ScreenPixel(form, 50, 50)), Name(Rgb(128, 128, 128))) << "the panel over it";
    EXPECT_EQ(Name(ScreenPixel(form, 190, 40)), Name(Rgb(0, 0, 0)));
    EXPECT_EQ(Name(ScreenPixel(form, 210, 60)), Name(kSecond));
  }
}

}  // namespace
}  // namespace korval::forms

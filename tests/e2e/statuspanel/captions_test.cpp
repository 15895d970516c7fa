// The texts of the real window from the language files: the chosen language at start, each title whole in
// its box, the reload that a posted CaptionReloadRequest brings (and that a sent one, other parameters or a
// post under a system message box do not), and a language file that is missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "panel_e2e.h"

namespace korval::e2e {
namespace {

struct Box {
  int left, top, width, height;
};

// The gauge titles and column headings by their place once the layout is arranged.
struct Title {
  const char* key;
  Box at;
};
const Title kTitles[] = {
    {"Ivol", {50, 253, 120, 18}}, {"Ovol", {210, 253, 137, 18}}, {"Load", {370, 253, 162, 18}},
    {"Ifre", {52, 430, 122, 18}}, {"Ofre", {200, 430, 151, 18}}, {"Batt", {370, 430, 162, 18}},
    {"Dis0", {520, 83, 91, 15}},  {"Dis1", {520, 147, 91, 15}},  {"Dis2", {520, 218, 91, 13}},
};

class Captions : public StatusPanel {
 protected:
  LanguageFile File(int index) const { return LanguageFile::Load(program_ + LanguageFileName(index)); }

  std::string TextAt(const Box& r) const {
    const auto children = probe::ChildWindows(window_);
    const probe::ChildWindow* c = probe::ChildAt(children, r.left, r.top, r.width, r.height);
    return c ? c->text : "(no window at " + std::to_string(r.left) + "," + std::to_string(r.top) + ")";
  }
  // The titles show this language file's texts.
  bool ShowsLanguage(const LanguageFile& f) const {
    for (const Title& t : kTitles)
      if (TextAt(t.at) != f.Text(t.key)) return false;
    return TextAt(Box{520, 286, 91, 15}) == f.Text("Dis3") + f.Text("Dis4") &&
           TextAt(Box{520, 342, 91, 15}) == f.Text("Dis5") + f.Text("Dis6");
  }
  std::string Shown() const {
    std::string s;
    for (const Title& t : kTitles) s += TextAt(t.at) + " | ";
    return s;
  }
  // The menu bar's pixels on the screen (its texts cannot be read from another process under Wine).
  Bitmap MenuBar() const {
    POINT origin{0, 0};
    ClientToScreen(window_, &origin);
    const int height = GetSystemMetrics(SM_CYMENU) - 1;
    return probe::Crop(probe::CaptureClient(GetDesktopWindow()), origin.x, origin.y - height - 1, 640,
                       height);
  }
  bool MenuBarChangedFrom(const Bitmap& before) const {
    return WaitFor([&] { return probe::DifferentShare(MenuBar(), before) > 0.01; }, 5000);
  }
  // The hint that the window shows with the pointer over this place of its client area.
  std::string HintAt(int x, int y) const {
    POINT p{x, y};
    ClientToScreen(window_, &p);
    SetCursorPos(p.x - 5, p.y);
    SetCursorPos(p.x, p.y);
    std::string shown;
    WaitFor(
        [&] {
          HWND hint = FindWindowOfProcess("KorvalHint", panel_.Id());
          char text[256] = {};
          if (hint && IsWindowVisible(hint)) GetWindowTextA(hint, text, sizeof text);
          shown = text;
          return !shown.empty();
        },
        5000);
    return shown;
  }
  // A live unit of type 1 on 115 V whose reads bring no caption load of their own.
  static DataBuffRecord Steady() {
    DataBuffRecord r = Live(1);
    r.SetBE16(DataBuffRecord::kInputVoltage, 115);
    r.SetBE16(DataBuffRecord::kOutputVoltage, 115);
    r.SetRatedVoltage(115);
    return r;
  }
};

TEST_F(Captions, ShowsTheTextsOfTheChosenLanguageFile) {
  SetLanguage(5);
  Start(Live(5));
  const LanguageFile german = File(5);
  ASSERT_NE(german.Text("Ivol"), File(0).Text("Ivol"));
  EXPECT_TRUE(WaitFor([&] { return ShowsLanguage(german); }, 5000)) << Shown();
  EXPECT_EQ(HintAt(233, 45), german.Text("Dis12")) << "the hint of the Self Test button";
  EXPECT_TRUE(MessageBoxes().empty());
}

// Each title and heading shows its whole text in every language that the system's code page shows, in the
// language's own letters: the text fits its box on one line (a box breaks a longer text onto a second line,
// which it cuts off), and the window shows every pixel of it, so neither the box's edges nor a picture
// painted later cover a part of it, its height included. The gauge title that the unit type switches to the
// temperature has the box of the output frequency.
TEST_F(Captions, TitlesShowTheirWholeTextInEachLanguageOfTheCodePage) {
  const Color kNavy = Rgb(0, 0, 128), kOlive = Rgb(128, 128, 0), kBlue = Rgb(0, 0, 255);
  bool started = false;
  for (int language = 0; language < kLanguageCount; ++language) {
    if (LanguageCodePage(language) != GetACP()) continue;
    SCOPED_TRACE(LanguageFileName(language));
    SetLanguage(language);
    if (!started) {
      Start(Live(5));
      started = true;
    } else {
      PostMessageA(window_, kSuiteCommand, 22, 22);
    }
    const LanguageFile f = File(language);
    ASSERT_TRUE(WaitFor([&] { return ShowsLanguage(f); }, 5000)) << Shown();
    const char* face = LanguageFace(language) ? LanguageFace(language) : "MS UI Gothic";
    struct Caption {
      std::string text;
      Box box;
      Color colour;
      bool shown;  // the temperature's title is not, for this unit type
    };
    std::vector<Caption> captions = {{f.Text("Dis3") + f.Text("Dis4"), {520, 286, 91, 15}, kOlive, true},
                                     {f.Text("Dis5") + f.Text("Dis6"), {520, 342, 91, 15}, kOlive, true},
                                     {f.Text("Temp"), kTitles[4].at, kBlue, false}};
    for (const Title& t : kTitles)
      captions.push_back(
          {f.Text(t.key), t.at, std::string(t.key).rfind("Dis", 0) == 0 ? kNavy : kBlue, true});
    Bitmap shot;
    EXPECT_TRUE(PictureSettles([&] { return Shot(); }, shot));
    for (const Caption& c : captions) {
      EXPECT_LE(MeasureText(face, 13, false, c.text).advance, c.box.width) << c.text;
      const TextInk ink = InkOf(face, 13, false, c.text);
      EXPECT_EQ(ink.missingGlyphs, 0) << c.text << ": letters that " << face << " stands in for without";
      if (c.shown) {
        EXPECT_TRUE(
            ShowsWhole(ink, c.box.width, c.box.height,
                       [&](int x, int y) { return shot.Pixel(c.box.left + x, c.box.top + y) == c.colour; }))
            << c.text << " is cut or covered in its box at " << c.box.left << "," << c.box.top;
      }
    }
  }
  EXPECT_TRUE(started) << "no language file in code page " << GetACP();
  if (started) {
    Bitmap shot;
    EXPECT_TRUE(PictureSettles([&] { return Shot(); }, shot));
    probe::SaveFile(std::string(BinDir()) + "tests\\e2e\\statuspanel\\captions.png", probe::EncodePng(shot));
  }
}

TEST_F(Captions, OnlyAPostedRequestReloads) {
  SetLanguage(0);
  Start(Live(5));
  const LanguageFile english = File(0), french = File(6);
  ASSERT_NE(english.Text("Ivol"), french.Text("Ivol"));
  ASSERT_TRUE(WaitFor([&] { return ShowsLanguage(english); }, 5000)) << Shown();
  Bitmap englishMenu;
  ASSERT_TRUE(PictureSettles([&] { return MenuBar(); }, englishMenu));

  SetLanguage(6);
  DWORD_PTR result = 0;
  EXPECT_TRUE(SendMessageTimeoutA(window_, kSuiteCommand, 22, 22, SMTO_ABORTIFHUNG, 5000, &result));
  PostMessageA(window_, kSuiteCommand, 22, 0);
  PostMessageA(window_, kSuiteCommand, 0, 22);
  PostMessageA(window_, kSuiteCommand + 1, 22, 22);
  // Ticks, which take a request that was heard.
  ASSERT_TRUE(TicksShown());
  EXPECT_TRUE(ShowsLanguage(english)) << Shown();
  EXPECT_EQ(probe::DifferentShare(MenuBar(), englishMenu), 0.0);

  PostMessageA(window_, kSuiteCommand, 22, 22);
  EXPECT_TRUE(WaitFor([&] { return ShowsLanguage(french); }, 5000)) << Shown();
  EXPECT_TRUE(MenuBarChangedFrom(englishMenu));
  EXPECT_TRUE(MessageBoxes().empty());
}

// German.txt is missing at start: the start-up's caption load reports it once (the ticks that run under the
// report do not add to it), a request posted while the report is open is not heard, and after it the window
// runs on with its layout texts until a request finds the file.
TEST_F(Captions, MissingLanguageFileReportsOnceAndTheWindowRunsOn) {
  SetLanguage(5);
  ASSERT_TRUE(DeleteFileA((program_ + "German.txt").c_str()));
  StartProcesses(Steady());
  ASSERT_TRUE(WaitFor([&] { return !MessageBoxes().empty(); }, 15000));
  Sleep(1500);  // ticks under the report, which must not add a second one; no clock runs to count them
  const std::vector<HWND> boxes = MessageBoxes();
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_NE(BoxText(boxes[0]).find("Cannot open file " + program_ + "German.txt"), std::string::npos)
      << BoxText(boxes[0]);

  ASSERT_TRUE(CopyLanguageFile(5));
  window_ = FindWindowOfProcess("TnKORVALmain", panel_.Id());
  ASSERT_NE(window_, nullptr);
  PostMessageA(window_, kSuiteCommand, 22, 22);  // taken by the message box's own loop
  Sleep(1000);  // time for a reload that must not come; nothing shows that the request was dropped
  PostMessageA(boxes[0], WM_COMMAND, IDOK, 0);
  WaitForShownWindow();
  Sleep(1000);  // ticks after the report, which must leave the layout's texts; the clock is read just below
  // The start-up stopped before arranging the layout: the first title stands where the window data has it.
  EXPECT_EQ(TextAt(Box{51, 253, 123, 18}), "I/P Voltage  [V]");
  const Bitmap layoutMenu = MenuBar();
  const Bitmap clock = probe::Crop(Shot(), 539, 401, 60, 13);
  EXPECT_TRUE(Shows(
      [&](const Bitmap& s) { return probe::DifferentShare(probe::Crop(s, 539, 401, 60, 13), clock) > 0; },
      nullptr, 3000))
      << "the clock runs";

  PostMessageA(window_, kSuiteCommand, 22, 22);
  const LanguageFile german = File(5);
  EXPECT_TRUE(WaitFor([&] { return TextAt(Box{51, 253, 123, 18}) == german.Text("Ivol"); }, 5000));
  EXPECT_TRUE(MenuBarChangedFrom(layoutMenu));
  EXPECT_TRUE(MessageBoxes().empty());
  PostMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_TRUE(panel_.WaitExit(10000));
}

}  // namespace
}  // namespace korval::e2e

// The toolbar's hints as a user meets them, in each language whose file is written in the system's code page
// (CTest runs this in the locales of several code pages): the pointer rests on a button, and the hint shows
// the language file's text whole, in the letters of that language, as the system's own tool tips do.
#include <string>

#include "hint_e2e.h"
#include "panel_e2e.h"

namespace korval::e2e {
namespace {

struct ToolbarHint {
  int button;
  const char* key;  // nullptr: the button's fixed hint
};
const ToolbarHint kHints[] = {{1, "Dis11"}, {2, "Dis12"}, {3, "Dis13"}, {4, "Dis14"},
                              {5, "Dis16"}, {6, "Dis17"}, {8, "Dis15"}, {9, nullptr}};

class Hints : public StatusPanel {};

TEST_F(Hints, ToolbarHintsShowTheirWholeTextInTheLettersOfTheCodePage) {
  bool any = false;
  for (int language = 0; language < kLanguageCount; ++language) {
    if (LanguageCodePage(language) != GetACP()) continue;
    any = true;
    SCOPED_TRACE("language " + std::to_string(language));
    SetLanguage(language);
    Start(Live(5));
    if (HasFatalFailure()) return;
    ASSERT_TRUE(BroughtToFront(window_));
    const LanguageFile file = LanguageFile::Load(program_ + LanguageFileName(language));
    for (const ToolbarHint& h : kHints) {
      const std::string text = h.key ? file.Text(h.key) : "E-Mail";
      SCOPED_TRACE(text);
      SetForegroundWindow(window_);
      HWND button = ToolbarButton(h.button);
      ASSERT_NE(button, nullptr);
      HWND hint = HintAt(button, panel_.Id(), 20, 20);
      ExpectToolTipShows(hint, text,
                         std::string(BinDir()) + "tests\\e2e\\statuspanel\\hint-" + std::to_string(language) +
                             "-" + std::to_string(h.button) + ".png");
      char shown[256] = {};
      if (hint) GetWindowTextA(hint, shown, sizeof shown);
      EXPECT_EQ(shown, text);
      PointerAway(window_);
      if (hint) {
        EXPECT_TRUE(WaitFor([&] { return !IsWindowVisible(hint); }, 3000));
      }
    }
    panel_.Kill();
    panel_.WaitExit(5000);
    monitor_.Kill();
    monitor_.WaitExit(5000);
  }
  EXPECT_TRUE(any) << "no language file in code page " << GetACP();
}

}  // namespace
}  // namespace korval::e2e

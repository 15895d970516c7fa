// The captions of the password, self-test and green-mode dialogs: in every language that the system's code
// page shows, each label, choice and button shows its whole text in the language's own letters.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs_e2e.h"

namespace korval::e2e {
namespace {

// A captioned control of a dialog: its place, its language file key and its font (the Dotum language draws
// it in "Dotum" at the same height).
struct Caption {
  Place at;
  const char* key;
  const char* face;
  int height;
};
const Caption kPassword[] = {{{26, 10, 164, 17}, "Dis20", "MS UI Gothic", 13},
                             {{26, 50, 164, 17}, "Dis21", "MS UI Gothic", 13},
                             {{26, 90, 164, 17}, "Dis22", "MS UI Gothic", 13},
                             {{81, 157, 75, 25}, "OK", "MS UI Gothic", 13},
                             {{193, 157, 75, 25}, "Cancel", "MS UI Gothic", 13}};
// The self-test dialog's buttons take the form's font.
const Caption kSelfTest[] = {
    {{8, 15, 262, 17}, "Dis23", "MS UI Gothic", 13},  {{8, 45, 348, 17}, "Dis24", "MS UI Gothic", 13},
    {{8, 105, 262, 17}, "Dis25", "MS UI Gothic", 13}, {{8, 135, 262, 17}, "Dis26", "MS UI Gothic", 13},
    {{80, 179, 75, 25}, "OK", "MS Sans Serif", 11},   {{200, 179, 75, 25}, "Cancel", "MS Sans Serif", 11}};
const Caption kGreenMode[] = {{{56, 32, 339, 17}, "Dis33", "MS Sans Serif", 13},
                              {{56, 79, 339, 17}, "Dis32", "MS Sans Serif", 13},
                              {{55, 130, 95, 25}, "OK", "MS UI Gothic", 13},
                              {{239, 130, 95, 25}, "Cancel", "MS UI Gothic", 13}};

class DialogCaptions : public Dialogs {
 protected:
  // Every caption of the shown dialog whole, in letters of its font, inside the control (a button's within
  // its raised edge).
  void ExpectWholeCaptions(HWND dialog, const LanguageFile& file, int language, const Caption* captions,
                           std::size_t count) const {
    Bitmap shot;
    EXPECT_TRUE(PictureSettles([&] { return probe::CaptureClient(dialog); }, shot));
    const auto children = probe::ChildWindows(dialog);
    for (std::size_t i = 0; i < count; ++i) {
      const Caption& c = captions[i];
      const std::string text = file.Text(c.key);
      SCOPED_TRACE(std::string(c.key) + " \"" + text + "\"");
      const probe::ChildWindow* control =
          probe::ChildAt(children, c.at.left, c.at.top, c.at.width, c.at.height);
      ASSERT_TRUE(control && control->visible);
      const bool button = lstrcmpiA(c.key, "OK") == 0 || lstrcmpiA(c.key, "Cancel") == 0;
      const int edge = button ? 2 : 0;
      std::vector<std::pair<const char*, int>> fonts = {{c.face, c.height}};
      // The buttons have been drawn in the buttons' "MS UI Gothic" too.
      if (button && c.height != 13) fonts.push_back({"MS UI Gothic", 13});
      for (auto& font : fonts)
        if (const char* face = LanguageFace(language)) font.first = face;
      EXPECT_EQ(InkOf(fonts[0].first, fonts[0].second, false, text).missingGlyphs, 0)
          << "letters that the stand-in for " << fonts[0].first << " has not";
      bool whole = false;
      for (const auto& [face, height] : fonts)
        whole = whole ||
                ShowsWhole(InkOf(face, height, false, text), c.at.width - 2 * edge, c.at.height - 2 * edge,
                           [&](int x, int y) {
                             return shot.Pixel(c.at.left + edge + x, c.at.top + edge + y) == Rgb(0, 0, 0);
                           });
      EXPECT_TRUE(whole) << "cut or covered in its control at " << c.at.left << "," << c.at.top;
    }
  }
};

TEST_F(DialogCaptions, ShowTheirWholeTextsInEachLanguageOfTheCodePage) {
  bool started = false;
  for (int language = 0; language < kLanguageCount; ++language) {
    if (LanguageCodePage(language) != GetACP()) continue;
    SCOPED_TRACE(LanguageFileName(language));
    const LanguageFile file = LanguageFile::Load(program_ + LanguageFileName(language));
    WriteFileBytes(data_ + "KORVAL.ini",
                   "[Main]\r\nLanguage=" + std::to_string(language) + "\r\nShowDisp=pw\r\n");
    if (!started) {
      Start(Live(25));
      started = true;
      // The UPS Setup menu item comes with the second read of a unit type 22..27, with its button.
      ASSERT_TRUE(WaitFor([&] { return ToolbarButton(7) != nullptr; }, 5000));
    } else {
      PostMessageA(window_, kSuiteCommand, 22, 22);
      // The reload takes a tick and builds the menu anew, which shows nothing to another process that the
      // menu keys could wait on.
      Sleep(1500);
    }

    PasswordCommand(true);
    HWND pass = ShownDialog("TnPassfunction");
    ASSERT_TRUE(pass);
    ASSERT_TRUE(WaitFor([&] { return Text(pass) == file.Text("Dis18"); }, 3000));
    ExpectWholeCaptions(pass, file, language, kPassword, std::size(kPassword));
    Press(VK_ESCAPE);
    ASSERT_TRUE(Hidden(pass));

    SelfTestCommand();
    HWND self = ShownDialog("TnselfTsetset");
    ASSERT_TRUE(self);
    ExpectWholeCaptions(self, file, language, kSelfTest, std::size(kSelfTest));
    Press(VK_ESCAPE);
    ASSERT_TRUE(Hidden(self));

    GreenModeCommand(true);
    HWND green = ShownDialog("TnGreenModeSetup");
    ASSERT_TRUE(green);
    ExpectWholeCaptions(green, file, language, kGreenMode, std::size(kGreenMode));
    Press(VK_ESCAPE);
    ASSERT_TRUE(Hidden(green));
  }
  EXPECT_TRUE(started) << "no language file in code page " << GetACP();
  EXPECT_TRUE(MessageBoxes().empty());
}

}  // namespace
}  // namespace korval::e2e

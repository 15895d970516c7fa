// The filters and their settings: start-up from section EventLog, the kind boxes, the All box, the spin
// buttons and the range clamp.
#include <algorithm>
#include <string>
#include <vector>

#include "settings.h"
#include "viewer_fixture.h"

namespace korval::eventbook::test {
namespace {

std::string Read(const std::string& text, const char* key) {
  return SettingsFile::FromText("x", text).ReadString("EventLog", key, "(none)");
}

TEST_F(ViewerTest, FirstStartTakesTheDefaultsAndStoresOnlyAllState) {
  TnEventLog& f = Start();
  EXPECT_EQ(BoxStates(), "111101111111110");
  EXPECT_TRUE(f.CheckBox16->Checked());
  EXPECT_FALSE(f.Panel2->Enabled());
  EXPECT_TRUE(f.BoxesLoaded);
  EXPECT_EQ(Read(Settings(), "AllState"), "1");
  EXPECT_EQ(Read(Settings(), "State"), "(none)") << "the first kind-box click writes it";
  EXPECT_EQ(f.Edit1->Text(), "2026");
  EXPECT_EQ(f.Edit3->Text(), "12");
  EXPECT_EQ(f.Edit2->Text(), "2026");
  EXPECT_EQ(f.Edit4->Text(), "12");

  f.CheckBoxes[1]->Click();
  EXPECT_EQ(Read(Settings(), "State"), "011101111111110");
  f.CheckBoxes[5]->Click();
  EXPECT_EQ(Read(Settings(), "State"), "011111111111110");
}

TEST_F(ViewerTest, StoredFiltersSetTheBoxesWithoutBeingRewritten) {
  const struct {
    const char* stored;
    const char* boxes;
    bool all;
  } cases[] = {
      {"State=1\r\nAllState=0", "100000000000000", false},
      {"State=1111111111111111111\r\nAllState=1", "111111111111111", true},
      {"State=1x1 1\r\nAllState=2", "101010000000000", false},
      {"State=\r\nAllState=abc", "000000000000000", true},
  };
  for (const auto& c : cases) {
    const std::string text = std::string("[Main]\r\nShowDisp=pw\r\n[EventLog]\r\n") + c.stored + "\r\n";
    WriteSettings(text);
    TnEventLog& f = Start();
    EXPECT_EQ(BoxStates(), c.boxes) << c.stored;
    EXPECT_EQ(f.CheckBox16->Checked(), c.all) << c.stored;
    EXPECT_EQ(f.Panel2->Enabled(), !c.all) << c.stored;
    if (!c.all) {
      EXPECT_EQ(Settings(), text) << "setting the boxes at start-up writes nothing";
    }
  }
  // A click stores exactly fifteen characters, and keeps the other sections.
  form->CheckBoxes[2]->Click();
  EXPECT_EQ(Read(Settings(), "State"), "010000000000000");
  EXPECT_NE(Settings().find("ShowDisp=pw"), std::string::npos);
}

TEST_F(ViewerTest, AllBoxSwitchesTheRangePanelAndStoresItsState) {
  Today(2026, 3, 20);
  for (int m : {1, 2, 3}) WriteMonth(m, Record(1, At(2026, m, 1)));
  TnEventLog& f = Start();
  EXPECT_EQ(Column(1).size(), 3u);
  f.CheckBox16->Click();
  EXPECT_TRUE(f.Panel2->Enabled());
  EXPECT_EQ(Read(Settings(), "AllState"), "0");
  EXPECT_EQ(Column(2), std::vector<std::string>{"03/01/2026 00:00:00"}) << "the current month alone";
  f.SpinButton2DownClick();
  f.CheckBox16->Click();
  EXPECT_EQ(Read(Settings(), "AllState"), "1");
  EXPECT_FALSE(f.Panel2->Enabled());
  EXPECT_EQ(f.Edit3->Text(), "2") << "the range stays in the edits for the next time";
}

TEST_F(ViewerTest, SettingsThatCannotBeReadEndTheProgram) {
  std::filesystem::create_directories(data.File("KORVAL.ini"));
  TnEventLog& f = Start();
  EXPECT_TRUE(app->Terminated());
  EXPECT_FALSE(f.BoxesLoaded) << "start-up goes no further";
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(ViewerTest, ClickWhoseSettingsCannotBeReadEndsTheProgramAndWritesNothing) {
  TnEventLog& f = Start();
  std::filesystem::remove(data.File("KORVAL.ini"));
  std::filesystem::create_directories(data.File("KORVAL.ini"));
  WriteMonth(12, Record(1, At(2026, 12, 1)));
  f.CheckBoxes[3]->Click();
  EXPECT_TRUE(app->Terminated());
  EXPECT_EQ(Column(1), std::vector<std::string>{""}) << "no fill after the failed open";
}

TEST_F(ViewerTest, WithoutUserPathTheFilesAreInTheCurrentFolder) {
  std::filesystem::remove(program.File("UserPath.dat"));
  const auto before = std::filesystem::current_path();
  std::filesystem::current_path(data.Prefix());
  TnEventLog& f = Start();
  f.CheckBoxes[1]->Click();
  std::filesystem::current_path(before);
  EXPECT_EQ(f.DataDir, "");
  EXPECT_EQ(Read(Settings(), "State"), "011101111111110");
}

// The spin buttons in March of 2026: the first recent month is May of 2025.
class RangeTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    Restart();
  }
  void Restart() {
    Today(2026, 3, 10);
    WriteSettings("[EventLog]\r\nAllState=0\r\n");
    Start();
  }
  // Steps by spin button and half: "1-" is SpinButton1's down half (start year), "2+" SpinButton2's up
  // half (start month), 3 the end year, 4 the end month.
  void Press(const std::string& steps) {
    for (std::size_t i = 0; i + 1 < steps.size(); i += 3) {
      const bool up = steps[i + 1] == '+';
      switch (steps[i]) {
        case '1':
          up ? form->SpinButton1UpClick() : form->SpinButton1DownClick();
          break;
        case '2':
          up ? form->SpinButton2UpClick() : form->SpinButton2DownClick();
          break;
        case '3':
          up ? form->SpinButton3UpClick() : form->SpinButton3DownClick();
          break;
        default:
          up ? form->SpinButton4UpClick() : form->SpinButton4DownClick();
          break;
      }
    }
  }
  std::string Range() const {
    return form->Edit1->Text() + "/" + form->Edit3->Text() + "-" + form->Edit2->Text() + "/" +
           form->Edit4->Text();
  }
};

TEST_F(RangeTest, StepsAndClampsKeepTheRangeInsideTheElevenMonths) {
  const struct {
    const char* steps;
    const char* range;
  } cases[] = {
      {"", "2026/3-2026/3"},         {"2- 2-", "2026/1-2026/3"}, {"2- 2- 2-", "2026/1-2026/3"},
      {"2- 2- 1-", "2025/5-2026/3"}, {"1- 1-", "2025/5-2026/3"}, {"1+", "2026/3-2026/3"},
      {"2+", "2026/3-2026/3"},       {"4+", "2026/3-2026/3"},    {"3+", "2026/3-2026/3"},
      {"3-", "2026/3-2026/3"},       {"1- 3-", "2025/5-2025/5"}, {"1- 2+ 3-", "2025/6-2025/6"},
      {"4- 4- 4-", "2026/3-2026/3"},
      // A month step stops at 12 even where no clamp would pull it back.
      {"1- 2+ 2+ 2+ 2+ 2+ 2+ 2+ 2+", "2025/12-2026/3"}, {"1- 3- 4+ 4+ 4+ 4+ 4+ 4+ 4+ 4+", "2025/5-2025/12"},
  };
  for (const auto& c : cases) {
    Restart();
    Press(c.steps);
    EXPECT_EQ(Range(), c.range) << "after " << c.steps;
  }
}

TEST_F(RangeTest, EveryStepRefillsTheGridWithTheRange) {
  for (int m = 1; m <= 12; ++m) WriteMonth(m, Record(1, At(m <= 3 ? 2026 : 2025, m, 1)));
  form->SpinButton1DownClick();  // 2025/5 - 2026/3
  EXPECT_EQ(Column(2).size(), 11u);
  form->SpinButton3DownClick();  // the end follows to 2025/3, clamped to 2025/5
  EXPECT_EQ(Range(), "2025/5-2025/5");
  EXPECT_EQ(Column(2), std::vector<std::string>{"05/01/2025 00:00:00"});
  WriteMonth(5, "");
  form->SpinButton4DownClick();  // unchanged, still a fill
  EXPECT_EQ(Column(2), std::vector<std::string>{""});
}

// A month half pressed at its stop changes nothing and still fills the grid anew.
TEST_F(RangeTest, MonthStepAtItsStopStillFills) {
  const struct {
    const char *setUp, *press;
    int month, year;  // the month file written between the two
  } cases[] = {
      {"2- 2-", "2-", 1, 2026},
      {"1- 2+ 2+ 2+ 2+ 2+ 2+ 2+", "2+", 12, 2025},
      {"1- 3- 4+ 4+ 4+ 4+ 4+ 4+ 4+", "4+", 12, 2025},
      {"2- 2- 4- 4-", "4-", 1, 2026},
  };
  int code = 0;
  for (const auto& c : cases) {
    Restart();
    Press(c.setUp);
    const std::string before = Range();
    WriteMonth(c.month, Record(++code, At(c.year, c.month, 1)));
    Press(c.press);
    EXPECT_EQ(Range(), before) << c.setUp << " then " << c.press;
    const std::vector<std::string> codes = Column(1);
    EXPECT_NE(std::find(codes.begin(), codes.end(), std::to_string(code)), codes.end())
        << c.setUp << " then " << c.press;
  }
}

TEST_F(ViewerTest, ClampComparesUnsignedSixteenBitNumbers) {
  Today(2026, 11, 5);  // the first recent month is January of the same year
  WriteSettings("[EventLog]\r\nAllState=0\r\n");
  TnEventLog& f = Start();
  f.Edit1->SetText("0");
  f.SpinButton1DownClick();  // 0 - 1 is 65535: pulled back to the end year
  EXPECT_EQ(f.Edit1->Text(), "2026");
  f.SpinButton2DownClick();
  EXPECT_EQ(f.Edit3->Text(), "10");
  for (int i = 0; i < 12; ++i) f.SpinButton2DownClick();
  EXPECT_EQ(f.Edit3->Text(), "1") << "January of the current year is the first recent month";
}

}  // namespace
}  // namespace korval::eventbook::test

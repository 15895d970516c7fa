// The fill of the grid: which month files, in which order, the ordering step, the codes, short files and the
// regional separators.
#include <string>
#include <vector>

#include "viewer_fixture.h"

namespace korval::eventbook::test {
namespace {

using Strings = std::vector<std::string>;

// Every month file holds one code-1 record on the 1st of its month; the time column then names the files
// read, in order. The years are those of the eleven months before the 15th of `month` in 2026.
class MonthsTest : public ViewerTest {
 protected:
  void WriteAllMonths(int todayMonth) {
    for (int m = 1; m <= 12; ++m) WriteMonth(m, Record(1, At(m <= todayMonth ? 2026 : 2025, m, 1)));
  }
  Strings MonthsListed() const {
    Strings out;
    for (const std::string& t : Column(2))
      out.push_back(t.empty() ? "" : std::to_string(std::stoi(t.substr(0, 2))));
    return out;
  }
};

TEST_F(MonthsTest, AllModeReadsTheElevenMonthsEndingWithTodaysInOrder) {
  const struct {
    int month;
    Strings files;
  } cases[] = {
      {1, {"3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "1"}},
      {2, {"4", "5", "6", "7", "8", "9", "10", "11", "12", "1", "2"}},
      {10, {"12", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}},
      {11, {"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}},
      {12, {"2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}},
  };
  for (const auto& c : cases) {
    Today(2026, c.month, 15);
    WriteAllMonths(c.month);
    Start();
    EXPECT_EQ(MonthsListed(), c.files) << "today in month " << c.month;
    EXPECT_EQ(Column(0).front(), "1");
    EXPECT_EQ(Column(0).back(), "11");
  }
}

TEST_F(MonthsTest, RangeModeGoesOnFromDecemberToJanuary) {
  WriteSettings("[EventLog]\r\nAllState=0\r\n");
  WriteAllMonths(10);  // November and December of 2025 come before the months of 2026
  TnEventLog& f = Start();
  EXPECT_EQ(MonthsListed(), Strings{"12"}) << "the range starts as the current month alone";
  const struct {
    const char *start, *end;
    Strings files;
  } cases[] = {{"11", "2", {"11", "12", "1", "2"}},
               {"5", "5", {"5"}},
               {"3", "9", {"3", "4", "5", "6", "7", "8", "9"}}};
  for (const auto& c : cases) {
    f.Edit3->SetText(c.start);
    f.Edit4->SetText(c.end);
    f.RefreshEventGrid();
    EXPECT_EQ(MonthsListed(), c.files) << c.start << " to " << c.end;
  }
  EXPECT_EQ(ChooseMonths(false, 12, 11, 2).count, 4);
  EXPECT_EQ(ChooseMonths(true, 1, 0, 0).first, 3);
}

TEST_F(ViewerTest, OrderingStepExchangesWithTheRowAboveOnly) {
  const struct {
    std::vector<int> days;  // arrival order
    Strings shown;          // day of each row, top to bottom
  } cases[] = {
      {{3, 2, 1}, {"02", "01", "03"}},
      {{1, 3, 2}, {"01", "02", "03"}},
      {{5, 1, 2, 3}, {"01", "02", "03", "05"}},
      {{4, 4, 4}, {"04", "04", "04"}},
  };
  for (const auto& c : cases) {
    std::string file;
    for (int day : c.days) file += Record(1, At(2026, 12, day));
    WriteMonth(12, file);
    Start();
    Strings days;
    for (const std::string& t : Column(2)) days.push_back(t.substr(3, 2));
    EXPECT_EQ(days, c.shown);
    Strings numbers;
    for (std::size_t i = 1; i <= c.days.size(); ++i) numbers.push_back(std::to_string(i));
    EXPECT_EQ(Column(0), numbers) << "the running numbers stay";
  }
  // Equal times keep their arrival order: the codes tell the records apart.
  WriteMonth(12, Record(7, At(2026, 12, 4)) + Record(3, At(2026, 12, 4)) + Record(9, At(2026, 12, 4)));
  Start();
  EXPECT_EQ(Column(1), (Strings{"7", "3", "9"}));
  // The code, the time and the kind move together; LastListedTime keeps the larger time.
  WriteMonth(12, Record(1, At(2026, 12, 3)) + Record(2, At(2026, 12, 2)) + Record(3, At(2026, 12, 1)));
  Start();
  EXPECT_EQ(Column(1), (Strings{"2", "3", "1"}));
  EXPECT_EQ(Column(3), (Strings{"Program stop", "Start monitor", "Program start"}));
  EXPECT_EQ(form->LastListedTime, At(2026, 12, 3));
}

TEST_F(ViewerTest, FirstRecordOfAFillIsNeverComparedWithTheLastFill) {
  WriteMonth(12, Record(1, At(2026, 12, 8)));
  TnEventLog& f = Start();
  WriteMonth(12, Record(1, At(2026, 12, 1)) + Record(2, At(2026, 12, 2)));
  f.RefreshEventGrid();
  EXPECT_EQ(Column(1), (Strings{"1", "2"}));
}

TEST_F(ViewerTest, OnlyCodesOneToFifteenOfCheckedBoxesAreListed) {
  std::string file;
  int minute = 0;
  for (int code : {0, 1, 5, 15, 16, 255, 6}) file += Record(code, At(2026, 12, 1, 0, ++minute));
  WriteMonth(12, file);
  TnEventLog& f = Start();
  EXPECT_EQ(Column(1), (Strings{"1", "6"})) << "5 and 15 are off by default";
  f.CheckBoxes[15]->SetChecked(true);
  EXPECT_EQ(Column(1), (Strings{"1", "15", "6"}));
  EXPECT_EQ(Column(3)[1], "Other");
  f.CheckBoxes[15]->SetCaption("15.Misc & <more>");
  f.RefreshEventGrid();
  EXPECT_EQ(Column(3)[1], "Misc & <more>") << "the kind's text is read from the box at each fill";
  f.CheckBoxes[1]->SetChecked(false);
  EXPECT_EQ(Column(1), (Strings{"15", "6"}));
  EXPECT_EQ(Column(0), (Strings{"1", "2"})) << "numbers run from 1 without gaps";
  EXPECT_EQ(Column(3)[1], "Power failure");
}

// The kind's text drops the code and its point: one digit up to code 9, two from code 10.
TEST_F(ViewerTest, KindTextDropsTheCodeAndItsPoint) {
  WriteSettings("[EventLog]\r\nState=111111111111111\r\n");
  std::string file;
  int minute = 0;
  for (int code : {1, 9, 10, 15}) file += Record(code, At(2026, 12, 1, 0, ++minute));
  WriteMonth(12, file);
  Start();
  EXPECT_EQ(Column(3), (Strings{"Program start", "UPS shutdown", "Overload", "Other"}));
}

TEST_F(ViewerTest, AFillOfManyRowsReachesTheScreenOnce) {
  std::string file;
  for (int i = 0; i < 300; ++i) file += Record(1 + i % 4, At(2026, 12, 1 + i / 24, i % 24));
  WriteMonth(12, file);
  TnEventLog& f = Start();
  backend.repaints = 0;
  f.RefreshEventGrid();
  EXPECT_EQ(backend.repaints, 1);
  EXPECT_EQ(f.StringGrid1->RowCount(), 301);
}

TEST_F(ViewerTest, ShortFilesAndMissingOnesListWhatTheirWholeRecordsHold) {
  WriteMonth(12,
             Record(1, At(2026, 12, 1)) + Record(2, At(2026, 12, 2)) + std::string(8, '\x01'));  // 40 bytes
  WriteMonth(11, std::string(15, '\x01'));
  WriteMonth(10, "");
  std::filesystem::create_directories(MonthFileName(data.Prefix(), 9));  // exists, cannot be read as a file
  Start();
  EXPECT_EQ(Column(1), (Strings{"1", "2"}));

  WriteMonth(12, "");
  form->RefreshEventGrid();
  EXPECT_EQ(form->StringGrid1->RowCount(), 2) << "no event: the header row and one empty row";
  EXPECT_EQ(Column(0), Strings{""});
  EXPECT_EQ(form->StringGrid1->Cell(0, 0), "No.") << "the header row stays";
}

TEST_F(ViewerTest, TimesFollowTheRegionalSeparatorsAndRecordsOfAnyYearAreListed) {
  system.dateSeparator = '.';
  system.timeSeparator = '-';
  WriteMonth(
      12, Record(1, At(2026, 12, 9, 10, 15, 0)) + Record(2, At(2019, 12, 31, 23, 59, 58)) + Record(3, 1e300));
  Start();
  EXPECT_EQ(Column(2), (Strings{"12.31.2019 23-59-58", "12.09.2026 10-15-00", ""}))
      << "a time off the calendar shows as empty text";
}

TEST_F(ViewerTest, DataFolderLongerThanTwoHundredFiftyCharactersIsUsedWhole) {
#ifdef _WIN32
  GTEST_SKIP() << "the ANSI file calls of Windows stop at 259 characters";
#endif
  std::string deep = data.Prefix();
  while (deep.size() < 300)
    deep += "folder-with-a-long-name" + std::string(1, std::filesystem::path::preferred_separator);
  std::filesystem::create_directories(deep);
  program.Write("UserPath.dat", deep + "\r\n");
  WriteMonthIn(deep, 12, Record(8, At(2026, 12, 2)));
  Start();
  EXPECT_EQ(Column(1), Strings{"8"});
}

TEST(EventLogReader, WholeRecordsInFileOrder) {
  const std::string bytes = Record(3, 1.5) + Record(200, -2.25) + "abc";
  std::vector<EventRecord> seen;
  ForEachEventRecord(bytes, [&](const EventRecord& r) { seen.push_back(r); });
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].code, 3);
  EXPECT_EQ(seen[0].time, 1.5);
  EXPECT_EQ(seen[1].code, 200);
  EXPECT_EQ(seen[1].time, -2.25);
  EXPECT_EQ(MonthFileName("C:\\Data\\", 3), "C:\\Data\\3\\Event.log");
}

}  // namespace
}  // namespace korval::eventbook::test

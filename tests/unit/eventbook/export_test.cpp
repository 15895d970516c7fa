// The export: the texts of the XML and XSL files, the save dialog's proposal, the overwrite question and the
// failures that are reported.
#include "export.h"

#include <string>

#include "viewer_fixture.h"

namespace korval::eventbook::test {
namespace {

using forms::MessageResult;

class ExportTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    WriteMonth(12, Record(5, At(2026, 12, 9, 10, 15, 0)) + Record(1, At(2026, 12, 9, 10, 16, 0)));
    WriteSettings("[EventLog]\r\nState=100010000000000\r\n");
    Start();
    base = out.Prefix() + "Event_12-09";
  }
  void Export(const std::string& chosen) {
    backend.saveAnswers.push_back(chosen);
    app->Dispatch([&] { form->BitBtn1Click(); });
  }
  korval::test::TempDir out;
  std::string base;
};

const char kXsl[] =
    "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
    "<xsl:stylesheet xmlns:xsl=\"http://www.w3.org/1999/XSL/Transform\" version=\"1.0\">\r\n"
    "<xsl:template match=\"/\">\r\n<html>\r\n<body>\r\n<table align=\"center\">\r\n<tr "
    "bgcolor=\"SkyBlue\">\r\n"
    "<td>No.</td><td>Code</td><td>Date/Time</td><td>Event</td></tr>\r\n"
    "<tr><td>1</td><td>5</td><td>12/09/2026 10:15:00</td><td>System shutdown</td></tr>\r\n"
    "<tr><td>2</td><td>1</td><td>12/09/2026 10:16:00</td><td>Program start</td></tr>\r\n"
    "</table>\r\n</body>\r\n</html>\r\n</xsl:template>\r\n</xsl:stylesheet>\r\n";

TEST_F(ExportTest, WritesTheXmlThatNamesItsStyleSheetAndTheGridAsATable) {
  Export(base);
  ASSERT_EQ(backend.saveDialogs.size(), 1u);
  EXPECT_EQ(backend.saveDialogs[0].fileName, "Event_12-09") << "no folder, no extension";
  EXPECT_EQ(backend.saveDialogs[0].filter, "XML File|*.xml");
  EXPECT_EQ(backend.saveDialogs[0].defaultExt, "");
  EXPECT_EQ(out.Read("Event_12-09.xml"),
            "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\r\n"
            "<?mso-application progid=\"Excel.Sheet\"?>\r\n"
            "<?xml-stylesheet type=\"text/xsl\" href=\"Event_12-09.xsl\"?>\r\n"
            "<body>\r\n</body>\r\n");
  EXPECT_EQ(out.Read("Event_12-09.xsl"), kXsl);
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(ExportTest, CancelWritesNothingAndShowsNothing) {
  backend.saveAnswers.push_back(std::nullopt);
  form->BitBtn1Click();
  EXPECT_FALSE(out.Has("Event_12-09.xml"));
  EXPECT_TRUE(backend.boxes.empty());
}

TEST_F(ExportTest, AnExistingXmlFileIsReplacedOnlyAfterYes) {
  out.Write("Event_12-09.xml", "old xml");
  out.Write("Event_12-09.xsl", "old xsl");
  backend.answers.push_back(MessageResult::No);
  Export(base);
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].caption, "Confirm");
  EXPECT_EQ(backend.boxes[0].text, base + " File is Exists, Overwrite it now?");
  EXPECT_EQ(backend.boxes[0].buttons, forms::MessageButtons::YesNo);
  EXPECT_EQ(backend.boxes[0].icon, forms::MessageIcon::Question);
  EXPECT_EQ(out.Read("Event_12-09.xml"), "old xml");
  EXPECT_EQ(out.Read("Event_12-09.xsl"), "old xsl");
  backend.answers.push_back(MessageResult::Yes);
  Export(base);
  EXPECT_EQ(out.Read("Event_12-09.xsl"), kXsl);
  EXPECT_NE(out.Read("Event_12-09.xml"), "old xml");
}

TEST_F(ExportTest, NamesAreUsedAsChosenAndOnlyTheXmlFileIsTested) {
  out.Write("Report.xml.xsl", "old");
  Export(out.Prefix() + "Report.xml");
  EXPECT_TRUE(backend.boxes.empty()) << "an XSL file alone is replaced without a question";
  EXPECT_EQ(out.Read("Report.xml.xsl"), kXsl);
  EXPECT_NE(out.Read("Report.xml.xml").find("href=\"Report.xml.xsl\""), std::string::npos);
  Export(out.Prefix() + "Report.xml");
  ASSERT_EQ(backend.boxes.size(), 1u);
  EXPECT_EQ(backend.boxes[0].text, out.Prefix() + "Report.xml File is Exists, Overwrite it now?");
}

TEST_F(ExportTest, EmptyGridWritesOneRowOfEmptyCells) {
  form->CheckBoxes[1]->SetChecked(false);
  form->CheckBoxes[5]->SetChecked(false);
  Export(base);
  EXPECT_NE(out.Read("Event_12-09.xsl")
                .find("</td></tr>\r\n<tr><td></td><td></td><td></td><td></td></tr>\r\n</table>"),
            std::string::npos);
}

TEST_F(ExportTest, MarkupInCaptionsAndNamesIsEscaped) {
  form->StringGrid1->SetCell(3, 0, "Event <&> \"kind\"\x01");
  form->CheckBoxes[5]->SetCaption("5.Shutdown & <restart>");
  form->RefreshEventGrid();
  Export(out.Prefix() + "A&B 100% #1");
  const std::string xsl = out.Read("A&B 100% #1.xsl");
  EXPECT_NE(xsl.find("<td>Event &lt;&amp;&gt; &quot;kind&quot;?</td></tr>"), std::string::npos);
  EXPECT_NE(xsl.find("<td>Shutdown &amp; &lt;restart&gt;</td>"), std::string::npos);
  EXPECT_NE(out.Read("A&B 100% #1.xml").find("href=\"A&amp;B 100%25 %231.xsl\"?>"), std::string::npos);
}

TEST_F(ExportTest, AFileThatCannotBeWrittenIsReported) {
  std::filesystem::create_directories(out.File("Event_12-09.xml"));  // a folder where the file should go
  backend.answers.push_back(MessageResult::Yes);
  Export(base);
  ASSERT_EQ(backend.boxes.size(), 2u);
  EXPECT_EQ(backend.boxes[1].text, "Cannot create file " + base + ".xml");
  EXPECT_FALSE(out.Has("Event_12-09.xsl")) << "the style sheet is not begun";
}

TEST(ExportText, EncodingNamesAndFileNameParts) {
  EXPECT_EQ(EncodingName(950), "Big5");
  EXPECT_EQ(EncodingName(1252), "windows-1252");
  EXPECT_EQ(EncodingName(932), "Shift_JIS");
  EXPECT_EQ(EncodingName(1251), "windows-1251");
  EXPECT_EQ(FileNamePart("C:\\Logs\\Event_12-09"), "Event_12-09");
  EXPECT_EQ(FileNamePart("D:name"), "name");
  EXPECT_EQ(FileNamePart("a/b"), "b");
  EXPECT_EQ(FileNamePart("plain"), "plain");
}

}  // namespace
}  // namespace korval::eventbook::test

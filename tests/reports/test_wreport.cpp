#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "codepage.h"
#include "scripted_ui.h"
#include "test_util.h"
#include "wreport.h"

namespace {

QByteArray crlfLines(const QStringList& lines) {
  QByteArray out;
  for (const QString& l : lines) out += FromUnicode(l, CodePage::Cp1250) + "\r\n";
  return out;
}

const QStringList kFrmOpening = {
    R"(<?xml version="1.0" encoding="ISO-8859-1" ?>)",
    "<root>",
    "   <layout-master-set>",
    "   <simple-page-master",
    R"(     page-master-name="PAGE0")",
    R"(     page-height="380MM")",
    R"(     page-width="210MM">)",
    "</simple-page-master>",
    "</layout-master-set>",
    "<page-sequence>",
    R"(<sequence-specification-single page-master-name="PAGE0">)",
    R"(<flow section-name="xsl-body">)",
};
const QStringList kFrmClosing = {"</flow>", "</sequence-specification-single>", "</page-sequence>",
                                 "</root>"};

QStringList control(int top, int left, int width, int height, const QString& seq,
                    const QString& text) {
  return {QStringLiteral(R"(<block  top="%1" left="%2" width="%3" height="%4" border-width="0">)")
              .arg(top)
              .arg(left)
              .arg(width)
              .arg(height),
          seq, text, "</inline-sequence>", "</block>"};
}

class WreportLayoutTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedUi ui;
  TWreport report{QStringLiteral("Wreport1")};
  QString path(const QString& ext) { return dir.filePath("R" + ext); }
};

// Bands stand in the order they were placed, controls by position, fonts and texts spelled as
// the renderer expects them: a text of exactly "0" is written "a".
TEST_F(WreportLayoutTest, BandsInPlacementOrderControlsByPosition) {
  auto& g = report.Add<TWGroup>("WGroup1");
  auto& footer = g.Add<TWFooter>("WFooter1");
  footer.Height = 30;
  footer.RepeatNewpage = false;
  auto& sum = footer.Add<TWField>("WField3", {400, 4, 80, 16});
  sum.Alignment = taRightJustify;
  sum.Font.Name = "MS Sans Serif";
  auto& header = g.Add<TWHeader>("WHeader1");
  header.Height = 50;
  header.MinSpaceInpage = 120;
  header.BorderSize = 2;
  header.Add<TWLabel>("WLabel2", {300, 10, 40, 16}).Caption = "right";
  header.Add<TWLabel>("WLabel1", {5, 10, 40, 16}).Caption = "0";
  auto& title = header.Add<TWLabel>("WLabel3", {5, 2, 300, 20});
  title.Caption = QStringLiteral("Két\r\nsoros ő ű");
  title.Font.Bold = title.Font.Italic = title.Font.Underline = true;
  title.Font.Size = 12;
  title.Bordersize = 1;
  auto& page = header.Add<TWPageNo>("WPageNo1", {600, 10, 30, 16});
  page.Alignment = taCenter;
  page.Font.Name = "Courier New";
  auto& detail = g.Add<TWDetail>("WDetail1");
  detail.Height = 1200;
  detail.Add<TWField>("WField1", {8, 0, 60, 16});

  report.MakeForm(dir.path() + "/", "R");
  EXPECT_TRUE(ui.Calls().isEmpty());

  const QString plain = R"(<inline-sequence font-family="Arial" font-size="8" text-align="left">)";
  QStringList frm = kFrmOpening;
  frm << R"(<block ID="WFooter1" top="0" left="0" width="645" height="30" minspace="0" repeatnewpage="FALSE" border-width="0">)"
      << control(
             4, 400, 80, 16,
             R"(<inline-sequence font-family="Times New Roman" font-size="8" text-align="right">)",
             "[WField3]")
      << "</block>"
      << R"(<block ID="WHeader1" top="30" left="0" width="645" height="50" minspace="120" repeatnewpage="TRUE" border-width="2">)"
      << QStringList{R"(<block  top="2" left="5" width="300" height="20" border-width="1">)",
                     R"(<inline-sequence font-family="Arial" font-size="12" font-style="italic"  font-wight="bold"  font-decoration="underline"  text-align="left">)",
                     QStringLiteral("Két  soros ő ű"), "</inline-sequence>", "</block>"}
      << control(10, 5, 40, 16, plain, "a") << control(10, 300, 40, 16, plain, "right")
      << control(10, 600, 30, 16,
                 R"(<inline-sequence font-family="Courier New" font-size="8" text-align="center">)",
                 "[PageNo]")
      << "</block>"
      << R"(<block ID="WDetail1" top="80" left="0" width="645" height="1200" minspace="0" border-width="0">)"
      << control(0, 8, 60, 16, plain, "[WField1]") << "</block>" << kFrmClosing;
  EXPECT_EQ(ReadFileBytes(path(".frm")), crlfLines(frm));
  EXPECT_EQ(ReadFileBytes(path(".def")),
            crlfLines({R"(<?xml version="1.0" encoding="ISO-8859-1" ?>)", "<MEZOK>",
                       "[WField3],[WField1],", "</MEZOK>"}));
}

// Page header and footer are laid out where they stand among the report's children; bands
// of no group and components of foreign roles are left out; nested groups come in place.
TEST_F(WreportLayoutTest, WalkVisitsPageBandsAndNestedGroupsOnly) {
  auto& pageFooter = report.Add<TWFooter>("WPageFooter");
  pageFooter.Tag = wtPageFooter;
  pageFooter.Height = 10;
  pageFooter.Add<TWField>("WFPF", {0, 0, 10, 10});
  report.Add<TWHeader>("WStray").Add<TWField>("WFStray");  // Tag 1 directly in the report
  auto& g1 = report.Add<TWGroup>("WGroup1");
  auto& inner = g1.Add<TWGroup>("WGroup2");
  inner.Add<TWDetail>("WDetail1").Add<TWField>("WFD");
  g1.Add<TWHeader>("WHeader1").Add<TWField>("WFH");
  auto& pageHeader = report.Add<TWHeader>("WPageHeader");
  pageHeader.Tag = wtPageHeader;
  pageHeader.Height = 7;

  report.MakeForm(dir.path(), "R");
  const QByteArray frm = ReadFileBytes(path(".frm"));
  QStringList ids;
  for (const QByteArray& line : frm.split('\n')) {
    if (line.startsWith("<block ID="))
      ids << QString::fromLatin1(line.mid(0, line.indexOf(" left")));
  }
  EXPECT_EQ(ids, QStringList(
                     {R"(<block ID="WPageFooter" top="0")", R"(<block ID="WDetail1" top="10")",
                      R"(<block ID="WHeader1" top="35")", R"(<block ID="WPageHeader" top="85")"}));
  EXPECT_EQ(ReadFileBytes(path(".def")),
            crlfLines({R"(<?xml version="1.0" encoding="ISO-8859-1" ?>)", "<MEZOK>",
                       "[WFPF],[WFD],[WFH],", "</MEZOK>"}));

  TWreport empty("Wreport2");
  empty.MakeFieldList(dir.path(), "E");
  EXPECT_EQ(
      ReadFileBytes(dir.filePath("E.def")),
      crlfLines({R"(<?xml version="1.0" encoding="ISO-8859-1" ?>)", "<MEZOK>", "", "</MEZOK>"}));
}

TEST(ReportText, DetailHeightsAndLineBreaks) {
  const std::pair<int, const char*> heights[] = {{25, "025"},     {7, "007"},   {0, "000"},
                                                 {100, "100"},    {999, "999"}, {1000, "1000"},
                                                 {12345, "12345"}};
  for (const auto& [h, text] : heights) EXPECT_EQ(DetailHeightText(h), text) << h;
  EXPECT_EQ(ReportLineText("a\r\nb\nc\rd <&\">"), "a  b c d <&\">");
}

}  // namespace

// Reading the report files and cutting them into pages, the kept printer choice, fonts.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QPageLayout>
#include <QProcess>
#include <QTemporaryDir>

#include "codepage.h"
#include "exceptions.h"
#include "printer_settings.h"
#include "printer_setup_dialog.h"
#include "report_document.h"
#include "test_util.h"

namespace {

QByteArray crlf(const QStringList& lines) {
  QByteArray out;
  for (const QString& l : lines) out += FromUnicode(l, CodePage::Cp1250) + "\r\n";
  return out;
}

const char kSequenceStart[] = R"(<sequence-specification-single page-master-name="PAGE0">)";
const char kSequenceEnd[] = "</sequence-specification-single>";

TEST(ReportData, ValueLinesAreTakenAsWritten) {
  TReportData data;
  data.Parse({R"(<?xml version="1.0" encoding="ISO-8859-1" ?>)", "<REPORT>",
              R"(<info Title="Lista "A"" Email="e@x" Fax="">)", "</info>",
              R"(<GROUP ID="WGroup1">)", R"(<DETAIL ID="WDetail1" height="1200">)",
              QStringLiteral("WF1=a=b <ő> \"ű\" &"), "WF2=", "WF3=</DETAIL>", "</DETAIL>",
              "</GROUP>", "</REPORT>"});
  EXPECT_EQ(data.Title, "Lista \"A\"");
  EXPECT_EQ(data.Email, "e@x");
  ASSERT_EQ(data.Events.size(), 3u);
  const TDataElement& d = data.Events[1];
  EXPECT_EQ(d.Height, 1200);
  QString v;
  EXPECT_TRUE(d.Value("WF1", v));
  EXPECT_EQ(v, QStringLiteral("a=b <ő> \"ű\" &"));
  EXPECT_TRUE(d.Value("WF3", v));
  EXPECT_EQ(v, "</DETAIL>");
  EXPECT_FALSE(d.Value("WF9", v));
  EXPECT_EQ(data.DetailCount(), 1);
}

TEST(ReportData, BrokenFilesAreRefused) {
  const QList<QStringList> broken = {
      {"<REPORT>", R"(<GROUP ID="G">)", "</REPORT>"},            // group left open
      {"<REPORT>", R"(<DETAIL ID="D" height="017">)", "WF1=x"},  // cut short
      {"<REPORT>", R"(<HEADER ID="H">)", "no value line", "</HEADER>", "</REPORT>"},
      {"<REPORT>", "<SOMETHING>", "</REPORT>"},
      {"<REPORT>", "</REPORT>", "<GROUP>"},
      {"<REPORT>", "</GROUP>", "</REPORT>"},
  };
  for (const QStringList& lines : broken) {
    TReportData data;
    EXPECT_THROW(data.Parse(lines), Exception) << lines.join(" | ").toStdString();
  }
}

// A report of headers and details whose pages are cut at a known height.
class PaginateTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  TReportDocument doc;

  void load(const QStringList& events, bool repeat, int detailMinSpace = 0) {
    auto block = [](const QString& id, int h, const QString& extra) {
      return QStringList{
          QStringLiteral(
              R"(<block ID="%1" top="0" left="0" width="640" height="%2" minspace="%3 border-width="0">)")
              .arg(id)
              .arg(h)
              .arg(extra),
          "</block>"};
    };
    const QString flag = repeat ? "TRUE" : "FALSE";
    WriteFileBytes(
        dir.filePath("R.frm"),
        crlf(QStringList{kSequenceStart} + block("WH1", 30, "0\" repeatnewpage=\"" + flag + "\"") +
             block("WH2", 20, "0\" repeatnewpage=\"" + flag + "\"") +
             block("WD1", 25, QString::number(detailMinSpace) + "\"") +
             block("WF1", 10, "0\" repeatnewpage=\"FALSE\"") +
             QStringList{kSequenceEnd, "</root>"}));
    WriteFileBytes(dir.filePath("R.def"), crlf({"<MEZOK>", "", "</MEZOK>"}));
    WriteFileBytes(dir.filePath("R.xml"),
                   crlf(QStringList{"<REPORT>"} + events + QStringList{"</REPORT>"}));
    doc.Load(dir.filePath("R.xml"), QString());
  }
  // Each page as "band@y".
  QStringList pages(double height) {
    doc.Paginate(height);
    QStringList out;
    for (const TReportPage& p : doc.Pages()) {
      QStringList bands;
      for (const TPlacedBand& b : p.Bands)
        bands << QStringLiteral("%1@%2").arg(b.Data->Name).arg(b.Y);
      out << bands.join(' ');
    }
    return out;
  }
};

QStringList events(int details) {
  QStringList e = {R"(<GROUP ID="G1">)", R"(<HEADER ID="WH1">)", "</HEADER>",
                   R"(<GROUP ID="G2">)", R"(<HEADER ID="WH2">)", "</HEADER>"};
  for (int i = 0; i < details; ++i)
    e << R"(<DETAIL ID="WD1" height="025">)"
      << "</DETAIL>";
  e << "</GROUP>"
    << R"(<FOOTER ID="WF1">)"
    << "</FOOTER>"
    << "</GROUP>";
  return e;
}

TEST_F(PaginateTest, OpenGroupHeadersRepeatOnEveryNewPage) {
  load(events(4), true);
  EXPECT_EQ(pages(105), QStringList({"WH1@0 WH2@30 WD1@50 WD1@75", "WH1@0 WH2@30 WD1@50 WD1@75",
                                     "WH1@0 WF1@30"}));  // the inner group has closed
  load(events(4), false);
  EXPECT_EQ(pages(105), QStringList({"WH1@0 WH2@30 WD1@50 WD1@75", "WD1@0 WD1@25 WF1@50"}));
  // A band that needs more room than is left moves on; one taller than a page still prints.
  load(events(1), false, 70);
  EXPECT_EQ(pages(105), QStringList({"WH1@0 WH2@30", "WD1@0 WF1@25"}));
  load(events(2), false);
  EXPECT_EQ(pages(10), QStringList({"WH1@0", "WH2@0", "WD1@0", "WD1@0", "WF1@0"}));
}

// A text too wide or too tall for its box is set smaller; one that does not fit even at the
// smallest readable size is cut at the box's edge. Read back from the PDF as pixels.
TEST(ReportFit, TextsStayInsideTheirBoxes) {
  QTemporaryDir dir;
  auto control = [](const QString& field, int left, int top, int width, int height) {
    return QStringList{
        QStringLiteral(R"(<block  top="%1" left="%2" width="%3" height="%4" border-width="0">)")
            .arg(top)
            .arg(left)
            .arg(width)
            .arg(height),
        R"(<inline-sequence font-family="Arial" font-size="8" text-align="left">)",
        '[' + field + ']', "</inline-sequence>", "</block>"};
  };
  WriteFileBytes(
      dir.filePath("R.frm"),
      crlf(
          QStringList{
              kSequenceStart,
              R"(<block ID="WD1" top="0" left="0" width="640" height="60" minspace="0" border-width="0">)"} +
          control("WFLong", 0, 0, 40, 16) + control("WFNext", 100, 0, 40, 16) +
          control("WFLow", 0, 30, 60, 8) + QStringList{"</block>", kSequenceEnd, "</root>"}));
  WriteFileBytes(dir.filePath("R.def"),
                 crlf({"<MEZOK>", "[WFLong],[WFNext],[WFLow],", "</MEZOK>"}));
  WriteFileBytes(dir.filePath("R.xml"),
                 crlf({"<REPORT>", R"(<GROUP ID="G">)", R"(<DETAIL ID="WD1" height="060">)",
                       QStringLiteral("WFLong=Értékcsökkenési leírás előző évekről"), "WFNext=X",
                       "WFLow=1 200 000.00", "</DETAIL>", "</GROUP>", "</REPORT>"}));
  TReportDocument doc;
  doc.Load(dir.filePath("R.xml"), QString());
  doc.WritePdf(dir.filePath("R.pdf"),
               QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
  QProcess raster;
  raster.start("pdftoppm",
               {"-r", "150", "-gray", "-singlefile", dir.filePath("R.pdf"), dir.filePath("R")});
  ASSERT_TRUE(raster.waitForFinished(60000) && raster.exitCode() == 0);
  const QImage page(dir.filePath("R.pgm"));
  ASSERT_FALSE(page.isNull());
  const double px = page.width() / 640.0;  // image pixels per design pixel
  // Dark pixels in a rectangle of design pixels.
  auto ink = [&](double left, double top, double right, double bottom) {
    int dark = 0;
    for (int y = int(top * px); y < int(bottom * px); ++y)
      for (int x = int(left * px); x < int(right * px); ++x) dark += qGray(page.pixel(x, y)) < 128;
    return dark;
  };
  EXPECT_GT(ink(0, 0, 40, 16), 0);
  EXPECT_EQ(ink(40, 0, 100, 16), 0) << "the long text runs out of its box";
  EXPECT_GT(ink(100, 0, 140, 16), 0);
  EXPECT_GT(ink(0, 30, 60, 38), 0);
  EXPECT_EQ(ink(0, 38, 640, 60), 0) << "the amount runs out of its low box";
  EXPECT_EQ(ink(60, 30, 640, 38), 0);
}

TEST(PrinterSettings, TheChoiceIsKeptForLaterPrints) {
  QTemporaryDir dir;
  TPrinterSettings fresh;
  fresh.Load(dir.path());  // nothing chosen yet: A4 portrait
  EXPECT_EQ(fresh.Layout.pageSize().id(), QPageSize::A4);
  EXPECT_EQ(fresh.Layout.orientation(), QPageLayout::Portrait);

  TPrinterSetupDialog dialog(fresh);
  dialog.SetPageLayout(QPageLayout(QPageSize(QSizeF(200, 300), QPageSize::Millimeter),
                                   QPageLayout::Landscape, QMarginsF(5, 15, 7.5, 20),
                                   QPageLayout::Millimeter));
  EXPECT_TRUE(dialog.LabelOldal->text().contains(QStringLiteral("fekvő")));
  dialog.Settings().Save(dir.path());

  TPrinterSettings later;
  later.Load(dir.path());
  EXPECT_EQ(later.PrinterName, "");
  EXPECT_EQ(later.Layout.orientation(), QPageLayout::Landscape);
  EXPECT_NEAR(later.Layout.pageSize().size(QPageSize::Millimeter).width(), 200, 0.5);
  EXPECT_NEAR(later.Layout.pageSize().size(QPageSize::Millimeter).height(), 300, 0.5);
  EXPECT_EQ(later.Layout.margins(QPageLayout::Millimeter), QMarginsF(5, 15, 7.5, 20));
}

TEST(ReportFonts, LayoutFontsMapToInstalledOnes) {
  const std::pair<const char*, const char*> cases[] = {
      {"DejaVu Serif", "DejaVu Serif"},
      {"Times New Roman", "DejaVu Serif"},
      {"Arial", "DejaVu Sans"},
      {"MS Sans Serif", "DejaVu Sans"},
      {"Courier New", "DejaVu Sans Mono"},
      {"", "DejaVu Sans"},
  };
  for (const auto& [family, mapped] : cases) EXPECT_EQ(MapFontFamily(family), mapped) << family;
}

}  // namespace

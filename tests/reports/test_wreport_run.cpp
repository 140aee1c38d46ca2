#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "codepage.h"
#include "data_source.h"
#include "data_source_rows.h"
#include "exceptions.h"
#include "memory_data_set.h"
#include "memory_row_source.h"
#include "sample_report.h"
#include "scripted_ui.h"
#include "test_util.h"
#include "wr_printer.h"
#include "wreport.h"

namespace {

using Kind = TMemoryRowSource::Kind;

QStringList fileLines(const QString& path) {
  const QString text = ToUnicode(ReadFileBytes(path), CodePage::Cp1250);
  EXPECT_TRUE(text.endsWith("\r\n")) << path.toStdString();
  QStringList lines = text.split("\r\n");
  lines.removeLast();
  return lines;
}

// The three files of the cost-location list over twelve assets in two nested groups, as the
// renderer reads them.
TEST(WreportGolden, SampleReportFiles) {
  QTemporaryDir dir;
  ScriptedUi ui;
  TSampleReport sample;
  sample.AddGoldenRows();
  sample.Write(dir.path() + '/', "leltliskltsh");
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('\n').toStdString();
  for (const char* ext : {".xml", ".def", ".frm"})
    ExpectGolden(ReadFileBytes(dir.filePath(QStringLiteral("leltliskltsh") + ext)),
                 QStringLiteral("reports/golden/leltliskltsh") + ext);

  // The points the golden file must not lose when it is regenerated.
  const QStringList xml = fileLines(dir.filePath("leltliskltsh.xml"));
  auto after = [&](const QString& line, int from = 0) { return int(xml.indexOf(line, from)); };
  // Sums by the field's own position: the text columns before them shift nothing.
  const int k01 = after("<FOOTER ID=\"WFooter2\">");
  ASSERT_GT(k01, 0);
  EXPECT_EQ(xml.mid(k01 + 1, 3), QStringList({QStringLiteral("WF2Koltsh=K01 Iroda"),
                                              "WF2Brutto=968 990.50", "WF2Ecssz=258864.1"}));
  // The last group's footer shows the last group, not the one before it.
  const int k02 = after("<FOOTER ID=\"WFooter2\">", k01 + 1);
  EXPECT_EQ(xml.value(k02 + 1), QStringLiteral("WF2Koltsh=K02 Műhely"));
  EXPECT_EQ(xml.value(after("<FOOTER ID=\"WFooter3\">") + 1), "WF3Szamla=1411");
  const int total = after("<FOOTER ID=\"WFooter1\">");
  EXPECT_EQ(xml.mid(total + 1, 3),
            QStringList({"WF1Brutto=22 469 490.75", "WF1Ecssz=4318964.15", "WF1Menny=25"}));
  // Values go out unescaped; a line break would split a value line.
  EXPECT_GE(after(QStringLiteral("WFMegnev=Fűtőkészülék \"Hő\" <gáz>")), 0);
  EXPECT_GE(after(QStringLiteral("WFMegnev=Számítógép  monitorral")), 0);
  EXPECT_EQ(xml.count("<GROUP ID=\"WGroup1\">"), 1);  // no key: one group for the whole run
  EXPECT_EQ(xml.count("<GROUP ID=\"WGroup2\">"), 2);
  EXPECT_EQ(xml.count("<GROUP ID=\"WGroup3\">"), 5);
}

// The same report over a dataset, as the listings run it, gives the same files.
TEST(WreportGolden, SampleReportOverADataset) {
  QTemporaryDir dir;
  ScriptedUi ui;
  TMemoryDataSet assets;
  for (const char* name : {"KOLTSHELY", "SZAMLA", "LELTSZAM", "MEGNEV"})
    assets.AddFieldDef(name, ftString, 40);
  assets.AddFieldDef("BRUTTO", ftFloat);
  assets.AddFieldDef("ECSSZ", ftFloat);
  assets.AddFieldDef("MENNYISEG", ftInteger);
  assets.Open();
  assets.FieldByName("BRUTTO")->SetCurrency(true);
  for (const QVariantList& row : TSampleReport::GoldenRows()) assets.AppendRecord(row);
  TDataSource DSKartfej;
  DSKartfej.SetDataSet(&assets);
  TDataSourceRows rows(DSKartfej);
  TSampleReport sample(&rows);
  sample.Write(dir.path() + '/', "leltliskltsh");
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('\n').toStdString();
  for (const char* ext : {".xml", ".def", ".frm"})
    ExpectGolden(ReadFileBytes(dir.filePath(QStringLiteral("leltliskltsh") + ext)),
                 QStringLiteral("reports/golden/leltliskltsh") + ext);
}

class WreportRunTest : public ::testing::Test {
 protected:
  QTemporaryDir dir;
  ScriptedUi ui;
  TWRPrinterPF printer;
  TMemoryRowSource rows{{{"KEY", Kind::String}, {"NAME", Kind::String}, {"AMOUNT", Kind::Float}}};
  TWreport report{QStringLiteral("Wreport1")};

  void SetUp() override {
    printer.FileName = dir.path() + '/';
    report.Printer = &printer;
    report.Datasource = &rows;
  }
  QStringList run() {
    report.Execute("R");
    return fileLines(dir.filePath("R.xml"));
  }
};

const QStringList kXmlOpening = {R"(<?xml version="1.0" encoding="ISO-8859-1" ?>)", "<REPORT>",
                                 R"(<info Title="" Email="" Fax="">)", "</info>"};

// An empty dataset still prints the main group's header and its footer with zero sums.
TEST_F(WreportRunTest, EmptyDatasetPrintsMainGroupOnce) {
  auto& g = report.Add<TWGroup>("WGroup1");
  g.Datasource = &rows;
  g.Add<TWHeader>("WHeader1").Add<TWField>("WFName").Bind(rows, "NAME");
  auto& d = g.Add<TWDetail>("WDetail1");
  d.Height = 7;
  d.Add<TWField>("WFD").Bind(rows, "NAME");
  auto& f = g.Add<TWFooter>("WFooter1");
  f.Add<TWField>("WFSum").Bind(rows, "AMOUNT");
  f.Add<TWLabel>("WLabel1").Caption = "x";
  f.Add<TWPageNo>("WPageNo1").Hint = "only in headers";
  printer.ScaleY = 0.5;

  const QStringList empty = kXmlOpening + QStringList{R"(<GROUP ID="WGroup1">)",
                                                      R"(<HEADER ID="WHeader1">)",
                                                      "WFName=",
                                                      "</HEADER>",
                                                      R"(<FOOTER ID="WFooter1">)",
                                                      "WFSum=0",
                                                      "</FOOTER>",
                                                      "</GROUP>",
                                                      "</REPORT>"};
  EXPECT_EQ(run(), empty);
  EXPECT_EQ(printer.CurrentY, 50);  // (header 50 + footer 50) * 0.5
  EXPECT_EQ(printer.PageNo, 1);
  EXPECT_EQ(printer.Lines, QStringList{"TAG <FOOTER>"});

  rows.AddRow({"A", "one", 1.5});
  rows.AddRow({"A", "two", 2});
  const QStringList lines = run();
  EXPECT_EQ(lines.mid(8, 6),
            QStringList({R"(<DETAIL ID="WDetail1" height="007">)", "WFD=one", "</DETAIL>",
                         R"(<DETAIL ID="WDetail1" height="007">)", "WFD=two", "</DETAIL>"}));
  EXPECT_TRUE(lines.contains("WFSum=3.5"));
  EXPECT_EQ(printer.CurrentY, 0.5 * (50 + 7 + 7 + 50));  // the second run starts again at 0
}

// Keys compare exactly; a header runs its handler before its lines are written; each group
// sums only its own rows; a run starts from the first row wherever the rows stand.
TEST_F(WreportRunTest, GroupBreaksOnExactKeyAndRestartsSums) {
  for (const auto& [key, amount] : {std::pair{"A", 1.0}, {"a", 2.0}, {"a", 4.0}, {"B", 8.0}})
    rows.AddRow({key, QStringLiteral("n"), amount});
  auto& g1 = report.Add<TWGroup>("WGroup1");
  auto& g2 = g1.Add<TWGroup>("WGroup2");
  g2.Datasource = &rows;
  g2.DataField = "KEY";
  auto& h = g2.Add<TWHeader>("WHeader2");
  auto& key = h.Add<TWField>("WFKey");
  int entered = 0;
  h.OnEnter = [&] { key.Hint = QString::number(++entered); };
  g2.Add<TWDetail>("WDetail1");
  g2.Add<TWFooter>("WFooter2").Add<TWField>("WFSum").Bind(rows, "AMOUNT");

  rows.SetRow(3);  // left on the last row by an earlier use
  QStringList lines = run();
  QStringList shown;
  for (const QString& l : lines)
    if (l.startsWith("WF")) shown << l;
  EXPECT_EQ(shown, QStringList({"WFKey=1", "WFSum=1", "WFKey=2", "WFSum=6", "WFKey=3", "WFSum=8"}));
  EXPECT_EQ(lines.count(R"(<GROUP ID="WGroup2">)"), 3);
  EXPECT_EQ(lines.count(R"(<GROUP ID="WGroup1">)"), 1);
}

TEST(ReportSums, TextsTheGroupAdds) {
  struct Case {
    const char* text;
    QChar thousands, decimal;
    bool ok;
    double value;
  };
  const Case cases[] = {
      {"1 234,50", u' ', u',', true, 1234.5}, {" 1 234 567.25 ", u' ', u'.', true, 1234567.25},
      {"-12,5", u' ', u',', true, -12.5},     {"1.234,5", u'.', u',', true, 1234.5},
      {"abc", u' ', u',', false, 0},          {"", u' ', u'.', false, 0},
      {"1,2,3", u' ', u',', false, 0},        {"inf", u' ', u'.', false, 0},
  };
  for (const Case& c : cases) {
    double v = 0;
    EXPECT_EQ(ReportSumValue(c.text, c.thousands, c.decimal, v), c.ok) << c.text;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(v, c.value) << c.text;
    }
  }
  EXPECT_EQ(ReportSumText(1234567.5, true), "1 234 567.50");
  EXPECT_EQ(ReportSumText(-1234.005, true), "-1 234.01");
  EXPECT_EQ(ReportSumText(300.3, false), "300.3");
  EXPECT_EQ(ReportSumText(0, false), "0");
}

// A field that cannot be read is reported and skipped; texts that are no numbers are skipped
// silently; the run goes on to a complete file.
TEST_F(WreportRunTest, SummationFaultsAreShownAndTheRunGoesOn) {
  rows.AddRow({"A", "x", QVariant()});
  rows.AddRow({"A", "y", 5});
  auto& g = report.Add<TWGroup>("WGroup1");
  g.Datasource = &rows;
  g.Add<TWDetail>("WDetail1").Add<TWField>("WFName").Bind(rows, "NAME");
  g.Add<TWFooter>("WFooter1").Add<TWField>("WFSum").Bind(rows, "AMOUNT");
  const QStringList lines = run();
  EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("hiba Wgroup összegzésnél/1 i=2 AMOUNT ")});
  EXPECT_TRUE(lines.contains("WFSum=5"));
  EXPECT_EQ(lines.last(), "</REPORT>");

  ui.Clear();
  TMemoryRowSource broken{{{"KEY", Kind::String}}};
  broken.AddRow({"A"});
  broken.AddRow({QVariant()});  // the second row's key cannot be read
  report.Datasource = &broken;
  g.Datasource = &broken;
  g.DataField = "KEY";
  EXPECT_EQ(run().last(), "</REPORT>");
  EXPECT_EQ(ui.Texts(), QStringList{QStringLiteral("Hiba Wgroup.newdeatil -ban")});
}

// A band handler that fails (a listing's query) is told with its own error; its band is left
// out and every group still closes, so the renderer can read the file.
TEST_F(WreportRunTest, FailingBandHandlersLeaveTheGroupsClosed) {
  rows.AddRow({"A", "x", 1});
  rows.AddRow({"A", "y", 2});
  rows.AddRow({"B", "z", 3});
  const struct {
    const char* band;
    const char* key;  // the group whose band fails; empty: every time
    QString message;
    int printed;  // elements of the failing band left in the file
  } cases[] = {
      {"WFooter2", "B", QStringLiteral("Hiba Wgroup.stop -ban"), 1},  // A's, on the row of B
      {"WHeader2", "B", QStringLiteral("Hiba Wgroup.newdeatil -ban"), 1},
      {"WHeader2", "A", QStringLiteral("Hiba Wgroup.newdeatil -ban"), 1},
      {"WFooter1", "", QStringLiteral("Hiba Wgroup.stop -ban"), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.band) + " " + c.key);
    ui.Clear();
    TWreport r(QStringLiteral("Wreport1"));
    r.Printer = &printer;
    r.Datasource = &rows;
    auto& g1 = r.Add<TWGroup>("WGroup1");
    g1.Datasource = &rows;
    auto& g2 = g1.Add<TWGroup>("WGroup2");
    g2.Datasource = &rows;
    g2.DataField = "KEY";
    TWBand* bands[] = {&g2.Add<TWHeader>("WHeader2"), &g2.Add<TWDetail>("WDetail2"),
                       &g2.Add<TWFooter>("WFooter2"), &g1.Add<TWFooter>("WFooter1")};
    bands[1]->Add<TWField>("WFName").Bind(rows, "NAME");
    for (TWBand* band : bands) {
      band->OnEnter = [&c, band, this] {
        if (band->Name == QLatin1String(c.band) &&
            (!*c.key || (!rows.Eof() && rows.Text(0) == QLatin1String(c.key))))
          throw EDatabaseError(QStringLiteral("MySQL Error Table 'KARTTET' doesn't exist"));
      };
    }
    r.Execute("R");
    const QStringList lines = fileLines(dir.filePath("R.xml"));
    int depth = 0;
    for (const QString& line : lines) {
      if (line.startsWith(QLatin1String("<GROUP "))) ++depth;
      if (line == QLatin1String("</GROUP>")) {
        ASSERT_GE(--depth, 0);
      }
    }
    EXPECT_EQ(depth, 0);
    EXPECT_EQ(lines.count(QStringLiteral("<GROUP ID=\"WGroup2\">")), 2);
    EXPECT_EQ(lines.last(), "</REPORT>");
    EXPECT_EQ(lines.filter(QStringLiteral(" ID=\"%1\"").arg(QLatin1String(c.band))).size(),
              c.printed);
    EXPECT_EQ(lines.filter(QStringLiteral("WFName=")).size(), 3);
    EXPECT_EQ(
        ui.Texts(),
        QStringList{c.message + QStringLiteral("\nMySQL Error Table 'KARTTET' doesn't exist")});
  }
}

// The data file is the caller's: a directory that cannot take it fails the run. A long user
// directory is used whole.
TEST_F(WreportRunTest, FileErrorsPropagateAndLongDirectoriesWork) {
  report.Add<TWGroup>("WGroup1").Add<TWDetail>("WDetail1");
  rows.AddRow({"A", "x", 1});
  const QString deep = dir.filePath(QString(70, u'u') + '/' + QString(40, u'v'));
  ASSERT_TRUE(QDir().mkpath(deep));
  printer.FileName = deep + '/';
  report.Execute("R");
  EXPECT_TRUE(ReadFileBytes(deep + "/R.xml").endsWith("</REPORT>\r\n"));

  WriteFileBytes(dir.filePath("plain"), "x");
  for (const QString& bad : {dir.filePath("missing/"), dir.filePath("plain/")}) {
    printer.FileName = bad;
    EXPECT_THROW(report.Execute("R"), EInOutError) << bad.toStdString();
  }
  EXPECT_TRUE(ui.Calls().isEmpty());
}

// Each faulty layout is named with its message; the run goes on with the first band of each
// kind and still writes a complete file.
TEST_F(WreportRunTest, LayoutChecksNameEachFault) {
  struct Case {
    const char* what;
    std::function<void(TWreport&)> build;
    QStringList texts;
    QStringList captions;
  };
  auto group = [](TWreport& r) -> TWGroup& { return r.Add<TWGroup>("WGroup1"); };
  const QList<Case> cases = {
      {"second page header",
       [](TWreport& r) {
         r.Add<TWHeader>("WPH1").Tag = wtPageHeader;
         r.Add<TWHeader>("WPH2").Tag = wtPageHeader;
       },
       {QStringLiteral("Több PageHeader van!")},
       {"Report Hiba"}},
      {"second page footer",
       [](TWreport& r) {
         r.Add<TWFooter>("WPF1").Tag = wtPageFooter;
         r.Add<TWFooter>("WPF2").Tag = wtPageFooter;
       },
       {QStringLiteral("Több PageFooter van!")},
       {"Report Hiba"}},
      {"second main group",
       [&](TWreport& r) {
         group(r);
         r.Add<TWGroup>("WGroup2");
       },
       {QStringLiteral("Több MainGroup van!")},
       {"Report Hiba"}},
      {"foreign child of the report",
       [](TWreport& r) { r.Add<TWDetail>("WDetail9"); },
       {"Nem megengedett elem: WDetail9"},
       {"Report Hiba"}},
      {"second group header, footer, detail",
       [&](TWreport& r) {
         auto& g = group(r);
         g.Add<TWHeader>("WH1");
         g.Add<TWHeader>("WH2");
         g.Add<TWFooter>("WF1");
         g.Add<TWFooter>("WF2");
         g.Add<TWDetail>("WD1");
         g.Add<TWDetail>("WD2");
         g.Add<TWLabel>("WLabel1");
       },
       {QStringLiteral("Több group header!"), QStringLiteral("Több group Footer!"),
        QStringLiteral("Több Detail!"), "Nem megengedett elem: WLabel1"},
       {"Hiba", "Hiba", "Hiba", "Group Hiba"}},
      {"second subgroup and subgroup with detail",
       [&](TWreport& r) {
         auto& g = group(r);
         g.Add<TWGroup>("WG2");
         g.Add<TWGroup>("WG3");
         g.Add<TWDetail>("WD1");
       },
       {QStringLiteral("Több SubGroup!"), QStringLiteral("nem lehet SubGroup és Detail együtt!")},
       {"Hiba", "Group Hiba"}},
      {"foreign controls of page header, page footer and detail",
       [&](TWreport& r) {
         auto& ph = r.Add<TWHeader>("WPH1");
         ph.Tag = wtPageHeader;
         ph.Add<TWPageNo>("WPageNo1");
         ph.Add<TWDetail>("WDX");
         auto& pf = r.Add<TWFooter>("WPF1");
         pf.Tag = wtPageFooter;
         pf.Add<TWGroup>("WGX");
         auto& g = group(r);
         auto& d = g.Add<TWDetail>("WD1");
         d.Add<TWLabel>("WLabel1");
         d.Add<TWPageNo>("WPageNo2");
         g.Add<TWHeader>("WH1").Add<TWDetail>("WNotChecked");  // group headers are not checked
       },
       {"Nem megengedett elem: WDX", "Nem megengedett elem: WGX", "Nem megengedett elem: WPageNo2"},
       {"ReportHeader Hiba", "ReportHeader Hiba", "ReportHeader Hiba"}},
  };
  rows.AddRow({"A", "x", 1});
  for (const Case& c : cases) {
    ui.Clear();
    TWreport r("Wreport1");
    r.Printer = &printer;
    r.Datasource = &rows;
    c.build(r);
    r.Execute("R");
    QStringList captions;
    for (const auto& call : ui.Calls()) {
      EXPECT_EQ(call.kind, ScriptedUi::Kind::MessageBox) << c.what;
      captions << call.caption;
    }
    EXPECT_EQ(ui.Texts(), c.texts) << c.what;
    EXPECT_EQ(captions, c.captions) << c.what;
    EXPECT_EQ(fileLines(dir.filePath("R.xml")).last(), "</REPORT>") << c.what;
  }
}

}  // namespace

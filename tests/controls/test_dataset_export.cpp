#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include "codepage.h"
#include "dataset_export.h"
#include "exceptions.h"
#include "memory_data_set.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_table.h"

namespace {

const QString kTitle = QStringLiteral("Eszközök \"A\" & B");

// Three assets with the characters that need care in every format.
class DatasetExport : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.Exec(
        "CREATE TABLE ESZK (KOD CHAR(5) NOT NULL, NEV VARCHAR(30) NOT NULL, "
        "ERTEK DOUBLE NOT NULL, DATUM DATE NOT NULL)");
    db.Exec(
        "INSERT INTO ESZK VALUES ('00001', 'Fúró \"nagy\"', 1234.5, '2024-01-31'), "
        "('00002', 'Kés & villa', 0, '1900-01-01'), ('00003', 'Őrlő <ű>', -12.25, '2005-07-01')");
    table.SetDatabase(&db.Db());
    table.SetTablename(QStringLiteral("ESZK"));
    table.SetIndexFields(QStringLiteral("KOD"));
    table.Open();
    table.FieldByName(QStringLiteral("ERTEK"))->SetCurrency(true);
  }
  QString Path(const QString& name) const { return dir.filePath(name); }
  QByteArray Written(const QString& name) const { return ReadFileBytes(Path(name)); }

  TestDatabase db;
  TUniSQLTable table;
  QTemporaryDir dir;
};

TEST_F(DatasetExport, CsvDefaultMatchesTheGoldenFile) {
  ExportCSV(&table, Path("a.csv"), u';', true, true);
  const QByteArray bytes = Written("a.csv");
  EXPECT_EQ(bytes.size(), 143);
  EXPECT_TRUE(bytes.startsWith("\"KOD\";\"NEV\";\"ERTEK\";\"DATUM\";\r\n"));
  EXPECT_TRUE(bytes.contains(FromUnicode(
      QStringLiteral("\"00001\";\"Fúró 'nagy'\";1 234.50;2024.01.31;\r\n"), CodePage::Cp1250)));
  EXPECT_TRUE(bytes.contains("\"00002\";\"K\xE9s & villa\";0.00;;\r\n"));
  EXPECT_EQ(table.RecNo(), 3);  // left on the last row
  ExpectGolden(bytes, QStringLiteral("controls/golden/export.csv"));
}

TEST_F(DatasetExport, CsvWithTabAndNoQuotesBlanksTheSeparatorOnly) {
  db.Exec("UPDATE ESZK SET NEV = 'a\tb;c' WHERE KOD = '00002'");
  table.Reopen();
  ExportCSV(&table, Path("t.csv"), u'\t', false, false);
  const QByteArray bytes = Written("t.csv");
  EXPECT_TRUE(bytes.contains("00002\ta b;c\t0.00\t\t\r\n")) << bytes.constData();
  EXPECT_FALSE(bytes.contains("KOD"));
}

TEST_F(DatasetExport, LineBreaksInValuesBecomeBlanks) {
  db.Exec("UPDATE ESZK SET NEV = 'egy\r\nketto\nharom' WHERE KOD = '00002'");
  table.Reopen();
  ExportCSV(&table, Path("n.csv"), u';', true, false);
  ExportXML(&table, Path("n.xml"), false, kTitle);
  EXPECT_TRUE(Written("n.csv").contains("\"egy ketto harom\";"));
  EXPECT_TRUE(Written("n.xml").contains("<NEV>egy ketto harom</NEV>"));
}

TEST_F(DatasetExport, XmlTableFormMatchesTheGoldenFileAndParses) {
  ExportXML(&table, Path("t.xml"), true, kTitle);
  const QByteArray bytes = Written("t.xml");
  EXPECT_EQ(bytes.size(), 790);
  const QString text = ToUnicode(bytes, CodePage::Cp1250);
  EXPECT_TRUE(text.startsWith("<?xml version=\"1.0\" encoding=\"windows-1250\" ?>\r\n"));
  EXPECT_TRUE(text.contains("<TABLE TITLE=\"Eszközök 'A' &amp; B\">\r\n"));
  EXPECT_TRUE(text.contains(
      "  <TD NAME=\"KOD\"  TYPE=\"STRING\"  SIZE=\"5\"  LABEL=\"KOD\"  WIDTH=\"12\">KOD</TD>\r\n"));
  EXPECT_TRUE(text.contains("WIDTH=\"75\">NEV<"));
  EXPECT_TRUE(text.contains("TYPE=\"FLOAT\"  SIZE=\"0\"  LABEL=\"ERTEK\"  WIDTH=\"25\""));
  EXPECT_TRUE(text.contains("TYPE=\"DATE\"  SIZE=\"0\"  LABEL=\"DATUM\"  WIDTH=\"25\""));
  EXPECT_TRUE(text.contains(
      "  <TD>00001</TD><TD>Fúró &quot;nagy&quot;</TD><TD>1234.50</TD><TD>2024.01.31</TD>\r\n"));
  ExpectGolden(bytes, QStringLiteral("controls/golden/export_table.xml"));

  QXmlStreamReader xml(bytes);
  QStringList cells;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("TD"))
      cells << xml.readElementText();
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  ASSERT_EQ(cells.size(), 16);
  EXPECT_EQ(cells[5], QStringLiteral("Fúró \"nagy\""));
  EXPECT_EQ(cells[13], QStringLiteral("Őrlő <ű>"));
}

TEST_F(DatasetExport, XmlPlainFormMatchesTheGoldenFileAndParses) {
  ExportXML(&table, Path("p"), false, kTitle);  // no "." in the name: ".xml" is added
  const QByteArray bytes = Written("p.xml");
  EXPECT_EQ(bytes.size(), 547);
  const QString text = ToUnicode(bytes, CodePage::Cp1250);
  EXPECT_TRUE(text.contains("<NEV>Őrlő &lt;ű&gt;</NEV>\r\n"));
  EXPECT_TRUE(bytes.contains("\xD5rl\xF5 &lt;\xFB&gt;"));  // Windows-1250 bytes
  ExpectGolden(bytes, QStringLiteral("controls/golden/export_plain.xml"));
  QXmlStreamReader xml(bytes);
  int records = 0;
  while (!xml.atEnd())
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("RECORD"))
      ++records;
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(records, 3);
}

TEST_F(DatasetExport, HtmlHasALinePerHeadAndPerRow) {
  ExportHTML(&table, Path("h.htm"), kTitle, true, true);
  const QStringList lines = ToUnicode(Written("h.htm"), CodePage::Cp1250).split("\r\n");
  const QStringList expectedStart = {
      "<HTML>",
      "<HEAD>",
      "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=windows-1250\">",
      "<TITLE>Eszközök &quot;A&quot; &amp; B</TITLE>",
      "</HEAD>",
      "<BODY>",
      "<CENTER><H1>Eszközök &quot;A&quot; &amp; B</H1></CENTER>",
      "<CENTER>",
      "<TABLE BORDER=\"1\">",
      "<TR>",
      "<TH>KOD</TH>",
      "<TH>NEV</TH>",
      "<TH>ERTEK</TH>",
      "<TH>DATUM</TH>",
      "</TR>",
      "<TR>"};
  EXPECT_EQ(lines.mid(0, expectedStart.size()), expectedStart);
  EXPECT_TRUE(
      lines.contains("  <TD>00003&nbsp;</TD><TD>Őrlő "
                     "&lt;ű&gt;&nbsp;</TD><TD>-12.25&nbsp;</TD><TD>2005.07.01&nbsp;</TD>"));
  EXPECT_EQ(lines.mid(lines.size() - 6),
            QStringList({"</TR>", "</TABLE>", "</CENTER>", "</BODY>", "</HTML>", ""}));

  ExportHTML(&table, Path("h2.htm"), kTitle, false, false, false);
  const QString plain = ToUnicode(Written("h2.htm"), CodePage::Cp1250);
  EXPECT_FALSE(plain.contains("<H1>"));
  EXPECT_FALSE(plain.contains("<CENTER>"));
  EXPECT_FALSE(plain.contains("<TH>"));
}

TEST_F(DatasetExport, AnEmptyDatasetGivesOnlyTheHeaderParts) {
  db.Exec("DELETE FROM ESZK");
  table.Reopen();
  ExportXML(&table, Path("e.xml"), true, kTitle);
  EXPECT_TRUE(Written("e.xml").endsWith("</TH>\r\n</TABLE>\r\n"));
  ExportCSV(&table, Path("e.csv"), u';', true, true);
  EXPECT_EQ(Written("e.csv"), QByteArray("\"KOD\";\"NEV\";\"ERTEK\";\"DATUM\";\r\n"));
  ExportCSV(&table, Path("e2.csv"), u';', true, false);
  EXPECT_EQ(Written("e2.csv"), QByteArray());
}

TEST_F(DatasetExport, AMissingFolderRaisesAndWritesNothing) {
  const QString path = Path("nincs/a.csv");
  EXPECT_THROW(ExportCSV(&table, path, u';', true, true), EInOutError);
  EXPECT_FALSE(QFile::exists(path));
}

TEST(ExportNames, ExtensionAndProposedName) {
  struct Case {
    const char* name;
    const char* format;
    const char* expected;
  } cases[] = {{"lista", "XML", "lista.XML"},       {"lista.xml", "XML", "lista.xml"},
               {"adatok.csv", "CSV", "adatok.csv"}, {"adatok.txt", "CSV", "adatok.txt.CSV"},
               {"a.htm", "HTM", "a.htm"},           {"a.html", "HTM", "a.html"},
               {"x.xml", "HTM", "x.xml.HTM"}};
  for (const Case& c : cases)
    EXPECT_EQ(ExportFileName(c.name, c.format), QString(c.expected)) << c.name << " " << c.format;
  EXPECT_EQ(ProposedExportFileName(QStringLiteral("Tárgyi eszköz / Immat.jav: \"fő\" <a>|*?\\")),
            QStringLiteral("Tárgyi eszköz _ Immat.jav_ _fő_ _a_____"));
}

TEST(ExportNames, TypeNamesAndWidthRounding) {
  EXPECT_EQ(FieldTypeName(ftString), "STRING");
  EXPECT_EQ(FieldTypeName(ftInteger), "INTEGER");
  EXPECT_EQ(FieldTypeName(ftFloat), "FLOAT");
  EXPECT_EQ(FieldTypeName(ftDate), "DATE");
  EXPECT_EQ(FieldTypeName(ftDateTime), "DATETIME");
  EXPECT_EQ(FieldTypeName(ftTime), "VARIANT");

  QTemporaryDir dir;
  TMemoryDataSet data;
  data.AddFieldDef(QStringLiteral("A"), ftString, 5);
  data.AddFieldDef(QStringLiteral("B"), ftString, 7);
  data.Open();
  const QString path = dir.filePath("w.xml");
  ExportXML(&data, path, true, QString());
  const QByteArray bytes = ReadFileBytes(path);
  EXPECT_TRUE(bytes.contains("WIDTH=\"12\">A<"));  // 12.5 to even
  EXPECT_TRUE(bytes.contains("WIDTH=\"18\">B<"));  // 17.5 to even
}

}  // namespace

// Times the XML import of 1,000 and of 10,000 assets and the CSV import of the same 10,000
// assets: the CSV files hold the rows the XML import wrote, and loading them gives the same
// tables again. Not a test: run it by hand against the private server (ZARN_DB_* in the
// environment, ZARN_SOURCE_DIR for the scripts).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "codepage.h"
#include "csv_import.h"
#include "import_test_util.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "xml_asset_import.h"

namespace {

const QStringList kTables{QStringLiteral("KARTFEJ"), QStringLiteral("KARTTET"),
                          QStringLiteral("KULCSOK")};

QByteArray XmlFile(int assets) {
  QString text = QStringLiteral("<?xml version=\"1.0\"?>\r\n<ESZKOZOK>\r\n");
  for (int a = 1; a <= assets; ++a)
    text += QStringLiteral(
                "<ESZKOZ LELTSZAM=\"%1\" NEV=\"Esztergagép\" GYARTO=\"Gépker &amp; Tsa\" "
                "TIPUS=\"E-400\" BESZERZES=\"05.03.22\" BESZERZESIAR=\"1 200 000,00\" "
                "ECSSTART=\"05.04.01\" AMORTIP=\"1\" KULCS=\"14,50\">\r\n"
                "<ESEMENY DATUM=\"2005.03.22\" BIZSZAM=\"SZ-101\" ECS=\"0,00\"/>\r\n"
                "<ESEMENY DATUM=\"2006.12.31\" BIZSZAM=\"SZ-202\" ECS=\"217 500,00\"/>\r\n"
                "<BESZERTEK>1 200 000,00</BESZERTEK><OSZZERTNOV>300 000,00</OSZZERTNOV>\r\n"
                "<ELOZOEVECS>130 500,00</ELOZOEVECS><TARGYEVECS>217 500,00</TARGYEVECS>\r\n"
                "<NETTO/>\r\n</ESZKOZ>\r\n")
                .arg(a, 6, 10, QChar('0'));
  return FromUnicode(text + QStringLiteral("</ESZKOZOK>\r\n"), CodePage::Cp852);
}

void EmptyTables(TestDatabase& db) {
  db.Exec(QStringLiteral("DELETE FROM KARTFEJ; DELETE FROM KARTTET; DELETE FROM KULCSOK"));
}

double TimeXmlImport(TestDatabase& db, const QString& dir, int assets) {
  EmptyTables(db);
  const QString path = dir + QStringLiteral("/e%1.xml").arg(assets);
  WriteFileBytes(path, XmlFile(assets));
  QElapsedTimer clock;
  clock.start();
  EXPECT_EQ(ImportXmlAssets(db.Db(), path), assets);
  return clock.nsecsElapsed() / 1e9;
}

// Each table as the CSV import reads it: its columns in order, texts quoted, UTF-8 with a mark.
void WriteCsvFiles(TestDatabase& db, const QString& dir) {
  for (const QString& table : kTables) {
    const QStringList columns = Rows(
        db, QStringLiteral("SELECT IF(DATA_TYPE IN ('char', 'varchar'), CONCAT('CONCAT(''\"'', "
                           "REPLACE(', COLUMN_NAME, ', ''\"'', ''\"\"''), ''\"'')'), "
                           "COLUMN_NAME) FROM INFORMATION_SCHEMA.COLUMNS WHERE TABLE_SCHEMA "
                           "= DATABASE() AND TABLE_NAME = '%1' ORDER BY ORDINAL_POSITION")
                .arg(table));
    const QStringList lines = Rows(db, QStringLiteral("SELECT CONCAT_WS(';', %1) FROM %2")
                                           .arg(columns.join(QStringLiteral(", ")), table));
    WriteFileBytes(dir + '/' + table + QStringLiteral(".CSV"),
                   "\xEF\xBB\xBF" + (lines.join(QStringLiteral("\r\n")) + "\r\n").toUtf8());
  }
}

double TimeCsvImport(TestDatabase& db, const QString& dir) {
  EmptyTables(db);
  ScriptedUi ui;
  CsvImportOptions options;
  options.dir = dir;
  options.stepMessages = false;
  QList<CsvTableChoice> tables;
  for (const QString& table : kTables) tables.append({table, true, true});
  QElapsedTimer clock;
  clock.start();
  const CsvImportResult result = CsvImport(db.Db()).Run(tables, options);
  const double seconds = clock.nsecsElapsed() / 1e9;
  EXPECT_EQ(result, CsvImportResult::Done) << ui.Texts().join('\n').toStdString();
  return seconds;
}

TEST(ImportBenchmark, XmlByAssetsBesideCsvOfTheSameAssets) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  QTemporaryDir dir;
  const double xml1000 = TimeXmlImport(db, dir.path(), 1000);
  const double xml10000 = TimeXmlImport(db, dir.path(), 10000);
  const QString written = CompanyChecksums(db);
  EXPECT_EQ(db.Value(QStringLiteral("select count(*) from KARTTET")), "50000");
  WriteCsvFiles(db, dir.path());
  const double csv = TimeCsvImport(db, dir.path());
  EXPECT_EQ(CompanyChecksums(db), written) << "the CSV files hold other rows";
  std::printf(
      "xml import 1000 assets: %.2f s, 10000 assets: %.2f s, growth %.2f, csv import of the "
      "same 10000 assets: %.2f s, xml/csv %.2f\n",
      xml1000, xml10000, xml10000 / xml1000, csv, xml10000 / csv);
  std::fflush(stdout);
}

}  // namespace

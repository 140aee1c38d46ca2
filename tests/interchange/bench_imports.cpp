// Times the CSV import beside the server's own LOAD DATA LOCAL of the same files in one
// transaction, and the XML import of 1,000 and 10,000 assets. Not a test: run it by hand
// against the private server (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the scripts).
#include <gtest/gtest.h>
#include <mysql.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "codepage.h"
#include "company_databases.h"
#include "csv_import.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "transaction.h"
#include "uni_sql_query.h"
#include "xml_asset_import.h"

namespace {

void WriteCsvFiles(const QString& dir) {
  QByteArray kartfej, karttet, kulcsok;
  for (int a = 1; a <= 10000; ++a) {
    const QByteArray key = QByteArray::number(a).rightJustified(6, '0');
    kartfej += key + ";\"Eszk\xF6z " + key +
               "\";\"Gy\xE1rt\xF3\";\"T\";\"GY\";2005.03.15;T;1200000;0;10;"
               "2005-04-01;1900-01-01;1900-01-01;1311;1319;571;1.00;K1;7;161;\"megj\"\r\n";
    for (int i = 0; i < 12; ++i)
      karttet += key +
                 ";2005-12-31;4;\"\";\"\xC9"
                 "CS LEIR\xC1S\";0;0;1200000;0;1000;1000;1199000;"
                 "0;1000;1000;1199000;0.00;" +
                 QByteArray::number(i) + "\r\n";
    for (int y = 0; y < 10; ++y)
      kulcsok += key + ';' + QByteArray::number(2005 + y) + ";14.5;14.5\r\n";
  }
  WriteFileBytes(dir + "/KARTFEJ.CSV", kartfej);
  WriteFileBytes(dir + "/KARTTET.CSV", karttet);
  WriteFileBytes(dir + "/KULCSOK.CSV", kulcsok);
}

double TimeOurImport(TestDatabase& db, const QString& dir) {
  ScriptedUi ui;
  CsvImportOptions options;
  options.dir = dir;
  options.stepMessages = false;
  QElapsedTimer clock;
  clock.start();
  const CsvImportResult result = CsvImport(db.Db()).Run(
      {{"KARTFEJ", true, true}, {"KARTTET", true, true}, {"KULCSOK", true, true}}, options);
  const double seconds = clock.nsecsElapsed() / 1e9;
  EXPECT_EQ(result, CsvImportResult::Done) << ui.Texts().join('\n').toStdString();
  return seconds;
}

// The server's own loader with the client library's own file handler, same statement.
double TimeServerLoad(TestDatabase& db, const QString& dir) {
  TUniSQLDatabase conn;
  conn.SetLocalInfile(true);
  ConnectLike(conn, db.Db(), db.Name());
  mysql_set_local_infile_default(conn.Handle());
  QElapsedTimer clock;
  clock.start();
  TTransaction transaction(conn);
  for (const char* table : {"KARTFEJ", "KARTTET", "KULCSOK"}) {
    RunStatements(conn, QStringLiteral("DELETE FROM ") + table);
    RunStatements(conn,
                  QStringLiteral("LOAD DATA LOCAL INFILE '%1/%2.CSV' INTO TABLE %2 "
                                 "CHARACTER SET cp1250 FIELDS TERMINATED BY ';' OPTIONALLY "
                                 "ENCLOSED BY '\"' ESCAPED BY '' LINES TERMINATED BY '\\r\\n'")
                      .arg(conn.EscapeString(dir), QLatin1String(table)));
  }
  transaction.Commit();
  return clock.nsecsElapsed() / 1e9;
}

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

TEST(ImportBenchmark, CsvBesideServerLoadAndXmlByAssets) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  QTemporaryDir dir;
  WriteCsvFiles(dir.path());
  // Alternating, so cache and buffer pool treat both alike.
  double ours = 1e9, server = 1e9;
  for (int round = 0; round < 2; ++round) {
    server = std::min(server, TimeServerLoad(db, dir.path()));
    ours = std::min(ours, TimeOurImport(db, dir.path()));
  }
  EXPECT_EQ(db.Value("select count(*) from KARTTET"), "120000");
  std::printf(
      "CSV import of 10,000 assets, 120,000 items, 100,000 rates: %.2f s; server's own "
      "LOAD DATA LOCAL in one transaction: %.2f s; ratio %.2f (goal <= 1.5)\n",
      ours, server, ours / server);

  double times[2];
  const int sizes[2] = {1000, 10000};
  for (int i = 0; i < 2; ++i) {
    db.Exec("DELETE FROM KARTFEJ; DELETE FROM KARTTET; DELETE FROM KULCSOK");
    const QString path = dir.filePath(QStringLiteral("e%1.xml").arg(sizes[i]));
    WriteFileBytes(path, XmlFile(sizes[i]));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ImportXmlAssets(db.Db(), path), sizes[i]);
    times[i] = clock.nsecsElapsed() / 1e9;
  }
  std::printf(
      "XML import: 1,000 assets %.2f s (%.2f ms/asset), 10,000 assets %.2f s (%.2f ms/asset); "
      "ratio %.1f for 10x the assets (goal linear)\n",
      times[0], times[0], times[1], times[1] / 10, times[1] / times[0]);
  std::fflush(stdout);
}

}  // namespace

// Times the inventory list over a generated register beside its floor: one query of every
// asset's last item and as many data-file lines written through the report file. Not a test:
// run it by hand against the private server (ZARN_DB_* in the environment).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "listing_reports.h"
#include "report_file.h"
#include "test_database.h"
#include "uni_sql_query.h"

namespace {

const char* const kTypes = "024444";  // acquisition, activation, four write-offs

void Generate(TestDatabase& db, int assets) {
  QStringList masters, items;
  auto flush = [&] {
    if (!masters.isEmpty())
      db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT) VALUES " + masters.join(','));
    if (!items.isEmpty())
      db.Exec(
          "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTO, ECSSZ, NETTOSZ, MENNYISEG) "
          "VALUES " +
          items.join(','));
    masters.clear();
    items.clear();
  };
  for (int a = 1; a <= assets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    masters << QStringLiteral("('%1', 'Eszköz %1', '2015-01-01')").arg(key);
    for (int i = 0; i < 6; ++i)
      items << QStringLiteral("('%1', '%2-12-31', '%3', %4, %5, %6, %7)")
                   .arg(key)
                   .arg(2015 + i)
                   .arg(QChar(kTypes[i]))
                   .arg(100000 + a)
                   .arg(i * 1000)
                   .arg(100000 + a - i * 1000)
                   .arg(i == 0 ? 1 : 0);
    if (a % 500 == 0) flush();
  }
  flush();
}

// One query of every asset with its last item, and one line per asset in a report file.
double Floor(TestDatabase& db, const QString& dir) {
  QElapsedTimer timer;
  timer.start();
  TUniSQLQuery q;
  q.SetDatabase(&db.Db());
  q.SetSQL(QStringList{
      "SELECT F.LELTSZAM, F.MEGNEV, F.BESZKELT, X.BRUTTO, X.ECSSZ, X.NETTOSZ FROM KARTFEJ F",
      "LEFT JOIN (SELECT T.LELTSZAM, T.BRUTTO, T.ECSSZ, T.NETTOSZ, ROW_NUMBER() OVER",
      "  (PARTITION BY T.LELTSZAM ORDER BY T.DATUM DESC, T.TIPUS DESC) RN FROM KARTTET T) X",
      "  ON X.LELTSZAM = F.LELTSZAM AND X.RN = 1 ORDER BY F.LELTSZAM"});
  q.Open();
  TReportFile file(dir + "/floor.xml");
  for (q.First(); !q.Eof(); q.Next()) {
    file.Line(QStringLiteral("<DETAIL ID=\"WDetail1\" height=\"018\">"));
    for (int i = 0; i < q.FieldCount(); ++i)
      file.ValueLine(QStringLiteral("WField%1").arg(i + 1), q.Fields(i)->DisplayText());
    file.Line(QStringLiteral("</DETAIL>"));
  }
  file.Close();
  return timer.elapsed() / 1000.0;
}

TEST(Benchmark, InventoryList) {
  const int assets = 10000;
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  Generate(db, assets);
  QTemporaryDir dir;
  const TAssetRange range{"000001", "999999", QDate(2000, 1, 1), QDate(2030, 12, 31)};
  QElapsedTimer timer;
  timer.start();
  WriteLeltlisReport(db.Db(), range, false, false, "bench", dir.path() + "/");
  const double list = timer.elapsed() / 1000.0;
  const double floor = Floor(db, dir.path());
  std::printf(
      "inventory list, %d assets x 6 items: %.2f s, one query of the last items and %d lines: "
      "%.2f s (%.2fx)\n",
      assets, list, assets, floor, list / floor);
}

}  // namespace

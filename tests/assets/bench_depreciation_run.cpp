// Times a one-year depreciation run over 10,000 generated assets beside inserting the same run
// lines and write-off items with multi-row INSERTs in one transaction. Not a test: run it by
// hand against the private server (ZARN_DB_*, ZARN_SOURCE_DIR).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

#include "balance_recalc.h"
#include "depreciation_run.h"
#include "test_database.h"
#include "transaction.h"

namespace {

constexpr int kAssets = 10000;

void InsertRows(TestDatabase& db, const QString& head, const QStringList& rows) {
  for (int i = 0; i < rows.size(); i += 500)
    db.Exec(head + rows.mid(i, 500).join(','));
}

TEST(Benchmark, DepreciationRun) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  {
    TTransaction transaction(db.Db());
    QStringList masters, items, rates;
    for (int a = 1; a <= kAssets; ++a) {
      const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
      masters << QStringLiteral("('%1', 'Eszköz', %2)").arg(key).arg(a % 7 * 1000);
      items << QStringLiteral("('%1', '2004-03-10', '0', %2), ('%1', '2004-07-01', '2', 0), "
                              "('%1', '2005-03-01', '3', 50000)")
                   .arg(key)
                   .arg(1000000 + a);
      rates << QStringLiteral("('%1', 2005, 14.5, 20)").arg(key);
    }
    InsertRows(db, "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES ", masters);
    InsertRows(db, "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES ", items);
    InsertRows(db, "INSERT INTO KULCSOK VALUES ", rates);
    transaction.Commit();
  }
  RecalcAllBalances(db.Db());
  // The last write-off at the end of 2004, so the run covers the whole of 2005.
  db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTO, NETTO, NETTOSZ) SELECT LELTSZAM, "
          "'2004-12-31', '4', BRUTTO, NETTO, NETTOSZ FROM KARTTET WHERE TIPUS = '2'");
  RecalcAllBalances(db.Db());

  QElapsedTimer timer;
  timer.start();
  const auto result = DepreciationRun(db.Db()).Run(QDate(2005, 12, 31), {}, false,
                                                   [](const QString&) {});
  const double run = timer.elapsed() / 1000.0;

  // The same rows again, read back and inserted with multi-row INSERTs in one transaction.
  db.Exec("CREATE TABLE L AS SELECT * FROM SZAMITAS WHERE 1 = 0");
  db.Exec("CREATE TABLE I AS SELECT * FROM KARTTET WHERE 1 = 0");
  QStringList lines, writeOffs;
  for (int a = 1; a <= kAssets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    lines << QStringLiteral("('2005-12-31', '2005-01-01', '2005-02-28', '%1', 59, 1000000.00, "
                            "20.00, 32000.00, 14.50, 23000.00, 900000.00, 900000.00, ' ', ' ', 0), "
                            "('2005-12-31', '2005-03-01', '2005-12-31', '%1', 306, 1050000.00, "
                            "20.00, 170000.00, 14.50, 123000.00, 700000.00, 800000.00, ' ', ' ', 0)")
                 .arg(key);
    writeOffs << QStringLiteral("('%1', '2005-12-31', '4', '', 'ÉCS LEIRÁS', 0, 0, 1050000, 0, "
                                "146000, 200000, 850000, 0, 202000, 202000, 848000, 0, 0)")
                     .arg(key);
  }
  timer.restart();
  {
    TTransaction transaction(db.Db());
    InsertRows(db, "INSERT INTO L VALUES ", lines);
    InsertRows(db, "INSERT INTO I VALUES ", writeOffs);
    transaction.Commit();
  }
  const double inserts = timer.elapsed() / 1000.0;
  std::printf("%d assets, %d run lines, %d items: run %.2f s, multi-row INSERTs %.2f s (%.2fx)\n",
              kAssets, result.lines, result.items, run, inserts, run / inserts);
}

}  // namespace

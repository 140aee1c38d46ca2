// Times one card item post with its card recalculation under the item locks (what the item
// form does on OK) on cards of 10, 100 and 1,000 items, beside the same UPDATEs of the card's
// items and master row sent directly in one transaction. Not a test: run it by hand against
// the private server (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the creation scripts).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

#include "asset_store.h"
#include "test_database.h"
#include "transaction.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

void Card(TestDatabase& db, int items) {
  db.Exec("DELETE FROM KARTTET");
  db.Exec("DELETE FROM KARTFEJ");
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Eszterga')");
  QStringList rows;
  for (int i = 0; i < items; ++i)
    rows << QStringLiteral("('00001', DATE_ADD('2000-01-01', INTERVAL %1 DAY), '%2', %3, %4, %5)")
                .arg(i)
                .arg(i == 0   ? '0'
                     : i == 1 ? '2'
                              : '4')
                .arg(i == 0 ? 1000000 : 0)
                .arg(i > 1 ? 100 : 0)
                .arg(i > 1 ? 150 : 0);
  db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, ECSNSZ) VALUES " +
          rows.join(','));
  RecalcAssetBalances(db.Db(), "00001");
}

double PostOne(TestDatabase& db) {
  TUniSQLTable items;
  items.SetDatabase(&db.Db());
  items.SetTablename("KARTTET");
  items.SetIndexFields("DATUM, TIPUS");
  items.SetFilter("LELTSZAM = '00001'");
  items.SetFiltered(true);
  items.Open();
  items.Append();
  items.FieldByName("LELTSZAM")->SetAsString("00001");
  items.FieldByName("DATUM")->SetAsDate(QDate(1999, 12, 31));  // first: every balance changes
  items.FieldByName("TIPUS")->SetAsString("3");
  items.FieldByName("BRUTTONOV")->SetAsFloat(5000);
  QElapsedTimer clock;
  clock.start();
  TLockedWork work(db.Db(), kItemLocks);
  items.Post();
  RecalcAssetBalances(db.Db(), "00001");
  work.Commit();
  return clock.nsecsElapsed() / 1e6;
}

double DirectUpdates(TestDatabase& db, int items) {
  QElapsedTimer clock;
  clock.start();
  TTransaction work(db.Db());
  RunStatements(db.Db(),
                "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES "
                "('00001', '1999-12-30', '3', 5000)");
  for (int k = 0; k <= items; ++k)
    RunStatements(db.Db(), QStringLiteral("UPDATE KARTTET SET BRUTTO = BRUTTO + 5000, SORSZAM = %1 "
                                          "WHERE LELTSZAM = '00001' AND SORSZAM = %1 LIMIT 1")
                               .arg(k));
  RunStatements(db.Db(), "UPDATE KARTFEJ SET AKTKELT = '2000-01-02' WHERE LELTSZAM = '00001'");
  work.Commit();
  return clock.nsecsElapsed() / 1e6;
}

}  // namespace

TEST(BenchItemPost, OnePostWithItsRecalculation) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  for (int n : {10, 100, 1000}) {
    Card(db, n);
    const double post = PostOne(db);
    Card(db, n);
    const double direct = DirectUpdates(db, n);
    std::printf(
        "item post on a card of %d items: %.1f ms; the same UPDATEs directly: %.1f ms; "
        "ratio %.2f\n",
        n, post, direct, direct > 0 ? post / direct : 0.0);
  }
}

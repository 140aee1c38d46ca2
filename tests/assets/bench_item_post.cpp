// Times one card item post with its card recalculation under the item locks (what the item
// form does on OK) on cards of 10, 100 and 1,000 items, and one changed item of a card of 12 in
// registers of 1,000 and 10,000 assets, each beside the same UPDATEs of the card's items and
// master row sent directly in one transaction. Not a test: run it by hand against the private
// server (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the creation scripts).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "asset_store.h"
#include "balance_recalc.h"
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
  ChangeCardUnderLock(db.Db(), "00001", [&] { items.Post(); });
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

constexpr int kItemsPerAsset = 12;

// assets assets of 12 items each: the acquisition, the activation and ten write-offs, a month
// apart, with their balances.
void Register(TestDatabase& db, int assets) {
  db.Exec("DELETE FROM KARTTET");
  db.Exec("DELETE FROM KARTFEJ");
  db.Exec("set session max_recursive_iterations = 1000000");
  db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, BESZERTEK) "
                         "WITH RECURSIVE s(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM s "
                         "WHERE n < %1) SELECT LPAD(n + 1, 5, '0'), 'Eszterga', '2000-01-01', "
                         "1200000 FROM s")
              .arg(assets - 1));
  db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, "
                         "ECSNSZ) WITH RECURSIVE s(n) AS (SELECT 0 UNION ALL SELECT n + 1 FROM "
                         "s WHERE n < %1) SELECT LPAD(n div %2 + 1, 5, '0'), '2000-01-01' + "
                         "INTERVAL (n mod %2) MONTH, ELT(LEAST(n mod %2, 2) + 1, '0', '2', '4'), "
                         "IF(n mod %2 = 0, 1200000, 0), IF(n mod %2 > 1, 10000, 0), "
                         "IF(n mod %2 > 1, 12000, 0) FROM s")
              .arg(assets * kItemsPerAsset - 1)
              .arg(kItemsPerAsset));
  db.Exec("ANALYZE TABLE KARTFEJ, KARTTET");
  RecalcAllBalances(db.Db());
}

QString Number(int asset) { return QStringLiteral("%1").arg(asset, 5, 10, QLatin1Char('0')); }

// The item form's OK on a changed write-off: the item posted through a table over the card,
// then the card recalculated, under the item locks.
double ChangeOneItem(TestDatabase& db, int asset, double amount) {
  TUniSQLTable items;
  items.SetDatabase(&db.Db());
  items.SetTablename("KARTTET");
  items.SetIndexFields("DATUM, TIPUS");
  items.SetFilter("LELTSZAM = '" + Number(asset) + "'");
  items.SetFiltered(true);
  items.Open();
  items.SetRecNo(6);
  items.Edit();
  items.FieldByName("ECSNOV")->SetAsFloat(amount);
  QElapsedTimer clock;
  clock.start();
  ChangeCardUnderLock(db.Db(), Number(asset), [&] { items.Post(); });
  return clock.nsecsElapsed() / 1e6;
}

// The same UPDATEs by key: the item, the balances of the card's items, the master row.
double ChangeOneItemDirectly(TestDatabase& db, int asset, double amount) {
  const QString number = Number(asset);
  QElapsedTimer clock;
  clock.start();
  TTransaction work(db.Db());
  RunStatements(db.Db(), QStringLiteral("UPDATE KARTTET SET ECSNOV = %1 WHERE LELTSZAM = '%2' "
                                        "AND DATUM = '2000-06-01' AND TIPUS = '4' LIMIT 1")
                             .arg(amount)
                             .arg(number));
  for (int k = 1; k <= kItemsPerAsset; ++k)
    RunStatements(db.Db(),
                  QStringLiteral("UPDATE KARTTET SET BRUTTO = 1200000, ECS = ECS + 1, ECSSZ = "
                                 "ECSSZ + 1, NETTO = NETTO - 1, NETTOSZ = NETTOSZ - 1, SORSZAM = "
                                 "%1 WHERE LELTSZAM = '%2' AND SORSZAM = %1 LIMIT 1")
                      .arg(k)
                      .arg(number));
  RunStatements(db.Db(), QStringLiteral("UPDATE KARTFEJ SET AKTKELT = '2000-02-01' WHERE "
                                        "LELTSZAM = '%1'")
                             .arg(number));
  work.Commit();
  return clock.nsecsElapsed() / 1e6;
}

// The median of runs over assets spread through the register.
template <typename Timed>
double Median(int assets, Timed timed) {
  std::vector<double> times;
  for (int i = 0; i < 21; ++i) times.push_back(timed(1 + (i * 7919) % assets, 10000 + i));
  std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
  return times[times.size() / 2];
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

TEST(BenchItemPost, OneChangedItemInRegistersOfGrowingSize) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  double post[2] = {}, direct = 0;
  const int sizes[2] = {1000, 10000};
  for (int s = 0; s < 2; ++s) {
    Register(db, sizes[s]);
    post[s] = Median(sizes[s],
                     [&db](int asset, double amount) { return ChangeOneItem(db, asset, amount); });
    if (s == 1)
      direct = Median(sizes[s], [&db](int asset, double amount) {
        return ChangeOneItemDirectly(db, asset, amount);
      });
  }
  std::printf(
      "item post in a register of 1000 assets: %.1f ms, 10000 assets: %.1f ms, growth %.2f, "
      "direct: %.1f ms, post/direct %.2f\n",
      post[0], post[1], post[0] > 0 ? post[1] / post[0] : 0.0, direct,
      direct > 0 ? post[1] / direct : 0.0);
}

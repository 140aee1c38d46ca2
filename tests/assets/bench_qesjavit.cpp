// Times the closing recalculation over a generated register beside one grouped scan of KARTTET
// summing the same columns per asset. Not a test: run it by hand against the private server
// (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the creation scripts).
#include <gtest/gtest.h>
#include <mysql.h>

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

#include "database_maintenance.h"
#include "test_database.h"
#include "transaction.h"

namespace {

constexpr int kAssets = 10000;
constexpr int kSold = 1000;
constexpr int kScrapped = 1000;

// Six items per asset: acquisition, activation, three write-offs, and a fourth write-off, a
// sale (the first kSold assets) or a scrapping (the next kScrapped) without amounts.
void Generate(TestDatabase& db) {
  TTransaction transaction(db.Db());
  QStringList masters, items;
  auto flush = [&] {
    db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ") + masters.join(','));
    db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, "
                           "ECSNSZ, MENNYISEG) VALUES ") +
            items.join(','));
    masters.clear();
    items.clear();
  };
  for (int a = 1; a <= kAssets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    masters << QStringLiteral("('%1', 'Eszköz %1')").arg(key);
    const char last = a <= kSold ? '6' : a <= kSold + kScrapped ? '5' : '4';
    const char types[] = {'0', '2', '4', '4', '4', last};
    for (int i = 0; i < 6; ++i) {
      const char type = types[i];
      const int gross = type == '0' ? 1000000 + a : 0;
      const int rate = type == '4' ? 100000 + i : 0;
      items << QStringLiteral("('%1', '%2-12-31', '%3', %4, %5, %6, %7)")
                   .arg(key)
                   .arg(2018 + i)
                   .arg(QChar(type))
                   .arg(gross)
                   .arg(rate)
                   .arg(rate * 2)
                   .arg(type == '0' ? 1 : 0);
    }
    if (a % 500 == 0) flush();
  }
  transaction.Commit();
}

double Seconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

// The sums QESjavit needs, per asset, read whole through the client library.
double GroupedScan(TestDatabase& db) {
  MYSQL* handle = db.Db().CheckedHandle();
  const QByteArray sql =
      "SELECT LELTSZAM, SUM(BRUTTONOV), SUM(BRUTTOCSOK), SUM(ECSCSOKK), SUM(ECSNOV), "
      "SUM(ECSCSSZ), SUM(ECSNSZ), SUM(MENNYISEG) FROM KARTTET GROUP BY LELTSZAM";
  QElapsedTimer timer;
  timer.start();
  if (mysql_real_query(handle, sql.constData(), static_cast<unsigned long>(sql.size())) != 0) {
    ADD_FAILURE() << mysql_error(handle);
    return 0;
  }
  MYSQL_RES* result = mysql_store_result(handle);
  if (!result) {
    ADD_FAILURE() << mysql_error(handle);
    return 0;
  }
  int rows = 0;
  while (mysql_fetch_row(result)) ++rows;
  mysql_free_result(result);
  const double seconds = Seconds(timer);
  EXPECT_EQ(rows, kAssets);
  return seconds;
}

TEST(Benchmark, QESjavit) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  Generate(db);
  GroupedScan(db);  // the table in the server's cache for both
  const double scan = GroupedScan(db);
  QElapsedTimer timer;
  timer.start();
  QESjavit(db.Db());
  const double closing = Seconds(timer);
  EXPECT_EQ(db.Value(QStringLiteral("SELECT COUNT(*) FROM KARTFEJ WHERE MENNYISEG = 0")),
            QString::number(kSold + kScrapped));
  std::printf("qesjavit %d assets: %.3f s, grouped scan %.3f s, ratio %.2f\n", kAssets, closing,
              scan, closing / scan);
  std::fflush(stdout);
}

}  // namespace

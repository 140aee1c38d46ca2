// Times the rate-key check over generated registers right after loading them, beside a floor of
// reading every KULCSOK and KARTTET row once through the client library. Not a test: run it by
// hand against the private server (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the
// creation scripts).
#include <gtest/gtest.h>
#include <mysql.h>

#include <QElapsedTimer>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>

#include "rate_key_check.h"
#include "test_database.h"
#include "transaction.h"

namespace {

const char* const kTypes = "023444444444";  // 12 items, the last on 2015-12-31 for every asset

void Generate(TestDatabase& db, int assets) {
  TTransaction transaction(db.Db());
  QStringList masters, items, rates;
  auto flush = [&] {
    if (!masters.isEmpty())
      db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES " + masters.join(','));
    if (!items.isEmpty())
      db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, NETTO, NETTOSZ) VALUES " +
              items.join(','));
    if (!rates.isEmpty())
      db.Exec("INSERT INTO KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) VALUES " + rates.join(','));
    masters.clear();
    items.clear();
    rates.clear();
  };
  for (int a = 1; a <= assets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    masters << QStringLiteral("('%1', 'Eszköz %1')").arg(key);
    for (int i = 0; i < 12; ++i)
      items << QStringLiteral("('%1', '%2-12-31', '%3', %4, %4)")
                   .arg(key)
                   .arg(2004 + i)
                   .arg(QChar(kTypes[i]))
                   .arg(1000000 - 50000 * i);
    for (int y = 2006; y <= 2015; ++y)
      rates << QStringLiteral("('%1', %2, 20, 10)").arg(key).arg(y);
    if (a % 500 == 0) flush();
  }
  flush();
  transaction.Commit();
}

double Seconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

double ReadAll(TestDatabase& db) {
  MYSQL* handle = db.Db().CheckedHandle();
  QElapsedTimer timer;
  timer.start();
  for (const char* sql : {"SELECT * FROM KULCSOK", "SELECT * FROM KARTTET"}) {
    if (mysql_query(handle, sql) != 0) {
      ADD_FAILURE() << mysql_error(handle);
      return 0;
    }
    MYSQL_RES* result = mysql_store_result(handle);
    while (mysql_fetch_row(result)) {
    }
    mysql_free_result(result);
  }
  return Seconds(timer);
}

TEST(Benchmark, RateKeyCheck) {
  for (int assets : {1000, 10000}) {
    TestDatabase db;
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    Generate(db, assets);
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    {
      RateKeyCheck check(db.Db());
      check.Build(2016);
      EXPECT_TRUE(check.WriteReport(dir.path() + "/", QDate::currentDate()));
    }
    const double checked = Seconds(timer);
    const double floor = ReadAll(db);
    std::printf("kulcsell %d assets: check %.2f s, reading KULCSOK and KARTTET %.2f s (%.2fx)\n",
                assets, checked, floor, checked / floor);
    std::fflush(stdout);
  }
}

}  // namespace

// Times RecalcAllBalances over generated registers, with every balance wrong and with only the
// last item of each card wrong, beside a baseline of reading and writing as many rows. Not a
// test: run it by hand against the private server (ZARN_DB_* in the environment,
// ZARN_SOURCE_DIR for the creation scripts).
#include <gtest/gtest.h>
#include <mysql.h>

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>
#include <vector>

#include "balance_recalc.h"
#include "test_database.h"
#include "transaction.h"
#include "uni_sql_query.h"

namespace {

const char* const kTypes = "023444444444";  // 12 items: acquisition, activation, increase, runs

void Generate(TestDatabase& db, int assets) {
  TTransaction transaction(db.Db());
  QStringList masters, items;
  auto flush = [&] {
    if (!masters.isEmpty())
      db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ") + masters.join(','));
    if (!items.isEmpty())
      db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, "
                             "ECSNSZ) VALUES ") +
              items.join(','));
    masters.clear();
    items.clear();
  };
  for (int a = 1; a <= assets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    masters << QStringLiteral("('%1', 'Eszköz %1')").arg(key);
    for (int i = 0; i < 12; ++i) {
      const char type = kTypes[i];
      const double gross = type == '0' ? 1000000 + a : type == '3' ? 5000 : 0;
      const double rate = type == '4' ? 1000 + i : 0;
      items << QStringLiteral("('%1', '%2-12-31', '%3', %4, %5, %6)")
                   .arg(key)
                   .arg(2000 + i)
                   .arg(QChar(type))
                   .arg(gross, 0, 'f', 0)
                   .arg(rate, 0, 'f', 0)
                   .arg(rate * 2, 0, 'f', 0);
    }
    if (a % 500 == 0) flush();
  }
  flush();
  transaction.Commit();
}

double Seconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

void Query(MYSQL* handle, const QByteArray& sql) {
  if (mysql_real_query(handle, sql.constData(), static_cast<unsigned long>(sql.size())) != 0)
    FAIL() << mysql_error(handle);
}

// The floor for the recalculation: KARTTET read whole through the client library, and as many
// rows written into a scratch copy of it by multi-row INSERTs of 1,000 rows in one transaction.
double Baseline(TestDatabase& db) {
  db.Exec(QStringLiteral("DROP TABLE IF EXISTS KARTTET_MASOLAT"));
  db.Exec(QStringLiteral("CREATE TABLE KARTTET_MASOLAT LIKE KARTTET"));
  MYSQL* handle = db.Db().CheckedHandle();
  QElapsedTimer timer;
  timer.start();
  Query(handle, "SELECT * FROM KARTTET");
  MYSQL_RES* result = mysql_store_result(handle);
  if (!result) {
    ADD_FAILURE() << mysql_error(handle);
    return 0;
  }
  const unsigned int columns = mysql_num_fields(result);
  Query(handle, "START TRANSACTION");
  QByteArray sql;
  int rows = 0;
  std::vector<char> escaped;
  auto flush = [&] {
    if (rows == 0) return;
    Query(handle, sql);
    rows = 0;
  };
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    if (rows == 0)
      sql = "INSERT INTO KARTTET_MASOLAT VALUES (";
    else
      sql += ",(";
    for (unsigned int c = 0; c < columns; ++c) {
      if (c) sql += ',';
      if (!row[c]) {
        sql += "NULL";
        continue;
      }
      escaped.resize(lengths[c] * 2 + 1);
      const unsigned long n = mysql_real_escape_string(handle, escaped.data(), row[c], lengths[c]);
      sql += '\'';
      sql.append(escaped.data(), static_cast<qsizetype>(n));
      sql += '\'';
    }
    sql += ')';
    if (++rows == 1000) flush();
  }
  flush();
  Query(handle, "COMMIT");
  mysql_free_result(result);
  return Seconds(timer);
}

double TimedRecalc(TestDatabase& db) {
  QElapsedTimer timer;
  timer.start();
  RecalcAllBalances(db.Db());
  return Seconds(timer);
}

TEST(Benchmark, RecalcAllBalances) {
  for (int assets : {1000, 10000}) {
    TestDatabase db;
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    Generate(db, assets);
    // Worst: every item's stored balances are wrong.
    db.Exec(
        QStringLiteral("UPDATE KARTTET SET BRUTTO = 0, ECS = 0, ECSSZ = 0, NETTO = 0, "
                       "NETTOSZ = 0, SORSZAM = 0"));
    const double worst = TimedRecalc(db);
    // After a run: only each asset's new last item is off, with SORSZAM 0 as the run writes it.
    db.Exec(
        QStringLiteral("UPDATE KARTTET SET SORSZAM = 0, ECS = 0, NETTO = 0 WHERE DATUM = "
                       "'2011-12-31'"));
    const double afterRun = TimedRecalc(db);
    const double baseline = Baseline(db);
    std::printf(
        "recalc_all %d assets: worst %.2f s, after-run %.2f s, baseline %.2f s, "
        "worst/baseline %.2f, after-run/baseline %.2f\n",
        assets, worst, afterRun, baseline, worst / baseline, afterRun / baseline);
    std::fflush(stdout);
  }
}

}  // namespace

// Times RecalcAllBalances over generated registers beside the same number of UPDATEs sent
// directly in one transaction. Not a test: run it by hand against the private server
// (ZARN_DB_* in the environment, ZARN_SOURCE_DIR for the creation scripts).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QStringList>
#include <cstdio>

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

// The UPDATEs the recalculation amounts to, by key, one statement each, in one transaction.
double DirectUpdates(TestDatabase& db, int assets) {
  QElapsedTimer timer;
  timer.start();
  TTransaction transaction(db.Db());
  TUniSQLQuery q;
  q.SetDatabase(&db.Db());
  for (int a = 1; a <= assets; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 6, 10, QChar('0'));
    for (int i = 0; i < 12; ++i) {
      q.SetSQL(QStringLiteral("UPDATE KARTTET SET BRUTTO = %1, ECS = %2, ECSSZ = %3, NETTO = %4, "
                              "NETTOSZ = %5, SORSZAM = %6 WHERE LELTSZAM = '%7' AND DATUM = "
                              "'%8-12-31' AND TIPUS = '%9' LIMIT 1")
                   .arg(1000000 + a + 1)
                   .arg(i * 1000)
                   .arg(i * 2000)
                   .arg(1000000 + a - i * 1000)
                   .arg(1000000 + a - i * 2000)
                   .arg(i)
                   .arg(key)
                   .arg(2000 + i)
                   .arg(QChar(kTypes[i])));
      q.ExecSQL();
    }
    q.SetSQL(QStringLiteral("UPDATE KARTFEJ SET BESZKELT = '2000-12-31', AKTKELT = '2001-12-31' "
                            "WHERE LELTSZAM = '%1' LIMIT 1")
                 .arg(key));
    q.ExecSQL();
  }
  transaction.Commit();
  return timer.elapsed() / 1000.0;
}

TEST(Benchmark, RecalcAllBalances) {
  for (int assets : {1000, 10000}) {
    TestDatabase db;
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    Generate(db, assets);
    QElapsedTimer timer;
    timer.start();
    RecalcAllBalances(db.Db());
    const double recalc = timer.elapsed() / 1000.0;
    const double direct = DirectUpdates(db, assets);
    std::printf("%6d assets x 12 items: RecalcAllBalances %.2f s, direct UPDATEs %.2f s (%.2fx)\n",
                assets, recalc, direct, recalc / direct);
  }
}

}  // namespace

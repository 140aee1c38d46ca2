#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <thread>

#include "database_maintenance.h"
#include "exceptions.h"
#include "test_database.h"
#include "test_util.h"
#include "transaction.h"
#include "uni_sql_query.h"

namespace {

const QString kCards = QStringLiteral("SELECT * FROM KARTTET ORDER BY LELTSZAM, DATUM, TIPUS");
const QString kMasters = QStringLiteral("SELECT * FROM KARTFEJ ORDER BY LELTSZAM");

// A company database whose asset 00001 was bought 2022.03.01 for 1,200,000 (one piece) and
// activated the same day, written off by 140,000 under the tax law (ECSNOV) and 200,000 under
// the accounting law (ECSNSZ) on 2022.12.31, and closed by an item of type without amounts on
// 2023.06.30. That item is keyed with a trailing blank, which the server counts as the same
// asset, and still carries stale balances. Asset 00002 stays open.
struct ClosedCompany {
  explicit ClosedCompany(char type) : type(QLatin1Char(type)) {
    if (!db.Ok()) return;
    db.CreateCompanyTables();
    db.Exec(
        QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MENNYISEG) VALUES "
                       "('00001', 'Eszterga', 1), ('00002', 'Fúró', 1)"));
    db.Exec(QStringLiteral(
                "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, ECSNSZ, "
                "MENNYISEG, BRUTTO, ECS, ECSSZ, NETTO, NETTOSZ) VALUES "
                "('00001', '2022-03-01', '0', 1200000, 0, 0, 1, 1200000, 0, 0, 0, 0), "
                "('00001', '2022-03-01', '2', 0, 0, 0, 0, 1200000, 0, 0, 1200000, 1200000), "
                "('00001', '2022-12-31', '4', 0, 140000, 200000, 0, 1200000, 140000, 200000, "
                "1060000, 1000000), "
                "('00001 ', '2023-06-30', '%1', 0, 0, 0, 0, 1200000, 140000, 200000, 1060000, "
                "1000000), "
                "('00002', '2022-05-01', '0', 300000, 0, 0, 1, 300000, 0, 0, 0, 0), "
                "('00002', '2022-12-31', '4', 0, 10000, 20000, 0, 300000, 10000, 20000, 0, 0)")
                .arg(type));
  }
  // BRUTTOCSOK ECSCSOKK ECSCSSZ MENNYISEG and the balances of 00001's closing item.
  QString ClosingItem() {
    return db.Value(QStringLiteral("SELECT CONCAT_WS(' ', BRUTTOCSOK, ECSCSOKK, ECSCSSZ, "
                                   "MENNYISEG, BRUTTO, ECS, ECSSZ, NETTO, NETTOSZ) FROM KARTTET "
                                   "WHERE TIPUS = '%1' AND LELTSZAM = '00001'")
                        .arg(type));
  }
  // MENNYISEG ELADAS SLEJTEZ of asset 00001.
  QString Master() {
    return db.Value(QStringLiteral(
        "SELECT CONCAT_WS(' ', MENNYISEG, ELADAS, SLEJTEZ) FROM KARTFEJ WHERE LELTSZAM = '00001'"));
  }
  // Everything that no closing may change: the other items and the open asset's master row.
  QStringList Untouched() {
    return Rows(db, QStringLiteral("SELECT * FROM KARTTET WHERE TIPUS <> '%1' ORDER BY LELTSZAM, "
                                   "DATUM, TIPUS")
                        .arg(type)) +
           Rows(db, QStringLiteral("SELECT * FROM KARTFEJ WHERE LELTSZAM = '00002'"));
  }

  TestDatabase db;
  QChar type;
};

constexpr char kClosed[] = "1200000 140000 200000 -1.00 0 0 0 0 0";

}  // namespace

TEST(ClosingRecalc, TheClosingItemTakesOffWhatRemainsAndTheAssetGetsItsDate) {
  const struct {
    char type;
    const char* master;
  } cases[] = {
      {'6', "0.00 2023-06-30 1900-01-01"},  // a sale: ELADAS
      {'5', "0.00 1900-01-01 2023-06-30"},  // a scrapping: SLEJTEZ
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.type);
    ClosedCompany company(c.type);
    ASSERT_TRUE(company.db.Ok());
    const QStringList untouched = company.Untouched();
    QESjavit(company.db.Db());
    EXPECT_EQ(company.ClosingItem(), kClosed);
    EXPECT_EQ(company.Master(), c.master);
    EXPECT_EQ(company.Untouched(), untouched);
    // Run again, nothing changes: the sums leave the closing items out.
    QESjavit(company.db.Db());
    EXPECT_EQ(company.ClosingItem(), kClosed);
  }
}

TEST(ClosingRecalc, NullAmountsOfAnOlderTableCountAsZero) {
  ClosedCompany company('6');
  ASSERT_TRUE(company.db.Ok());
  company.db.Exec(
      QStringLiteral("ALTER TABLE KARTTET MODIFY ECSNOV DOUBLE NULL, MODIFY "
                     "BRUTTOCSOK DOUBLE NULL, MODIFY MENNYISEG NUMERIC(14,2) NULL"));
  company.db.Exec(
      QStringLiteral("UPDATE KARTTET SET BRUTTOCSOK = NULL, MENNYISEG = NULL WHERE "
                     "TIPUS IN ('2', '6')"));
  company.db.Exec(
      QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, ECSNOV) VALUES "
                     "('00001', '2022-06-30', '4', NULL)"));
  QESjavit(company.db.Db());
  EXPECT_EQ(company.ClosingItem(), kClosed);
}

// A card of imported data holding nothing but its closing item: the item keeps its amounts,
// the asset is closed all the same.
TEST(ClosingRecalc, AClosingItemAloneOnItsCardKeepsItsAmounts) {
  ClosedCompany company('6');
  ASSERT_TRUE(company.db.Ok());
  company.db.Exec(QStringLiteral(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MENNYISEG) VALUES ('00003', 'Prés', 1); "
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTOCSOK, ECSCSOKK, MENNYISEG, BRUTTO) "
      "VALUES ('00003', '2023-02-01', '6', 5000, 700, -1, 5000)"));
  const QString item = QStringLiteral(
      "SELECT CONCAT_WS(' ', BRUTTOCSOK, ECSCSOKK, MENNYISEG, BRUTTO) FROM KARTTET WHERE "
      "LELTSZAM = '00003'");
  const QString before = company.db.Value(item);
  QESjavit(company.db.Db());
  EXPECT_EQ(company.db.Value(item), before);
  EXPECT_EQ(company.db.Value(QStringLiteral(
                "SELECT CONCAT_WS(' ', MENNYISEG, ELADAS) FROM KARTFEJ WHERE LELTSZAM = '00003'")),
            "0.00 2023-02-01");
  EXPECT_EQ(company.ClosingItem(), kClosed);
}

TEST(ClosingRecalc, AFailingMasterUpdateLeavesTheCardsAsTheyWereAndNothingHeld) {
  ClosedCompany company('5');
  ASSERT_TRUE(company.db.Ok());
  company.db.Exec(
      QStringLiteral("CREATE TRIGGER NOCLOSE BEFORE UPDATE ON KARTFEJ FOR EACH ROW "
                     "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'lezárt év'"));
  const QStringList cards = Rows(company.db, kCards);
  const QStringList masters = Rows(company.db, kMasters);
  try {
    QESjavit(company.db.Db());
    ADD_FAILURE() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().contains(QString::fromUtf8("lezárt év"))) << e.what();
  }
  EXPECT_EQ(Rows(company.db, kCards), cards);
  EXPECT_EQ(Rows(company.db, kMasters), masters);
  // No lock, no open transaction and no scratch table are left on the connection.
  TUniSQLDatabase& db = company.db.Db();
  EXPECT_FALSE(InOpenWork(db));
  EXPECT_EQ(company.db.Value(QStringLiteral("SELECT COUNT(*) FROM CEG")), "0");
  EXPECT_NO_THROW(RunStatements(db, QStringLiteral("CREATE TEMPORARY TABLE QESJAVIT (A INT)")));
}

TEST(ClosingRecalc, TwoWorkstationsAtOnceBothSucceed) {
  ClosedCompany company('6');
  ASSERT_TRUE(company.db.Ok());
  // A table of the same name the company happens to have is not touched either.
  company.db.Exec(QStringLiteral("CREATE TABLE QESJAVIT (LELTSZAM CHAR(5))"));
  company.db.Exec(QStringLiteral("INSERT INTO QESJAVIT VALUES ('ott')"));
  std::unique_ptr<TUniSQLDatabase> connections[] = {company.db.Connect(), company.db.Connect()};
  QString errors[2];
  {
    std::vector<std::thread> runs;
    for (int i = 0; i < 2; ++i)
      runs.emplace_back([&, i] {
        try {
          for (int k = 0; k < 5; ++k) QESjavit(*connections[i]);
        } catch (const Exception& e) {
          errors[i] = e.Message();
        }
      });
    for (std::thread& t : runs) t.join();
  }
  EXPECT_EQ(errors[0].toStdString(), "");
  EXPECT_EQ(errors[1].toStdString(), "");
  EXPECT_EQ(company.ClosingItem(), kClosed);
  EXPECT_EQ(company.Master(), "0.00 2023-06-30 1900-01-01");
  EXPECT_EQ(company.db.Value(
                QStringLiteral("SELECT CAST(GROUP_CONCAT(LELTSZAM) AS CHAR(20)) FROM QESJAVIT")),
            "ott");
}

TEST(ClosingRecalc, JoinsTheCallersTransaction) {
  ClosedCompany company('6');
  ASSERT_TRUE(company.db.Ok());
  const QStringList cards = Rows(company.db, kCards);
  {
    TTransaction outer(company.db.Db());
    QESjavit(company.db.Db());
    EXPECT_TRUE(InOpenWork(company.db.Db()));
    outer.Rollback();
  }
  EXPECT_EQ(Rows(company.db, kCards), cards);
}

TEST(BalanceRecalcCommand, AnEmptyCardTableLeavesTheMastersAsTheyWere) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  // Assets saved without items: a card without items clears AKTKELT, ELADAS and SLEJTEZ and
  // keeps BESZKELT, so these hold nothing the recalculation derives.
  db.Exec(QStringLiteral(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, BESZERTEK, ELHASZN, MENNYISEG, KOLTSHELY, "
      "MEGJ1) VALUES ('00001', 'Eszterga', '2020-02-03', 500000, 7, 2, 'K1', 'első'), "
      "('00002', 'Fúró', '1900-01-01', 0, 0, 1, '', ''), ('A 3', 'Tár', '2021-12-31', 1.5, 3, "
      "0.5, 'K2', 'x')"));
  const QStringList masters = Rows(db, kMasters);
  QList<std::pair<int, int>> steps;
  RecalcAllBalancesAndClose(db.Db(), [&](int position, int maximum) {
    steps << std::pair{position, maximum};
  });
  EXPECT_EQ(Rows(db, kMasters), masters);
  EXPECT_EQ(steps.size(), 4);
  EXPECT_EQ(steps.last(), std::pair(3, 3));
}

TEST(BalanceRecalcCommand, RecalculatesThenCloses) {
  ClosedCompany company('6');
  ASSERT_TRUE(company.db.Ok());
  RecalcAllBalancesAndClose(company.db.Db());
  EXPECT_EQ(company.ClosingItem(), kClosed);
  // The balances of the other items come from the recalculation, the sale date from the closing.
  EXPECT_EQ(company.db.Value(QStringLiteral("SELECT CONCAT_WS(' ', BRUTTO, NETTO, SORSZAM) FROM "
                                            "KARTTET WHERE LELTSZAM = '00002' AND TIPUS = '4'")),
            "300000 0 1");
  EXPECT_EQ(company.Master(), "0.00 2023-06-30 1900-01-01");
}

TEST(Reorganization, RebuildsTheIndexesAndRecalculatesTheBalances) {
  ClosedCompany company('6');
  ASSERT_TRUE(company.db.Ok());
  TestDatabase& db = company.db;
  const QString indexes = QStringLiteral(
      "SELECT CAST(GROUP_CONCAT(DISTINCT INDEX_NAME ORDER BY INDEX_NAME) AS CHAR(200)) FROM "
      "INFORMATION_SCHEMA.STATISTICS WHERE TABLE_SCHEMA = DATABASE() AND INDEX_NAME LIKE 'I%'");
  const QString all =
      QStringLiteral("IKARTFEJ1,IKARTTET1,IKARTTET2,IKULCSOK1,ISZAMITAS1,ISZAMITAS2");
  ASSERT_EQ(db.Value(indexes), all);
  db.Exec(QStringLiteral("DROP INDEX IKARTTET2 ON KARTTET"));

  // Without its scripts nothing is dropped.
  QTemporaryDir empty;
  EXPECT_THROW(ReorganizeDatabase(db.Db(), empty.path()), EInOutError);
  EXPECT_EQ(db.Value(indexes),
            QStringLiteral("IKARTFEJ1,IKARTTET1,IKULCSOK1,ISZAMITAS1,ISZAMITAS2"));

  int maximum = -1;
  ReorganizeDatabase(db.Db(), SourceDir() + u'/', [&](int, int m) { maximum = m; });
  EXPECT_EQ(db.Value(indexes), all);
  EXPECT_EQ(maximum, 2);
  EXPECT_EQ(db.Value(QStringLiteral("SELECT CONCAT_WS(' ', BRUTTO, ECS, ECSSZ, NETTO, NETTOSZ, "
                                    "SORSZAM) FROM KARTTET WHERE LELTSZAM = '00002' AND TIPUS = "
                                    "'4'")),
            "300000 10000 20000 0 0 1");
}

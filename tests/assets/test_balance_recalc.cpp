#include <gtest/gtest.h>
#include <mysql.h>

#include <algorithm>
#include <random>

#include "balance_recalc.h"
#include "exceptions.h"
#include "test_database.h"
#include "transaction.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

QStringList Columns(TestDatabase& db, const QString& table) {
  TUniSQLQuery q;
  q.SetDatabase(&db.Db());
  q.SetSQL(QStringLiteral("SELECT COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS WHERE "
                          "TABLE_SCHEMA = DATABASE() AND TABLE_NAME = ':T' ORDER BY ORDINAL_POSITION"));
  q.SetParam(QStringLiteral("T"), table);
  q.Open();
  QStringList names;
  for (q.First(); !q.Eof(); q.Next()) names << q.Fields(0)->AsString();
  return names;
}

TEST(CompanySchema, TablesHaveTheirColumnsInPositionalOrder) {
  TestDatabase db;
  ASSERT_TRUE(db.Ok());
  db.CreateCompanyTables();
  const struct {
    const char* table;
    const char* columns;
  } cases[] = {
      {"KARTFEJ",
       "LELTSZAM MEGNEV GYARTO TIPUS GYARISZ BESZKELT TI BESZERTEK MARERTEK ELHASZN AKTKELT "
       "ELADAS SLEJTEZ FKSZSZAM FKSZSZAMECS FKSZECSKLTG MENNYISEG KOLTSHELY ELHASZNA FKSZAKTEL "
       "MEGJ1"},
      {"KARTTET",
       "LELTSZAM DATUM TIPUS BIZSZAM SZOVEG BRUTTONOV BRUTTOCSOK BRUTTO ECSCSOKK ECSNOV ECS "
       "NETTO ECSCSSZ ECSNSZ ECSSZ NETTOSZ MENNYISEG SORSZAM"},
      {"KULCSOK", "LELTSZAM EV KULCS KULCSSZ"},
      {"CEG", "CEGNEV ADOSZAM KONYVELES TARTALEK"},
      {"PONTOSOK", "PDATUM1 PDATUM2 PONTOS"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Columns(db, QString::fromLatin1(c.table)).join(' '), QString::fromLatin1(c.columns))
        << c.table;
  EXPECT_EQ(Columns(db, QStringLiteral("SZAMITAS")).size(), 15);

  db.RunScript(QStringLiteral("create/dropind.sql"));
  EXPECT_EQ(db.Value(QStringLiteral("SELECT COUNT(*) FROM INFORMATION_SCHEMA.STATISTICS WHERE "
                                    "TABLE_SCHEMA = DATABASE() AND INDEX_NAME LIKE 'I%'")),
            "0");
  db.RunScript(QStringLiteral("create/creind.sql"));
  EXPECT_EQ(db.Value(QStringLiteral("SELECT COUNT(DISTINCT INDEX_NAME) FROM "
                                    "INFORMATION_SCHEMA.STATISTICS WHERE TABLE_SCHEMA = "
                                    "DATABASE() AND INDEX_NAME LIKE 'I%'")),
            "6");
}

class Balances : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
  }
  void Asset(const QString& leltszam, const QString& beszkelt = QStringLiteral("1900-01-01")) {
    db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, BESZKELT, AKTKELT, ELADAS, SLEJTEZ) "
                           "VALUES ('%1', '%2', '2001-01-01', '2001-01-01', '2001-01-01')")
                .arg(leltszam, beszkelt));
  }
  // Items as (date, type, gross+, gross-, tax+, accounting+), balances deliberately stale.
  void Item(const QString& leltszam, const QString& date, const QString& type, double grossIn,
            double grossOut = 0, double tax = 0, double acc = 0) {
    db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTOCSOK, "
                           "ECSNOV, ECSNSZ, BRUTTO, NETTO, SORSZAM) VALUES ('%1', '%2', '%3', "
                           "%4, %5, %6, %7, 777, 777, 99)")
                .arg(leltszam, date, type)
                .arg(grossIn)
                .arg(grossOut)
                .arg(tax)
                .arg(acc));
  }
  QString Card(const QString& leltszam) {
    return db.Value(QStringLiteral(
        "SELECT CAST(GROUP_CONCAT(CONCAT_WS('/', TIPUS, BRUTTO, ECS, ECSSZ, NETTO, NETTOSZ, "
        "SORSZAM) ORDER BY SORSZAM SEPARATOR ' ') AS CHAR(500)) FROM KARTTET WHERE LELTSZAM = '%1'")
                        .arg(leltszam));
  }
  QString Dates(const QString& leltszam) {
    return db.Value(QStringLiteral("SELECT CONCAT_WS(' ', BESZKELT, AKTKELT, ELADAS, SLEJTEZ) "
                                   "FROM KARTFEJ WHERE LELTSZAM = '%1'")
                        .arg(leltszam));
  }
  TestDatabase db;
};

TEST_F(Balances, CardsOfEveryKindAreRecalculated) {
  // The worked example, with a NULL amount (older tables allow them) reading as 0.
  db.Exec(QStringLiteral("ALTER TABLE KARTTET MODIFY BRUTTOCSOK DOUBLE NULL"));
  Asset("00001");
  Item("00001", "2004-12-31", "4", 0, 0, 10, 20);
  Item("00001", "2004-02-01", "2", 0);
  Item("00001", "2004-01-10", "0", 100);
  db.Exec(QStringLiteral("UPDATE KARTTET SET BRUTTOCSOK = NULL WHERE TIPUS = '0'"));
  // Same date: "2" before "4" before "A"; the nets start on the activation item itself.
  Asset("00002");
  Item("00002", "2005-03-01", "A", 0);
  Item("00002", "2005-03-01", "4", 0, 0, 5, 5);
  Item("00002", "2005-03-01", "2", 50);
  // Never activated: nets stay 0; a partial sale leaves ELADAS empty, "5" sets SLEJTEZ.
  Asset("00003");
  Item("00003", "2003-05-05", "1", 80);
  Item("00003", "2003-06-01", "6", 0, 30);
  Item("00003", "2003-07-01", "5", 0);
  // A sale to exactly 0 sets ELADAS; an empty card clears the dates and keeps BESZKELT.
  Asset("00004");
  Item("00004", "2006-01-01", "0", 0.1 + 0.2);
  Item("00004", "2006-09-09", "6", 0, 0.3);
  Asset("00005", "2002-02-02");

  std::vector<std::pair<int, int>> progress;
  RecalcAllBalances(db.Db(), [&](int position, int maximum) {
    progress.emplace_back(position, maximum);
  });

  EXPECT_EQ(Card("00001"), "0/100/0/0/0/0/0 2/100/0/0/100/100/1 4/100/10/20/90/80/2");
  EXPECT_EQ(Dates("00001"), "2004-01-10 2004-02-01 1900-01-01 1900-01-01");
  EXPECT_EQ(Card("00002"), "2/50/0/0/50/50/0 4/50/5/5/45/45/1 A/50/5/5/45/45/2");
  EXPECT_EQ(Card("00003"), "1/80/0/0/0/0/0 6/50/0/0/0/0/1 5/50/0/0/0/0/2");
  EXPECT_EQ(Dates("00003"), "2003-05-05 1900-01-01 1900-01-01 2003-07-01");
  EXPECT_EQ(Dates("00004"), "2006-01-01 1900-01-01 2006-09-09 1900-01-01");
  EXPECT_EQ(Dates("00005"), "2002-02-02 1900-01-01 1900-01-01 1900-01-01");
  const std::vector<std::pair<int, int>> expected{{0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 5}};
  EXPECT_EQ(progress, expected);
}

TEST_F(Balances, MasterComesBackInTheStateItWasIn) {
  Asset("00001");
  Item("00001", "2004-01-10", "0", 100);
  TUniSQLTable master, cards;
  master.SetDatabase(&db.Db());
  cards.SetDatabase(&db.Db());
  master.SetTablename(QStringLiteral("KARTFEJ"));
  master.Open();

  RecalcBalances(master, cards);
  EXPECT_EQ(master.State(), dsBrowse);
  EXPECT_FALSE(cards.Active());

  master.Edit();
  master.FieldByName(QStringLiteral("MEGNEV"))->SetAsString(QStringLiteral("Fűnyíró"));
  RecalcBalances(master, cards);
  EXPECT_EQ(master.State(), dsEdit);
  master.Post();
  EXPECT_EQ(db.Value(QStringLiteral("SELECT CONCAT(MEGNEV, ' ', BESZKELT) FROM KARTFEJ")),
            "Fűnyíró 2004-01-10");
}

TEST_F(Balances, EmptyRegisterReportsNoWork) {
  std::vector<std::pair<int, int>> progress;
  RecalcAllBalances(db.Db(), [&](int p, int m) { progress.emplace_back(p, m); });
  EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{0, 0}}));
}

TEST_F(Balances, FailureLeavesEveryCardAsItWas) {
  Asset("00001");
  Item("00001", "2004-01-10", "0", 100);
  Asset("00002");
  Item("00002", "2004-01-10", "0", 100);
  // The second card cannot be written: its first item may not get SORSZAM 0.
  db.Exec(QStringLiteral("ALTER TABLE KARTTET ADD CONSTRAINT NEM_IRHATO "
                         "CHECK (LELTSZAM <> '00002' OR SORSZAM <> 0)"));
  try {
    RecalcAllBalances(db.Db());
    FAIL() << "no error";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith("MySQL Error ")) << e.what();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("NEM_IRHATO"))) << e.what();
  }
  EXPECT_EQ(Card("00001"), "0/777/0/0/777/0/99");
  EXPECT_EQ(Dates("00001"), "1900-01-01 2001-01-01 2001-01-01 2001-01-01");
}

// A register of every kind of card, the same for the same seed: all item types, several types
// on one date, twin write-offs (alike to the last column, and differing), NULL amounts and
// remarks as older tables hold them, items keyed with a trailing blank or a lower-case type,
// items of no asset, an asset without items, and stale balances everywhere.
void SeedRegister(TestDatabase& db, unsigned seed) {
  db.CreateCompanyTables();
  for (const char* column : {"BRUTTONOV", "BRUTTOCSOK", "BRUTTO", "ECSCSOKK", "ECSNOV", "ECS",
                             "NETTO", "ECSCSSZ", "ECSNSZ", "ECSSZ", "NETTOSZ"})
    db.Exec(QStringLiteral("ALTER TABLE KARTTET MODIFY %1 DOUBLE NULL").arg(column));
  db.Exec(QStringLiteral("ALTER TABLE KARTFEJ MODIFY MEGJ1 CHAR(80) NULL"));
  std::mt19937 random(seed);
  const auto pick = [&](int n) { return int(random() % unsigned(n)); };
  const auto amount = [&]() -> QString {
    if (pick(12) == 0) return QStringLiteral("NULL");
    return pick(3) == 0 ? QStringLiteral("0") : QString::number(pick(2000000) / 100.0, 'f', 2);
  };
  const QString types = QStringLiteral("0123456789ABCDR");
  QStringList masters, items;
  for (int a = 1; a <= 200; ++a) {
    const QString key = QStringLiteral("%1").arg(a, 5, 10, QChar('0'));
    masters << QStringLiteral("('%1', '%2', %3, '%4', '%5', '%6')")
                   .arg(key, pick(2) ? QStringLiteral("2001-02-03") : QStringLiteral("1900-01-01"),
                        pick(10) == 0 ? QStringLiteral("NULL") : QStringLiteral("'megj'"),
                        QStringLiteral("2002-01-01"), QStringLiteral("1900-01-01"),
                        pick(5) == 0 ? QStringLiteral("2003-03-03") : QStringLiteral("1900-01-01"));
    if (a == 7) continue;  // an asset without items
    const int count = 1 + pick(12);
    QStringList card;
    for (int i = 0; i < count; ++i) {
      const QString date = QStringLiteral("20%1-%2-%3")
                               .arg(3 + pick(4), 2, 10, QChar('0'))
                               .arg(1 + pick(3) * 5, 2, 10, QChar('0'))
                               .arg(pick(2) ? 1 : 28, 2, 10, QChar('0'));
      QChar type = i == 0 ? QChar('0') : i == 1 ? QChar('2') : types.at(pick(types.size()));
      if (type == 'A' && pick(3) == 0) type = 'a';
      const QString itemKey = pick(15) == 0 ? key + u' ' : key;
      card << QStringLiteral(
                  "('%1', '%2', '%3', 'B%4', 'tétel', %5, %6, %7, %8, %9, %10, %11, "
                  "%12, %13, %14, %15, 1.00, %16)")
                  .arg(itemKey, date, type)
                  .arg(pick(3))
                  .arg(amount(), amount(), amount(), amount(), amount(), amount(), amount(),
                       amount(), amount())
                  .arg(amount(), amount())
                  .arg(pick(4) ? QString::number(pick(20)) : QStringLiteral("0"));
      if (pick(6) == 0) card << card.last();  // twins alike to the last column
      if (pick(6) == 0)                       // twin write-offs that differ
        card << QStringLiteral(
                    "('%1', '%2', '4', '', 'ÉCS LEIRÁS', 0, 0, 0, 0, %3, 0, 0, 0, %4, "
                    "0, 0, 0, 0)")
                    .arg(key, date, amount(), amount())
             << QStringLiteral(
                    "('%1', '%2', '4', '', 'ÉCS LEIRÁS', 0, 0, 0, 0, %3, 0, 0, 0, %4, "
                    "0, 0, 0, 0)")
                    .arg(key, date, amount(), amount());
    }
    std::shuffle(card.begin(), card.end(), random);
    items << card;
  }
  items << QStringLiteral(
      "('99999', '2004-01-01', '0', '', '', 5, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, "
      "0, 3)");  // no asset has it
  // Column order: LELTSZAM DATUM TIPUS BIZSZAM SZOVEG BRUTTONOV BRUTTOCSOK BRUTTO ECSCSOKK
  // ECSNOV ECS NETTO ECSCSSZ ECSNSZ ECSSZ NETTOSZ MENNYISEG SORSZAM.
  db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, BESZKELT, MEGJ1, AKTKELT, ELADAS, "
                         "SLEJTEZ) VALUES ") +
          masters.join(u','));
  for (qsizetype i = 0; i < items.size(); i += 500)
    db.Exec(QStringLiteral("INSERT INTO KARTTET VALUES ") + items.mid(i, 500).join(u','));
}

// Every row of a table with every value as the server returns it (NULL marked), sorted.
QStringList TableRows(TestDatabase& db, const QString& table) {
  MYSQL* handle = db.Db().CheckedHandle();
  const QByteArray sql = ("SELECT * FROM " + table).toUtf8();
  EXPECT_EQ(mysql_real_query(handle, sql.constData(), sql.size()), 0) << mysql_error(handle);
  MYSQL_RES* result = mysql_store_result(handle);
  QStringList rows;
  if (!result) return rows;
  const unsigned int columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    QStringList values;
    for (unsigned int c = 0; c < columns; ++c)
      values << (row[c] ? QString::fromUtf8(row[c]) : QStringLiteral("<NULL>"));
    rows << values.join(u'|');
  }
  mysql_free_result(result);
  rows.sort();
  return rows;
}

// The reference: the single-card recalculation over every asset, as the forms run it.
void RecalcEachCard(TestDatabase& db) {
  TTransaction transaction(db.Db());
  TUniSQLTable master, cards;
  master.SetDatabase(&db.Db());
  cards.SetDatabase(&db.Db());
  master.SetTablename(QStringLiteral("KARTFEJ"));
  master.SetIndexFields(QStringLiteral("LELTSZAM"));
  master.Open();
  for (master.First(); !master.Eof(); master.Next()) RecalcBalances(master, cards);
  transaction.Commit();
}

void ExpectSameRows(const QStringList& expected, const QStringList& actual, const char* table) {
  ASSERT_EQ(expected.size(), actual.size()) << table;
  for (qsizetype i = 0; i < expected.size(); ++i)
    ASSERT_EQ(expected[i], actual[i]) << table << " row " << i;
}

TEST(BalanceRecalc, EveryCardEndsAsTheSingleCardRecalculationLeavesIt) {
  for (unsigned seed : {1u, 2u}) {
    SCOPED_TRACE(seed);
    TestDatabase walked(QStringLiteral("zwalk")), fast(QStringLiteral("zfast"));
    ASSERT_TRUE(walked.Ok() && fast.Ok());
    SeedRegister(walked, seed);
    SeedRegister(fast, seed);
    ASSERT_EQ(TableRows(walked, QStringLiteral("KARTTET")),
              TableRows(fast, QStringLiteral("KARTTET")));
    const QStringList before = TableRows(fast, QStringLiteral("KARTTET"));

    RecalcEachCard(walked);
    std::vector<std::pair<int, int>> progress;
    RecalcAllBalances(fast.Db(), [&](int p, int m) { progress.emplace_back(p, m); });

    const QStringList cards = TableRows(walked, QStringLiteral("KARTTET"));
    ASSERT_NE(cards, before);
    ExpectSameRows(cards, TableRows(fast, QStringLiteral("KARTTET")), "KARTTET");
    ExpectSameRows(TableRows(walked, QStringLiteral("KARTFEJ")),
                   TableRows(fast, QStringLiteral("KARTFEJ")), "KARTFEJ");
    ASSERT_EQ(progress.size(), 201u);
    EXPECT_EQ(progress.front(), std::make_pair(0, 200));
    EXPECT_EQ(progress.back(), std::make_pair(200, 200));

    // A second recalculation finds nothing to write; after one changed item, only that card.
    fast.Exec(QStringLiteral("CREATE TABLE NAPLO (MIT CHAR(1), LELTSZAM VARCHAR(20))"));
    for (const char* event : {"INSERT", "UPDATE", "DELETE"})
      fast.Exec(QStringLiteral("CREATE TRIGGER NAPLO_%1 AFTER %1 ON KARTTET FOR EACH ROW INSERT "
                               "INTO NAPLO VALUES ('%2', %3.LELTSZAM)")
                    .arg(QString::fromLatin1(event), QChar(event[0]),
                         event[0] == 'D' ? QStringLiteral("OLD") : QStringLiteral("NEW")));
    RecalcAllBalances(fast.Db());
    EXPECT_EQ(fast.Value(QStringLiteral("SELECT COUNT(*) FROM NAPLO")), "0");
    fast.Exec(
        QStringLiteral("UPDATE KARTTET SET BRUTTONOV = BRUTTONOV + 1 WHERE LELTSZAM = "
                       "'00003' AND SORSZAM = 0"));
    fast.Exec(QStringLiteral("DELETE FROM NAPLO"));
    RecalcAllBalances(fast.Db());
    EXPECT_EQ(fast.Value(QStringLiteral("SELECT COUNT(DISTINCT LELTSZAM) FROM NAPLO")), "1");
    EXPECT_EQ(fast.Value(QStringLiteral("SELECT MIN(LELTSZAM) FROM NAPLO")), "00003");
  }
}

}  // namespace

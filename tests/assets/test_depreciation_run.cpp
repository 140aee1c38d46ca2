#include <gtest/gtest.h>

#include "balance_recalc.h"
#include "depreciation_run.h"
#include "exceptions.h"
#include "test_database.h"

namespace {

class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
  }
  // An activated asset with its acquisition and activation items and both rates per year.
  void Asset(const QString& key, double gross, double residual, const QString& bought,
             const QString& activated, std::initializer_list<int> years, double tax, double acc) {
    db.Exec(QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES ('%1', 'Gép', %2)")
                .arg(key)
                .arg(residual));
    db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES "
                           "('%1', '%2', '0', %3), ('%1', '%4', '2', 0)")
                .arg(key, bought)
                .arg(gross)
                .arg(activated));
    for (int year : years)
      db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES ('%1', %2, %3, %4)")
                  .arg(key)
                  .arg(year)
                  .arg(tax)
                  .arg(acc));
  }
  DepreciationRun::Result RunFor(const QString& date, const QString& key = {}, bool deleteLater = false) {
    RecalcAllBalances(db.Db());
    DepreciationRun run(db.Db());
    return run.Run(QDate::fromString(date, Qt::ISODate), key, deleteLater,
                   [&](const QString& m) { messages << m; });
  }
  QString Lines(const QString& date) {
    return db.Value(QStringLiteral(
        "SELECT IFNULL(CAST(GROUP_CONCAT(CONCAT_WS('/', LELTSZAM, DATUMTOL, DATUMIG, NAPOK, "
        "ECSSZ, ECSA) ORDER BY LELTSZAM, DATUMTOL SEPARATOR ' ') AS CHAR(2000)), '') FROM "
        "SZAMITAS WHERE ECSDATUM = '%1'")
                        .arg(date));
  }
  QString WriteOffs(const QString& key) {
    return db.Value(QStringLiteral(
        "SELECT IFNULL(CAST(GROUP_CONCAT(CONCAT_WS('/', DATUM, SZOVEG, BRUTTO, ECSNOV, ECSNSZ, "
        "ECS, NETTO, ECSSZ, NETTOSZ) ORDER BY DATUM SEPARATOR ' ') AS CHAR(2000)), '') FROM "
        "KARTTET WHERE TIPUS = '4' AND LELTSZAM = '%1'")
                        .arg(key));
  }
  TestDatabase db;
  QStringList messages;
};

TEST_F(Run, TwoRunsInARowContinueWhereTheFirstEnded) {
  Asset("00001", 1000000, 100000, "2004-03-10", "2004-07-01", {2004, 2005}, 14.5, 20);
  const auto first = RunFor("2005-06-30");
  EXPECT_EQ(first.lines, 2);
  EXPECT_EQ(first.items, 1);
  EXPECT_EQ(Lines("2005-06-30"),
            "00001/2004-07-01/2004-12-31/184/90492/72896 00001/2005-01-01/2005-06-30/181/89260/71904");
  EXPECT_EQ(WriteOffs("00001"),
            "2005-06-30/ÉCS LEIRÁS/1000000/144800/179752/144800/855200/179752/820248");

  RunFor("2005-12-31");
  EXPECT_EQ(Lines("2005-12-31"), "00001/2005-07-01/2005-12-31/184/90740/73096");
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(Run, ValueIncreaseCutsThePiece) {
  Asset("00001", 1200000, 0, "2004-12-20", "2005-01-01", {2005}, 20, 10);
  db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES "
                         "('00001', '2005-07-01', '3', 365000)"));
  RunFor("2005-12-31");
  EXPECT_EQ(Lines("2005-12-31"),
            "00001/2005-01-01/2005-06-30/181/59507/119014 00001/2005-07-01/2005-12-31/184/78893/157786");
  EXPECT_EQ(db.Value("SELECT CONCAT(ECSNSZ, '/', ECSNOV) FROM KARTTET WHERE TIPUS = '4'"),
            "138400/276800");
}

TEST_F(Run, OnlyActiveAssetsOfTheSelectionAreRun) {
  Asset("00001", 100000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  Asset("00002", 100000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  Asset("00003", 100000, 0, "2005-01-01", "2006-01-01", {2005}, 10, 10);  // activated later
  Asset("00004", 100000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  db.Exec("UPDATE KARTFEJ SET ELADAS = '2006-02-01' WHERE LELTSZAM = '00004'");  // sold later
  Asset("00005", 100000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTOCSOK) VALUES "
          "('00005', '2005-05-01', '5', 100000)");  // scrapped

  const auto all = RunFor("2005-12-31");
  EXPECT_EQ(all.assetsRead, 5);
  EXPECT_EQ(all.assetsProcessed, 3);
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(DISTINCT LELTSZAM ORDER BY LELTSZAM) AS CHAR(200)) "
                     "FROM KARTTET WHERE TIPUS = '4'"),
            "00001,00002,00004");

  // One asset again for the same date, keeping what is there: it starts after its own write-off,
  // its lines stay with that write-off, and the other assets' lines bring them no second one.
  const auto one = RunFor("2005-12-31", "00002");
  EXPECT_EQ(one.assetsRead, 1);
  EXPECT_EQ(one.items, 0);
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(LELTSZAM ORDER BY LELTSZAM) AS CHAR(200)) FROM "
                     "KARTTET WHERE TIPUS = '4'"),
            "00001,00002,00004");
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(DISTINCT LELTSZAM ORDER BY LELTSZAM) AS CHAR(200)) "
                     "FROM SZAMITAS"),
            "00001,00002,00004");
}

TEST_F(Run, YesRemovesLaterWriteOffsAndTheirLines) {
  Asset("00001", 1000000, 100000, "2004-03-10", "2004-07-01", {2004, 2005}, 14.5, 20);
  RunFor("2004-12-31");
  RunFor("2005-06-30");
  DepreciationRun run(db.Db());
  EXPECT_TRUE(run.HasLaterWriteOffs(QDate(2005, 1, 1), {}));
  EXPECT_FALSE(run.HasLaterWriteOffs(QDate(2005, 7, 1), {}));

  RunFor("2004-12-31", {}, true);
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(DISTINCT ECSDATUM) AS CHAR(200)) FROM SZAMITAS"),
            "2004-12-31");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '4'"), "1");

  run.DeleteRun(QDate(2004, 12, 31));
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM SZAMITAS"), "0");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '4'"), "0");
  RecalcAllBalances(db.Db());
  EXPECT_EQ(db.Value("SELECT NETTO FROM KARTTET WHERE TIPUS = '2'"), "1000000");
}

TEST_F(Run, AFailedRunChangesNothing) {
  Asset("00001", 1000000, 100000, "2004-03-10", "2004-07-01", {2004, 2005}, 14.5, 20);
  RunFor("2004-12-31");
  RunFor("2005-06-30");
  const QString before = Lines("2005-06-30") + WriteOffs("00001");
  // The later run is deleted and the new lines are written before the item fails.
  db.Exec("ALTER TABLE KARTTET ADD CONSTRAINT NINCS_LEIRAS CHECK (TIPUS <> '4' OR DATUM <> "
          "'2005-03-31')");
  EXPECT_THROW(RunFor("2005-03-31", {}, true), EDatabaseError);
  EXPECT_EQ(Lines("2005-06-30") + WriteOffs("00001"), before);
  EXPECT_EQ(Lines("2005-03-31"), "");
}

TEST_F(Run, KeptWriteOffsKeepTheirLines) {
  Asset("00001", 1000000, 100000, "2004-03-10", "2004-07-01", {2004, 2005}, 14.5, 20);
  Asset("00002", 365000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  const auto state = [&] {
    RecalcAllBalances(db.Db());
    return Lines("2005-12-31") + " | " + WriteOffs("00001") + " | " + WriteOffs("00002");
  };
  RunFor("2005-12-31");
  const QString first = state();
  EXPECT_EQ(Lines("2005-12-31"),
            "00001/2004-07-01/2004-12-31/184/90492/72896 00001/2005-01-01/2005-12-31/365/180000/"
            "145000 00002/2005-01-01/2005-12-31/365/36500/36500");

  // No, for every asset and for one: the write-offs stay, and so do the lines they came from.
  for (const QString& key : {QString(), QStringLiteral("00002")}) {
    const auto again = RunFor("2005-12-31", key);
    EXPECT_EQ(again.lines, 0) << key.toStdString();
    EXPECT_EQ(again.items, 0) << key.toStdString();
    EXPECT_EQ(state(), first) << key.toStdString();
  }
  // Yes: items and lines go together and come back as the first run made them.
  RunFor("2005-12-31", {}, true);
  EXPECT_EQ(state(), first);
}

TEST_F(Run, NoPeriodIsWrittenOffTwiceAndEveryCardIsReadAsTheServerCompares) {
  const struct {
    const char* what;
    // (LELTSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTOCSOK, ECSCSOKK, ECSCSSZ) of asset 00001
    const char* items;
    const char* rates;  // (LELTSZAM, EV, KULCS, KULCSSZ)
    const char* firstRun;
    const char* runDate;
    const char* lines;     // of runDate
    const char* writeOff;  // the item of runDate as the run writes it
  } cases[] = {
      {"a write-off on the day of a suspension follows it",
       "('00001','2005-01-01','0',100000,0,0,0),('00001','2005-01-01','2',0,0,0,0),"
       "('00001','2005-06-30','A',0,0,0,0)",
       "('00001',2005,10,10)", "2005-06-30", "2005-12-31", "", ""},
      {"a value increase during a suspension without restart",
       "('00001','2005-01-01','0',100000,0,0,0),('00001','2005-01-01','2',0,0,0,0),"
       "('00001','2005-04-01','A',0,0,0,0),('00001','2005-07-01','3',50000,0,0,0)",
       "('00001',2005,10,10)", nullptr, "2005-12-31", "00001/2005-01-01/2005-03-31/90/2466/2466",
       "2005-12-31/100000/2466/2466"},
      {"the item's gross is the largest gross of the lines, also below zero",
       "('00001','2005-01-01','0',1000,0,0,0),('00001','2005-01-01','2',0,0,0,0),"
       "('00001','2005-01-01','R',0,3000,5000,5000)",
       "('00001',2005,10,10)", nullptr, "2005-12-31", "00001/2005-01-01/2005-12-31/365/-200/-200",
       "2005-12-31/-2000/-200/-200"},
      {"of two rate rows of one year the first counts",
       "('00001','2005-01-01','0',100000,0,0,0),('00001','2005-01-01','2',0,0,0,0)",
       "('00001',2005,10,10),('00001',2005,20,30)", nullptr, "2005-12-31",
       "00001/2005-01-01/2005-12-31/365/10000/10000", "2005-12-31/100000/10000/10000"},
      {"items and rates keyed with a trailing blank belong to the asset",
       "('00001','2005-01-01','0',100000,0,0,0),('00001','2005-01-01','2',0,0,0,0),"
       "('00001 ','2005-07-01','3',50000,0,0,0)",
       "('00001 ',2005,10,10)", nullptr, "2005-12-31",
       "00001/2005-01-01/2005-06-30/181/4959/4959 00001/2005-07-01/2005-12-31/184/7562/7562",
       "2005-12-31/150000/12521/12521"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    db.Exec("DELETE FROM KARTFEJ; DELETE FROM KARTTET; DELETE FROM KULCSOK; DELETE FROM SZAMITAS");
    db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Gép')");
    db.Exec(QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTOCSOK, "
                           "ECSCSOKK, ECSCSSZ) VALUES %1")
                .arg(QString::fromUtf8(c.items)));
    db.Exec(QStringLiteral("INSERT INTO KULCSOK VALUES %1").arg(QString::fromUtf8(c.rates)));
    messages.clear();
    if (c.firstRun) RunFor(c.firstRun);
    const QString before = WriteOffs("00001");
    RunFor(c.runDate);
    EXPECT_EQ(Lines(c.runDate), c.lines);
    EXPECT_EQ(db.Value(QStringLiteral("SELECT IFNULL(CAST(GROUP_CONCAT(CONCAT_WS('/', DATUM, "
                                      "BRUTTO, ECSNOV, ECSNSZ)) AS CHAR(200)), '') FROM KARTTET "
                                      "WHERE TIPUS = '4' AND DATUM = '%1'")
                           .arg(c.runDate)),
              c.writeOff);
    if (c.firstRun) EXPECT_EQ(WriteOffs("00001"), before);
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  }
}

TEST(RunInput, BadDatesAndInventoryNumbersAreRefused) {
  const struct {
    QDate date;
    const char* leltszam;
    bool ok;
  } cases[] = {
      {QDate(2005, 12, 31), "", true},
      {QDate(2005, 12, 31), "00012", true},
      {QDate(), "", false},
      {QDate(1900, 1, 1), "", false},
      {QDate(1899, 12, 30), "", false},
      {QDate(2005, 12, 31), "' or '1'='1", false},
      {QDate(2005, 12, 31), "12a", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DepreciationRun::CheckInput(c.date, QString::fromUtf8(c.leltszam)).isEmpty(), c.ok)
        << c.leltszam << " " << c.date.toString().toStdString();
}

}  // namespace

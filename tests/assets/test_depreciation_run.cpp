#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <mutex>

#include "balance_recalc.h"
#include "depreciation_run.h"
#include "exceptions.h"
#include "other_workstation.h"
#include "test_database.h"
#include "test_util.h"
#include "transaction.h"
#include "uni_sql_query.h"

namespace {

class Run : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
  }
  // An activated asset with its acquisition and activation items and both rates per year.
  void Asset(const QString& number, double gross, double residual, const QString& bought,
             const QString& activated, std::initializer_list<int> years, double tax, double acc) {
    const QString key = db.Db().EscapeString(number);
    db.Exec(
        QStringLiteral("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES ('%1', 'Gép', %2)")
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
  DepreciationRun::Result RunFor(const QString& date, const QString& key = {},
                                 bool deleteLater = false) {
    RecalcAllBalances(db.Db());
    DepreciationRun run(db.Db());
    return run.Run(QDate::fromString(date, Qt::ISODate), key, deleteLater,
                   [&](const QString& m) { messages << m; });
  }
  QString Lines(const QString& date) {
    return db.Value(
        QStringLiteral(
            "SELECT IFNULL(CAST(GROUP_CONCAT(CONCAT_WS('/', LELTSZAM, DATUMTOL, DATUMIG, NAPOK, "
            "ECSSZ, ECSA) ORDER BY LELTSZAM, DATUMTOL SEPARATOR ' ') AS CHAR(2000)), '') FROM "
            "SZAMITAS WHERE ECSDATUM = '%1'")
            .arg(date));
  }
  QString WriteOffs(const QString& key) {
    return db.Value(
        QStringLiteral(
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
  EXPECT_EQ(
      Lines("2005-06-30"),
      "00001/2004-07-01/2004-12-31/184/90492/72896 00001/2005-01-01/2005-06-30/181/89260/71904");
  EXPECT_EQ(WriteOffs("00001"),
            "2005-06-30/ÉCS LEIRÁS/1000000/144800/179752/144800/855200/179752/820248");

  RunFor("2005-12-31");
  EXPECT_EQ(Lines("2005-12-31"), "00001/2005-07-01/2005-12-31/184/90740/73096");
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

TEST_F(Run, ValueIncreaseCutsThePiece) {
  Asset("00001", 1200000, 0, "2004-12-20", "2005-01-01", {2005}, 20, 10);
  db.Exec(
      QStringLiteral("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES "
                     "('00001', '2005-07-01', '3', 365000)"));
  RunFor("2005-12-31");
  EXPECT_EQ(
      Lines("2005-12-31"),
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
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTOCSOK) VALUES "
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
  db.Exec(
      "ALTER TABLE KARTTET ADD CONSTRAINT NINCS_LEIRAS CHECK (TIPUS <> '4' OR DATUM <> "
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
    if (c.firstRun) {
      EXPECT_EQ(WriteOffs("00001"), before);
    }
    EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  }
}

TEST(RunInput, OnlyASetDateIsNeeded) {
  const struct {
    QDate date;
    bool ok;
  } cases[] = {
      {QDate(2005, 12, 31), true},
      {QDate(), false},
      {QDate(1900, 1, 1), false},
      {QDate(1899, 12, 30), false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(DepreciationRun::CheckInput(c.date).isEmpty(), c.ok)
        << c.date.toString().toStdString();
}

TEST_F(Run, AnyInventoryNumberRunsItsOwnAssetOnly) {
  for (const char* key : {"00001", "A12", "B'7", "Gép-3"})
    Asset(QString::fromUtf8(key), 365000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  for (const char* key : {"A12", "B'7", "Gép-3"}) {
    const auto one = RunFor("2005-12-31", QString::fromUtf8(key));
    EXPECT_EQ(one.assetsProcessed, 1) << key;
    EXPECT_EQ(one.items, 1) << key;
  }
  // A text that no asset has, however it is quoted, touches nothing.
  const auto none = RunFor("2005-12-31", "' or '1'='1", true);
  EXPECT_EQ(none.assetsRead, 0);
  EXPECT_EQ(Lines("2005-12-31"),
            QString::fromUtf8("A12/2005-01-01/2005-12-31/365/36500/36500 B'7/2005-01-01/2005-12-31/"
                              "365/36500/36500 Gép-3/2005-01-01/2005-12-31/365/36500/36500"));
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '4' AND LELTSZAM = '00001'"), "0");
}

// A count that one thread raises and another waits on.
class Signal {
 public:
  void Raise() {
    {
      std::lock_guard lock(m_mutex);
      ++m_count;
    }
    m_changed.notify_all();
  }
  // Waits until the count reaches n; false after the timeout.
  bool WaitFor(int n) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::seconds(30), [&] { return m_count >= n; });
  }

 private:
  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_count = 0;
};

// The other side of a deadlock, on a connection of its own: once per attempt of the run it
// takes the gap where the run's write-off items go, waits until the run waits for it, and then
// reaches for the run's new lines. It has written more than the run, so the server rolls the
// run back.
class DeadlockingWorkstation {
 public:
  DeadlockingWorkstation(TestDatabase& db, const QString& runConnection, int deadlocks)
      : m_done(std::async(std::launch::async, [this, &db, runConnection, deadlocks] {
          const auto other = db.Connect();
          const auto exec = [&](const QString& sql) { RunStatements(*other, sql); };
          try {
            exec(QStringLiteral("SET SESSION innodb_lock_wait_timeout = 10"));
            for (int i = 1; i <= deadlocks; ++i) {
              if (!m_attempt.WaitFor(i)) return QStringLiteral("attempt %1 did not come").arg(i);
              exec(QStringLiteral("START TRANSACTION"));
              exec(QStringLiteral("INSERT INTO SULY SELECT seq FROM seq_1_to_2000"));
              exec(
                  QStringLiteral("SELECT * FROM KARTTET FORCE INDEX (IKARTTET2) WHERE DATUM = "
                                 "'2005-12-31' FOR UPDATE"));
              m_ready.Raise();
              if (!WaitUntilWaitingForARowLock(*other, runConnection))
                return QStringLiteral("the run did not wait");
              exec(QStringLiteral(
                  "SELECT * FROM SZAMITAS WHERE ECSDATUM = '2005-12-31' FOR UPDATE"));
              exec(QStringLiteral("ROLLBACK"));
            }
          } catch (const Exception& e) {
            m_ready.Raise();
            return e.Message();
          }
          return QString();
        })) {}
  // From the run's progress at the start of its attempt n: the other side is ready for it.
  void AttemptStarts(int n) {
    m_attempt.Raise();
    EXPECT_TRUE(m_ready.WaitFor(n));
  }
  // Empty when every deadlock was made.
  QString Failure() { return m_done.get(); }

 private:
  Signal m_attempt, m_ready;
  std::future<QString> m_done;
};

TEST_F(Run, ADeadlockStartsTheWholeRunAgain) {
  Asset("00001", 365000, 0, "2005-01-01", "2005-01-01", {2005}, 10, 10);
  Asset("00002", 365000, 0, "2005-01-01", "2005-01-01", {}, 10, 10);  // no rate: a message
  RecalcAllBalances(db.Db());
  db.Exec("CREATE TABLE SULY (N INT) ENGINE=InnoDB");
  db.Exec("SET SESSION innodb_lock_wait_timeout = 10");
  const QString connection = db.Value("SELECT CONNECTION_ID()");
  const QString missingRate = QString::fromUtf8(
      "Nincs megadva a leirási kulcs! Leltári szám:00002 Dátum: 2005.01.01 - 2005.12.31");

  const struct {
    int deadlocks;
    bool completes;
  } cases[] = {{1, true}, {DepreciationRun::kDeadlockRetries + 1, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.deadlocks);
    int attempts = 0;
    QStringList shown;
    bool shownInsideTheRun = false;
    QString error;
    DeadlockingWorkstation other(db, connection, c.deadlocks);
    try {
      DepreciationRun(db.Db()).Run(
          QDate(2005, 12, 31), {}, false,
          [&](const QString& m) {
            shown << m;
            shownInsideTheRun |= InOpenWork(db.Db());
          },
          [&](int position, int) {
            if (position > 0) return;
            if (++attempts <= c.deadlocks) other.AttemptStarts(attempts);
          });
    } catch (const EDatabaseError& e) {
      error = e.Message();
    }
    EXPECT_EQ(other.Failure().toStdString(), "");
    EXPECT_EQ(attempts, c.deadlocks + (c.completes ? 1 : 0));
    EXPECT_FALSE(shownInsideTheRun);
    if (c.completes) {
      EXPECT_EQ(error.toStdString(), "");
      EXPECT_EQ(shown, QStringList{missingRate});
      EXPECT_EQ(Lines("2005-12-31"),
                "00001/2005-01-01/2005-12-31/365/36500/36500 00002/2005-01-01/2005-12-31/365/0/0");
      EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '4'"), "2");
    } else {
      EXPECT_TRUE(error.startsWith("MySQL Error Deadlock found when trying to get lock"))
          << error.toStdString();
      EXPECT_EQ(shown, QStringList{});
      EXPECT_EQ(Lines("2005-12-31"), "");
      EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '4'"), "0");
    }
    db.Exec("DELETE FROM KARTTET WHERE TIPUS = '4'; DELETE FROM SZAMITAS");
  }
}

// Two workstations: the run for 2005.12.31 over every asset, followed by the balance
// recalculation as the depreciation command does, while the other workstation posts items.
TEST_F(Run, RunsAndItemPostsOfAnotherWorkstationNeverDeadlock) {
  constexpr int kAssets = 1000, kRounds = 10, kPosts = 100;
  const auto number = [](int a) { return QStringLiteral("%1").arg(a, 5, 10, QChar('0')); };
  {
    QStringList masters, items, rates;
    for (int a = 1; a <= kAssets; ++a) {
      masters << QStringLiteral("('%1', 'Eszköz', %2)").arg(number(a)).arg(a % 7 * 1000);
      // Written off to the end of 2004, so each run covers 2005.
      items << QStringLiteral(
                   "('%1', '2004-03-10', '0', %2, 0, 0), ('%1', '2004-07-01', '2', 0, "
                   "0, 0), ('%1', '2004-12-31', '4', 0, 50000, 60000)")
                   .arg(number(a))
                   .arg(1000000 + a);
      rates << QStringLiteral("('%1', 2005, 14.5, 20)").arg(number(a));
    }
    db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES " + masters.join(','));
    db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, ECSNSZ) VALUES " +
            items.join(','));
    db.Exec("INSERT INTO KULCSOK VALUES " + rates.join(','));
    RecalcAllBalances(db.Db());
  }

  int attempts = 0;
  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE(round);
    QStringList numbers;
    for (int i = 1; i <= kPosts; ++i) numbers << number(round * kPosts + i);
    // Stale acquisition dates, which the recalculation writes back to every master row.
    db.Exec("UPDATE KARTFEJ SET BESZKELT = '1999-01-01'");
    auto posts = PostItemsElsewhere(db, numbers, QDate(2005, 6, 1), 1000);
    DepreciationRun run(db.Db());
    const QDate date(2005, 12, 31);
    try {
      const auto result = run.Run(
          date, {}, run.HasLaterWriteOffs(date, {}), [&](const QString& m) { messages << m; },
          [&](int position, int) { attempts += position == 0; });
      EXPECT_EQ(result.items, kAssets);
      RecalcAllBalances(db.Db());
    } catch (const Exception& e) {
      ADD_FAILURE() << e.what();
    }
    const QStringList errors = posts.get();
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
  }
  EXPECT_EQ(attempts, kRounds) << "a run was started again after a deadlock";
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '3'"),
            QString::number(kRounds * kPosts));
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = '4' AND DATUM = '2005-12-31'"),
            QString::number(kAssets));

  const auto stored = [&] {
    return Rows(db,
                "SELECT LELTSZAM, DATUM, TIPUS, BRUTTO, ECS, ECSSZ, NETTO, NETTOSZ, SORSZAM "
                "FROM KARTTET ORDER BY LELTSZAM, DATUM, TIPUS, SORSZAM") +
           Rows(db,
                "SELECT LELTSZAM, BESZKELT, AKTKELT, ELADAS, SLEJTEZ FROM KARTFEJ ORDER BY "
                "LELTSZAM");
  };
  const QStringList before = stored();
  RecalcAllBalances(db.Db());
  EXPECT_EQ(stored(), before);
}

}  // namespace

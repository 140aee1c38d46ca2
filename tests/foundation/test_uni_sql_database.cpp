// The connection: opening and closing, its errors and the session it sets up.
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_query.h"

namespace {

QString One(TUniSQLDatabase& db, const QString& sql) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(sql);
  q.Open();
  return q.Fields(0)->AsString();
}

}  // namespace

TEST(UniSQLDatabase, ConnectsOnlyWithADatabaseNameAndOnlyOnce) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  TUniSQLDatabase db;
  EXPECT_EQ(db.User(), "root");
  EXPECT_EQ(db.Host(), "Localhost");
  EXPECT_EQ(db.Port(), "3306");
  ConfigureTestServer(db, QString());
  db.SetConnected(true);
  EXPECT_FALSE(db.Connected());

  db.SetDatabasename(t.Name());
  db.SetConnected(true);
  ASSERT_TRUE(db.Connected());
  const QString id = One(db, "select connection_id()");
  db.SetConnected(true);
  EXPECT_EQ(One(db, "select connection_id()"), id);
  EXPECT_EQ(One(db, "select database()"), t.Name());

  db.SetConnected(false);
  EXPECT_FALSE(db.Connected());
  db.SetConnected(false);
  db.Connect();
  EXPECT_NE(One(db, "select connection_id()"), id);
}

TEST(UniSQLDatabase, FailuresRaiseAndLeaveItDisconnected) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  struct Case {
    const char* what;
    std::function<void(TUniSQLDatabase&)> spoil;
  };
  const Case cases[] = {
      {"wrong password", [](TUniSQLDatabase& db) { db.Setpassword("nem-jó"); }},
      {"unknown database", [](TUniSQLDatabase& db) { db.SetDatabasename("nincs_ilyen_db"); }},
      {"nobody listens", [](TUniSQLDatabase& db) { db.SetPort("1"); }},
  };
  for (const Case& c : cases) {
    TUniSQLDatabase db;
    ConfigureTestServer(db, t.Name());
    c.spoil(db);
    try {
      db.SetConnected(true);
      ADD_FAILURE() << c.what << ": connected";
    } catch (const EDatabaseError& e) {
      EXPECT_TRUE(e.Message().startsWith("MySQL Error ")) << c.what << ": " << e.what();
      EXPECT_GT(e.Message().size(), 12) << c.what;
    }
    EXPECT_FALSE(db.Connected()) << c.what;
    EXPECT_EQ(db.Handle(), nullptr) << c.what;
  }

  TUniSQLDatabase db;
  ConfigureTestServer(db, t.Name());
  db.SetPort("33o6");
  EXPECT_THROW(db.Connect(), EConvertError);
}

TEST(UniSQLDatabase, SessionIsUtf8mb4CountsMatchedRowsAndRefusesLocalFiles) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  EXPECT_EQ(One(t.Db(), "select @@character_set_client"), "utf8mb4");
  EXPECT_EQ(One(t.Db(), "select @@character_set_results"), "utf8mb4");
  EXPECT_EQ(One(t.Db(), "select _utf8mb4'Árvíztűrő 😀'"), "Árvíztűrő 😀");

  t.Exec("create table T (A int)");
  t.Exec("insert into T values (1)");
  TUniSQLQuery q;
  q.SetDatabase(&t.Db());
  q.SetSQL("update T set A=1");
  q.ExecSQL();
  EXPECT_EQ(One(t.Db(), "select row_count()"), "1");  // matched, although nothing changed

  q.SetSQL("load data local infile '/etc/hostname' into table T");
  EXPECT_THROW(q.ExecSQL(), EDatabaseError);
  EXPECT_EQ(One(t.Db(), "select count(*) from T"), "1");

  EXPECT_EQ(t.Db().EscapeString("O'Hara\\x"), "O\\'Hara\\\\x");
  t.Db().Disconnect();
  EXPECT_THROW(t.Db().EscapeString("x"), EDatabaseError);
}

// "localhost" with a port reaches the server on that port, not the client library's default
// local socket (where another server may listen, or none).
TEST(UniSQLDatabase, LocalhostWithAPortReachesThatPort) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  for (const char* host : {"localhost", "Localhost"}) {
    TUniSQLDatabase db;
    ConfigureTestServer(db, t.Name());
    db.SetHost(host);
    ASSERT_NO_THROW(db.Connect()) << host;
    EXPECT_EQ(One(db, "select @@port"), db.Port()) << host;
  }
}

// A statement the server does not answer within the read time-out fails as a lost connection.
TEST(UniSQLDatabase, AStatementWithoutAnswerEndsAtTheTimeOut) {
  TestDatabase t;
  ASSERT_TRUE(t.Ok());
  TUniSQLDatabase::SetTimeouts(2, 1);
  TUniSQLDatabase db;
  ConfigureTestServer(db, t.Name());
  db.Connect();
  TUniSQLDatabase::SetTimeouts(0, 0);
  QElapsedTimer clock;
  clock.start();
  try {
    One(db, "select sleep(10)");
    ADD_FAILURE() << "the statement waited for its answer";
  } catch (const EDatabaseError& e) {
    EXPECT_TRUE(e.Message().startsWith("MySQL Error ")) << e.Message().toStdString();
  }
  EXPECT_LT(clock.elapsed(), 8000);
}

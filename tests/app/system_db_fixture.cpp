#include "system_db_fixture.h"

#include "exceptions.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"

void SystemDbTest::Configure(TUniSQLDatabase& db, const QString& name) {
  ConfigureTestServer(db, name);
}

void SystemDbTest::DropSystemDatabases() {
  TUniSQLDatabase db;
  Configure(db, "information_schema");
  db.Connect();
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(QStringLiteral("select SCHEMA_NAME from SCHEMATA where SCHEMA_NAME = 'ZARN' or "
                          "SCHEMA_NAME like 'ZARNDAT%'"));
  q.Open();
  QStringList names;
  for (q.First(); !q.Eof(); q.Next()) names << q.Fields(0)->AsString();
  q.Close();
  for (const QString& n : names) {
    q.SetSQL("drop database " + n);
    q.ExecSQL();
  }
}

void SystemDbTest::SetUp() {
  ASSERT_TRUE(TestServerFromEnv().ok);
  DropSystemDatabases();
}

void SystemDbTest::TearDown() { DropSystemDatabases(); }

void SystemDbTest::Exec(const QString& database, const QString& sql) {
  TUniSQLDatabase db;
  Configure(db, database);
  try {
    db.Connect();
    TUniSQLQuery q;
    q.SetDatabase(&db);
    q.SetSQL(sql);
    q.ExecSQL();
  } catch (const Exception& e) {
    ADD_FAILURE() << e.Message().toStdString() << "\n" << sql.toStdString();
  }
}

QStringList SystemDbTest::Column(const QString& database, const QString& sql) {
  QStringList out;
  TUniSQLDatabase db;
  Configure(db, database);
  try {
    db.Connect();
    TUniSQLQuery q;
    q.SetDatabase(&db);
    q.SetSQL(sql);
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) out << q.Fields(0)->AsString();
  } catch (const Exception& e) {
    ADD_FAILURE() << e.Message().toStdString() << "\n" << sql.toStdString();
  }
  return out;
}

QString SystemDbTest::Value(const QString& database, const QString& sql) {
  const QStringList c = Column(database, sql);
  return c.isEmpty() ? QString() : c.first();
}

QString SystemDbTest::ProgramDir() const { return BinDir() + "/"; }

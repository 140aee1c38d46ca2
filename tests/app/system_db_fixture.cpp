#include "system_db_fixture.h"

#include <QDir>
#include <QFile>

#include "app_globals.h"
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
  q.SetSQL(
      QStringLiteral("select SCHEMA_NAME from SCHEMATA where SCHEMA_NAME = 'ZARN' or "
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
  Globals().ProgramDir = ProgramDir();
  Globals().UserDir = m_userDir.path() + "/";
  Globals().DataAlias = "ZARNDAT001";
  Globals().CrTabMode = 2;
  Configure(m_db0, "ZARN");
  Configure(m_db1, "ZARNDAT001");
}

void SystemDbTest::TearDown() {
  m_db0.Disconnect();
  m_db1.Disconnect();
  DropSystemDatabases();
}

QStringList SystemDbTest::Run(const QString& database, const QString& sql, bool rows) {
  QStringList out;
  TUniSQLDatabase db;
  Configure(db, database);
  try {
    db.Connect();
    TUniSQLQuery q;
    q.SetDatabase(&db);
    q.SetSQL(sql);
    if (!rows) {
      q.ExecSQL();
      return out;
    }
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) out << q.Fields(0)->AsString();
  } catch (const Exception& e) {
    ADD_FAILURE() << e.Message().toStdString() << "\n" << sql.toStdString();
  }
  return out;
}

void SystemDbTest::Exec(const QString& database, const QString& sql) { Run(database, sql, false); }

QStringList SystemDbTest::Column(const QString& database, const QString& sql) {
  return Run(database, sql, true);
}

QString SystemDbTest::Value(const QString& database, const QString& sql) {
  const QStringList c = Column(database, sql);
  return c.isEmpty() ? QString() : c.first();
}

QString SystemDbTest::ProgramDir() const { return BinDir() + "/"; }

void SystemDbTest::CopyCreationScripts(const QString& dir) const {
  QDir().mkpath(dir + "create");
  for (const char* f : {"cre_cegek.sql", "create.sql", "creind.sql", "dropind.sql"})
    QFile::copy(ProgramDir() + "create/" + f, dir + "create/" + f);
}

void SystemDbTest::WriteServerIni(const QString& dir, const QString& user,
                                  const QString& password) {
  const TestServer& s = TestServerFromEnv();
  WriteFileBytes(dir + "ZARN.INI",
                 QString("[INI]\r\nHOST=%1\r\nPORT=%2\r\nUSER=%3\r\nPASSWORD=%4\r\n")
                     .arg(s.host)
                     .arg(s.port)
                     .arg(user.isEmpty() ? s.user : user, user.isEmpty() ? s.password : password)
                     .toUtf8());
}

QString SystemDbTest::OwnProgramDir() {
  const QString prog = m_userDir.filePath("prog/");
  CopyCreationScripts(prog);
  WriteServerIni(prog);
  WriteScript(prog, "Gravlen", "exit 0\n");
  Globals().ProgramDir = prog;
  return prog;
}

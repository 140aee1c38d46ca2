#include "test_database.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "exceptions.h"
#include "test_util.h"
#include "uni_sql_query.h"

void ConfigureTestServer(TUniSQLDatabase& db, const QString& databaseName) {
  const TestServer& server = TestServerFromEnv();
  db.SetHost(server.host);
  db.SetPort(QString::number(server.port));
  db.SetUser(server.user);
  db.Setpassword(server.password);
  db.SetDatabasename(databaseName);
}

TestDatabase::TestDatabase(const QString& prefix)
    : m_name(UniqueName(prefix)),
      m_admin(std::make_unique<TUniSQLDatabase>()),
      m_db(std::make_unique<TUniSQLDatabase>()) {
  if (!TestServerFromEnv().ok) return;
  try {
    ConfigureTestServer(*m_admin, QStringLiteral("mysql"));
    m_admin->Connect();
    TUniSQLQuery q;
    q.SetDatabase(m_admin.get());
    q.SetSQL(QStringLiteral("DROP DATABASE IF EXISTS `%1`;\nCREATE DATABASE `%1` CHARACTER SET "
                            "utf8mb4 COLLATE utf8mb4_hungarian_ci")
                 .arg(m_name));
    q.ExecSQL();
    ConfigureTestServer(*m_db, m_name);
    m_db->Connect();
    m_ok = true;
  } catch (const Exception& e) {
    ADD_FAILURE() << "cannot create test database " << m_name.toStdString() << ": " << e.what();
  }
}

TestDatabase::~TestDatabase() {
  m_db->Disconnect();
  if (!m_admin->Connected()) return;
  try {
    TUniSQLQuery q;
    q.SetDatabase(m_admin.get());
    q.SetSQL(QStringLiteral("DROP DATABASE IF EXISTS `%1`").arg(m_name));
    q.ExecSQL();
  } catch (const Exception& e) {
    ADD_FAILURE() << "cannot drop test database " << m_name.toStdString() << ": " << e.what();
  }
}

std::unique_ptr<TUniSQLDatabase> TestDatabase::Connect() const {
  auto db = std::make_unique<TUniSQLDatabase>();
  ConfigureTestServer(*db, m_name);
  try {
    db->Connect();
  } catch (const Exception& e) {
    ADD_FAILURE() << "cannot connect to " << m_name.toStdString() << ": " << e.what();
  }
  return db;
}

void TestDatabase::Exec(const QString& sql) {
  TUniSQLQuery q;
  q.SetDatabase(m_db.get());
  q.SetSQL(sql);
  try {
    q.ExecSQL();
  } catch (const EDatabaseError& e) {
    ADD_FAILURE() << e.what() << "\nstatement: " << e.Statement().toStdString();
  }
}

void TestDatabase::RunScript(const QString& relativePath) {
  TUniSQLQuery q;
  q.SetDatabase(m_db.get());
  try {
    q.LoadSQLFromFile(SourceDir() + u'/' + relativePath);
    q.ExecSQL();
  } catch (const EDatabaseError& e) {
    ADD_FAILURE() << relativePath.toStdString() << ": " << e.what()
                  << "\nstatement: " << e.Statement().toStdString();
  } catch (const Exception& e) {
    ADD_FAILURE() << relativePath.toStdString() << ": " << e.what();
  }
}

void TestDatabase::CreateCompanyTables() {
  RunScript(QStringLiteral("create/create.sql"));
  RunScript(QStringLiteral("create/creind.sql"));
}

QString TestDatabase::Value(const QString& sql) {
  TUniSQLQuery q;
  q.SetDatabase(m_db.get());
  q.SetSQL(sql);
  try {
    q.Open();
    if (q.FieldCount() > 0 && !q.IsEmpty()) return q.Fields(0)->AsString();
    ADD_FAILURE() << "no value from " << sql.toStdString();
  } catch (const EDatabaseError& e) {
    ADD_FAILURE() << e.what() << "\nstatement: " << e.Statement().toStdString();
  }
  return {};
}

QStringList Rows(TestDatabase& db, const QString& sql) {
  QStringList rows;
  TUniSQLQuery q;
  q.SetDatabase(&db.Db());
  q.SetSQL(sql);
  try {
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
      QStringList fields;
      for (int i = 0; i < q.FieldCount(); ++i) fields << q.Fields(i)->AsString();
      rows << fields.join('|');
    }
  } catch (const Exception& e) {
    ADD_FAILURE() << e.what() << " in " << sql.toStdString();
  }
  return rows;
}

bool RunDumpTool(const QStringList& arguments, const QString& file) {
  const TestServer& server = TestServerFromEnv();
  QTemporaryDir dir;
  const QString options = dir.filePath(QStringLiteral("dump.cnf"));
  WriteFileBytes(options, "[client]\nhost=" + server.host.toUtf8() +
                              "\nport=" + QByteArray::number(server.port) +
                              "\nprotocol=tcp\nuser=" + server.user.toUtf8() +
                              "\npassword=" + server.password.toUtf8() + "\n");
  QProcess tool;
  tool.start(QStringLiteral("mariadb-dump"),
             QStringList{QStringLiteral("--defaults-extra-file=") + options} + arguments +
                 QStringList{QStringLiteral("--result-file=") + file});
  return tool.waitForFinished(120000) && tool.exitStatus() == QProcess::NormalExit &&
         tool.exitCode() == 0;
}

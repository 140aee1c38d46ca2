#pragma once

#include <QString>
#include <QStringList>
#include <memory>

#include "uni_sql_database.h"

// Points db at the private test server from the environment (host, port, user, password)
// and at databaseName; it does not connect. Fails the test when no server is configured.
void ConfigureTestServer(TUniSQLDatabase& db, const QString& databaseName);

// A database of the test's own on the private server: created with a unique name
// (utf8mb4, Hungarian collation) and dropped again when the fixture ends, so tests running in
// parallel never meet. Db() is a connection to it.
class TestDatabase {
 public:
  explicit TestDatabase(const QString& prefix = QStringLiteral("zt"));
  ~TestDatabase();
  TestDatabase(const TestDatabase&) = delete;
  TestDatabase& operator=(const TestDatabase&) = delete;

  const QString& Name() const { return m_name; }
  bool Ok() const { return m_ok; }
  TUniSQLDatabase& Db() { return *m_db; }
  // A further connection to the same database (another workstation).
  std::unique_ptr<TUniSQLDatabase> Connect() const;
  // Runs statements (split as ExecSQL splits them) on Db(); a failure fails the test.
  void Exec(const QString& sql);
  // Runs a script of the source tree ("create/create.sql") on Db(), split into statements as
  // ExecSQL splits them; a failure fails the test. With it a test builds a company database.
  void RunScript(const QString& relativePath);
  // The tables and indexes of a company database: create.sql, then creind.sql.
  void CreateCompanyTables();
  // The first column of the first row of a query, as text; a failure fails the test.
  QString Value(const QString& sql);

 private:
  QString m_name;
  bool m_ok = false;
  std::unique_ptr<TUniSQLDatabase> m_admin;
  std::unique_ptr<TUniSQLDatabase> m_db;
};

// Runs the real dump tool against the private server with the given arguments (after its
// connection settings) into file; false when it fails.
bool RunDumpTool(const QStringList& arguments, const QString& file);

// The rows of a query, each as its fields' texts joined by "|"; a failure fails the test.
QStringList Rows(TestDatabase& db, const QString& sql);

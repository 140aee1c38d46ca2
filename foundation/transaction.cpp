#include "transaction.h"

#include <mysql.h>

#include "exceptions.h"
#include "uni_sql_query.h"

namespace {

void Run(TUniSQLDatabase& database, const QString& sql) { RunStatements(database, sql); }

}  // namespace

bool InOpenWork(TUniSQLDatabase& database) {
  const unsigned int status = database.CheckedHandle()->server_status;
  return database.InTransaction() || !(status & SERVER_STATUS_AUTOCOMMIT);
}

TTransaction::TTransaction(TUniSQLDatabase& database) : m_database(database) {
  // Inside a transaction already: join it, since a second START TRANSACTION would commit the
  // outer work half way. The outer guard commits or rolls back.
  // Autocommit off (TLockedWork): the locked work decides, START TRANSACTION would unlock.
  if (InOpenWork(database)) return;
  Run(m_database, QStringLiteral("START TRANSACTION"));
  m_open = true;
}

TTransaction::TTransaction(TUniSQLDatabase& database, const QString& tables)
    : TTransaction(database) {
  // The server takes a table's metadata lock at its first use and holds it to the end.
  if (m_open)
    Run(m_database, QStringLiteral("SELECT 1 FROM %1 WHERE 1 = 0 FOR UPDATE").arg(tables));
}

TTransaction::~TTransaction() {
  try {
    Rollback();
  } catch (const Exception&) {
    // A lost connection rolls back by itself; the error that ended the work matters more.
  }
}

void TTransaction::Commit() {
  if (!m_open) return;
  Run(m_database, QStringLiteral("COMMIT"));
  m_open = false;
}

void TTransaction::Rollback() {
  if (!m_open) return;
  m_open = false;
  Run(m_database, QStringLiteral("ROLLBACK"));
}

TTableLock::TTableLock(TUniSQLDatabase& database, const QString& tables) : m_database(database) {
  Run(m_database, QStringLiteral("LOCK TABLES ") + tables);
  m_locked = true;
}

TTableLock::~TTableLock() {
  try {
    Release();
  } catch (const Exception&) {
    // The lock ends with the connection anyway.
  }
}

void TTableLock::Release() {
  if (!m_locked) return;
  m_locked = false;
  Run(m_database, QStringLiteral("UNLOCK TABLES"));
}

TLockedWork::TLockedWork(TUniSQLDatabase& database, const QString& tables) : m_database(database) {
  Run(m_database, QStringLiteral("SET autocommit = 0"));
  m_open = true;
  try {
    Run(m_database, QStringLiteral("LOCK TABLES ") + tables);
  } catch (const Exception&) {
    End(QStringLiteral("ROLLBACK"));
    throw;
  }
}

TLockedWork::~TLockedWork() {
  try {
    End(QStringLiteral("ROLLBACK"));
  } catch (const Exception&) {
    // A lost connection rolls back and unlocks by itself.
  }
}

void TLockedWork::Commit() { End(QStringLiteral("COMMIT")); }

void TLockedWork::End(const QString& how) {
  if (!m_open) return;
  m_open = false;
  // Each step runs even when one before it failed, so no lock and no autocommit-off is left.
  QString firstError;
  for (const QString& sql :
       {how, QStringLiteral("UNLOCK TABLES"), QStringLiteral("SET autocommit = 1")}) {
    try {
      Run(m_database, sql);
    } catch (const Exception& e) {
      if (firstError.isEmpty()) firstError = e.Message();
    }
  }
  if (!firstError.isEmpty()) throw Exception(firstError);
}

TTemporaryTables::TTemporaryTables(TUniSQLDatabase& database, QString names)
    : m_database(database), m_names(std::move(names)) {
  Drop();
}

TTemporaryTables::~TTemporaryTables() {
  try {
    Drop();
  } catch (const Exception&) {
    // The error that ended the work matters more; the tables go with the connection.
  }
}

void TTemporaryTables::Drop() {
  Run(m_database, QStringLiteral("DROP TEMPORARY TABLE IF EXISTS ") + m_names);
}

#include "transaction.h"

#include "exceptions.h"
#include "uni_sql_query.h"

namespace {

void Run(TUniSQLDatabase& database, const QString& sql) { RunStatements(database, sql); }

}  // namespace

TTransaction::TTransaction(TUniSQLDatabase& database) : m_database(database) {
  // Inside a transaction already: join it, since a second START TRANSACTION would commit the
  // outer work half way. The outer guard commits or rolls back.
  database.CheckedHandle();
  if (database.InTransaction()) return;
  Run(m_database, QStringLiteral("START TRANSACTION"));
  m_open = true;
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

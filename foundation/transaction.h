#pragma once

#include <QString>

class TUniSQLDatabase;

// Whether a transaction or a locked work (autocommit off) is open on the connection: a
// TTransaction made now joins it, and LOCK TABLES would commit it half way.
bool InOpenWork(TUniSQLDatabase& database);

// A transaction on a connection: begun when the guard is made, rolled back when the guard
// goes out of scope without Commit, so a piece of work either completes or leaves the data as
// it was. Statements run through TUniSQLQuery (and its trace). Raises "MySQL Error ..." when
// the transaction cannot begin or commit. A guard made inside an open transaction, or while
// autocommit is off (TLockedWork), joins it: its Commit and Rollback do nothing and the outer
// guard decides.
class TTransaction {
 public:
  explicit TTransaction(TUniSQLDatabase& database);
  // Begins and, as the first statement, takes every table the work will read or write (tables
  // as SQL lists them: "KARTFEJ, KARTTET"), as for writing and without touching a row. A later
  // statement that took a further table while holding these would deadlock with another
  // workstation's LOCK TABLES queued in between, and the server would end the whole work; the
  // first statement instead waits for such a lock holding nothing. A joined guard takes none.
  TTransaction(TUniSQLDatabase& database, const QString& tables);
  ~TTransaction();
  TTransaction(const TTransaction&) = delete;
  TTransaction& operator=(const TTransaction&) = delete;

  void Commit();
  void Rollback();
  bool Open() const { return m_open; }  // false for a joined guard

 private:
  TUniSQLDatabase& m_database;
  bool m_open = false;
};

// LOCK TABLES on a connection, released (UNLOCK TABLES) when the guard goes out of scope or
// on Release. tables is the lock list as SQL writes it: "KARTFEJ WRITE, KARTTET WRITE".
// The server ends an open transaction when tables are locked.
class TTableLock {
 public:
  TTableLock(TUniSQLDatabase& database, const QString& tables);
  ~TTableLock();
  TTableLock(const TTableLock&) = delete;
  TTableLock& operator=(const TTableLock&) = delete;

  void Release();

 private:
  TUniSQLDatabase& m_database;
  bool m_locked = false;
};

// A piece of work under table locks, all or nothing: autocommit off, LOCK TABLES; Commit
// commits and unlocks; leaving without Commit rolls back and unlocks. Autocommit is on again
// on every path. START TRANSACTION would drop the locks, so TTransaction guards made inside
// join this one. tables as for TTableLock; every table the work touches must be in it.
class TLockedWork {
 public:
  TLockedWork(TUniSQLDatabase& database, const QString& tables);
  ~TLockedWork();
  TLockedWork(const TLockedWork&) = delete;
  TLockedWork& operator=(const TLockedWork&) = delete;

  void Commit();

 private:
  void End(const QString& how);

  TUniSQLDatabase& m_database;
  bool m_open = false;
};

// Temporary tables of a connection, dropped (DROP TEMPORARY TABLE IF EXISTS) when the guard is
// made, so none left from before is met, on Drop, and again on every way out. names as SQL lists
// them: "UJEGYENLEG, UJFEJDATUM". TEMPORARY: a real table of that name is never touched, and
// the drop ends no open transaction.
class TTemporaryTables {
 public:
  TTemporaryTables(TUniSQLDatabase& database, QString names);
  ~TTemporaryTables();
  TTemporaryTables(const TTemporaryTables&) = delete;
  TTemporaryTables& operator=(const TTemporaryTables&) = delete;

  void Drop();

 private:
  TUniSQLDatabase& m_database;
  QString m_names;
};

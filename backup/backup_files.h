#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "sql_dump.h"

class TUniSQLDatabase;

// The names and texts the backup and restore share, and the reload of a dump.

// The program directory + "work" + the database name (no separator between them).
QString WorkDirectory(const QString& databaseName);
// The description file beside an archive: the chosen name with ".txt" as its extension
// ("/home/anna.kovacs/x.zip" gives "/home/anna.kovacs/x.txt", "a:\x.zip" gives "a:\x.txt").
QString DescriptionTarget(const QString& chosen);
// The name earlier versions wrote: the chosen name cut before its first "." plus ".txt"; the
// restore falls back to it.
QString OldDescriptionTarget(const QString& chosen);
// "Lock tables", then one line per table, each "name read," and the last "name read;".
QStringList LockText(const QStringList& tables);

// What the menu hands the backup and restore forms: "ZARNDAT001-2026-12-09.zip" and the three
// description lines (database, company, date and time) joined by CR LF.
struct TBackupRequest {
  QString fileName;
  QString description;
};
// The request for databaseName of company, made at the moment at.
TBackupRequest BackupRequestFor(const QString& databaseName, const QString& company,
                                const QDateTime& at);
// Reads the company name (CEG.CEGNEV) over database; flush first runs "flush tables;" and
// "unlock tables;" (before a backup). Raises on a database error.
TBackupRequest MakeBackupRequest(TUniSQLDatabase& database, bool flush);

// How a reload ended.
enum class TReloadResult {
  Reloaded,    // the database holds the dump's tables
  Incomplete,  // refused before anything ran: the dump lacks its completion line
  Outside,     // refused before anything ran: the dump would reach beyond its database
  Unchanged,   // the load failed; the database is as it was
  Unknown,     // the swap failed so that it cannot be told whether it took place
};

// Reloads a dump into the database of connection without ever leaving it half loaded, and
// without letting the dump change anything else: the dump is checked first (CheckDump), then
// loaded into a staging database by the command-line client in its sandbox mode, under an
// account made for the load with rights on the staging database only (the program's own
// account where the server lets it make none), and one RENAME TABLE swaps the loaded tables in
// (tables the dump lacks stay). Leftovers of an earlier, interrupted reload are removed first;
// the staging databases and the account go on every path.
TReloadResult ReloadDump(const TUniSQLDatabase& connection, const QString& dumpFile,
                         const TStatusProc& status);
// The staging databases and the account of the reload of databaseName.
QString StagingDatabase(const QString& databaseName);
QString RetiredDatabase(const QString& databaseName);
QString ReloadAccount(const QString& databaseName);

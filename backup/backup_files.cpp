#include "backup_files.h"

#include <QDate>
#include <QDateTime>
#include <QFileInfo>

#include "app_globals.h"
#include "exceptions.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

namespace {

QString Quoted(const QString& identifier) {
  return '`' + QString(identifier).replace('`', QStringLiteral("``")) + '`';
}

QStringList Tables(TUniSQLDatabase& db, const QString& database) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(QStringLiteral("show tables from ") + Quoted(database));
  q.Open();
  QStringList tables;
  for (q.First(); !q.Eof(); q.Next()) tables << q.Fields(0)->Text();
  return tables;
}

void DropQuietly(TUniSQLDatabase& db, const QString& database) {
  try {
    RunStatements(db, QStringLiteral("drop database if exists ") + Quoted(database));
  } catch (const Exception&) {
  }
}

}  // namespace

QString WorkDirectory(const QString& databaseName) {
  return Globals().ProgramDir + QStringLiteral("work") + databaseName;
}

QString DescriptionTarget(const QString& chosen) {
  const qsizetype separator = qMax(chosen.lastIndexOf('/'), chosen.lastIndexOf('\\'));
  const qsizetype dot = chosen.lastIndexOf('.');
  return (dot > separator ? chosen.left(dot) : chosen) + QStringLiteral(".txt");
}

QString OldDescriptionTarget(const QString& chosen) {
  const qsizetype dot = chosen.indexOf('.');
  return (dot >= 0 ? chosen.left(dot) : chosen) + QStringLiteral(".txt");
}

QStringList LockText(const QStringList& tables) {
  QStringList lines{QStringLiteral("Lock tables")};
  for (int i = 0; i < tables.size(); ++i)
    lines << tables[i] +
                 (i + 1 < tables.size() ? QStringLiteral(" read,") : QStringLiteral(" read;"));
  if (tables.isEmpty()) lines << QStringLiteral(" read;");
  return lines;
}

TBackupRequest BackupRequestFor(const QString& databaseName, const QString& company,
                                const QDateTime& at) {
  TBackupRequest request;
  request.fileName = databaseName + '-' + at.date().toString(QStringLiteral("yyyy-MM-dd")) + ".zip";
  request.description = databaseName + QStringLiteral(" ÉCS adatbázis") + "\r\n" + company +
                        "\r\n" + at.toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
  return request;
}

TBackupRequest MakeBackupRequest(TUniSQLDatabase& database, bool flush) {
  TUniSQLQuery Qceg;
  Qceg.SetDatabase(&database);
  Qceg.SetSQL(QStringLiteral("select CEGNEV from CEG"));
  Qceg.Open();
  const QString company = Qceg.Eof() ? QString() : Qceg.Fields(0)->Text();
  Qceg.Close();
  if (flush)
    RunStatements(database,
                  QStringList{QStringLiteral("flush tables;"), QStringLiteral("unlock tables;")});
  return BackupRequestFor(database.Databasename(), company, QDateTime::currentDateTime());
}

QString StagingDatabase(const QString& databaseName) {
  return databaseName + QStringLiteral("_TOLTES");
}

QString RetiredDatabase(const QString& databaseName) {
  return databaseName + QStringLiteral("_REGI");
}

bool ReloadDump(const TUniSQLDatabase& connection, const QString& dumpFile,
                const TStatusProc& status) {
  if (!DumpCompleted(dumpFile)) return false;
  const QString target = connection.Databasename();
  const QString staging = StagingDatabase(target);
  const QString retired = RetiredDatabase(target);
  TUniSQLDatabase admin;
  admin.SetHost(connection.Host());
  admin.SetPort(connection.Port());
  admin.SetUser(connection.User());
  admin.Setpassword(connection.password());
  admin.SetDatabasename(target);
  try {
    admin.Connect();
    RunStatements(admin,
                  {QStringLiteral("drop database if exists ") + Quoted(staging) + ';',
                   QStringLiteral("drop database if exists ") + Quoted(retired) + ';',
                   QStringLiteral("create database ") + Quoted(staging) +
                       QStringLiteral(" character set utf8mb4 collate utf8mb4_hungarian_ci;")});
  } catch (const Exception&) {
    return false;
  }
  TUniSQLDatabase load;
  load.SetHost(connection.Host());
  load.SetPort(connection.Port());
  load.SetUser(connection.User());
  load.Setpassword(connection.password());
  load.SetDatabasename(staging);
  bool ok = SqlRestore(load, dumpFile, status);
  if (ok) {
    try {
      const QStringList loaded = Tables(admin, staging);
      const QStringList current = Tables(admin, target);
      if (loaded.isEmpty()) throw Exception(QStringLiteral("empty dump"));
      RunStatements(admin,
                    QStringLiteral("create database ") + Quoted(retired) +
                        QStringLiteral(" character set utf8mb4 collate utf8mb4_hungarian_ci"));
      QStringList pairs;
      for (const QString& table : loaded) {
        if (current.contains(table))
          pairs << Quoted(target) + '.' + Quoted(table) + QStringLiteral(" to ") + Quoted(retired) +
                       '.' + Quoted(table);
        pairs << Quoted(staging) + '.' + Quoted(table) + QStringLiteral(" to ") + Quoted(target) +
                     '.' + Quoted(table);
      }
      RunStatements(admin, QStringLiteral("rename table ") + pairs.join(QStringLiteral(", ")));
    } catch (const Exception&) {
      ok = false;
    }
  }
  DropQuietly(admin, staging);
  DropQuietly(admin, retired);
  return ok;
}

#include "backup_files.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDateTime>
#include <QFileInfo>
#include <QRandomGenerator>

#include "app_globals.h"
#include "dump_check.h"
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

namespace {

// A database name is at most 64 characters: a long one is cut to make room for the suffix.
QString Suffixed(const QString& databaseName, const QString& suffix) {
  return databaseName.left(64 - suffix.size()) + suffix;
}

}  // namespace

QString StagingDatabase(const QString& databaseName) {
  return Suffixed(databaseName, QStringLiteral("_TOLTES"));
}

QString RetiredDatabase(const QString& databaseName) {
  return Suffixed(databaseName, QStringLiteral("_REGI"));
}

QString ReloadAccount(const QString& databaseName) {
  // Short enough for every server, the same for a database each time (leftovers are found).
  const QByteArray hash = QCryptographicHash::hash(databaseName.toUtf8(), QCryptographicHash::Sha1);
  return QStringLiteral("zarn_toltes_") + QString::fromLatin1(hash.toHex().left(16));
}

namespace {

// db set to the server of like, as user, on database.
void Configure(TUniSQLDatabase& db, const TUniSQLDatabase& like, const QString& user,
               const QString& password, const QString& database) {
  db.SetHost(like.Host());
  db.SetPort(like.Port());
  db.SetUser(user);
  db.Setpassword(password);
  db.SetDatabasename(database);
}

// Runs sql with the account's name, host and password in escaped.
void RunForAccount(TUniSQLDatabase& admin, const QString& sql, const QString& user,
                   const QString& host, const QString& password = {}) {
  TUniSQLQuery q;
  q.SetDatabase(&admin);
  q.SetSQL(sql);
  q.SetParamEscaped(QStringLiteral("USERNAME"), user);
  q.SetParamEscaped(QStringLiteral("HOSTNAME"), host);
  q.SetParamEscaped(QStringLiteral("SECRET"), password);
  q.ExecSQL();
}

// The reload's account: on the host the server sees this machine as (each name of the loopback
// for a local server), with rights on the staging database only.
class TReloadAccount {
 public:
  TReloadAccount(TUniSQLDatabase& admin, const QString& target)
      : m_admin(admin), m_user(ReloadAccount(target)) {}
  ~TReloadAccount() { Drop(); }

  // Removes the account on every host, an earlier reload's too.
  void Drop() {
    QStringList hosts = m_hosts;
    try {
      TUniSQLQuery q;
      q.SetDatabase(&m_admin);
      q.SetSQL(QStringLiteral("select Host from mysql.user where User = ':USERNAME'"));
      q.SetParamEscaped(QStringLiteral("USERNAME"), m_user);
      q.Open();
      for (q.First(); !q.Eof(); q.Next()) hosts << q.Fields(0)->Text();
    } catch (const Exception&) {
    }
    hosts.removeDuplicates();
    for (const QString& host : hosts) {
      try {
        RunForAccount(m_admin, QStringLiteral("drop user if exists ':USERNAME'@':HOSTNAME'"),
                      m_user, host);
      } catch (const Exception&) {
      }
    }
    m_hosts.clear();
  }

  // False when the server lets the program's account make none.
  bool Create(const QString& staging) {
    m_password.clear();
    for (int i = 0; i < 2; ++i)
      m_password += QString::number(QRandomGenerator::system()->generate64(), 16);
    try {
      TUniSQLQuery q;
      q.SetDatabase(&m_admin);
      q.SetSQL(QStringLiteral("select user()"));
      q.Open();
      const QString seen = q.Fields(0)->Text();
      const QString host = seen.mid(seen.lastIndexOf('@') + 1);
      const QStringList loopback{QStringLiteral("localhost"), QStringLiteral("127.0.0.1"),
                                 QStringLiteral("::1")};
      const QStringList hosts = loopback.contains(host) ? loopback : QStringList{host};
      for (const QString& h : hosts) {
        m_hosts << h;
        RunForAccount(m_admin,
                      QStringLiteral("create user ':USERNAME'@':HOSTNAME' identified by ':SECRET'"),
                      m_user, h, m_password);
        RunForAccount(
            m_admin,
            QStringLiteral("grant select, insert, update, delete, create, drop, index, "
                           "alter, references, lock tables, create temporary tables on ") +
                Quoted(staging) + QStringLiteral(".* to ':USERNAME'@':HOSTNAME'"),
            m_user, h);
      }
      return true;
    } catch (const Exception&) {
      Drop();
      return false;
    }
  }

  const QString& User() const { return m_user; }
  const QString& Password() const { return m_password; }

 private:
  TUniSQLDatabase& m_admin;
  QString m_user;
  QString m_password;
  QStringList m_hosts;
};

}  // namespace

TReloadResult ReloadDump(const TUniSQLDatabase& connection, const QString& dumpFile,
                         const TStatusProc& status) {
  switch (CheckDump(dumpFile)) {
    case TDumpCheck::Incomplete:
      return TReloadResult::Incomplete;
    case TDumpCheck::Outside:
      return TReloadResult::Outside;
    case TDumpCheck::Confined:
      break;
  }
  const QString target = connection.Databasename();
  const QString staging = StagingDatabase(target);
  const QString retired = RetiredDatabase(target);
  TUniSQLDatabase admin;
  Configure(admin, connection, connection.User(), connection.password(), target);
  try {
    admin.Connect();
  } catch (const Exception&) {
    return TReloadResult::Unchanged;
  }
  TReloadAccount account(admin, target);
  account.Drop();
  try {
    RunStatements(admin,
                  {QStringLiteral("drop database if exists ") + Quoted(staging) + ';',
                   QStringLiteral("drop database if exists ") + Quoted(retired) + ';',
                   QStringLiteral("create database ") + Quoted(staging) +
                       QStringLiteral(" character set utf8mb4 collate utf8mb4_hungarian_ci;")});
  } catch (const Exception&) {
    DropQuietly(admin, staging);
    return TReloadResult::Unchanged;
  }
  TUniSQLDatabase load;
  if (account.Create(staging))
    Configure(load, connection, account.User(), account.Password(), staging);
  else
    Configure(load, connection, connection.User(), connection.password(), staging);
  TReloadResult result = TReloadResult::Unchanged;
  if (SqlRestore(load, dumpFile, status)) {
    account.Drop();  // the load is over: nothing more runs under it
    QStringList loaded;
    try {
      loaded = Tables(admin, staging);
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
      result = TReloadResult::Reloaded;
    } catch (const Exception&) {
      // The swap is one statement: with the loaded tables all still staged it did not happen.
      try {
        if (!loaded.isEmpty() && Tables(admin, staging) != loaded) result = TReloadResult::Unknown;
      } catch (const Exception&) {
        result = TReloadResult::Unknown;
      }
    }
  }
  account.Drop();
  DropQuietly(admin, staging);
  DropQuietly(admin, retired);
  return result;
}

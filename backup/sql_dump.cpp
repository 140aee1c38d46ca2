#include "sql_dump.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include "app_globals.h"
#include "format_settings.h"
#include "program_runner.h"
#include "ui_services.h"
#include "uni_sql_database.h"

namespace {

void Tell(const TStatusProc& status, const QString& text, bool box) {
  if (status) status(text);
  if (box) Ui().MessageBox(text, QString(), MsgType::Information, mbOK, mbOK);
}

// The tool beside the program first, then on the search path; empty when neither has it.
QString FindTool(const QString& name) {
  const QString local = Globals().ProgramDir + name;
  if (!Globals().ProgramDir.isEmpty() && QFileInfo(local).isExecutable()) return local;
  return QStandardPaths::findExecutable(name);
}

// A value of an option file: quoted with the file format's escapes when it needs them.
QByteArray OptionValue(const QString& value) {
  QByteArray bytes = value.toUtf8();
  if (bytes.isEmpty()) return bytes;
  QByteArray out = "\"";
  for (char c : bytes) {
    if (c == '\\' || c == '"') out += '\\';
    if (c == '\n') {
      out += "\\n";
      continue;
    }
    out += c;
  }
  return out + '"';
}

bool WriteOptions(QTemporaryFile& file, const TUniSQLDatabase& database) {
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  QByteArray text = "[client]\n";
  text += "host=" + OptionValue(database.Host()) + '\n';
  text += "port=" + OptionValue(database.Port()) + '\n';
  // The tools reach the server the program reaches: with a port over TCP, also for "localhost"
  // (else the client library's default socket, perhaps another server's).
  qint64 port = 0;
  if (TextToInt64(database.Port(), port) && port > 0) text += "protocol=tcp\n";
  text += "user=" + OptionValue(database.User()) + '\n';
  text += "password=" + OptionValue(database.password()) + '\n';
  text += "default-character-set=utf8mb4\n";
  const bool ok = file.write(text) == text.size() && file.flush();
  file.close();
  return ok;
}

// The connection settings of database for the tool, in a temporary file readable by the owner
// only; the file goes when the object does. A failure is told.
bool WriteOptionFile(QTemporaryFile& file, const TUniSQLDatabase& database,
                     const TStatusProc& status) {
  file.setFileTemplate(QDir::tempPath() + QStringLiteral("/zarn-db-XXXXXX.cnf"));
  if (!file.open() || !WriteOptions(file, database)) {
    Tell(status,
         QFileInfo(file.fileName()).fileName() +
             QStringLiteral(" állományt nem lehetett létrehozni!"),
         true);
    return false;
  }
  return true;
}

QString OptionFileArgument(const QTemporaryFile& file) {
  return QStringLiteral("--defaults-extra-file=") + file.fileName();
}

}  // namespace

bool DumpCompleted(const QString& fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return false;
  const qint64 size = file.size();
  file.seek(qMax<qint64>(0, size - 512));
  QByteArray tail = file.readAll();
  while (tail.endsWith('\n') || tail.endsWith('\r')) tail.chop(1);
  const qsizetype start = tail.lastIndexOf('\n') + 1;
  return tail.mid(start).startsWith("-- Dump completed");
}

bool SqlDump(TUniSQLDatabase& database, const QString& fileName, const TStatusProc& status) {
  try {
    if (QFileInfo::exists(fileName)) QFile::remove(fileName);
    if (QFileInfo::exists(fileName)) {
      Tell(status, fileName + QStringLiteral(" állományt nem lehetett törölni!"), true);
      return false;
    }
    const QString tool = FindTool(QStringLiteral("mariadb-dump"));
    if (tool.isEmpty()) {
      Tell(status, QStringLiteral("Mysqldump.exe nem elérhető."), true);
      return false;
    }
    if (status) status(QStringLiteral("SQLdump készül.."));
    QTemporaryFile options;
    if (!WriteOptionFile(options, database, status)) return false;
    const bool ran =
        RunAndWait(tool, {OptionFileArgument(options), QStringLiteral("--add-drop-table"),
                          QStringLiteral("--result-file=") + fileName, database.Databasename()});
    if (!ran || !DumpCompleted(fileName)) {
      Tell(status, QStringLiteral("Hiba történt az sqldump.exe futása közben."), true);
      return false;
    }
    if (status) status(QStringLiteral("SQLdump elkészült."));
    return true;
  } catch (...) {
    if (status) status(QStringLiteral("Hiba SQLDump készítése közben!"));
    return false;
  }
}

bool SqlRestore(TUniSQLDatabase& database, const QString& fileName, const TStatusProc& status) {
  try {
    const QString tool = FindTool(QStringLiteral("mariadb"));
    if (tool.isEmpty()) {
      Tell(status, QStringLiteral("Mysql.exe nem elérhető."), true);
      return false;
    }
    if (status) status(QStringLiteral("Sql visszatöltés folyamatban.."));
    if (!QFileInfo::exists(fileName)) {
      Tell(status, fileName + QStringLiteral(" állomány nem elérhető."), true);
      return false;
    }
    QTemporaryFile options;
    if (!WriteOptionFile(options, database, status)) return false;
    // The client touches no file and runs no command of its own whatever the dump holds.
    if (!RunAndWaitWithInput(tool,
                             {OptionFileArgument(options), QStringLiteral("--sandbox"),
                              QStringLiteral("--local-infile=0"), database.Databasename()},
                             fileName)) {
      Tell(status, QStringLiteral("Hiba történt a mariadb futása közben."), true);
      return false;
    }
    if (status) status(QStringLiteral("Sql visszatöltés elkészült."));
    return true;
  } catch (...) {
    if (status) status(QStringLiteral("Hiba Sqlrestore közben!"));
    return false;
  }
}

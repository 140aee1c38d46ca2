#include "csv_import.h"

#include <errmsg.h>
#include <mysql.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <cstring>
#include <filesystem>

#include "company_databases.h"
#include "exceptions.h"
#include "file_lookup.h"
#include "transaction.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

QStringList CsvImportTables() {
  return {QStringLiteral("CEG"), QStringLiteral("KARTFEJ"), QStringLiteral("KARTTET"),
          QStringLiteral("KULCSOK"), QStringLiteral("PONTOSOK")};
}

QString CsvTerminatorText(CsvTerminator terminator) {
  switch (terminator) {
    case CsvTerminator::Semicolon:
      return QStringLiteral(";");
    case CsvTerminator::Comma:
      return QStringLiteral(",");
    case CsvTerminator::Tab:
      return QStringLiteral("\\t");
  }
  return QStringLiteral(";");
}

namespace {

char TerminatorByte(CsvTerminator terminator) {
  switch (terminator) {
    case CsvTerminator::Semicolon:
      return ';';
    case CsvTerminator::Comma:
      return ',';
    case CsvTerminator::Tab:
      return '\t';
  }
  return ';';
}

QString DirSeparator(const QString& dir) {
  return dir.contains('\\') && !dir.contains('/') ? QStringLiteral("\\") : QStringLiteral("/");
}

}  // namespace

QString FindCsvFile(const QString& dir, const QString& table) {
  QString base = dir;
  base.replace('\\', '/');
  while (base.endsWith('/') && base.size() > 1) base.chop(1);
  if (base.isEmpty()) base = QStringLiteral(".");
  const QString found = FindExistingPath(base + '/' + table + QStringLiteral(".CSV"));
  // A directory of that name is no file; anything else found is judged by CsvFileReadPath.
  return !found.isEmpty() && !QFileInfo(found).isDir() ? found : QString();
}

QString CsvFileReadPath(const QString& dir, const QString& path) {
  QString base = dir;
  base.replace('\\', '/');
  if (base.isEmpty()) base = QStringLiteral(".");
  const QString folder = QDir(base).canonicalPath();
  const QString real = QFileInfo(path).canonicalFilePath();
  if (folder.isEmpty() || real.isEmpty()) return {};
  std::error_code error;
  if (!std::filesystem::is_regular_file(real.toStdString(), error)) return {};
  return QFileInfo(real).absolutePath() == folder ? real : QString();
}

QString CsvFileText(const QString& dir, const QString& table) {
  return dir + DirSeparator(dir) + table + QStringLiteral(".CSV");
}

// ---------------------------------------------------------------------------------------------

CsvStreamFilter::CsvStreamFilter(char terminator, bool skipBom)
    : m_terminator(terminator), m_bomLeft(skipBom ? 3 : 0) {}

void CsvStreamFilter::Fail(int line, const QString& text) {
  if (m_errorLine > 0) return;
  m_errorLine = line;
  m_errorText = text;
}

bool CsvStreamFilter::Feed(const char* bytes, qsizetype size, QByteArray& out) {
  if (Failed()) return false;
  qsizetype i = 0;
  while (m_bomLeft > 0 && i < size) {
    ++i;
    --m_bomLeft;
  }
  out.reserve(out.size() + size - i + size / 32 + 16);
  qsizetype copied = i;  // bytes before copied are in out already
  for (; i < size; ++i) {
    const char c = bytes[i];
    if (c == '\0') {
      // The server would store it inside the text or the key.
      Fail(m_line, QStringLiteral("NUL bájt a sorban"));
      return false;
    }
    if (c == '\n') {
      if (m_inQuote && !m_quoteSeen) {
        Fail(m_quoteLine, QStringLiteral("lezáratlan idézőjel"));
        return false;
      }
      if (!m_lastCr) {
        out.append(bytes + copied, i - copied);
        out.append('\r');
        copied = i;
      }
      ++m_line;
      m_lineLength = 0;
      m_fieldStart = true;
      m_inQuote = m_quoteSeen = m_lastCr = false;
      continue;
    }
    if (++m_lineLength > kMaxCsvLine) {
      Fail(m_line, QStringLiteral("a sor hosszabb %1 bájtnál").arg(kMaxCsvLine));
      return false;
    }
    m_lastCr = c == '\r';
    if (m_lastCr) continue;  // a quote before the line end still closes its field
    if (c == m_terminator) {
      if (!m_inQuote || m_quoteSeen) {
        m_fieldStart = true;
        m_inQuote = m_quoteSeen = false;
      }
    } else if (c == '"') {
      if (m_fieldStart) {
        m_inQuote = true;
        m_quoteLine = m_line;
        m_fieldStart = false;
      } else if (m_inQuote) {
        m_quoteSeen = !m_quoteSeen;  // a doubled quote stands for one
      }
    } else {
      m_fieldStart = false;
      m_quoteSeen = false;  // a quote followed by text is text
    }
  }
  out.append(bytes + copied, size - copied);
  return true;
}

bool CsvStreamFilter::Finish() {
  if (!Failed() && m_inQuote && !m_quoteSeen)
    Fail(m_quoteLine, QStringLiteral("lezáratlan idézőjel"));
  return !Failed();
}

// ---------------------------------------------------------------------------------------------

namespace {

// The file the import connection may hand to the server: only the one named in the statement.
struct LocalFile {
  QByteArray requestedName;  // as the statement names it
  QString path;              // where it is read from
  CsvStreamFilter filter;
  QFile file;
  QByteArray pending;
  qsizetype pendingPos = 0;
  bool atEnd = false;
  QString error;  // a refusal of the handler itself

  LocalFile(QByteArray name, QString p, char terminator, bool bom)
      : requestedName(std::move(name)), path(std::move(p)), filter(terminator, bom) {}
};

int LocalInit(void** ptr, const char* fileName, void* userdata) {
  auto* f = static_cast<LocalFile*>(userdata);
  *ptr = f;
  if (!f) return 1;
  if (f->requestedName != QByteArray(fileName)) {
    f->error = QStringLiteral("A szerver más fájlt kért: ") + QString::fromUtf8(fileName);
    return 1;
  }
  f->file.setFileName(f->path);
  if (!f->file.open(QIODevice::ReadOnly)) {
    f->error = QStringLiteral("A fájl nem olvasható: ") + f->path;
    return 1;
  }
  return 0;
}

int LocalRead(void* ptr, char* buf, unsigned int len) {
  auto* f = static_cast<LocalFile*>(ptr);
  if (!f || !f->file.isOpen()) return -1;
  while (f->pending.size() - f->pendingPos < qsizetype(len) && !f->atEnd) {
    if (f->pendingPos > 0) {
      f->pending.remove(0, f->pendingPos);
      f->pendingPos = 0;
    }
    char chunk[256 * 1024];
    const qint64 n = f->file.read(chunk, sizeof chunk);
    if (n < 0) {
      f->error = QStringLiteral("A fájl nem olvasható: ") + f->path;
      return -1;
    }
    if (n == 0) {
      f->atEnd = true;
      if (!f->filter.Finish()) return -1;
      break;
    }
    if (!f->filter.Feed(chunk, n, f->pending)) return -1;
  }
  const qsizetype n = qMin(qsizetype(len), f->pending.size() - f->pendingPos);
  std::memcpy(buf, f->pending.constData() + f->pendingPos, size_t(n));
  f->pendingPos += n;
  return int(n);
}

void LocalEnd(void* ptr) {
  if (auto* f = static_cast<LocalFile*>(ptr)) f->file.close();
}

int LocalError(void* ptr, char* buf, unsigned int len) {
  auto* f = static_cast<LocalFile*>(ptr);
  QByteArray text = f ? (f->filter.Failed() ? f->filter.ErrorText() : f->error).toUtf8()
                      : QByteArray("LOAD DATA LOCAL refused");
  if (text.isEmpty()) text = "LOAD DATA LOCAL refused";
  if (len > 0) {
    const size_t n = qMin(size_t(len - 1), size_t(text.size()));
    std::memcpy(buf, text.constData(), n);
    buf[n] = 0;
  }
  return CR_UNKNOWN_ERROR;
}

// Handed to the connection while no file is expected: every request is refused.
int RefuseInit(void** ptr, const char*, void*) {
  *ptr = nullptr;
  return 1;
}

bool StartsWithBom(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) && file.read(3) == QByteArray("\xEF\xBB\xBF");
}

// A refusal that names the file and the line; everything is rolled back by then.
struct CsvRefusal {
  QString path;
  int line = 0;  // 0: no line
  QString text;
};

int RowOfWarning(const QString& message) {
  static const QRegularExpression row(QStringLiteral("\\b[Rr]ow (\\d+)"));
  const QRegularExpressionMatch m = row.match(message);
  return m.hasMatch() ? m.captured(1).toInt() : 0;
}

class ImportConnection {
 public:
  explicit ImportConnection(const TUniSQLDatabase& settings) {
    m_db.SetLocalInfile(true);
    ConnectLike(m_db, settings, settings.Databasename());
    Refuse();
  }
  TUniSQLDatabase& Db() { return m_db; }

  bool IsEmpty(const QString& table) {
    TUniSQLQuery q;
    q.SetDatabase(&m_db);
    q.SetSQL(QStringLiteral("select 1 from :PTABLE limit 1"));
    q.SetParam(QStringLiteral("PTABLE"), table);
    q.Open();
    return q.IsEmpty();
  }

  // Loads one file into table: path as the statement names it, read from readPath (the real
  // file it was checked to be); throws CsvRefusal or the database error.
  void Load(const QString& table, const QString& path, const QString& readPath,
            const CsvImportOptions& options) {
    const bool bom = StartsWithBom(readPath);
    QString serverName = path;
    serverName.replace('\\', '/');
    LocalFile file(serverName.toUtf8(), readPath, TerminatorByte(options.terminator), bom);

    TUniSQLQuery QCSVIMP;
    QCSVIMP.SetDatabase(&m_db);
    QCSVIMP.SetSQL(QStringList{
        QStringLiteral("LOAD DATA"), QStringLiteral("LOCAL INFILE ':PCSVFILE'"),
        QStringLiteral("INTO TABLE :PTABLE"), QStringLiteral("CHARACTER SET :PCHARSET"),
        QStringLiteral("FIELDS TERMINATED BY ':PTERMINATOR' OPTIONALLY ENCLOSED BY '\"' "
                       "ESCAPED BY ''"),
        QStringLiteral("LINES TERMINATED BY '\\r\\n'"), QStringLiteral(":PIGNORE"), QString()});
    QCSVIMP.SetParamEscaped(QStringLiteral("PCSVFILE"), serverName);
    QCSVIMP.SetParam(QStringLiteral("PTABLE"), table);
    QCSVIMP.SetParam(QStringLiteral("PCHARSET"),
                     bom ? QStringLiteral("utf8mb4") : QStringLiteral("cp1250"));
    QCSVIMP.SetParam(QStringLiteral("PTERMINATOR"), CsvTerminatorText(options.terminator));
    QCSVIMP.SetParam(QStringLiteral("PIGNORE"),
                     options.skipFirstLine ? QStringLiteral("IGNORE 1 LINES") : QString());

    mysql_set_local_infile_handler(m_db.CheckedHandle(), LocalInit, LocalRead, LocalEnd, LocalError,
                                   &file);
    try {
      QCSVIMP.ExecSQL();
    } catch (const EDatabaseError& e) {
      Refuse();
      if (file.filter.Failed())
        throw CsvRefusal{path, file.filter.ErrorLine(), file.filter.ErrorText()};
      if (!file.error.isEmpty()) throw CsvRefusal{path, 0, file.error};
      throw CsvRefusal{path, 0, e.Message()};
    }
    Refuse();
    if (mysql_warning_count(m_db.CheckedHandle()) == 0) return;
    TUniSQLQuery warnings;
    warnings.SetDatabase(&m_db);
    warnings.SetSQL(QStringLiteral("show warnings limit 1"));
    warnings.Open();
    const QString message = warnings.IsEmpty()
                                ? QStringLiteral("figyelmeztetés")
                                : warnings.FieldByName(QStringLiteral("Message"))->AsString();
    const int row = RowOfWarning(message);
    throw CsvRefusal{path, row > 0 ? row + (options.skipFirstLine ? 1 : 0) : 0, message};
  }

 private:
  void Refuse() {
    if (m_db.Handle())
      mysql_set_local_infile_handler(m_db.Handle(), RefuseInit, LocalRead, LocalEnd, LocalError,
                                     nullptr);
  }

  TUniSQLDatabase m_db;
};

struct PlannedTable {
  QString table;
  QString path;      // empty: nothing to load
  QString readPath;  // the real file behind path
  bool clear = false;
};

void ShowRefusal(const QStringList& lines) {
  Ui().MessageBox(lines.join('\n'), QStringLiteral("HIBA!"), MsgType::Error);
}

}  // namespace

CsvImport::CsvImport(const TUniSQLDatabase& settings) : m_settings(settings) {}

CsvImportResult CsvImport::Run(const QList<CsvTableChoice>& tables, const CsvImportOptions& options,
                               const std::function<void(const QString&, bool)>& onTable) {
  const QString unchanged = QStringLiteral("Az adatok nem változtak.");
  std::unique_ptr<ImportConnection> connection;
  try {
    connection = std::make_unique<ImportConnection>(m_settings);
  } catch (const Exception& e) {
    ShowRefusal({e.Message(), unchanged});
    return CsvImportResult::Refused;
  }

  // A table file is read only when it is a regular file of the chosen folder itself, not a
  // link to a file elsewhere; one that is not refuses the import before any question.
  QHash<QString, std::pair<QString, QString>> files;  // table: its path and the real file
  for (const CsvTableChoice& choice : tables) {
    if (!choice.load && !choice.clear) continue;
    const QString path = FindCsvFile(options.dir, choice.table);
    if (path.isEmpty()) continue;
    const QString real = CsvFileReadPath(options.dir, path);
    if (real.isEmpty()) {
      ShowRefusal({QStringLiteral("Hibás CSV fájl: ") + path +
                       QStringLiteral(" (nem a választott könyvtárban van)"),
                   unchanged});
      return CsvImportResult::Refused;
    }
    files.insert(choice.table, {path, real});
  }

  // The questions, all before anything changes.
  QList<PlannedTable> plan;
  try {
    for (const CsvTableChoice& choice : tables) {
      const auto [path, real] = files.value(choice.table);
      PlannedTable planned{choice.table, QString(), real, false};
      if (choice.clear && !path.isEmpty()) {
        if (options.stepMessages &&
            !Ui().AskYesNo(QStringLiteral("A ") + choice.table + QStringLiteral(" tábla"),
                           QStringLiteral("Minden eddigi adata törlődik!"),
                           QStringLiteral("Rendben?"), QStringLiteral("FIGYELEM!")))
          continue;
        planned.clear = true;
      }
      if (choice.load) {
        if (path.isEmpty()) {
          Ui().ShowMessage2(CsvFileText(options.dir, choice.table),
                            QStringLiteral("Fájl nem létezik!"));
        } else if (!planned.clear && !connection->IsEmpty(choice.table) &&
                   !Ui().AskYesNo(
                       QStringLiteral("A ") + choice.table + QStringLiteral(" tábla nem üres"),
                       QStringLiteral("Az új sorok a meglévők mellé kerülnek!"),
                       QStringLiteral("Rendben?"), QStringLiteral("FIGYELEM!"))) {
          continue;
        } else {
          planned.path = path;
        }
      }
      if (planned.clear || !planned.path.isEmpty()) plan.append(planned);
    }
  } catch (const Exception& e) {
    ShowRefusal({e.Message(), unchanged});
    return CsvImportResult::Refused;
  }
  if (plan.isEmpty()) return CsvImportResult::NothingToDo;

  // The work, in one transaction.
  try {
    TTransaction transaction(connection->Db());
    for (const PlannedTable& planned : plan) {
      if (onTable) onTable(planned.table, false);
      if (planned.clear)
        RunStatements(connection->Db(), QStringLiteral("DELETE FROM ") + planned.table);
      if (!planned.path.isEmpty())
        connection->Load(planned.table, planned.path, planned.readPath, options);
      if (onTable) onTable(planned.table, true);
    }
    transaction.Commit();
  } catch (const CsvRefusal& r) {
    QStringList lines{QStringLiteral("Hibás CSV fájl: ") + r.path};
    lines << (r.line > 0 ? QString::number(r.line) + QStringLiteral(". sor: ") + r.text : r.text);
    lines << unchanged;
    ShowRefusal(lines);
    return CsvImportResult::Refused;
  } catch (const Exception& e) {
    ShowRefusal({e.Message(), unchanged});
    return CsvImportResult::Refused;
  }

  for (const PlannedTable& planned : plan) {
    if (planned.path.isEmpty()) continue;
    if (options.stepMessages)
      Ui().ShowMessage2(QString(), planned.table + QStringLiteral(" CSV -ből betöltve."));
    if (options.deleteFiles) QFile::remove(planned.path);
  }
  return CsvImportResult::Done;
}

#include "uni_sql_database.h"

#include <mysql.h>

#include "exceptions.h"
#include "format_settings.h"

namespace {

// Frees the client library's global state when the program ends.
struct ClientLibrary {
  ClientLibrary() { mysql_library_init(0, nullptr, nullptr); }
  ~ClientLibrary() { mysql_library_end(); }
};

void EnsureClientLibrary() { static ClientLibrary library; }

unsigned int g_connectTimeout = TUniSQLDatabase::kDefaultConnectTimeout;
unsigned int g_readWriteTimeout = TUniSQLDatabase::kDefaultReadWriteTimeout;

}  // namespace

QString MySqlErrorText(MYSQL* handle) {
  return QStringLiteral("MySQL Error ") +
         (handle ? QString::fromUtf8(mysql_error(handle)) : QString());
}

void RaiseMySqlError(MYSQL* handle, const QString& statement) {
  throw EDatabaseError(MySqlErrorText(handle), statement, handle ? mysql_errno(handle) : 0);
}

void TUniSQLDatabase::SetTimeouts(int connectSeconds, int readWriteSeconds) {
  g_connectTimeout =
      static_cast<unsigned int>(connectSeconds > 0 ? connectSeconds : kDefaultConnectTimeout);
  g_readWriteTimeout =
      static_cast<unsigned int>(readWriteSeconds > 0 ? readWriteSeconds : kDefaultReadWriteTimeout);
}

TUniSQLDatabase::TUniSQLDatabase(QObject* owner) : QObject(owner) {}

TUniSQLDatabase::~TUniSQLDatabase() { Disconnect(); }

void TUniSQLDatabase::SetConnected(bool connected) {
  if (connected)
    Connect();
  else
    Disconnect();
}

void TUniSQLDatabase::Connect() {
  if (m_handle || m_databasename.isEmpty()) return;
  qint64 port = 0;
  if (!TextToInt64(m_port, port) || port < 0 || port > 65535)
    RaiseConvertError(m_port, ConvertTarget::Integer);
  EnsureClientLibrary();
  MYSQL* handle = mysql_init(nullptr);
  if (!handle) throw EDatabaseError(QStringLiteral("MySQL Error out of memory"));
  mysql_options(handle, MYSQL_SET_CHARSET_NAME, "utf8mb4");
  const unsigned int localInfile = m_localInfile ? 1 : 0;
  mysql_options(handle, MYSQL_OPT_LOCAL_INFILE, &localInfile);
  // Without limits a server that accepts and never answers holds the program for ever.
  mysql_options(handle, MYSQL_OPT_CONNECT_TIMEOUT, &g_connectTimeout);
  mysql_options(handle, MYSQL_OPT_READ_TIMEOUT, &g_readWriteTimeout);
  mysql_options(handle, MYSQL_OPT_WRITE_TIMEOUT, &g_readWriteTimeout);
  if (port > 0) {
    const unsigned int tcp = MYSQL_PROTOCOL_TCP;
    mysql_options(handle, MYSQL_OPT_PROTOCOL, &tcp);
  }
  const QByteArray host = m_host.toUtf8(), user = m_user.toUtf8(), pw = m_password.toUtf8(),
                   db = m_databasename.toUtf8();
  if (!mysql_real_connect(handle, host.constData(), user.constData(), pw.constData(), nullptr,
                          static_cast<unsigned int>(port), nullptr, CLIENT_FOUND_ROWS) ||
      mysql_select_db(handle, db.constData()) != 0) {
    const QString message = MySqlErrorText(handle);
    mysql_close(handle);
    throw EDatabaseError(message);
  }
  m_handle = handle;
}

void TUniSQLDatabase::Disconnect() {
  m_tablesLocked = false;
  if (!m_handle) return;
  mysql_close(m_handle);
  m_handle = nullptr;
}

bool TUniSQLDatabase::InTransaction() const {
  return m_handle && (m_handle->server_status & SERVER_STATUS_IN_TRANS);
}

void TUniSQLDatabase::StatementDone(const QString& statement) {
  // Only the first words matter; a long INSERT is not scanned.
  const QString start = statement.left(40).simplified().toUpper();
  if (start.startsWith(QLatin1String("LOCK TABLE")))
    m_tablesLocked = true;
  else if (start.startsWith(QLatin1String("UNLOCK TABLE")) ||
           start.startsWith(QLatin1String("START TRANSACTION")) ||
           start.startsWith(QLatin1String("BEGIN")))
    m_tablesLocked = false;
}

MYSQL* TUniSQLDatabase::CheckedHandle() const {
  if (!m_handle) throw EDatabaseError(QStringLiteral("Database not connected!"));
  return m_handle;
}

QString TUniSQLDatabase::EscapeString(const QString& text) const {
  MYSQL* handle = CheckedHandle();
  const QByteArray in = text.toUtf8();
  QByteArray out(in.size() * 2 + 1, Qt::Uninitialized);
  const unsigned long n = mysql_real_escape_string(handle, out.data(), in.constData(), in.size());
  return QString::fromUtf8(out.constData(), static_cast<qsizetype>(n));
}

QString TUniSQLDatabase::QuotedString(const QString& text) const {
  return u'\'' + EscapeString(text) + u'\'';
}

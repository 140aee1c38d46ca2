#pragma once

#include <QObject>
#include <QString>

struct st_mysql;

// One connection to the server with one selected database. Every dataset names one as its
// Database and runs its statements over its handle. The connection uses utf8mb4, reports
// matched (not changed) rows for UPDATE, and refuses LOAD DATA LOCAL unless told to before it
// connects (only the short-lived connection of an import does, with a handler of its own). With
// a Port it goes over TCP to Host and that port, also for "localhost" (which the client library
// would otherwise take as its default local socket, perhaps another server's). A server that
// does not answer within the time-outs fails the connect or the statement like an unreachable one.
class TUniSQLDatabase : public QObject {
 public:
  static constexpr int kDefaultConnectTimeout = 10;         // seconds
  static constexpr int kDefaultReadWriteTimeout = 10 * 60;  // the longest statement's wait
  // The time-outs of every connection made from now on; a value below 1 takes the default.
  static void SetTimeouts(int connectSeconds, int readWriteSeconds);

  explicit TUniSQLDatabase(QObject* owner = nullptr);
  ~TUniSQLDatabase() override;  // closes the connection

  const QString& Databasename() const { return m_databasename; }
  void SetDatabasename(const QString& name) { m_databasename = name; }
  const QString& User() const { return m_user; }
  void SetUser(const QString& user) { m_user = user; }
  const QString& password() const { return m_password; }
  void Setpassword(const QString& password) { m_password = password; }
  const QString& Host() const { return m_host; }
  void SetHost(const QString& host) { m_host = host; }
  const QString& Port() const { return m_port; }
  void SetPort(const QString& port) { m_port = port; }

  bool LocalInfile() const { return m_localInfile; }
  void SetLocalInfile(bool allowed) { m_localInfile = allowed; }

  bool Connected() const { return m_handle != nullptr; }
  // Opens or closes; writing the value it already has does nothing.
  void SetConnected(bool connected);
  // Connects and selects Databasename; does nothing while Databasename is empty or when
  // connected. Raises EDatabaseError "MySQL Error ..." (the handle is closed again) or, for a
  // Port that is no number, EConvertError.
  void Connect();
  void Disconnect();

  // The client-library handle; nullptr while disconnected.
  st_mysql* Handle() const { return m_handle; }
  // The handle; raises EDatabaseError "Database not connected!" while disconnected.
  st_mysql* CheckedHandle() const;

  // Whether a transaction is open on the connection (as the server last reported).
  bool InTransaction() const;
  // Whether LOCK TABLES holds on the connection: set by a LOCK TABLES run through the
  // datasets, cleared by UNLOCK TABLES, by beginning a transaction and by disconnecting.
  bool TablesLocked() const { return m_tablesLocked; }
  // Called by the datasets after each statement the server accepted, to follow the above.
  void StatementDone(const QString& statement);

  // text made safe to stand between single quotes of a statement on this connection.
  // Raises when not connected.
  QString EscapeString(const QString& text) const;
  // text as an SQL string literal on this connection: escaped, in single quotes.
  QString QuotedString(const QString& text) const;

 private:
  QString m_databasename;
  QString m_user = QStringLiteral("root");
  QString m_password;
  QString m_host = QStringLiteral("Localhost");
  QString m_port = QStringLiteral("3306");
  bool m_localInfile = false;
  st_mysql* m_handle = nullptr;
  bool m_tablesLocked = false;
};

// "MySQL Error " + the client library's text of the last call on handle: the message of every
// database error the server or the client library reports.
QString MySqlErrorText(st_mysql* handle);
// Raises EDatabaseError with MySqlErrorText(handle), the failing statement and the error number.
[[noreturn]] void RaiseMySqlError(st_mysql* handle, const QString& statement = {});

#pragma once

#include <QString>
#include <exception>

// The exception family the whole program raises; the message is the user-facing text.
class Exception : public std::exception {
 public:
  explicit Exception(QString message) : m_message(std::move(message)), m_utf8(m_message.toUtf8()) {}
  const QString& Message() const { return m_message; }
  const char* what() const noexcept override { return m_utf8.constData(); }

 private:
  QString m_message;
  QByteArray m_utf8;
};

// A failure of the database layer ("MySQL Error ..." and the like). Statement is the SQL text
// that failed, when one did, for diagnostics; it is not part of the message. Code is the error
// number the server or the client library reported (1213: deadlock), 0 for the layer's own.
class EDatabaseError : public Exception {
 public:
  explicit EDatabaseError(QString message, QString statement = {}, unsigned int code = 0)
      : Exception(std::move(message)), m_statement(std::move(statement)), m_code(code) {}
  const QString& Statement() const { return m_statement; }
  unsigned int Code() const { return m_code; }

 private:
  QString m_statement;
  unsigned int m_code;
};

// A text that does not read as the number or date a field or setting needs.
class EConvertError : public Exception {
 public:
  using Exception::Exception;
};

// A file that could not be opened, read or written; Code is the run-time error number
// (32: the file is held by another program).
class EInOutError : public Exception {
 public:
  EInOutError(int code, QString message) : Exception(std::move(message)), m_code(code) {}
  int Code() const { return m_code; }

 private:
  int m_code;
};

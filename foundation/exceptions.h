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

// A failure of the database layer ("MySQL Error ..." and the like).
class EDatabaseError : public Exception {
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

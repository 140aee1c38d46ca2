#pragma once

#include <QDate>
#include <QString>
#include <QStringView>

class TUniSQLDatabase;

// The rows of one INSERT, sent as multi-row statements: a statement goes to the server once
// it holds maxRows rows or maxChars characters of SQL (a UTF-8 byte count at most three times
// that), at the start of the row after; Flush sends the rest. A row is written value by value
// in column order: a text escaped by the connection and quoted, numbers and dates as SQL writes
// them, or SQL made elsewhere as it is. What is not flushed is never sent, so a piece of work
// that fails half way leaves nothing of its last rows behind its transaction.
class TBatchInsert {
 public:
  static constexpr int kRows = 500;
  static constexpr qsizetype kChars = 256 * 1024;

  // head: the statement up to its rows, "INSERT INTO KULCSOK (LELTSZAM, EV) VALUES ".
  TBatchInsert(TUniSQLDatabase& database, QString head, int maxRows = kRows,
               qsizetype maxChars = kChars);
  TBatchInsert(const TBatchInsert&) = delete;
  TBatchInsert& operator=(const TBatchInsert&) = delete;

  // Begins the next row, sending the statement first when it is full.
  TBatchInsert& Row();
  TBatchInsert& Text(const QString& text);
  TBatchInsert& Number(double value);  // FloatToSQL
  TBatchInsert& Integer(qint64 value);
  TBatchInsert& Date(const QDate& date);  // DateToSQL
  TBatchInsert& Sql(QStringView sql);     // as written: NULL, a literal made elsewhere
  // Sends the rows not yet sent; raises as RunStatements does.
  void Flush();

 private:
  void Value();
  void Send();

  TUniSQLDatabase& m_database;
  QString m_head;
  int m_maxRows;
  qsizetype m_maxChars;
  QString m_sql;
  int m_rows = 0;        // in m_sql, the open one included
  bool m_open = false;   // a row is being written
  bool m_first = false;  // its next value is its first
};

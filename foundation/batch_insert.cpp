#include "batch_insert.h"

#include "format_settings.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

TBatchInsert::TBatchInsert(TUniSQLDatabase& database, QString head, int maxRows, qsizetype maxChars)
    : m_database(database), m_head(std::move(head)), m_maxRows(maxRows), m_maxChars(maxChars) {}

TBatchInsert& TBatchInsert::Row() {
  if (m_open) {
    m_sql += u')';
    m_open = false;
    if (m_rows >= m_maxRows || m_sql.size() >= m_maxChars) Send();
  }
  m_sql += m_rows == 0 ? QStringView(m_head) : QStringView(u",");
  m_sql += u'(';
  ++m_rows;
  m_open = true;
  m_first = true;
  return *this;
}

void TBatchInsert::Value() {
  if (!m_first) m_sql += u',';
  m_first = false;
}

TBatchInsert& TBatchInsert::Text(const QString& text) {
  Value();
  m_sql += m_database.QuotedString(text);
  return *this;
}

TBatchInsert& TBatchInsert::Number(double value) {
  Value();
  m_sql += FloatToSQL(value);
  return *this;
}

TBatchInsert& TBatchInsert::Integer(qint64 value) {
  Value();
  m_sql += QString::number(value);
  return *this;
}

TBatchInsert& TBatchInsert::Date(const QDate& date) {
  Value();
  m_sql += DateToSQL(date);
  return *this;
}

TBatchInsert& TBatchInsert::Sql(QStringView sql) {
  Value();
  m_sql += sql;
  return *this;
}

void TBatchInsert::Flush() {
  if (m_open) {
    m_sql += u')';
    m_open = false;
  }
  if (m_rows > 0) Send();
}

void TBatchInsert::Send() {
  m_rows = 0;
  // Emptied also after a failure: the work is over then, and nothing of it goes again. The
  // text keeps its room for the next statement.
  try {
    RunStatements(m_database, m_sql);
  } catch (...) {
    m_sql.resize(0);
    throw;
  }
  m_sql.resize(0);
}

#include "unisqldataset.h"

#include <mysql.h>

#include <QFileInfo>
#include <charconv>
#include <cmath>

#include "exceptions.h"
#include "format_settings.h"
#include "text_file.h"

namespace {

struct Column {
  int index;  // position in the result
  TFieldType type;
};

void TraceStatement(const QString& statement) {
  if (!QFileInfo::exists(QStringLiteral("teszt.ini"))) return;
  TextFile trace(QStringLiteral("teszt.sql"));
  trace.Rewrite();
  trace.Write(statement);
  if (!statement.endsWith(u'\n')) trace.Write(QStringLiteral("\r\n"));
  trace.Close();
}

// Digits at [pos, pos+count) of text as a number; -1 when they are not all digits.
int Digits(const char* text, unsigned long length, unsigned long pos, unsigned long count) {
  if (pos + count > length) return -1;
  int value = 0;
  for (unsigned long i = pos; i < pos + count; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

QDate ReadDate(const char* text, unsigned long length) {
  const int y = Digits(text, length, 0, 4), m = Digits(text, length, 5, 2),
            d = Digits(text, length, 8, 2);
  if (y <= 0 || m <= 0 || d <= 0) return {};
  return QDate(y, m, d);
}

QTime ReadTime(const char* text, unsigned long length, unsigned long pos) {
  const int h = Digits(text, length, pos, 2), m = Digits(text, length, pos + 3, 2),
            s = Digits(text, length, pos + 6, 2);
  if (h < 0 || m < 0 || s < 0) return {};
  return QTime(h, m, s);
}

QVariant ReadValue(TFieldType type, const char* text, unsigned long length) {
  switch (type) {
    case ftString:
      return text ? QString::fromUtf8(text, static_cast<qsizetype>(length)) : QString();
    case ftInteger: {
      long long v = 0;
      if (text) {
        const auto res = std::from_chars(text, text + length, v);
        if (res.ec != std::errc() || res.ptr != text + length)
          RaiseConvertError(QString::fromUtf8(text, static_cast<qsizetype>(length)),
                            ConvertTarget::Integer);
      }
      return QVariant::fromValue<qlonglong>(v);
    }
    case ftFloat: {
      double v = 0;
      if (text) std::from_chars(text, text + length, v);
      return QVariant(v);
    }
    case ftDate: {
      // The empty date is stored as 1900-01-01; anything up to it reads as empty.
      const QDate d = text ? ReadDate(text, length) : QDate();
      return QVariant(d.isValid() && d > QDate(1900, 1, 1) ? d : QDate());
    }
    case ftDateTime: {
      const QDate d = text ? ReadDate(text, length) : QDate();
      if (!d.isValid()) return QVariant(QDateTime());
      const QTime t = ReadTime(text, length, 11);
      return QVariant(QDateTime(d, t.isValid() ? t : QTime(0, 0), Qt::UTC));
    }
    case ftTime:
      return QVariant(text ? ReadTime(text, length, 0) : QTime());
    default:
      return {};
  }
}

}  // namespace

struct Tunisqldataset::Result {
  MYSQL_RES* res = nullptr;
  std::vector<MYSQL_ROW_OFFSET> offsets;  // seeking by offset is O(1), by row number O(n)
  std::vector<Column> columns;            // one per field
  ~Result() {
    if (res) mysql_free_result(res);
  }
};

Tunisqldataset::Tunisqldataset(QObject* owner) : TDataSet(owner) {}

Tunisqldataset::~Tunisqldataset() { CloseOnDestroy(); }

MYSQL* Tunisqldataset::CheckedHandle() const {
  if (!m_database) throw EDatabaseError(QStringLiteral("Database not defined!"));
  return m_database->CheckedHandle();
}

quint64 Tunisqldataset::Execute(const QString& statement, bool trace) {
  MYSQL* handle = CheckedHandle();
  if (trace) TraceStatement(statement);
  const QByteArray sql = statement.toUtf8();
  if (mysql_real_query(handle, sql.constData(), static_cast<unsigned long>(sql.size())) != 0)
    RaiseMySqlError(handle, statement);
  m_database->StatementDone(statement);
  // A statement that does return rows must have them read, or the connection stays busy.
  if (mysql_field_count(handle) > 0) {
    MYSQL_RES* rows = mysql_store_result(handle);
    if (!rows) RaiseMySqlError(handle, statement);
    mysql_free_result(rows);
    return 0;
  }
  return mysql_affected_rows(handle);
}

void Tunisqldataset::ExecSQL() { Execute(m_statement, true); }

void Tunisqldataset::Reopen() {
  if (!Active()) return;
  const int recNo = RecNo();
  Close();
  Open();
  SetRecNo(recNo);
}

void Tunisqldataset::InternalOpen() {
  MYSQL* handle = CheckedHandle();
  TraceStatement(m_statement);
  const QByteArray sql = m_statement.toUtf8();
  if (mysql_real_query(handle, sql.constData(), static_cast<unsigned long>(sql.size())) != 0)
    RaiseMySqlError(handle, m_statement);
  m_database->StatementDone(m_statement);
  auto result = std::make_unique<Result>();
  result->res = mysql_store_result(handle);
  // Also a statement without rows (an UPDATE opened as a query) ends here.
  if (!result->res) RaiseMySqlError(handle, m_statement);

  MY_CHARSET_INFO charset{};
  mysql_get_character_set_info(handle, &charset);
  const unsigned int bytesPerChar = charset.mbmaxlen > 0 ? charset.mbmaxlen : 1;
  const unsigned int count = mysql_num_fields(result->res);
  const MYSQL_FIELD* fields = mysql_fetch_fields(result->res);
  for (unsigned int i = 0; i < count; ++i) {
    const MYSQL_FIELD& f = fields[i];
    TFieldType type = ftUnknown;
    int size = 0, scale = -1;
    bool fixedLength = false;
    switch (f.type) {
      case MYSQL_TYPE_DECIMAL:
      case MYSQL_TYPE_NEWDECIMAL:
        scale = static_cast<int>(f.decimals);
        [[fallthrough]];
      case MYSQL_TYPE_FLOAT:
      case MYSQL_TYPE_DOUBLE:
        type = ftFloat;
        break;
      case MYSQL_TYPE_TINY:
      case MYSQL_TYPE_SHORT:
      case MYSQL_TYPE_LONG:
      case MYSQL_TYPE_LONGLONG:
      case MYSQL_TYPE_INT24:
        type = ftInteger;
        break;
      case MYSQL_TYPE_DATE:
        type = ftDate;
        break;
      case MYSQL_TYPE_TIME:
        type = ftTime;
        break;
      case MYSQL_TYPE_DATETIME:
      case MYSQL_TYPE_TIMESTAMP:
        type = ftDateTime;
        break;
      case MYSQL_TYPE_ENUM:
      case MYSQL_TYPE_SET:
      case MYSQL_TYPE_VARCHAR:
      case MYSQL_TYPE_VAR_STRING:
      case MYSQL_TYPE_STRING: {
        type = ftString;
        // Lengths come in bytes of the connection's character set (binary: one per byte).
        const unsigned int perChar = f.charsetnr == 63 ? 1 : bytesPerChar;
        const unsigned long bytes = f.length > 0 ? f.length : f.max_length;
        size = static_cast<int>((bytes + perChar - 1) / perChar);
        // CHAR (not ENUM or SET, which come as strings too, nor BINARY, padded with zeros).
        fixedLength =
            f.type == MYSQL_TYPE_STRING && !(f.flags & (ENUM_FLAG | SET_FLAG)) && f.charsetnr != 63;
        break;
      }
      default:
        break;
    }
    if (type == ftUnknown) continue;
    AddField(QString::fromUtf8(f.name, f.name_length), type, size, static_cast<int>(i) + 1, scale,
             fixedLength);
    result->columns.push_back({static_cast<int>(i), type});
  }

  const auto rows = mysql_num_rows(result->res);
  result->offsets.reserve(rows);
  for (;;) {
    MYSQL_ROW_OFFSET at = mysql_row_tell(result->res);
    if (!mysql_fetch_row(result->res)) break;
    result->offsets.push_back(at);
  }
  m_rows.resize(result->offsets.size());
  for (size_t i = 0; i < m_rows.size(); ++i) m_rows[i] = {static_cast<qint64>(i), -1};
  m_nextId = static_cast<qint64>(m_rows.size());
  m_result = std::move(result);
}

void Tunisqldataset::InternalClose() {
  m_result.reset();
  m_rows.clear();
  m_changed.clear();
  m_nextId = 0;
}

void Tunisqldataset::InternalReadRecord(int row, TRecord& record) const {
  const RowRef& ref = m_rows[row];
  if (ref.changed >= 0) {
    record = m_changed[ref.changed];
    return;
  }
  mysql_row_seek(m_result->res, m_result->offsets[ref.id]);
  MYSQL_ROW values = mysql_fetch_row(m_result->res);
  const unsigned long* lengths = mysql_fetch_lengths(m_result->res);
  const auto& columns = m_result->columns;
  record.resize(columns.size());
  for (size_t i = 0; i < columns.size(); ++i) {
    const int c = columns[i].index;
    record[i] = ReadValue(columns[i].type, values[c], lengths[c]);
  }
}

int Tunisqldataset::InternalBookmarkRow(const TBookmark& bookmark) const {
  // Rows only move when rows were inserted or removed before them.
  const qint64 guess = bookmark.Id;
  if (guess >= 0 && guess < static_cast<qint64>(m_rows.size()) && m_rows[guess].id == guess)
    return static_cast<int>(guess);
  for (size_t i = 0; i < m_rows.size(); ++i)
    if (m_rows[i].id == bookmark.Id) return static_cast<int>(i);
  return -1;
}

void Tunisqldataset::ReplaceRow(int row, const TRecord& record) {
  RowRef& ref = m_rows[row];
  if (ref.changed >= 0) {
    m_changed[ref.changed] = record;
    return;
  }
  ref.changed = static_cast<int>(m_changed.size());
  m_changed.push_back(record);
}

void Tunisqldataset::InsertRow(int row, const TRecord& record) {
  m_changed.push_back(record);
  m_rows.insert(m_rows.begin() + row, RowRef{m_nextId++, static_cast<int>(m_changed.size()) - 1});
}

void Tunisqldataset::RemoveRow(int row) {
  const RowRef ref = m_rows[row];
  m_rows.erase(m_rows.begin() + row);
  if (ref.changed >= 0) m_changed[ref.changed].clear();
}

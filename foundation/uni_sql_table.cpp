#include "uni_sql_table.h"

#include <optional>

#include "exceptions.h"
#include "format_settings.h"
#include "transaction.h"
#include "uni_sql_query.h"

namespace {

const QDate kEmptyDay(1900, 1, 1);
const QString kCrLf = QStringLiteral("\r\n");

QString DateTimeToSQL(const QDateTime& value) {
  if (!value.isValid() || value.date() <= kEmptyDay) return DateToSQL(kEmptyDay);
  return QStringLiteral("'%1 %2'").arg(DateToSQL(value.date()).mid(1, 10),
                                       value.time().toString(QStringLiteral("HH:mm:ss")));
}

QString TimeToSQL(const QTime& value) {
  return u'\'' + (value.isValid() ? value : QTime(0, 0)).toString(QStringLiteral("HH:mm:ss")) +
         u'\'';
}

}  // namespace

TUniSQLTable::TUniSQLTable(QObject* owner) : Tunisqldataset(owner) {}

TUniSQLTable::~TUniSQLTable() { CloseOnDestroy(); }

void TUniSQLTable::InternalOpen() {
  QString sql = QStringLiteral("SELECT * FROM ") + m_tablename;
  if (m_filtered && !m_filter.isEmpty()) sql += kCrLf + QStringLiteral("WHERE ") + m_filter;
  if (!m_indexFields.isEmpty()) sql += kCrLf + QStringLiteral("ORDER BY ") + m_indexFields;
  SetStatementText(sql);
  Tunisqldataset::InternalOpen();
}

void TUniSQLTable::InternalEdit() { m_editRecord = CurrentRecord(); }

QString TUniSQLTable::RowCondition(const TRecord& record) const {
  QStringList parts;
  for (int i = 0; i < FieldCount(); ++i) {
    const TField* field = Fields(i);
    const QString& n = field->FieldName();
    const QVariant& v = record[i];
    QString part;
    switch (field->DataType()) {
      case ftString: {
        // Byte for byte: the table's collation would take 'Kovács' for 'kovacs' and 'a ' for
        // 'a', and the statement would hit another row. The plain comparison beside it is what
        // an index can serve; a comparison over BINARY col alone scans the table.
        const QString text = v.toString();
        const QString value = ValueText(field, v);
        const QString exact = n + u'=' + value + QStringLiteral(" and BINARY ") + n +
                              QStringLiteral("=BINARY ") + value;
        part = text.isEmpty()
                   ? u'(' + exact + QStringLiteral(" or ") + n + QStringLiteral(" is NULL)")
                   : exact;
        break;
      }
      case ftDate:
      case ftDateTime: {
        const QDate d = field->DataType() == ftDate ? v.toDate() : v.toDateTime().date();
        part = d.isValid() && d > kEmptyDay
                   ? n + u'=' + ValueText(field, v)
                   : QStringLiteral("(%1='0000-00-00' or %1 is NULL or %1='1900-01-01')").arg(n);
        break;
      }
      case ftTime:
        part = v.toTime().isValid() && v.toTime() != QTime(0, 0)
                   ? n + u'=' + ValueText(field, v)
                   : QStringLiteral("(%1='00:00:00' or %1 is NULL)").arg(n);
        break;
      default: {
        const bool zero = field->DataType() == ftFloat ? v.toDouble() == 0 : v.toLongLong() == 0;
        part =
            zero ? QStringLiteral("(%1=0 or %1 is NULL)").arg(n) : n + u'=' + ValueText(field, v);
        break;
      }
    }
    parts << part;
  }
  return QStringLiteral("WHERE ") + parts.join(QStringLiteral(" and "));
}

QString TUniSQLTable::ValueText(const TField* field, const QVariant& value) const {
  switch (field->DataType()) {
    case ftString:
      return Database()->QuotedString(value.toString());
    case ftDate: {
      const QDate d = value.toDate();
      return DateToSQL(d.isValid() && d > kEmptyDay ? d : kEmptyDay);
    }
    case ftDateTime:
      return DateTimeToSQL(value.toDateTime());
    case ftTime:
      return TimeToSQL(value.toTime());
    case ftFloat:
      return FloatToSQL(value.toDouble());
    default:
      return QString::number(value.toLongLong());
  }
}

// The values as reading the written row back gives them.
void TUniSQLTable::StoredForm(TRecord& record) const {
  for (int i = 0; i < FieldCount(); ++i) {
    const TField* field = Fields(i);
    QVariant& v = record[i];
    switch (field->DataType()) {
      case ftString:
        if (field->FixedLength()) {
          QString text = v.toString();
          qsizetype end = text.size();
          while (end > 0 && text[end - 1] == u' ') --end;
          if (end < text.size()) v = text.left(end);
        }
        break;
      case ftDate:
        if (v.toDate().isValid() && v.toDate() <= kEmptyDay) v = QDate();
        break;
      case ftDateTime:
        if (!v.toDateTime().isValid() || v.toDateTime().date() <= kEmptyDay)
          v = QDateTime(kEmptyDay, QTime(0, 0), Qt::UTC);
        break;
      case ftTime:
        if (!v.toTime().isValid()) v = QTime(0, 0);
        break;
      case ftFloat:
        v = RoundToDecimals(v.toDouble(), field->DecimalScale());
        break;
      default:
        break;
    }
  }
}

qint64 TUniSQLTable::NextNumber(const QString& fieldName, bool forUpdate) {
  TUniSQLQuery max;
  max.SetDatabase(Database());
  max.SetSQL(QStringLiteral("SELECT MAX(") + fieldName + QStringLiteral(") UTOLSO FROM ") +
             m_tablename + (forUpdate ? QStringLiteral(" FOR UPDATE") : QString()));
  max.Open();
  const qint64 number = max.Fields(0)->AsInteger() + 1;
  max.Close();
  return number;
}

void TUniSQLTable::ExecuteOneRow(const QString& statement) {
  if (Execute(statement, false) == 0)
    throw EDatabaseError(
        QStringLiteral(
            "A sort időközben módosították vagy törölték, a változás nem került mentésre."),
        statement);
}

void TUniSQLTable::InternalPost(TRecord& record, int row, bool inserting) {
  CheckedHandle();
  StoredForm(record);
  if (!inserting) {
    QStringList pairs;
    for (int i = 0; i < FieldCount(); ++i)
      pairs << Fields(i)->FieldName() + u'=' + ValueText(Fields(i), record[i]);
    ExecuteOneRow(QStringLiteral("UPDATE ") + m_tablename + QStringLiteral(" SET") + kCrLf +
                  pairs.join(u',') + kCrLf + RowCondition(m_editRecord) +
                  QStringLiteral(" LIMIT 1;"));
    ReplaceRow(row, record);
    return;
  }

  // The number is taken and used under a write lock, so two workstations never share one.
  // LOCK TABLES would commit an open transaction and release an outer lock: inside a
  // transaction the rows read lock the table for it until it ends, and inside an outer lock
  // that lock already keeps the others out.
  std::optional<TTableLock> lock;
  if (!m_autoIncField.isEmpty()) {
    TUniSQLDatabase& db = *Database();
    const bool inTransaction = db.InTransaction();
    if (!inTransaction && !db.TablesLocked())
      lock.emplace(db, m_tablename + QStringLiteral(" WRITE"));
    const qint64 number = NextNumber(m_autoIncField, inTransaction);
    for (int i = 0; i < FieldCount(); ++i)
      if (Fields(i)->FieldName() == m_autoIncField)
        record[i] = QVariant::fromValue<qlonglong>(number);
  }
  QStringList names, values;
  for (int i = 0; i < FieldCount(); ++i) {
    names << Fields(i)->FieldName();
    values << ValueText(Fields(i), record[i]);
  }
  Execute(QStringLiteral("INSERT INTO ") + m_tablename + kCrLf + u'(' + names.join(u',') +
              QStringLiteral(") VALUES") + kCrLf + u'(' + values.join(u',') + QStringLiteral(");"),
          false);
  InsertRow(row, record);
}

void TUniSQLTable::InternalDelete(int row) {
  CheckedHandle();
  TRecord stored;
  InternalReadRecord(row, stored);
  ExecuteOneRow(QStringLiteral("DELETE FROM ") + m_tablename + kCrLf + RowCondition(stored) +
                QStringLiteral(" LIMIT 1;"));
  RemoveRow(row);
}

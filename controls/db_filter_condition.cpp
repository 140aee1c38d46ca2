#include "db_filter_condition.h"

#include <QStringList>

#include "field.h"
#include "format_settings.h"
#include "uni_sql_query.h"

namespace {

QString Condition(const TFilterEntry& entry, const QString& text,
                  const std::function<QString(const QString&)>& escape) {
  const TField* f = entry.field;
  const QString name = f->FieldName().toUpper();
  switch (f->DataType()) {
    case ftInteger: {
      qint64 value = 0;
      if (!TextToInt64(text, value)) RaiseConvertError(text, ConvertTarget::Integer);
      return name + QLatin1String(" = ") + QString::number(value);
    }
    case ftFloat: {
      double value = 0;
      if (!TextToFloat(text, value)) RaiseConvertError(text, ConvertTarget::Float);
      return name + QLatin1String(" = ") + FloatToSQL(value);
    }
    case ftDate:
    case ftDateTime: {
      QDate date;
      if (!TextToDate(text, date)) RaiseConvertError(text, ConvertTarget::Date);
      return name + QLatin1String(" = ") + DateToSQL(date);
    }
    default:
      if (f->Size() >= 16)
        return QLatin1String("UPPER(") + name + QLatin1String(") LIKE '") + escape(text) +
               QLatin1String("%'");
      return QLatin1String("UPPER(") + name + QLatin1String(") = '") + escape(text) +
             QLatin1String("'");
  }
}

}  // namespace

QString BuildFilterConditions(const std::vector<TFilterEntry>& entries,
                              const std::function<QString(const QString&)>& escape,
                              QString* description) {
  QStringList conditions;
  QString text;
  for (const TFilterEntry& entry : entries) {
    const QString upper = entry.text.toUpper();
    conditions << Condition(entry, upper, escape);
    text += u' ' + entry.field->DisplayLabel() + QLatin1String(" = ") + upper + u',';
  }
  if (description) *description = text;
  return conditions.join(QLatin1String(" AND "));
}

QString CombineFilter(const QString& ownFilter, const QString& conditions) {
  if (ownFilter.trimmed().isEmpty()) return conditions;
  if (conditions.isEmpty()) return ownFilter;
  return u'(' + ownFilter + QLatin1String(") AND ") + conditions;
}

QString DistinctValuesSQL(const QString& fieldName, const QString& tableName,
                          const QString& filter) {
  QString sql = QLatin1String("select distinct ") + fieldName + QLatin1String(" from ") + tableName;
  if (!filter.trimmed().isEmpty()) sql += QLatin1String(" where ") + filter;
  return sql + QLatin1String(" order by 1");
}

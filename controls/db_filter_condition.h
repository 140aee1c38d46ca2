#pragma once

#include <QString>
#include <functional>
#include <vector>

class TField;

// The SQL condition of the browser's filter dialog, built without widgets.

// One checked column of the dialog and the text typed or chosen for it.
struct TFilterEntry {
  const TField* field;
  QString text;
};

// The conditions of the entries joined by " AND ", all in capitals: a number column compares
// with the number (a text that is no number raises EConvertError), a date column with the
// date's SQL literal (no date: EConvertError), a text column of declared size 16 or more by
// prefix (UPPER(F) LIKE 'TEXT%'), a shorter one by equality (UPPER(F) = 'TEXT'). Texts are
// upper-cased and then escaped through escape. description gets " " + label + " = " + text +
// "," per entry. Empty for no entries.
QString BuildFilterConditions(const std::vector<TFilterEntry>& entries,
                              const std::function<QString(const QString&)>& escape,
                              QString* description = nullptr);

// The filter a table reads with: the conditions after the table's own filter (in effect when
// not empty), so that a filter narrows the rows and never widens them.
QString CombineFilter(const QString& ownFilter, const QString& conditions);

// The distinct values of a column for the dialog's value lists, within filter when not empty.
QString DistinctValuesSQL(const QString& fieldName, const QString& tableName,
                          const QString& filter);

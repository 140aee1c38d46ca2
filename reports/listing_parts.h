#pragma once

#include <QDate>
#include <QStringList>
#include <functional>

#include "wreport.h"

class TUniSQLDatabase;
class TUniSQLQuery;

// What the listings share while they build their reports; not for other callers.
namespace listing {

// Attaches query to database with its text.
void Prepare(TUniSQLQuery& query, TUniSQLDatabase& database, const QStringList& sql);
// CEGNEV of the company record read by sql; empty without one.
QString CompanyName(TUniSQLDatabase& database, const QString& sql);
// A date as the date edits give it to SQL between quotes: "2023.12.31"; none gives 1900.01.01.
QString DateParam(const QDate& date);
// Marks the named fields of an open query as currency.
void MarkCurrency(TUniSQLQuery& query, const QStringList& fields);
// A bold title label.
TWLabel& AddTitle(TWBand& band, const QString& name, const TWBounds& at, const QString& caption);
// Column titles: one label per (name, caption, bounds), right-aligned when asked.
struct TColumn {
  const char* Name;
  const char* Caption;
  TWBounds At;
  TAlignment Alignment = taLeftJustify;
};
void AddLabels(TWBand& band, std::initializer_list<TColumn> labels);
// Runs handler; a failure is shown with message and the report goes on.
void Guarded(const std::function<void()>& handler, const QString& message);

}  // namespace listing

#include "other_workstation.h"

#include "asset_store.h"
#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_table.h"

void PostItem(TUniSQLDatabase& db, const QString& number, const QDate& date, double amount) {
  TUniSQLTable items;
  items.SetDatabase(&db);
  items.SetTablename(QStringLiteral("KARTTET"));
  items.SetIndexFields(QStringLiteral("DATUM, TIPUS"));
  items.SetFilter(QStringLiteral("LELTSZAM = '%1'").arg(db.EscapeString(number)));
  items.SetFiltered(true);
  items.Open();
  const int count = items.RecordCount();
  items.Append();
  items.FieldByName(QStringLiteral("LELTSZAM"))->SetAsString(number);
  items.FieldByName(QStringLiteral("DATUM"))->SetAsDate(date);
  items.FieldByName(QStringLiteral("TIPUS"))->SetAsString(QStringLiteral("3"));
  items.FieldByName(QStringLiteral("SZOVEG"))->SetAsString(QStringLiteral("Érték növelés"));
  items.FieldByName(QStringLiteral("BRUTTONOV"))->SetAsFloat(amount);
  items.FieldByName(QStringLiteral("SORSZAM"))->SetAsInteger(count + 1);
  ChangeCardUnderLock(db, number, [&] { items.Post(); });
}

std::future<QStringList> PostItemsElsewhere(const TestDatabase& db, QStringList numbers, QDate date,
                                            double amount) {
  return std::async(std::launch::async, [&db, numbers, date, amount] {
    QStringList errors;
    const auto connection = db.Connect();
    for (const QString& number : numbers) {
      try {
        PostItem(*connection, number, date, amount);
      } catch (const Exception& e) {
        errors << number + QStringLiteral(": ") + e.Message();
      }
    }
    return errors;
  });
}

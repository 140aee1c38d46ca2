#include "balance_recalc.h"

#include "card_balances.h"
#include "transaction.h"
#include "uni_sql_table.h"

namespace {

const char* const kAmountColumns[] = {"BRUTTONOV", "BRUTTOCSOK", "ECSNOV",
                                      "ECSCSOKK",  "ECSNSZ",     "ECSCSSZ"};

BalanceItem ReadItem(const TUniSQLTable& cards) {
  BalanceItem item;
  item.DATUM = cards.FieldByName(QStringLiteral("DATUM"))->AsDate();
  const QString type = cards.FieldByName(QStringLiteral("TIPUS"))->AsString();
  item.TIPUS = type.isEmpty() ? QChar(' ') : type.at(0);
  double* amounts[] = {&item.BRUTTONOV, &item.BRUTTOCSOK, &item.ECSNOV,
                       &item.ECSCSOKK,  &item.ECSNSZ,     &item.ECSCSSZ};
  // A NULL, which imports can leave, reads as 0.
  for (int i = 0; i < 6; ++i)
    *amounts[i] = cards.FieldByName(QString::fromLatin1(kAmountColumns[i]))->AsFloat();
  return item;
}

void WriteItem(TUniSQLTable& cards, const BalanceItem& item) {
  cards.Edit();
  cards.FieldByName(QStringLiteral("BRUTTO"))->SetAsFloat(item.BRUTTO);
  cards.FieldByName(QStringLiteral("ECS"))->SetAsFloat(item.ECS);
  cards.FieldByName(QStringLiteral("ECSSZ"))->SetAsFloat(item.ECSSZ);
  cards.FieldByName(QStringLiteral("NETTO"))->SetAsFloat(item.NETTO);
  cards.FieldByName(QStringLiteral("NETTOSZ"))->SetAsFloat(item.NETTOSZ);
  cards.FieldByName(QStringLiteral("SORSZAM"))->SetAsInteger(item.SORSZAM);
  cards.Post();
}

// The dataset's empty date; the table writes it as 1900-01-01.
QDate FieldDate(const QDate& date) { return date.isValid() && date > kEmptyDate ? date : QDate(); }

}  // namespace

void RecalcBalances(TUniSQLTable& master, TUniSQLTable& cards) {
  const TDataSetState remembered = master.State();
  if (remembered != dsBrowse) master.Post();
  master.Edit();

  MasterDates dates;
  dates.BESZKELT = master.FieldByName(QStringLiteral("BESZKELT"))->AsDate();

  cards.Close();
  cards.SetTablename(QStringLiteral("KARTTET"));
  cards.SetIndexFields(QStringLiteral("DATUM,TIPUS"));
  cards.SetFilter(QStringLiteral("LELTSZAM = '%1'").arg(
      master.Database()->EscapeString(master.FieldByName(QStringLiteral("LELTSZAM"))->AsString())));
  cards.SetFiltered(true);
  cards.Open();

  QList<BalanceItem> items;
  for (cards.First(); !cards.Eof(); cards.Next()) items.append(ReadItem(cards));
  ComputeCardBalances(items, dates);
  int k = 0;
  for (cards.First(); !cards.Eof(); cards.Next()) WriteItem(cards, items[k++]);
  cards.Close();

  master.FieldByName(QStringLiteral("BESZKELT"))->SetAsDate(FieldDate(dates.BESZKELT));
  master.FieldByName(QStringLiteral("AKTKELT"))->SetAsDate(FieldDate(dates.AKTKELT));
  master.FieldByName(QStringLiteral("ELADAS"))->SetAsDate(FieldDate(dates.ELADAS));
  master.FieldByName(QStringLiteral("SLEJTEZ"))->SetAsDate(FieldDate(dates.SLEJTEZ));
  master.Post();
  if (remembered != dsBrowse) master.Edit();
}

void RecalcAllBalances(TUniSQLDatabase& database, const RecalcProgress& progress) {
  TTransaction transaction(database);
  TUniSQLTable master;
  master.SetDatabase(&database);
  master.SetTablename(QStringLiteral("KARTFEJ"));
  master.SetIndexFields(QStringLiteral("LELTSZAM"));
  master.Open();
  TUniSQLTable cards;
  cards.SetDatabase(&database);

  const int maximum = master.RecordCount();
  if (progress) progress(0, maximum);
  int position = 0;
  for (master.First(); !master.Eof(); master.Next()) {
    RecalcBalances(master, cards);
    if (progress) progress(++position, maximum);
  }
  master.Close();
  transaction.Commit();
}

#include "asset_store.h"

#include <QLocale>
#include <QVariant>
#include <memory>
#include <utility>

#include "balance_recalc.h"
#include "transaction.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

std::unique_ptr<TUniSQLQuery> Query(TUniSQLDatabase& db, const QString& sql) {
  auto q = std::make_unique<TUniSQLQuery>();
  q->SetDatabase(&db);
  q->SetSQL(sql);
  return q;
}

QString Field(const TUniSQLTable& t, const char* name) {
  return t.FieldByName(QString::fromLatin1(name))->AsString();
}

void SetFloat(TUniSQLTable& t, const char* name, double value) {
  t.FieldByName(QString::fromLatin1(name))->SetAsFloat(value);
}

// A life typed as -1 or -2 is stored as 1 or 2.
void StoreLife(TUniSQLTable& master, const char* name) {
  TField* f = master.FieldByName(QString::fromLatin1(name));
  const QString text = f->AsString().trimmed();
  if (text == QLatin1String("-1")) f->SetAsString(QStringLiteral("1"));
  if (text == QLatin1String("-2")) f->SetAsString(QStringLiteral("2"));
}

}  // namespace

QString NextInventoryNumber(TUniSQLDatabase& db) {
  auto q =
      Query(db, QStringLiteral("select LELTSZAM from KARTFEJ where LELTSZAM REGEXP '^[0-9]+$'"));
  q->Open();
  QStringList numbers;
  for (q->First(); !q->Eof(); q->Next()) numbers << q->Fields(0)->AsString();
  return NextInventoryNumber(numbers);
}

bool InventoryNumberExists(TUniSQLDatabase& db, const QString& number) {
  auto q = Query(db, QStringLiteral("select LELTSZAM from KARTFEJ where LELTSZAM = ':PLELTSZAM'"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->Open();
  return !q->IsEmpty();
}

QString AssetName(TUniSQLDatabase& db, const QString& number) {
  auto q = Query(db, QStringLiteral("select MEGNEV from KARTFEJ where LELTSZAM = ':PLELTSZAM'"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->Open();
  return q->IsEmpty() ? QString() : q->Fields(0)->AsString();
}

double QuantitySum(TUniSQLDatabase& db, const QString& number) {
  auto q = Query(db, QStringLiteral("select sum(MENNYISEG) MENNYISEG from KARTTET where LELTSZAM = "
                                    "':PLELTSZAM'"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->Open();
  return q->IsEmpty() ? 0 : q->Fields(0)->AsFloat();
}

QString AcquisitionDocument(TUniSQLDatabase& db, const QString& number) {
  auto q = Query(db, QStringLiteral("select BIZSZAM from KARTTET where LELTSZAM = ':PLELTSZAM' and "
                                    "TIPUS = '0'"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->Open();
  return q->IsEmpty() ? QString() : q->Fields(0)->AsString();
}

QList<RateRow> LoadRates(TUniSQLDatabase& db, const QString& number) {
  auto q = Query(db, QStringLiteral("select EV, KULCS, KULCSSZ from KULCSOK where LELTSZAM = "
                                    "':PLELTSZAM' order by EV"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->Open();
  QList<RateRow> rows;
  for (q->First(); !q->Eof(); q->Next())
    rows << RateRow{int(q->Fields(0)->AsInteger()), q->Fields(1)->AsFloat(),
                    q->Fields(2)->AsFloat()};
  return rows;
}

namespace {

QString SqlNumber(const QString& text) {
  bool ok = false;
  const double v = QLocale::c().toDouble(QString(text.trimmed()).replace(',', '.'), &ok);
  return QString::number(ok ? v : 0, 'g', QLocale::FloatingPointShortest);
}

}  // namespace

void SaveRates(TUniSQLDatabase& db, const QString& number, const QList<RateCells>& rows) {
  TTransaction work(db);
  auto del = Query(db, QStringLiteral("DELETE FROM KULCSOK WHERE LELTSZAM = ':PLELTSZAM'"));
  del->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  del->ExecSQL();
  for (const RateCells& row : rows) {
    if (row.year.trimmed().isEmpty()) continue;
    auto ins = Query(db, QStringLiteral("INSERT INTO KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) VALUES "
                                        "(':PLELTSZAM', :PEV, :PKULCS, :PSZ)"));
    ins->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
    ins->SetParam(QStringLiteral("PEV"), QString::number(row.year.trimmed().toInt()));
    ins->SetParam(QStringLiteral("PKULCS"), SqlNumber(row.tax));
    ins->SetParam(QStringLiteral("PSZ"), SqlNumber(row.acc));
    ins->ExecSQL();
  }
  work.Commit();
}

bool ParseQuantity(const QString& text, double* quantity) {
  bool ok = false;
  const double v = QLocale::c().toDouble(QString(text.trimmed()).replace(',', '.'), &ok);
  if (ok) *quantity = v;
  return ok;
}

namespace {

void WriteAcquisitionItem(TUniSQLTable& master, TUniSQLTable& cards, const AssetSave& save) {
  TUniSQLDatabase& db = *master.Database();
  const QString number = Field(master, "LELTSZAM");
  cards.Close();
  cards.SetDatabase(&db);
  cards.SetTablename(QStringLiteral("KARTTET"));
  cards.SetIndexFields(QStringLiteral("DATUM,TIPUS"));
  cards.SetFilter(QStringLiteral("LELTSZAM = '%1' and TIPUS = '0'").arg(db.EscapeString(number)));
  cards.SetFiltered(true);
  cards.Open();
  const bool appended = cards.IsEmpty();
  if (appended) {
    const int count = cards.RecordCount();
    cards.Append();
    cards.FieldByName(QStringLiteral("SORSZAM"))->SetAsInteger(count + 1);
  } else {
    cards.First();
    cards.Edit();
  }
  cards.FieldByName(QStringLiteral("LELTSZAM"))->SetAsString(number);
  cards.FieldByName(QStringLiteral("DATUM"))
      ->SetAsDate(master.FieldByName(QStringLiteral("BESZKELT"))->AsDate());
  cards.FieldByName(QStringLiteral("BIZSZAM"))->SetAsString(save.documentNumber);
  cards.FieldByName(QStringLiteral("TIPUS"))->SetAsString(QStringLiteral("0"));
  TField* text = cards.FieldByName(QStringLiteral("SZOVEG"));
  if (text->AsString().trimmed().isEmpty())
    text->SetAsString(save.action == QLatin1Char('1') ? QStringLiteral("Kapott apport")
                                                      : QStringLiteral("beszerzés"));
  const double value = master.FieldByName(QStringLiteral("BESZERTEK"))->AsFloat();
  SetFloat(cards, "BRUTTONOV", value);
  SetFloat(cards, "BRUTTOCSOK", 0);
  SetFloat(cards, "BRUTTO", value);
  for (const char* name :
       {"ECSCSOKK", "ECSNOV", "ECS", "NETTO", "NETTOSZ", "ECSCSSZ", "ECSNSZ", "ECSSZ"})
    SetFloat(cards, name, 0);
  // Only a new asset sets the quantity: a changed one keeps its card's quantities.
  if (save.isNew || appended) SetFloat(cards, "MENNYISEG", save.isNew ? save.quantity : 1);
  cards.Post();
  cards.Close();
}

void PutValues(TUniSQLTable& table, const QList<QVariant>& values) {
  for (int i = 0; i < table.FieldCount() && i < values.size(); ++i)
    table.Fields(i)->SetValue(values[i]);
}

// The master row again as the database holds it, with the values as typed on top.
void RestoreMaster(TUniSQLTable& master, bool inserting, const QString& oldNumber,
                   const QList<QVariant>& typed) {
  if (inserting) return ResumeEditing(master, true, 0, typed);
  ResumeMasterEditing(master, oldNumber, typed);
}

}  // namespace

QList<QVariant> FieldValues(const TUniSQLTable& table) {
  QList<QVariant> values;
  for (int i = 0; i < table.FieldCount(); ++i) values << table.Fields(i)->Value();
  return values;
}

void ResumeEditing(TUniSQLTable& table, bool inserting, int position,
                   const QList<QVariant>& values) {
  table.Close();
  table.Open();
  if (inserting) {
    table.Append();
  } else {
    if (position < 1 || position > table.RecordCount()) return;
    table.SetRecNo(position);
    table.Edit();
  }
  PutValues(table, values);
}

void ResumeMasterEditing(TUniSQLTable& master, const QString& number,
                         const QList<QVariant>& values) {
  master.Close();
  master.Open();
  {
    // The walk to the row is no scroll of the user's: the handler hears of the row found only.
    struct Quiet {
      TDataSet& table;
      TDataSet::TDataSetNotifyEvent handler;
      ~Quiet() { table.AfterScroll = handler; }
    } quiet{master, std::exchange(master.AfterScroll, nullptr)};
    for (master.First(); !master.Eof(); master.Next())
      if (Field(master, "LELTSZAM") == number) break;
  }
  if (master.Eof()) return;
  if (master.AfterScroll) master.AfterScroll(&master);
  master.Edit();
  PutValues(master, values);
}

AssetSaveResult SaveAsset(TUniSQLTable& master, TUniSQLTable& cards, const AssetSave& save) {
  TUniSQLDatabase& db = *master.Database();
  const bool inserting = master.State() == dsInsert;
  const QList<QVariant> typed = FieldValues(master);
  QString oldNumber;
  if (!inserting) {
    // The row as it is stored: the number it is found by after a failure.
    oldNumber = Field(master, "LELTSZAM");
  }
  try {
    TLockedWork work(db, kAssetLocks);
    const QString number = Field(master, "LELTSZAM");
    if (save.isNew && InventoryNumberExists(db, number)) return AssetSaveResult::AlreadyExists;
    StoreLife(master, "ELHASZN");
    StoreLife(master, "ELHASZNA");
    if (master.State() == dsInsert || master.State() == dsEdit) master.Post();
    WriteAcquisitionItem(master, cards, save);
    if (save.saveRates) SaveRates(db, number, save.rates);
    RecalcBalances(master, cards);
    if (master.State() != dsBrowse) master.Post();
    work.Commit();
    return AssetSaveResult::Saved;
  } catch (...) {
    try {
      RestoreMaster(master, inserting, oldNumber, typed);
    } catch (...) {
      // The first error is the one to report.
    }
    throw;
  }
}

void DeleteAssetDependents(TUniSQLDatabase& db, const QString& number) {
  TTransaction work(db);
  for (const char* table : {"KULCSOK", "KARTTET", "SZAMITAS"}) {
    auto q = Query(db, QStringLiteral("DELETE FROM %1 WHERE LELTSZAM = ':PLELTSZAM'")
                           .arg(QString::fromLatin1(table)));
    q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
    q->ExecSQL();
  }
  work.Commit();
}

void RecalcAssetBalances(TUniSQLDatabase& db, const QString& number) {
  TUniSQLTable master, cards;
  master.SetDatabase(&db);
  master.SetTablename(QStringLiteral("KARTFEJ"));
  master.SetFilter(QStringLiteral("LELTSZAM = '%1'").arg(db.EscapeString(number)));
  master.SetFiltered(true);
  master.Open();
  cards.SetDatabase(&db);
  if (!master.IsEmpty()) RecalcBalances(master, cards);
  master.Close();
}

void ChangeCardUnderLock(TUniSQLDatabase& db, const QString& number,
                         const std::function<void()>& change,
                         const std::function<void(const QString&)>& recalc) {
  TLockedWork work(db, kItemLocks);
  if (change) change();
  if (recalc)
    recalc(number);
  else
    RecalcAssetBalances(db, number);
  work.Commit();
}

PreviousBalances ReadPreviousBalances(TUniSQLDatabase& db, const QString& number, const QDate& date,
                                      QChar type, bool inserting) {
  auto q =
      Query(db, QStringLiteral("select * from KARTTET where LELTSZAM = ':PLELTSZAM' and "
                               "((DATUM < :PDATUM) or (DATUM = :PDATUM and TIPUS < ':PTIPUS')) "
                               "order by DATUM,TIPUS"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->SetParam(QStringLiteral("PDATUM"),
              inserting ? QStringLiteral("'2200-12-31'") : DateToSQL(date));
  q->SetParamEscaped(QStringLiteral("PTIPUS"), inserting ? QStringLiteral("~") : QString(type));
  q->Open();
  PreviousBalances prev;
  for (q->First(); !q->Eof(); q->Next()) {
    if (q->FieldByName(QStringLiteral("TIPUS"))->AsString() == QLatin1String("2"))
      prev.activated = true;
    prev.BRUTTO = q->FieldByName(QStringLiteral("BRUTTO"))->AsFloat();
    prev.ECS = q->FieldByName(QStringLiteral("ECS"))->AsFloat();
    prev.ECSSZ = q->FieldByName(QStringLiteral("ECSSZ"))->AsFloat();
  }
  return prev;
}

bool ItemDateRange(TUniSQLDatabase& db, const QString& number, QChar type, QDate* min, QDate* max) {
  auto q = Query(db, QStringLiteral("select MIN(DATUM), MAX(DATUM), COUNT(*) from KARTTET where "
                                    "LELTSZAM = ':PLELTSZAM' and TIPUS <> ':PTIPUS'"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->SetParamEscaped(QStringLiteral("PTIPUS"), QString(type));
  q->Open();
  if (q->IsEmpty() || q->Fields(2)->AsInteger() == 0) return false;
  *min = q->Fields(0)->AsDate();
  *max = q->Fields(1)->AsDate();
  return true;
}

AssetDates ReadAssetDates(TUniSQLDatabase& db, const QString& number) {
  auto q = Query(db, QStringLiteral("select * from KARTFEJ where LELTSZAM = ':PLELTSZAM'"));
  q->SetParamEscaped(QStringLiteral("PLELTSZAM"), number);
  q->Open();
  AssetDates d;
  if (q->IsEmpty()) return d;
  d.found = true;
  d.name = q->FieldByName(QStringLiteral("MEGNEV"))->AsString();
  d.BESZKELT = q->FieldByName(QStringLiteral("BESZKELT"))->AsDate();
  d.AKTKELT = q->FieldByName(QStringLiteral("AKTKELT"))->AsDate();
  d.ELADAS = q->FieldByName(QStringLiteral("ELADAS"))->AsDate();
  d.SLEJTEZ = q->FieldByName(QStringLiteral("SLEJTEZ"))->AsDate();
  return d;
}

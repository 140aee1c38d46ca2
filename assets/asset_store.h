#pragma once

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <functional>

#include "asset_rules.h"

class TUniSQLDatabase;
class TUniSQLTable;

// The database work of the asset form and the card item form. Every piece that writes runs
// under one TLockedWork on the tables it touches, so it completes or leaves the data as before.

// The lock lists of the pieces of work.
inline const QString kAssetLocks = QStringLiteral("KARTFEJ WRITE, KARTTET WRITE, KULCSOK WRITE");
inline const QString kAssetDeleteLocks =
    QStringLiteral("KARTFEJ WRITE, KARTTET WRITE, KULCSOK WRITE, SZAMITAS WRITE");
inline const QString kItemLocks = QStringLiteral("KARTFEJ WRITE, KARTTET WRITE");

// The number offered to a new asset (NextInventoryNumber over KARTFEJ).
QString NextInventoryNumber(TUniSQLDatabase& db);
bool InventoryNumberExists(TUniSQLDatabase& db, const QString& number);
// MEGNEV of an asset; empty when there is none.
QString AssetName(TUniSQLDatabase& db, const QString& number);
// The sum of MENNYISEG over the asset's card; 0 without items.
double QuantitySum(TUniSQLDatabase& db, const QString& number);
// BIZSZAM of the asset's "0" item; empty without one.
QString AcquisitionDocument(TUniSQLDatabase& db, const QString& number);
// The rows of the asset's rates, ordered by year.
QList<RateRow> LoadRates(TUniSQLDatabase& db, const QString& number);
// Replaces the asset's rate rows by the non-empty rows given (year cell set). Joins the caller's
// piece of work.
void SaveRates(TUniSQLDatabase& db, const QString& number, const QList<RateCells>& rows);

// A quantity box's text as a number (a comma is taken as the decimal mark); false when not.
bool ParseQuantity(const QString& text, double* quantity);

struct AssetSave {
  bool isNew = false;
  QChar action = QLatin1Char(' ');  // "1" writes "Kapott apport" as the "0" item's text
  QString documentNumber;           // BIZSZAM of the "0" item
  double quantity = 1;              // MENNYISEG of a new asset's "0" item
  bool saveRates = true;
  QList<RateCells> rates;
};

enum class AssetSaveResult { Saved, AlreadyExists };

// Saves the asset on which master (a table over KARTFEJ, inserting or editing) stands as one
// piece of work: the number check of a new asset, the master row (lives -1/-2 stored as 1/2),
// the "0" item, the rates and the card's balances. master ends browsing on success; on
// AlreadyExists nothing is written and master stays as it was. On an error nothing is written,
// the error propagates, and master is read again from the database (still editing a new row
// when it was inserting). cards is a table over KARTTET used for the work.
AssetSaveResult SaveAsset(TUniSQLTable& master, TUniSQLTable& cards, const AssetSave& save);

// The rates, card and run lines of an asset, deleted before its master row goes; joins the
// caller's piece of work.
void DeleteAssetDependents(TUniSQLDatabase& db, const QString& number);

// The values of a table's fields, in field order: what the user typed into a row being edited.
QList<QVariant> FieldValues(const TUniSQLTable& table);
// table read again as the database holds it, then editing again with values (FieldValues) on
// top: a new row when inserting, else the row at position (1-based). For a row whose piece of
// work failed after the table had taken it, so nothing typed is lost.
void ResumeEditing(TUniSQLTable& table, bool inserting, int position,
                   const QList<QVariant>& values);
// The same for master (a table over KARTFEJ) standing on the asset numbered number, when
// the stored master row changed under an edit (the card's dates after its items changed).
void ResumeMasterEditing(TUniSQLTable& master, const QString& number,
                         const QList<QVariant>& values);

// RecalcBalances for an asset given by its number, through tables of its own.
void RecalcAssetBalances(TUniSQLDatabase& db, const QString& number);

// A change of the card of the asset numbered number (change posts or deletes an item through
// a table over KARTTET; none: the card alone) and the card's recalculation, as one piece of
// work under the item locks, so the posts of every workstation take turns. recalc, when given,
// recalculates the card in place of RecalcAssetBalances (the asset form over its own tables).
// Raises what the database layer raises; nothing of the change stays then.
void ChangeCardUnderLock(TUniSQLDatabase& db, const QString& number,
                         const std::function<void()>& change,
                         const std::function<void(const QString&)>& recalc = {});

// inserting: every item of the card precedes (a new item goes last).
PreviousBalances ReadPreviousBalances(TUniSQLDatabase& db, const QString& number, const QDate& date,
                                      QChar type, bool inserting);

// Earliest and latest DATUM of the card's items of other types than type; false without any.
bool ItemDateRange(TUniSQLDatabase& db, const QString& number, QChar type, QDate* min, QDate* max);

struct AssetDates {
  bool found = false;
  QString name;
  QDate BESZKELT, AKTKELT, ELADAS, SLEJTEZ;
};
AssetDates ReadAssetDates(TUniSQLDatabase& db, const QString& number);

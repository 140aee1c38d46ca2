#pragma once

#include <QDate>
#include <QString>

class TUniSQLDatabase;

// The listings: each writes its report files into userDir (ending with "/") from the company
// database open on database; the form checks its inputs, calls one of these and then starts
// the renderer (ShowReport) on the report name returned or given below. Texts typed by the
// user go into SQL escaped. Database and file errors propagate.

// All cost locations, or the one named.
struct TCostLocationChoice {
  bool One = false;
  QString Koltshely;
};

// Inventory-number and acquisition-date ranges; numbers compare as text.
struct TAssetRange {
  QString LeltszamTol;
  QString LeltszamIg;
  QDate BeszTol;
  QDate BeszIg;
};

// "leltszamlist": one line per asset with its last item's gross, depreciation and net value
// under accounting law. csakNulla keeps the assets written down to zero, csakAmiVan those
// still owned (gross above 0.01); the per-user work table WKARTFEJ + logonName is made for the
// run and dropped after it.
void WriteLeltlisReport(TUniSQLDatabase& database, const TAssetRange& range, bool csakNulla,
                        bool csakAmiVan, const QString& logonName, const QString& userDir);

// "leltliskltsh": the same lines grouped by cost location, with subtotals.
void WriteLeltliskoltshReport(TUniSQLDatabase& database, const TAssetRange& range,
                              const TCostLocationChoice& costLocation, const QString& userDir);

// "leltszamlist": the assets of a number range grouped by asset account, with subtotals.
void WriteFkszLisReport(TUniSQLDatabase& database, const QString& leltszamTol,
                        const QString& leltszamIg, const QString& userDir);

// The register cards. Valuation 0: accounting law, 1: tax law.
struct TKartonInput {
  TAssetRange Range;
  QDate TetelTol;  // item dates (card print only)
  QDate TetelIg;
  QDate ListaKelte;      // card print only; the cost-location cards print today
  bool CsakElo = false;  // only assets neither sold nor scrapped (card print only)
  int Valuation = 0;
  TCostLocationChoice CostLocation;  // cost-location cards only
};
// "ZARNKARTON"; false, and no file written, when the selection has no item.
bool WriteKartonNyomtReport(TUniSQLDatabase& database, const TKartonInput& input,
                            const QString& userDir);
// "ZARNKARTKH", ordered by cost location; false when the selection has no item.
bool WriteKartonKoltshReport(TUniSQLDatabase& database, const TKartonInput& input,
                             const QString& userDir);

// The posting lists of the items of a period.
struct TFeladInput {
  QDate DatumTol;
  QDate DatumIg;
  int Valuation = 0;
  QDate ListaKelte;                  // posting list only; the cost-location list prints today
  TCostLocationChoice CostLocation;  // cost-location list only
};
// "ZARNKARTON"; false when the period has no item.
bool WriteFeladReport(TUniSQLDatabase& database, const TFeladInput& input, const QString& userDir);
// "ZARNFELADKH"; false when the period has no item.
bool WriteFeladKhReport(TUniSQLDatabase& database, const TFeladInput& input,
                        const QString& userDir);

// "ZARNOSSZES": the yearly summary by account under accounting law, through the per-user
// work table WOSSZ + logonName, which stays in the database. A year that is not four digits
// gives the empty summary and runs no SQL on the items.
struct TOsszesInput {
  QString Ev;
  QDate TabloKelte;
  bool Athozat = true;
};
void WriteOsszesReport(TUniSQLDatabase& database, const TOsszesInput& input,
                       const QString& logonName, const QString& userDir);

// A per-user work table's name as it stands in SQL: prefix + logon name in backticks.
QString WorkTableName(const QString& prefix, const QString& logonName);
// An amount as the cards and posting lists print it ("### ### ##0.00").
QString AmountText(double value);

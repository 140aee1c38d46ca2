#pragma once

#include <QDate>
#include <QString>
#include <functional>

#include "depreciation_calculator.h"

class TUniSQLDatabase;

// The database side of a depreciation run, without widgets: what the run form asks, deletes,
// computes and writes on the company connection.
class DepreciationRun {
 public:
  using Progress = std::function<void(int position, int maximum)>;

  struct Result {
    int assetsRead = 0;       // rows of KARTFEJ walked
    int assetsProcessed = 0;  // active on the run date
    int lines = 0;            // SZAMITAS rows written
    int items = 0;            // "4" items written
  };

  explicit DepreciationRun(TUniSQLDatabase& database);

  // Why a run for these inputs cannot start, or empty when it can. leltszam is empty for every
  // asset, otherwise an inventory number of digits.
  static QString CheckInput(const QDate& runDate, const QString& leltszam);

  // True when write-off items dated on or after runDate exist for the selection.
  bool HasLaterWriteOffs(const QDate& runDate, const QString& leltszam) const;

  // The whole run as one transaction: with deleteLater the write-off items dated on or after
  // runDate and the run lines of those dates go first; then the run lines of runDate, one
  // write-off item per asset with lines, its balances filled in from the item before it. When
  // anything fails nothing is changed and the error propagates. messages gets the per-piece
  // warnings of the computation.
  Result Run(const QDate& runDate, const QString& leltszam, bool deleteLater,
             const DepreciationCalculator::MessageSink& messages, const Progress& progress = {});

  // Deletes one run by its date: every write-off item of that date and every run line of it,
  // together or not at all.
  void DeleteRun(const QDate& runDate);

 private:
  QString Selection(const QString& column, const QString& leltszam) const;

  TUniSQLDatabase& m_database;
};

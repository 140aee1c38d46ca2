#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
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

  // Why a run for this date cannot start, or empty when it can.
  static QString CheckInput(const QDate& runDate);

  // True when write-off items dated on or after runDate exist for the selection.
  bool HasLaterWriteOffs(const QDate& runDate, const QString& leltszam) const;

  // The whole run as one transaction: with deleteLater the write-off items dated on or after
  // runDate and the run lines of those dates go first; then the run lines of runDate, one
  // write-off item per asset with lines, its balances filled in from the item before it.
  // leltszam is empty for every asset, otherwise any inventory number. When the server ends
  // the transaction in a deadlock, the whole run starts again, up to kDeadlockRetries times.
  // When anything else fails, or the last try does, nothing is changed and the error
  // propagates. messages gets the per-piece warnings of the computation, in order, only after
  // the run is committed, so no box stands open while the run holds rows; a failed run hands
  // over none. progress restarts with each try.
  Result Run(const QDate& runDate, const QString& leltszam, bool deleteLater,
             const DepreciationCalculator::MessageSink& messages, const Progress& progress = {});

  static constexpr int kDeadlockRetries = 3;

  // Deletes one run by its date: every write-off item of that date and every run line of it,
  // together or not at all.
  void DeleteRun(const QDate& runDate);

 private:
  QString Selection(const QString& column, const QString& leltszam) const;
  Result Attempt(const QDate& runDate, const QString& leltszam, bool deleteLater,
                 QStringList& messages, const Progress& progress);

  TUniSQLDatabase& m_database;
};

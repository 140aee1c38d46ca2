#pragma once

#include <QDate>
#include <QString>

class TUniSQLDatabase;

// The yearly rate-key check: the assets whose rate rows stop before a year and still need
// rates, each with a proposal (its last rate row moved to the year), printed as the report
// "kulcsell" and, on request, inserted as the year's rates.
//
// The work tables are TEMPORARY tables of the connection, so two workstations checking the
// same company at once never meet; they are dropped when the check ends, on every path.
class RateKeyCheck {
 public:
  explicit RateKeyCheck(TUniSQLDatabase& database);
  ~RateKeyCheck();  // drops the work tables
  RateKeyCheck(const RateKeyCheck&) = delete;
  RateKeyCheck& operator=(const RateKeyCheck&) = delete;

  // Builds the work tables and the proposals for year. Raises "MySQL Error ..." on failure.
  void Build(int year);
  // Writes the report "kulcsell" of the proposals into userDir (ending with "/"), headed by
  // the company name and printDate; returns whether it lists any asset.
  bool WriteReport(const QString& userDir, const QDate& printDate);
  // Inserts the proposals as the rates of the year, in one statement.
  void Fill();
  // Drops the work tables; never raises.
  void DropTables() noexcept;

  static const QString Question;
  static const QString QuestionCaption;

 private:
  TUniSQLDatabase& m_database;
  int m_year = 0;
};

// The whole check as the form's OK runs it: build, write and show the report (through the
// renderer), ask the fill-in question when the list has rows, insert on Yes. An error is shown
// under "HIBA!" and nothing is inserted; the work tables are gone afterwards either way.
// Returns false after an error.
bool RunRateKeyCheck(TUniSQLDatabase& database, int year, const QString& userDir,
                     const QDate& printDate = QDate::currentDate());

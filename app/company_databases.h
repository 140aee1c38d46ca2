#pragma once

#include <QList>
#include <QString>
#include <functional>

#include "exceptions.h"

class TUniSQLDatabase;

// The system database ZARN with its company list CEGEK, and the databases of the companies:
// company n lives in ZARNDAT followed by n with at least three digits.

inline constexpr char kSystemDatabase[] = "ZARN";
inline constexpr char kCompanyPrefix[] = "ZARNDAT";
// Databases are made in the character set and collation every table of the program uses.
inline constexpr char kDatabaseOptions[] = " CHARACTER SET utf8mb4 COLLATE utf8mb4_hungarian_ci";

// "1" gives "001", "12" "012"; longer texts stay as they are.
QString PadCompanyNumber(const QString& number);
QString CompanyDatabaseName(qint64 number);
// ZARNDAT followed by three or more digits.
bool IsCompanyDatabaseName(const QString& name);

// A failure of one step of creating databases; the message names the step, then the cause.
class EStepFailed : public Exception {
 public:
  EStepFailed(QString step, const QString& cause)
      : Exception(step + QStringLiteral(": ") + cause), m_step(std::move(step)), m_cause(cause) {}
  const QString& Step() const { return m_step; }
  const QString& Cause() const { return m_cause; }

 private:
  QString m_step;
  QString m_cause;
};

// A connection opened with the settings of another one on database name; raises when the
// server refuses it.
void ConnectLike(TUniSQLDatabase& target, const TUniSQLDatabase& settings, const QString& name);

// Reaches the server without needing any database of its own or "mysql": a connection to
// information_schema, closed again. Returns the error text, empty when the server answered.
QString ProbeServer(const TUniSQLDatabase& settings);

// The steps of building a company database's tables.
enum class CompanyStep {
  CreateDatabase,
  Connect,
  CreateTables,
  CreateIndexes,
  CompanyRow,
  ListRow
};
using CompanyStepEvent = std::function<void(CompanyStep)>;

// Creates database name unless it exists (resume) or, with mustBeNew, raises when it exists;
// then connects db to it and runs create/create.sql and create/creind.sql of programDir, which
// create only what is missing. server is a connected connection on any database.
void BuildCompanyDatabase(TUniSQLDatabase& server, TUniSQLDatabase& db, const QString& name,
                          const QString& programDir, bool mustBeNew,
                          const CompanyStepEvent& onStep);

// Creates what is missing of ZARN, its CEGEK with company 1 "Első adatbázis" and ZARNDAT001
// with every table, showing each step's name through status, so a creation stopped half way
// completes when run again. db ends connected to ZARNDAT001. Raises EStepFailed.
void CreateSystemAndFirstCompany(TUniSQLDatabase& db, const QString& programDir,
                                 const std::function<void(const QString&)>& status);

// The CEGEK check of the start: adds ADOSZ when missing and empties its nulls. db is on ZARN.
void CheckSystemDatabase(TUniSQLDatabase& db);

// The numbers of the companies whose ADOSZ is exactly taxNumber; db is on ZARN.
QList<qint64> CompaniesWithTaxNumber(TUniSQLDatabase& db, const QString& taxNumber);

// The highest SORSZAM + 1; 1 for an empty list or an unreadable number. db is on ZARN.
qint64 NextCompanyNumber(TUniSQLDatabase& db);

// A new company: its database with every table and its CEG row, then its CEGEK row, under the
// next number. Either all of it is made or nothing (a database made here is dropped again);
// an existing database of that number is never touched. Returns the number; raises
// EStepFailed naming the step. db0 is on ZARN; the company's database gets a connection of
// its own, so db0 and every other connection stay where they were.
qint64 CreateCompany(TUniSQLDatabase& db0, const QString& name, const QString& taxNumber,
                     const QString& programDir, const CompanyStepEvent& onStep);

// Drops the company's database, then its CEGEK row. Raises when the drop fails; the row stays.
void DeleteCompany(TUniSQLDatabase& db0, qint64 number);

// Makes company number current: checks its database opens, then sets DataAlias, writes
// [USERINI] DATALIAS into userIni and points db1 at it, connected. When the database cannot be
// opened it raises and nothing changes.
void SelectCompanyDatabase(TUniSQLDatabase& db1, const QString& number, const QString& userIni);

// A tax number as the company list keeps it: every "-" and blank removed.
QString CleanTaxNumber(QString taxNumber);

// Copies the tax number of the company db1 is on from its CEG row into its CEGEK row (digits
// and anything but blanks and "-"), when CEGEK has none for it or with force. Connects db0 and
// db1 when they are not.
void SyncCompanyTaxNumber(TUniSQLDatabase& db0, TUniSQLDatabase& db1, bool force);

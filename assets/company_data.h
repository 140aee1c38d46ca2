#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <vector>

class TUniSQLDatabase;
class TUniSQLTable;

// The company's own record (CEG) and its calculation-precision periods (PONTOSOK) as the
// company data form saves them.

// One period as a grid row shows it: a null date is an empty one.
struct TPrecisionPeriod {
  QDate From;
  QDate To;
  QString Code;
  bool Empty() const { return !From.isValid() && !To.isValid() && Code.trimmed().isEmpty(); }
};

// The rows' date checks, numbered from 1, every failing row in order: "Hibás dátum viszonyok a
// 1.sorban", "Hibás dátum sorrend a 2.sorban", "Az első dátum nem megfelelő a 1.sorban".
QStringList PeriodDateErrors(const std::vector<TPrecisionPeriod>& rows);

inline const QString kBadPrecisionCode = QStringLiteral("Nem megfelelő pontosság kód!");
// Codes of the rows that hold a date put in upper case; an empty one takes the code of the row
// above ("N" on the first). Returns false when a code is then neither "N", "H" nor "4".
bool NormalizePeriodCodes(std::vector<TPrecisionPeriod>& rows);

// Appends the default period 2000.01.01–2100.01.01 "N" when PONTOSOK has no row.
void EnsureDefaultPeriod(TUniSQLDatabase& database);

// Puts the first row of the open company table into editing, or appends one when it has none.
void EditCompanyRow(TUniSQLTable& ceg);

// One piece of work: posts the company row being edited or appended in ceg, and replaces the
// rows of PONTOSOK with the non-empty periods. Either all is stored or nothing (the error is
// raised; ceg is read again and its row edited with the typed values).
void SaveCompanyData(TUniSQLTable& ceg, const std::vector<TPrecisionPeriod>& periods);

#include "company_data.h"

#include "transaction.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

QString RowMessage(const char* text, int row) {
  return QString::fromUtf8(text) + QString::number(row) + QStringLiteral(".sorban");
}

}  // namespace

QStringList PeriodDateErrors(const std::vector<TPrecisionPeriod>& rows) {
  QStringList errors;
  for (size_t i = 0; i < rows.size(); ++i) {
    const TPrecisionPeriod& r = rows[i];
    const int number = int(i) + 1;
    // An empty date counts as day 0, before every filled one.
    if (r.From.isValid() && (!r.To.isValid() || r.To < r.From))
      errors << RowMessage("Hibás dátum viszonyok a ", number);
    if (i > 0 && r.From.isValid() && r.From.addDays(-1) != rows[i - 1].To)
      errors << RowMessage("Hibás dátum sorrend a ", number);
    if (r.To.isValid() && !r.From.isValid())
      errors << RowMessage("Az első dátum nem megfelelő a ", number);
  }
  return errors;
}

bool NormalizePeriodCodes(std::vector<TPrecisionPeriod>& rows) {
  bool ok = true;
  QString above = QStringLiteral("N");
  for (TPrecisionPeriod& r : rows) {
    if (!r.From.isValid() && !r.To.isValid()) continue;
    r.Code = r.Code.trimmed().toUpper();
    if (r.Code.isEmpty()) r.Code = above;
    if (r.Code != QStringLiteral("N") && r.Code != QStringLiteral("H") &&
        r.Code != QStringLiteral("4"))
      ok = false;
    above = r.Code;
  }
  return ok;
}

void EnsureDefaultPeriod(TUniSQLDatabase& database) {
  // One statement: two workstations opening the form at once still leave one default.
  RunStatements(database,
                QStringLiteral("INSERT INTO PONTOSOK (PDATUM1, PDATUM2, PONTOS) SELECT "
                               "'2000-01-01', '2100-01-01', 'N' FROM DUAL WHERE NOT EXISTS "
                               "(SELECT 1 FROM PONTOSOK)"));
}

void EditCompanyRow(TUniSQLTable& ceg) {
  ceg.First();
  if (ceg.IsEmpty())
    ceg.Append();
  else
    ceg.Edit();
}

void SaveCompanyData(TUniSQLTable& ceg, const std::vector<TPrecisionPeriod>& periods) {
  TUniSQLDatabase& database = *ceg.Database();
  std::vector<QVariant> typed;
  for (int i = 0; i < ceg.FieldCount(); ++i) typed.push_back(ceg.Fields(i)->Value());
  try {
    TTransaction transaction(database);
    ceg.Post();
    RunStatements(database, QStringLiteral("DELETE FROM PONTOSOK"));
    for (const TPrecisionPeriod& p : periods) {
      if (p.Empty()) continue;
      TUniSQLQuery insert;
      insert.SetDatabase(&database);
      insert.SetSQL(
          QStringLiteral("INSERT INTO PONTOSOK (PDATUM1, PDATUM2, PONTOS) VALUES "
                         "(:PD1, :PD2, ':PKOD')"));
      insert.SetParam(QStringLiteral("PD1"), DateToSQL(p.From));
      insert.SetParam(QStringLiteral("PD2"), DateToSQL(p.To));
      insert.SetParamEscaped(QStringLiteral("PKOD"), p.Code);
      insert.ExecSQL();
    }
    transaction.Commit();
  } catch (...) {
    // Rolled back: the table is read again and its row edited with what was typed.
    try {
      if (ceg.State() != dsBrowse) ceg.Cancel();
      ceg.Close();
      ceg.Open();
      EditCompanyRow(ceg);
      for (int i = 0; i < ceg.FieldCount(); ++i) ceg.Fields(i)->SetValue(typed[i]);
    } catch (...) {
    }
    throw;
  }
}

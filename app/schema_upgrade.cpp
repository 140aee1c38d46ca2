#include "schema_upgrade.h"

#include "company_databases.h"
#include "exceptions.h"
#include "start_settings.h"
#include "ui_services.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

namespace {

void Exec(TUniSQLDatabase& db, const QStringList& lines) { RunStatements(db, lines); }

bool HasColumn(TUniSQLDatabase& db, const QString& table, const QString& column) {
  TUniSQLQuery q;  // QShowColumns
  q.SetDatabase(&db);
  q.SetSQL(QStringList{QStringLiteral("show columns "), QStringLiteral("from :PTABLA"),
                       QStringLiteral("like ':PSZURO'")});
  q.SetParam("PTABLA", table);
  q.SetParamEscaped("PSZURO", column);
  q.Open();
  return !q.IsEmpty();
}

void AddColumn(TUniSQLDatabase& db, const QString& table, const QString& definition) {
  TUniSQLQuery q;  // qAlterTable
  q.SetDatabase(&db);
  q.SetSQL(QStringList{QStringLiteral("alter table :PTABLANEV "), QStringLiteral("add :PMEZODEF;")});
  q.SetParam("PTABLANEV", table);
  q.SetParam("PMEZODEF", definition);
  q.ExecSQL();
}

void Tell(const QString& text) {
  Ui().MessageBox(text, QString::fromUtf8(kApplicationTitle), MsgType::Information, mbOK, mbOK);
}

void UpgradeKartfejBase(TUniSQLDatabase& db, UpgradePath path) {
  const bool addQuantity = !HasColumn(db, "KARTFEJ", "MENNYISEG");
  const bool addCostPlace = !HasColumn(db, "KARTFEJ", "KOLTSHELY");
  if (addQuantity) AddColumn(db, "KARTFEJ", "MENNYISEG numeric(14,2)");
  if (addCostPlace) AddColumn(db, "KARTFEJ", "KOLTSHELY char(8)");
  if (addCostPlace)
    Exec(db, {"update KARTFEJ", "set KOLTSHELY = ''", "where KOLTSHELY is null;"});
  // Quantities only where the column is new, never over quantities already kept.
  if (addQuantity) Exec(db, {"update KARTFEJ", "set MENNYISEG=1.0", "where MENNYISEG is null;"});
  if (addQuantity || addCostPlace)
    Tell(path == UpgradePath::Start ? QStringLiteral("Költségviselő felvéve.")
                                    : QStringLiteral("Költséghely mező felvéve."));
}

bool UpgradeKarttet(TUniSQLDatabase& db) {
  const bool addQuantity = !HasColumn(db, "KARTTET", "MENNYISEG");
  const bool addNumber = !HasColumn(db, "KARTTET", "SORSZAM");
  if (addQuantity) AddColumn(db, "KARTTET", "MENNYISEG numeric(14,2)");
  if (addNumber) AddColumn(db, "KARTTET", "SORSZAM integer");
  if (addQuantity)
    Exec(db, {"update KARTTET", "set MENNYISEG = 0;", "update KARTTET",
              "set MENNYISEG = 1 where TIPUS='0' or TIPUS='1';", "update KARTTET",
              "set MENNYISEG = -1 where TIPUS='5' or TIPUS='6' or TIPUS='7';"});
  if (addNumber) Exec(db, {"update KARTTET", "set SORSZAM = 0;"});
  return addQuantity || addNumber;
}

void UpgradeKartfejNewer(TUniSQLDatabase& db) {
  if (!HasColumn(db, "KARTFEJ", "ELHASZNA")) {
    AddColumn(db, "KARTFEJ", "ELHASZNA CHAR(2)");
    Exec(db, {"update KARTFEJ", "set ELHASZNA = ELHASZN", "where (ELHASZNA is NULL)"});
    Tell(QStringLiteral("Adótörvény szerinti tervezett élettartam felvéve."));
  }
  if (!HasColumn(db, "KARTFEJ", "FKSZAKTEL")) {
    AddColumn(db, "KARTFEJ", "FKSZAKTEL CHAR(8)");
    Exec(db, {"update KARTFEJ", "set FKSZAKTEL = ''", "where (FKSZAKTEL is NULL)"});
    Tell(QStringLiteral("Aktiválás elötti főkönyvi számlaszám felvéve."));
  }
  if (!HasColumn(db, "KARTFEJ", "MEGJ1")) {
    AddColumn(db, "KARTFEJ", "MEGJ1 CHAR(80)");
    Tell(QStringLiteral("Megjegyzés mező felvéve."));
  }
}

}  // namespace

void UpgradeCompanyTables(TUniSQLDatabase& db, UpgradePath path,
                          const std::function<void(TUniSQLDatabase&)>& recalcAllBalances) {
  try {
    db.Connect();
    UpgradeKartfejBase(db, path);
    if (UpgradeKarttet(db)) {
      // The card items' numbering and quantities feed the balances: recompute them.
      if (recalcAllBalances) recalcAllBalances(db);
      Tell(QStringLiteral("Mennyiség felvéve."));
    }
    UpgradeKartfejNewer(db);
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
  try {
    // QMegj1Upd; a failed upgrade may have left the column missing, already reported.
    if (HasColumn(db, "KARTFEJ", "MEGJ1"))
      Exec(db, {"update KARTFEJ", "set MEGJ1 = ''", "where (MEGJ1 is NULL)"});
  } catch (const Exception& e) {
    ShowError(e.Message());
  }
}

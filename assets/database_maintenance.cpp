#include "database_maintenance.h"

#include <optional>

#include "asset_store.h"
#include "file_lookup.h"
#include "transaction.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"

namespace {

// The scratch table of one closing block: per asset, what its other items add up to.
const QString kClosingTable = QStringLiteral("QESJAVIT");

// Closes every item of type: the sums of the asset's items of other types go into the scratch
// table keyed on LELTSZAM (an item without a type is left out of them, as "TIPUS <> '6'" leaves
// it), then into the items of type, and the asset gets its closing date in dateColumn. A card
// holding no other item has nothing to sum: its closing items keep what was entered in them.
void CloseItems(TUniSQLDatabase& db, QChar type, const QString& dateColumn) {
  const QString tipus = QStringLiteral("'%1'").arg(type);
  QString sums;
  for (const char* column :
       {"BRUTTONOV", "BRUTTOCSOK", "ECSCSOKK", "ECSNOV", "ECSCSSZ", "ECSNSZ", "MENNYISEG"})
    sums += QStringLiteral("SUM(IF(TIPUS <> %1, COALESCE(%2, 0), 0)) AS %2, ")
                .arg(tipus, QLatin1String(column));
  RunStatements(
      db,
      QStringLiteral(
          "CREATE TEMPORARY TABLE %1 (PRIMARY KEY (LELTSZAM)) SELECT "
          "LELTSZAM, %2SUM(TIPUS <> %3) AS OTHERS, MAX(IF(TIPUS = %3, DATUM, NULL)) AS DATUM FROM "
          "KARTTET WHERE LELTSZAM IS NOT NULL GROUP BY LELTSZAM HAVING "
          "MAX(TIPUS = %3) = 1")
          .arg(kClosingTable, sums, tipus));
  // KARTTET without an alias: LOCK TABLES knows it by its name only.
  RunStatements(db, QStringLiteral("UPDATE KARTTET JOIN %1 W ON KARTTET.LELTSZAM = W.LELTSZAM SET "
                                   "KARTTET.BRUTTOCSOK = W.BRUTTONOV - W.BRUTTOCSOK, "
                                   "KARTTET.ECSCSOKK = W.ECSNOV - W.ECSCSOKK, "
                                   "KARTTET.ECSCSSZ = W.ECSNSZ - W.ECSCSSZ, "
                                   "KARTTET.MENNYISEG = 0 - W.MENNYISEG, KARTTET.BRUTTO = 0, "
                                   "KARTTET.NETTO = 0, KARTTET.NETTOSZ = 0, KARTTET.ECS = 0, "
                                   "KARTTET.ECSSZ = 0 WHERE KARTTET.TIPUS = %2 AND W.OTHERS > 0")
                        .arg(kClosingTable, tipus));
  RunStatements(db, QStringLiteral("UPDATE KARTFEJ JOIN %1 W ON KARTFEJ.LELTSZAM = W.LELTSZAM SET "
                                   "KARTFEJ.MENNYISEG = 0, KARTFEJ.%2 = COALESCE(W.DATUM, %3)")
                        .arg(kClosingTable, dateColumn, DateToSQL(QDate())));
}

}  // namespace

void QESjavit(TUniSQLDatabase& db) {
  // The same tables as an item post, so a post on another workstation waits for it.
  std::optional<TLockedWork> work;
  if (!InOpenWork(db)) work.emplace(db, kItemLocks);
  {
    TTemporaryTables closing(db, kClosingTable);
    // Sales first: a scrapping closes what a sale of the same card left.
    CloseItems(db, QLatin1Char('6'), QStringLiteral("ELADAS"));
    closing.Drop();
    CloseItems(db, QLatin1Char('5'), QStringLiteral("SLEJTEZ"));
  }
  if (work) work->Commit();
}

void RecalcAllBalancesAndClose(TUniSQLDatabase& db, const RecalcProgress& progress) {
  RecalcAllBalances(db, progress);
  QESjavit(db);
}

void ReorganizeDatabase(TUniSQLDatabase& db, const QString& programDir,
                        const RecalcProgress& progress) {
  RunStatements(db, QStringList{QStringLiteral("flush tables;"), QStringLiteral("unlock tables;")});
  // Both scripts are read before the indexes go, so a missing one leaves them in place.
  RunScriptFiles(db, {ResolvePath(programDir, QStringLiteral("create/dropind.sql")),
                      ResolvePath(programDir, QStringLiteral("create/creind.sql"))});
  RecalcAllBalances(db, progress);
}

#pragma once

#include <QString>

#include "balance_recalc.h"

class TUniSQLDatabase;

// The closing recalculation after a sale or a scrapping: every sale item ("6"), then every
// scrapping item ("5"), takes off exactly what its asset's other items leave: BRUTTOCSOK,
// ECSCSOKK and ECSCSSZ the remaining gross value and accumulated depreciation in both
// valuations, MENNYISEG minus the remaining quantity; its balances become 0. The asset's
// MENNYISEG becomes 0 and its ELADAS (sale) or SLEJTEZ (scrapping) the item's date, the latest
// one when it has several. NULL amounts count as 0; items belong to the asset whose LELTSZAM
// the server finds equal. All or nothing: under a lock of KARTFEJ and KARTTET (so two
// workstations take turns), or inside the caller's open transaction or locked work, which then
// decides. Database errors propagate.
void QESjavit(TUniSQLDatabase& db);

// "Egyenlegek újraszámolása": RecalcAllBalances, then QESjavit.
void RecalcAllBalancesAndClose(TUniSQLDatabase& db, const RecalcProgress& progress = {});

// "&Újra szervezés": "flush tables;" and "unlock tables;", the indexes dropped and made again by
// create/dropind.sql and create/creind.sql of programDir, then RecalcAllBalances. Raises when a
// script is missing or a statement fails; what ran before stays done, and running it again
// completes it.
void ReorganizeDatabase(TUniSQLDatabase& db, const QString& programDir,
                        const RecalcProgress& progress = {});

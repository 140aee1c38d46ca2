#pragma once

#include <functional>

class TUniSQLDatabase;
class TUniSQLTable;

// Rewrites the stored balances and SORSZAM of the card of the asset on which master (a table
// over KARTFEJ) stands, and the master row's BESZKELT, AKTKELT, ELADAS and SLEJTEZ. cards is a
// table over KARTTET; its filter and order are set here and it is closed again at the end.
// A master row in insert or edit mode is posted and comes back in edit mode. Database errors
// propagate; the caller's transaction, if any, decides what stays.
void RecalcBalances(TUniSQLTable& master, TUniSQLTable& cards);

// Reports the work of RecalcAllBalances: first (0, number of assets), then (n, number of assets)
// after the n-th asset.
using RecalcProgress = std::function<void(int position, int maximum)>;

// What RecalcBalances over every asset of the company database open on database, in LELTSZAM
// order, leaves in KARTFEJ and KARTTET, computed from one read of each table: only the rows
// whose stored values differ are written, in batches, as one transaction. When anything fails,
// nothing is changed and the error propagates. Items that tie on LELTSZAM, DATUM and TIPUS are
// taken in the order the server returns them, as the single-card walk takes them.
void RecalcAllBalances(TUniSQLDatabase& database, const RecalcProgress& progress = {});

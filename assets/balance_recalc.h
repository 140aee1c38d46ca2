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

// RecalcBalances over every asset of the company database open on database, in LELTSZAM order,
// as one transaction: when any asset fails, nothing is changed and the error propagates.
void RecalcAllBalances(TUniSQLDatabase& database, const RecalcProgress& progress = {});

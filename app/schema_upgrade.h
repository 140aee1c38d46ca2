#pragma once

#include <functional>

class TUniSQLDatabase;

// Brings the tables of an older company database up to the current columns in place, deciding
// column by column from what the table has, and says what it added in an information box per
// column group. It runs at start and after a company switch; the two differ only in the first
// message's text.
enum class UpgradePath { Start, Switch };

// recalcAllBalances runs after KARTTET got its quantity or numbering columns. A database
// error stops the upgrade and is shown under "HIBA!"; the empty remark of null MEGJ1 values is
// set on every path afterwards. db is on the company database (connected when it is not).
void UpgradeCompanyTables(TUniSQLDatabase& db, UpgradePath path,
                          const std::function<void(TUniSQLDatabase&)>& recalcAllBalances);

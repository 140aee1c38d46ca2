#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <functional>

class QWidget;
class TDataSet;
class TUniSQLDatabase;

// The asset commands of the main menu: the asset list per operation, the new-asset loop and
// the contribution received.

// One operation of the asset list: how the list of TFormFej is set up for it.
struct AssetOperation {
  QString menuCaption;
  QChar action;
  QString caption;  // the form's caption and the list's title
  QString filter;   // after the common part; empty for none
  bool applied;     // the table opens filtered; otherwise the filter waits for "Csak az élők"
  int helpContext;
  QString extra1;
  // Browser flags set false.
  bool noInsert, noUpdate, noDelete, noPrint, noSay, noExport;
};

// The operations of "&Munka" (in menu order) and of "&ÉCS" ("&Érték vesztés", "&Visszaírás").
const QList<AssetOperation>& WorkMenuOperations();
const QList<AssetOperation>& DepreciationMenuOperations();
// "Kere&sés": the list in query mode under its design title.
const AssetOperation& SearchOperation();

// Runs the asset list of an operation, modal, on the company database; after a sale or a
// scrapping list the closing recalculation (QESjavit) follows. Errors show under "HIBA!".
void RunAssetList(TUniSQLDatabase& database, const AssetOperation& operation, QWidget* owner);
// "&Uj felvitel": new assets, each with the offer to activate it, until the user stops.
void NewAssetLoop(TUniSQLDatabase& database, QWidget* owner);
// "&Kapott apport": one new asset received as a contribution; saved runs on the asset's master
// table standing on it (the posting question).
void ContributionReceived(TUniSQLDatabase& database, QWidget* owner,
                          const std::function<void(TDataSet&)>& saved);

#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <future>

class TestDatabase;
class TUniSQLDatabase;

// One value increase ("3") posted on an asset's card as the item form posts it: the table over
// the card opened and appended to, then posted through ChangeCardUnderLock. Raises what the
// database layer raises.
void PostItem(TUniSQLDatabase& db, const QString& number, const QDate& date, double amount);

// Another workstation: a connection of its own on a thread of its own that posts one item per
// number, one after the other. The future holds the errors met, one per failed post (empty when
// every post went through).
std::future<QStringList> PostItemsElsewhere(const TestDatabase& db, QStringList numbers, QDate date,
                                            double amount);

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

// Asks db's server, every 150 ms, until countQuery (a SELECT COUNT(*) over what
// information_schema shows of the server's work) counts one or more; false after ten seconds.
// Only for what the server shows live (PROCESSLIST): its tables of transactions are a copy that
// is renewed only when nobody asked for a tenth of a second, so they can still show the
// transaction before, or never change while other tests keep asking.
bool WaitUntilServerShows(TUniSQLDatabase& db, const QString& countQuery);

// Like WaitUntilServerShows, for a transaction that waits for a row lock, read from the engine's
// own live report: the one of connection thread, or with thread empty any connection of db's
// current database.
bool WaitUntilWaitingForARowLock(TUniSQLDatabase& db, const QString& thread = {});

// Another workstation's item post on number, queued in the middle of a piece of work that this
// thread starts once the guard is made: a third connection holds rows (a "SELECT ... FOR
// UPDATE") that the work reaches after taking its first tables; once the work waits for them,
// the post starts, and once the post waits for its table locks the rows are let go. Outcome
// waits for the post: empty when every step came and the post went through, else what failed.
class PostQueuedInTheMiddle {
 public:
  PostQueuedInTheMiddle(const TestDatabase& db, const QString& rows, const QString& number);
  QString Outcome() { return m_done.get(); }

 private:
  std::promise<void> m_held;
  std::future<QString> m_done;
};

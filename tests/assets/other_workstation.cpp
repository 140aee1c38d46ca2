#include "other_workstation.h"

#include <QRegularExpression>
#include <QThread>
#include <algorithm>
#include <functional>

#include "asset_store.h"
#include "exceptions.h"
#include "test_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

void PostItem(TUniSQLDatabase& db, const QString& number, const QDate& date, double amount) {
  TUniSQLTable items;
  items.SetDatabase(&db);
  items.SetTablename(QStringLiteral("KARTTET"));
  items.SetIndexFields(QStringLiteral("DATUM, TIPUS"));
  items.SetFilter(QStringLiteral("LELTSZAM = '%1'").arg(db.EscapeString(number)));
  items.SetFiltered(true);
  items.Open();
  const int count = items.RecordCount();
  items.Append();
  items.FieldByName(QStringLiteral("LELTSZAM"))->SetAsString(number);
  items.FieldByName(QStringLiteral("DATUM"))->SetAsDate(date);
  items.FieldByName(QStringLiteral("TIPUS"))->SetAsString(QStringLiteral("3"));
  items.FieldByName(QStringLiteral("SZOVEG"))->SetAsString(QStringLiteral("Érték növelés"));
  items.FieldByName(QStringLiteral("BRUTTONOV"))->SetAsFloat(amount);
  items.FieldByName(QStringLiteral("SORSZAM"))->SetAsInteger(count + 1);
  ChangeCardUnderLock(db, number, [&] { items.Post(); });
}

std::future<QStringList> PostItemsElsewhere(const TestDatabase& db, QStringList numbers, QDate date,
                                            double amount) {
  return std::async(std::launch::async, [&db, numbers, date, amount] {
    QStringList errors;
    const auto connection = db.Connect();
    for (const QString& number : numbers) {
      try {
        PostItem(*connection, number, date, amount);
      } catch (const Exception& e) {
        errors << number + QStringLiteral(": ") + e.Message();
      }
    }
    return errors;
  });
}

namespace {

bool PollForTenSeconds(const std::function<bool()>& seen) {
  for (int tries = 0; tries < 66; ++tries) {
    if (seen()) return true;
    QThread::msleep(150);
  }
  return false;
}

QString ValueOf(TUniSQLDatabase& db, const QString& sql, int column = 0) {
  TUniSQLQuery q;
  q.SetDatabase(&db);
  q.SetSQL(sql);
  q.Open();
  return q.Eof() ? QString() : q.Fields(column)->AsString();
}

// The connection threads whose transaction waits for a lock, as the engine reports them now: in
// the report's TRANSACTIONS section (the deadlock section before it tells of the past) a
// transaction's block starts with "---TRANSACTION ", says "LOCK WAIT" while it waits and names
// its "MariaDB thread id N," ("MySQL thread id N," on that server).
QStringList ThreadsWaitingForALock(TUniSQLDatabase& db) {
  QString status = ValueOf(db, QStringLiteral("SHOW ENGINE INNODB STATUS"), 2);
  status = status.mid(status.indexOf(QStringLiteral("\nTRANSACTIONS\n")));
  status.truncate(status.indexOf(QStringLiteral("\nFILE I/O\n")));
  static const QRegularExpression thread(QStringLiteral("(?:MariaDB|MySQL) thread id (\\d+),"));
  QStringList threads;
  for (const QString& block : status.split(QStringLiteral("---TRANSACTION "))) {
    if (!block.contains(QStringLiteral("\nLOCK WAIT "))) continue;
    const auto m = thread.match(block);
    if (m.hasMatch()) threads << m.captured(1);
  }
  return threads;
}

}  // namespace

bool WaitUntilServerShows(TUniSQLDatabase& db, const QString& countQuery) {
  return PollForTenSeconds([&] { return ValueOf(db, countQuery).toInt() > 0; });
}

bool WaitUntilWaitingForARowLock(TUniSQLDatabase& db, const QString& thread) {
  const auto wanted = [&](const QString& waiting) {
    if (!thread.isEmpty()) return waiting == thread;
    return ValueOf(db, QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                                      "WHERE ID = %1 AND DB = DATABASE()")
                           .arg(waiting))
               .toInt() > 0;
  };
  return PollForTenSeconds([&] {
    const QStringList waiting = ThreadsWaitingForALock(db);
    return std::any_of(waiting.begin(), waiting.end(), wanted);
  });
}

PostQueuedInTheMiddle::PostQueuedInTheMiddle(const TestDatabase& db, const QString& rows,
                                             const QString& number) {
  std::future<void> held = m_held.get_future();
  m_done = std::async(std::launch::async, [this, &db, rows, number] {
    const auto blocker = db.Connect();
    try {
      RunStatements(*blocker, QStringLiteral("START TRANSACTION"));
      RunStatements(*blocker, rows);
    } catch (const Exception& e) {
      m_held.set_value();
      return e.Message();
    }
    m_held.set_value();
    // Only this database's connections: other tests share the server.
    QString failure;
    if (!WaitUntilWaitingForARowLock(*blocker))
      failure = QStringLiteral("the work did not reach the held rows");
    std::future<QStringList> post;
    if (failure.isEmpty()) {
      post = PostItemsElsewhere(db, {number}, QDate(2005, 6, 1), 1000);
      if (!WaitUntilServerShows(
              *blocker, QStringLiteral("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE "
                                       "DB = DATABASE() AND INFO LIKE 'LOCK TABLES%' AND STATE = "
                                       "'Waiting for table metadata lock'")))
        failure = QStringLiteral("the post did not wait for the work");
    }
    RunStatements(*blocker, QStringLiteral("ROLLBACK"));
    if (post.valid()) {
      const QStringList errors = post.get();
      if (failure.isEmpty()) failure = errors.join(u'\n');
    }
    return failure;
  });
  held.wait();
}

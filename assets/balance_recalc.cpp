#include "balance_recalc.h"

#include <mysql.h>

#include <algorithm>
#include <charconv>
#include <cstring>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "batch_insert.h"
#include "card_balances.h"
#include "exceptions.h"
#include "format_settings.h"
#include "transaction.h"
#include "uni_sql_database.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

const char* const kAmountColumns[] = {"BRUTTONOV", "BRUTTOCSOK", "ECSNOV",
                                      "ECSCSOKK",  "ECSNSZ",     "ECSCSSZ"};

BalanceItem ReadItem(const TUniSQLTable& cards) {
  BalanceItem item;
  item.DATUM = cards.FieldByName(QStringLiteral("DATUM"))->AsDate();
  const QString type = cards.FieldByName(QStringLiteral("TIPUS"))->AsString();
  item.TIPUS = type.isEmpty() ? QChar(' ') : type.at(0);
  double* amounts[] = {&item.BRUTTONOV, &item.BRUTTOCSOK, &item.ECSNOV,
                       &item.ECSCSOKK,  &item.ECSNSZ,     &item.ECSCSSZ};
  // A NULL, which imports can leave, reads as 0.
  for (int i = 0; i < 6; ++i)
    *amounts[i] = cards.FieldByName(QString::fromLatin1(kAmountColumns[i]))->AsFloat();
  return item;
}

void WriteItem(TUniSQLTable& cards, const BalanceItem& item) {
  cards.Edit();
  cards.FieldByName(QStringLiteral("BRUTTO"))->SetAsFloat(item.BRUTTO);
  cards.FieldByName(QStringLiteral("ECS"))->SetAsFloat(item.ECS);
  cards.FieldByName(QStringLiteral("ECSSZ"))->SetAsFloat(item.ECSSZ);
  cards.FieldByName(QStringLiteral("NETTO"))->SetAsFloat(item.NETTO);
  cards.FieldByName(QStringLiteral("NETTOSZ"))->SetAsFloat(item.NETTOSZ);
  cards.FieldByName(QStringLiteral("SORSZAM"))->SetAsInteger(item.SORSZAM);
  cards.Post();
}

// The dataset's empty date; the table writes it as 1900-01-01.
QDate FieldDate(const QDate& date) { return date.isValid() && date > kEmptyDate ? date : QDate(); }

}  // namespace

void RecalcBalances(TUniSQLTable& master, TUniSQLTable& cards) {
  const TDataSetState remembered = master.State();
  if (remembered != dsBrowse) master.Post();
  master.Edit();

  MasterDates dates;
  dates.BESZKELT = master.FieldByName(QStringLiteral("BESZKELT"))->AsDate();

  cards.Close();
  cards.SetTablename(QStringLiteral("KARTTET"));
  cards.SetIndexFields(QStringLiteral("DATUM,TIPUS"));
  cards.SetFilter(QStringLiteral("LELTSZAM = '%1'")
                      .arg(master.Database()->EscapeString(
                          master.FieldByName(QStringLiteral("LELTSZAM"))->AsString())));
  cards.SetFiltered(true);
  cards.Open();

  QList<BalanceItem> items;
  for (cards.First(); !cards.Eof(); cards.Next()) items.append(ReadItem(cards));
  ComputeCardBalances(items, dates);
  int k = 0;
  for (cards.First(); !cards.Eof(); cards.Next()) WriteItem(cards, items[k++]);
  cards.Close();

  master.FieldByName(QStringLiteral("BESZKELT"))->SetAsDate(FieldDate(dates.BESZKELT));
  master.FieldByName(QStringLiteral("AKTKELT"))->SetAsDate(FieldDate(dates.AKTKELT));
  master.FieldByName(QStringLiteral("ELADAS"))->SetAsDate(FieldDate(dates.ELADAS));
  master.FieldByName(QStringLiteral("SLEJTEZ"))->SetAsDate(FieldDate(dates.SLEJTEZ));
  master.Post();
  if (remembered != dsBrowse) master.Edit();
}

namespace {

// Rows go to the server in pieces of this many per statement.
constexpr int kBatch = 1000;

// A whole result held on the client, read through the client library without the dataset
// layer: the recalculation reads every item of the company at once.
class RawResult {
 public:
  enum Kind { Text, Number, Date };

  RawResult(TUniSQLDatabase& database, const QString& sql) {
    MYSQL* handle = database.CheckedHandle();
    const QByteArray text = sql.toUtf8();
    if (mysql_real_query(handle, text.constData(), static_cast<unsigned long>(text.size())) != 0)
      RaiseMySqlError(handle, sql);
    m_result = mysql_store_result(handle);
    if (!m_result) RaiseMySqlError(handle, sql);
    const unsigned int count = mysql_num_fields(m_result);
    const MYSQL_FIELD* fields = mysql_fetch_fields(m_result);
    for (unsigned int i = 0; i < count; ++i) {
      m_names << QString::fromUtf8(fields[i].name);
      switch (fields[i].type) {
        case MYSQL_TYPE_DECIMAL:
        case MYSQL_TYPE_NEWDECIMAL:
        case MYSQL_TYPE_FLOAT:
        case MYSQL_TYPE_DOUBLE:
        case MYSQL_TYPE_TINY:
        case MYSQL_TYPE_SHORT:
        case MYSQL_TYPE_LONG:
        case MYSQL_TYPE_LONGLONG:
        case MYSQL_TYPE_INT24:
          m_kinds << Number;
          break;
        case MYSQL_TYPE_DATE:
        case MYSQL_TYPE_NEWDATE:
          m_kinds << Date;
          break;
        default:
          m_kinds << Text;
      }
    }
  }
  ~RawResult() { mysql_free_result(m_result); }
  RawResult(const RawResult&) = delete;
  RawResult& operator=(const RawResult&) = delete;

  int RowCount() const { return static_cast<int>(mysql_num_rows(m_result)); }
  // The next row, nullptr after the last; its values stay valid while the result lives.
  MYSQL_ROW Next() { return mysql_fetch_row(m_result); }
  unsigned long* Lengths() { return mysql_fetch_lengths(m_result); }
  int ColumnCount() const { return m_names.size(); }
  const QString& Name(int column) const { return m_names[column]; }
  Kind KindOf(int column) const { return m_kinds[column]; }
  int Column(const QString& name, int from = 0) const {
    for (int i = from; i < m_names.size(); ++i)
      if (m_names[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    throw EDatabaseError(QStringLiteral("Field '%1' not found").arg(name));
  }

 private:
  MYSQL_RES* m_result = nullptr;
  QStringList m_names;
  QList<Kind> m_kinds;
};

double Number(const char* text) {
  double value = 0;
  if (text) std::from_chars(text, text + std::strlen(text), value);
  return value;
}

// A stored date as the dataset reads it: before or on 1900-01-01, and NULL, read as empty.
QDate StoredDate(const char* text) {
  if (!text || std::strlen(text) < 10) return {};
  const QDate d(std::atoi(text), std::atoi(text + 5), std::atoi(text + 8));
  return d.isValid() && d > kEmptyDate ? d : QDate();
}

QString DateText(const QDate& date) {
  return FieldDate(date).isValid() ? DateToSQL(date) : DateToSQL(kEmptyDate);
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The value a table dataset writes back for a stored one: NULL becomes 0, the empty text or
// the empty date, and a date before 1900-01-01 the empty date.
QString WrittenValue(const TUniSQLDatabase& database, RawResult::Kind kind, const char* raw) {
  switch (kind) {
    case RawResult::Number:
      return raw ? QString::fromLatin1(raw) : QStringLiteral("0");
    case RawResult::Date:
      return !raw || std::strcmp(raw, "1900-01-01") < 0 ? DateToSQL(kEmptyDate)
                                                        : u'\'' + QString::fromLatin1(raw) + u'\'';
    default:
      return database.QuotedString(raw ? QString::fromUtf8(raw) : QString());
  }
}

// Whether writing the row back as a table dataset does leaves its values as they are.
bool Unchanged(RawResult::Kind kind, const char* raw) {
  return raw && (kind != RawResult::Date || std::strcmp(raw, "1900-01-01") >= 0);
}

// Forces the card index (LELTSZAM first) where the table has one: right after a run every new
// item shares one date, and the server's statistics, not yet updated, would send the lookup of
// each item through the date index instead.
QString CardIndexHint(TUniSQLDatabase& database) {
  RawResult index(database, QStringLiteral("SELECT INDEX_NAME FROM INFORMATION_SCHEMA.STATISTICS "
                                           "WHERE TABLE_SCHEMA = DATABASE() AND TABLE_NAME = "
                                           "'KARTTET' AND SEQ_IN_INDEX = 1 AND COLUMN_NAME = "
                                           "'LELTSZAM' ORDER BY INDEX_NAME LIMIT 1"));
  const MYSQL_ROW row = index.Next();
  return row ? QStringLiteral(" FORCE INDEX (`%1`)").arg(QString::fromUtf8(row[0])) : QString();
}

struct CardRow {
  int master = 0;
  MYSQL_ROW row = nullptr;
  const char* datum = nullptr;  // as stored, NULL first
  std::string_view tipus;       // the collation's weight of TIPUS, so "a" and "A" tie
  bool tipusNull = false;
  BalanceItem balance;
};

// The per-card order: DATUM, TIPUS as the server sorts them (NULL first); rows that tie keep
// the order in which the server returned them.
bool Before(const CardRow& a, const CardRow& b) {
  if (a.master != b.master) return a.master < b.master;
  if (!a.datum || !b.datum) {
    if (a.datum || b.datum) return !a.datum;
  } else if (const int c = std::strcmp(a.datum, b.datum)) {
    return c < 0;
  }
  if (a.tipusNull != b.tipusNull) return a.tipusNull;
  return a.tipus < b.tipus;
}

bool SameKey(const CardRow& a, const CardRow& b) { return !Before(a, b) && !Before(b, a); }

}  // namespace

void RecalcAllBalances(TUniSQLDatabase& database, const RecalcProgress& progress) {
  // Both tables from the start: reading them first and writing them later would deadlock with
  // an item post whose table lock queued in between.
  TTransaction transaction(database, QStringLiteral("KARTFEJ, KARTTET"));
  // The connection's scratch tables of new values.
  TTemporaryTables scratch(database, QStringLiteral("UJEGYENLEG, UJFEJDATUM"));

  RawResult masters(database, QStringLiteral("SELECT * FROM KARTFEJ ORDER BY LELTSZAM"));
  const int maximum = masters.RowCount();
  if (progress) progress(0, maximum);
  const int mKey = masters.Column(QStringLiteral("LELTSZAM"));
  const int mDates[] = {
      masters.Column(QStringLiteral("BESZKELT")), masters.Column(QStringLiteral("AKTKELT")),
      masters.Column(QStringLiteral("ELADAS")), masters.Column(QStringLiteral("SLEJTEZ"))};
  QList<MYSQL_ROW> masterRows;
  std::unordered_map<std::string_view, int> masterIndex;
  masterRows.reserve(maximum);
  while (MYSQL_ROW row = masters.Next()) {
    masterIndex.emplace(row[mKey], masterRows.size());
    masterRows << row;
  }

  // The items of every asset, matched to their master as the server compares LELTSZAM, so an
  // item keyed "00001 " belongs to "00001" as the per-card filter finds it.
  // One pass over the table in its stored order, each item finding its master by the key.
  RawResult items(database, QStringLiteral("SELECT F.LELTSZAM, WEIGHT_STRING(T.TIPUS), T.* "
                                           "FROM KARTTET T STRAIGHT_JOIN KARTFEJ F ON "
                                           "T.LELTSZAM = F.LELTSZAM"));
  constexpr int first = 2;
  const int cDatum = items.Column(QStringLiteral("DATUM"), first);
  const int cAmounts[] = {items.Column(QStringLiteral("BRUTTONOV"), first),
                          items.Column(QStringLiteral("BRUTTOCSOK"), first),
                          items.Column(QStringLiteral("ECSNOV"), first),
                          items.Column(QStringLiteral("ECSCSOKK"), first),
                          items.Column(QStringLiteral("ECSNSZ"), first),
                          items.Column(QStringLiteral("ECSCSSZ"), first)};
  const int cTipus = items.Column(QStringLiteral("TIPUS"), first);
  const int cBalances[] = {
      items.Column(QStringLiteral("BRUTTO"), first), items.Column(QStringLiteral("ECS"), first),
      items.Column(QStringLiteral("ECSSZ"), first), items.Column(QStringLiteral("NETTO"), first),
      items.Column(QStringLiteral("NETTOSZ"), first)};
  const int cSorszam = items.Column(QStringLiteral("SORSZAM"), first);
  const int cKey = items.Column(QStringLiteral("LELTSZAM"), first);

  std::vector<CardRow> read;
  read.reserve(items.RowCount());
  while (MYSQL_ROW row = items.Next()) {
    const unsigned long* lengths = items.Lengths();
    CardRow r;
    r.master = masterIndex.at(row[0]);
    r.row = row;
    r.datum = row[cDatum];
    r.tipusNull = row[1] == nullptr;
    if (row[1]) r.tipus = std::string_view(row[1], lengths[1]);
    r.balance.DATUM = StoredDate(row[cDatum]);
    const char* type = row[cTipus];
    r.balance.TIPUS = !type || !*type                    ? QChar(' ')
                      : static_cast<uchar>(*type) < 0x80 ? QChar(QLatin1Char(*type))
                                                         : QString::fromUtf8(type).at(0);
    double* amounts[] = {&r.balance.BRUTTONOV, &r.balance.BRUTTOCSOK, &r.balance.ECSNOV,
                         &r.balance.ECSCSOKK,  &r.balance.ECSNSZ,     &r.balance.ECSCSSZ};
    for (int i = 0; i < 6; ++i) *amounts[i] = Number(row[cAmounts[i]]);
    read.push_back(std::move(r));
  }
  std::vector<const CardRow*> order(read.size());
  for (size_t i = 0; i < read.size(); ++i) order[i] = &read[i];
  std::stable_sort(order.begin(), order.end(),
                   [](const CardRow* a, const CardRow* b) { return Before(*a, *b); });
  const auto rows = [&](size_t i) -> const CardRow& { return *order[i]; };

  // New balances of rows that alone carry their LELTSZAM, DATUM and TIPUS go through a
  // scratch table joined in one UPDATE. Rows that tie on that key (two write-offs of one
  // date) cannot be told apart by any key: such a group is deleted and inserted again whole,
  // in card order, so no twin takes another's balances. Rows holding NULL or a date before
  // 1900-01-01 go the same way, since writing them back changes them.
  bool balancesTable = false, datesTable = false;
  TBatchInsert balances(database, QStringLiteral("INSERT INTO UJEGYENLEG VALUES "), kBatch);
  TBatchInsert newDates(database, QStringLiteral("INSERT INTO UJFEJDATUM VALUES "), kBatch);
  QStringList columns;
  for (int c = first; c < items.ColumnCount(); ++c) columns << items.Name(c);
  // Inserted only after every group to replace has been deleted.
  QStringList reinserted;
  QStringList groupConditions;
  const QString hint = CardIndexHint(database);
  const auto flushGroups = [&] {
    if (groupConditions.isEmpty()) return;
    RunStatements(database, QStringLiteral("DELETE T FROM KARTTET T%1 WHERE ").arg(hint) +
                                groupConditions.join(QStringLiteral(" OR ")));
    groupConditions.clear();
  };
  const auto num = [](double x) { return FloatToSQL(x); };

  size_t next = 0;
  for (int m = 0; m < masterRows.size(); ++m) {
    const MYSQL_ROW master = masterRows[m];
    const size_t begin = next;
    while (next < order.size() && rows(next).master == m) ++next;

    QList<BalanceItem> card;
    card.reserve(int(next - begin));
    for (size_t i = begin; i < next; ++i) card << rows(i).balance;
    MasterDates dates;
    dates.BESZKELT = StoredDate(master[mDates[0]]);
    ComputeCardBalances(card, dates);

    for (size_t g = begin; g < next;) {
      size_t end = g + 1;
      while (end < next && SameKey(rows(g), rows(end))) ++end;
      bool clean = true, changed = false;
      for (size_t i = g; i < end; ++i) {
        const MYSQL_ROW row = rows(i).row;
        const BalanceItem& b = card[int(i - begin)];
        for (int c = first; c < items.ColumnCount() && clean; ++c)
          clean = Unchanged(items.KindOf(c), row[c]);
        const double values[] = {b.BRUTTO, b.ECS, b.ECSSZ, b.NETTO, b.NETTOSZ};
        for (int k = 0; k < 5; ++k)
          if (!row[cBalances[k]] || !SameDouble(Number(row[cBalances[k]]), values[k]))
            changed = true;
        if (!row[cSorszam] || std::atoll(row[cSorszam]) != b.SORSZAM) changed = true;
      }
      if (clean && end - g == 1) {
        if (changed) {
          if (!balancesTable) {
            RunStatements(database,
                          QStringLiteral("CREATE TEMPORARY TABLE UJEGYENLEG (KEY (LELTSZAM, "
                                         "DATUM, TIPUS)) SELECT LELTSZAM, DATUM, TIPUS, BRUTTO, "
                                         "ECS, ECSSZ, NETTO, NETTOSZ, SORSZAM FROM KARTTET "
                                         "LIMIT 0"));
            balancesTable = true;
          }
          const MYSQL_ROW row = rows(g).row;
          const BalanceItem& b = card[int(g - begin)];
          balances.Row()
              .Sql(WrittenValue(database, RawResult::Text, row[cKey]))
              .Sql(WrittenValue(database, RawResult::Date, row[cDatum]))
              .Sql(WrittenValue(database, RawResult::Text, row[cTipus]))
              .Number(b.BRUTTO)
              .Number(b.ECS)
              .Number(b.ECSSZ)
              .Number(b.NETTO)
              .Number(b.NETTOSZ)
              .Integer(b.SORSZAM);
        }
      } else if (changed || !clean) {
        const MYSQL_ROW key = rows(g).row;
        groupConditions << QStringLiteral("(T.LELTSZAM = %1 AND T.DATUM <=> %2 AND T.TIPUS <=> %3)")
                               .arg(WrittenValue(database, RawResult::Text, master[mKey]),
                                    key[cDatum] ? u'\'' + QString::fromLatin1(key[cDatum]) + u'\''
                                                : QStringLiteral("NULL"),
                                    key[cTipus]
                                        ? WrittenValue(database, RawResult::Text, key[cTipus])
                                        : QStringLiteral("NULL"));
        if (groupConditions.size() >= kBatch) flushGroups();
        for (size_t i = g; i < end; ++i) {
          const MYSQL_ROW row = rows(i).row;
          const BalanceItem& b = card[int(i - begin)];
          QStringList values;
          for (int c = first; c < items.ColumnCount(); ++c) {
            if (c == cSorszam) {
              values << QString::number(b.SORSZAM);
              continue;
            }
            const double computed[] = {b.BRUTTO, b.ECS, b.ECSSZ, b.NETTO, b.NETTOSZ};
            const int* found = std::find(std::begin(cBalances), std::end(cBalances), c);
            values << (found != std::end(cBalances)
                           ? num(computed[found - std::begin(cBalances)])
                           : WrittenValue(database, items.KindOf(c), row[c]));
          }
          reinserted << values.join(u',');
        }
      }
      g = end;
    }

    // The master: its four event dates; a row holding NULL or an early date is written back
    // whole, as the table dataset writes it.
    const QString written[] = {DateText(dates.BESZKELT), DateText(dates.AKTKELT),
                               DateText(dates.ELADAS), DateText(dates.SLEJTEZ)};
    bool clean = true, changed = false;
    for (int c = 0; c < masters.ColumnCount() && clean; ++c)
      clean = Unchanged(masters.KindOf(c), master[c]);
    for (int k = 0; k < 4; ++k)
      if (WrittenValue(database, RawResult::Date, master[mDates[k]]) != written[k]) changed = true;
    if (!clean) {
      QStringList pairs;
      for (int c = 0; c < masters.ColumnCount(); ++c) {
        const int* found = std::find(std::begin(mDates), std::end(mDates), c);
        pairs << masters.Name(c) + u'=' +
                     (found != std::end(mDates)
                          ? written[found - std::begin(mDates)]
                          : WrittenValue(database, masters.KindOf(c), master[c]));
      }
      RunStatements(database, QStringLiteral("UPDATE KARTFEJ SET %1 WHERE LELTSZAM = %2")
                                  .arg(pairs.join(u','),
                                       WrittenValue(database, RawResult::Text, master[mKey])));
    } else if (changed) {
      if (!datesTable) {
        RunStatements(database, QStringLiteral("CREATE TEMPORARY TABLE UJFEJDATUM (PRIMARY KEY "
                                               "(LELTSZAM)) SELECT LELTSZAM, BESZKELT, AKTKELT, "
                                               "ELADAS, SLEJTEZ FROM KARTFEJ LIMIT 0"));
        datesTable = true;
      }
      newDates.Row().Sql(WrittenValue(database, RawResult::Text, master[mKey]));
      for (const QString& date : written) newDates.Sql(date);
    }
    if (progress) progress(m + 1, maximum);
  }

  balances.Flush();
  if (balancesTable)
    RunStatements(database,
                  QStringLiteral("UPDATE KARTTET T%1 JOIN UJEGYENLEG U ON T.LELTSZAM = U.LELTSZAM "
                                 "AND T.DATUM = U.DATUM AND T.TIPUS = U.TIPUS SET T.BRUTTO = "
                                 "U.BRUTTO, T.ECS = U.ECS, T.ECSSZ = U.ECSSZ, T.NETTO = U.NETTO, "
                                 "T.NETTOSZ = U.NETTOSZ, T.SORSZAM = U.SORSZAM")
                      .arg(hint));
  flushGroups();
  TBatchInsert reinsert(
      database, QStringLiteral("INSERT INTO KARTTET (%1) VALUES ").arg(columns.join(u',')), kBatch);
  for (const QString& values : reinserted) reinsert.Row().Sql(values);
  reinsert.Flush();
  newDates.Flush();
  if (datesTable)
    RunStatements(database, QStringLiteral("UPDATE KARTFEJ F JOIN UJFEJDATUM U ON F.LELTSZAM = "
                                           "U.LELTSZAM SET F.BESZKELT = U.BESZKELT, F.AKTKELT = "
                                           "U.AKTKELT, F.ELADAS = U.ELADAS, F.SLEJTEZ = "
                                           "U.SLEJTEZ"));
  scratch.Drop();
  transaction.Commit();
}

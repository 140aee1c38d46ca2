#include "depreciation_run.h"

#include <mysqld_error.h>

#include <QHash>

#include "batch_insert.h"
#include "card_balances.h"
#include "exceptions.h"
#include "transaction.h"
#include "uni_sql_query.h"

namespace {

// Every table a run reads or writes, taken at its start.
const QString kRunTables = QStringLiteral("KARTFEJ, KARTTET, KULCSOK, PONTOSOK, SZAMITAS");

void Exec(TUniSQLDatabase& database, const QString& sql) { RunStatements(database, sql); }

struct Asset {
  QString LELTSZAM;
  QString MEGNEV;
  QDate AKTKELT, ELADAS, SLEJTEZ;
  double MARERTEK = 0;
};

// A date that is set and lies on or before the run date; the empty date reads as invalid.
bool SetBy(const QDate& date, const QDate& runDate) {
  return date.isValid() && date > kEmptyDate && date <= runDate;
}

// The stored value of an amount: what the two-decimal text written to SQL reads back as.
double Stored(double amount) { return FormatParamNum(amount).toDouble(); }

}  // namespace

DepreciationRun::DepreciationRun(TUniSQLDatabase& database) : m_database(database) {}

QString DepreciationRun::CheckInput(const QDate& runDate) {
  // A run on the empty date would delete every write-off.
  if (!runDate.isValid() || runDate <= kEmptyDate)
    return QStringLiteral("Adja meg az értékcsökkenés számítás dátumát!");
  return {};
}

QString DepreciationRun::Selection(const QString& column, const QString& leltszam) const {
  if (leltszam.isEmpty()) return {};
  return QStringLiteral(" and %1 = '%2'").arg(column, m_database.EscapeString(leltszam));
}

bool DepreciationRun::HasLaterWriteOffs(const QDate& runDate, const QString& leltszam) const {
  TUniSQLQuery q;
  q.SetDatabase(&m_database);
  q.SetSQL(
      QStringLiteral("select LELTSZAM from KARTTET where TIPUS = '4' and DATUM >= %1%2 limit 1")
          .arg(DateToSQL(runDate), Selection(QStringLiteral("LELTSZAM"), leltszam)));
  q.Open();
  return !q.IsEmpty();
}

DepreciationRun::Result DepreciationRun::Run(const QDate& runDate, const QString& leltszam,
                                             bool deleteLater,
                                             const DepreciationCalculator::MessageSink& messages,
                                             const Progress& progress) {
  // Inside the caller's transaction a deadlock has ended the caller's work too: no retry then.
  const bool retry = !InOpenWork(m_database);
  for (int attempt = 0;; ++attempt) {
    QStringList collected;
    try {
      const Result result = Attempt(runDate, leltszam, deleteLater, collected, progress);
      for (const QString& m : collected) messages(m);
      return result;
    } catch (const EDatabaseError& e) {
      // A lock wait timeout is not retried: the other work has held the rows for the server's
      // whole wait, and a new try would keep the user waiting as long again.
      if (!retry || e.Code() != ER_LOCK_DEADLOCK || attempt == kDeadlockRetries) throw;
    }
  }
}

DepreciationRun::Result DepreciationRun::Attempt(const QDate& runDate, const QString& leltszam,
                                                 bool deleteLater, QStringList& messages,
                                                 const Progress& progress) {
  const QString date = DateToSQL(runDate);
  const QString items = Selection(QStringLiteral("LELTSZAM"), leltszam);
  const QString tableItems = Selection(QStringLiteral("T.LELTSZAM"), leltszam);
  Result result;
  TTransaction transaction(m_database, kRunTables);

  if (deleteLater) {
    Exec(
        m_database,
        QStringLiteral("delete from KARTTET where TIPUS = '4' and DATUM >= %1%2").arg(date, items));
    // The lines of the later runs go with their items, so no orphan run lines remain.
    Exec(m_database,
         QStringLiteral("delete from SZAMITAS where ECSDATUM >= %1%2").arg(date, items));
  } else {
    // The lines of an asset whose write-off of this date stays, stay with it: they are the
    // detail of that write-off, and the run starts after it, so it writes none again.
    Exec(m_database, QStringLiteral("delete from SZAMITAS where ECSDATUM = %1%2 and LELTSZAM not "
                                    "in (select LELTSZAM from KARTTET where TIPUS = '4' and "
                                    "DATUM = %1)")
                         .arg(date, items));
  }

  // Everything the computation reads, in one query per table.
  QList<PrecisionPeriod> periods;
  {
    TUniSQLQuery q;
    q.SetDatabase(&m_database);
    q.SetSQL(QStringLiteral("select PDATUM1, PDATUM2, PONTOS from PONTOSOK order by PDATUM1"));
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
      const QString pontos = q.Fields(2)->AsString();
      periods.append({q.Fields(0)->AsDate(), q.Fields(1)->AsDate(),
                      pontos.isEmpty() ? QChar(' ') : pontos.at(0)});
    }
  }
  QHash<QString, AssetCard> cards;
  {
    TUniSQLQuery q;
    q.SetDatabase(&m_database);
    // Items and rates are grouped under the asset as the server compares the inventory
    // number, as the per-asset queries find them ("00001 " belongs to "00001").
    q.SetSQL(QStringLiteral("select F.LELTSZAM, T.DATUM, T.TIPUS, T.NETTO, T.NETTOSZ, T.BRUTTO "
                            "from KARTTET T join KARTFEJ F on T.LELTSZAM = F.LELTSZAM "
                            "where T.DATUM <= %1%2 order by F.LELTSZAM, T.DATUM, T.TIPUS")
                 .arg(date, tableItems));
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
      const QString type = q.Fields(2)->AsString();
      cards[q.Fields(0)->AsString()].items.append(
          {q.Fields(1)->AsDate(), type.isEmpty() ? QChar(' ') : type.at(0), q.Fields(3)->AsFloat(),
           q.Fields(4)->AsFloat(), q.Fields(5)->AsFloat()});
    }
    q.SetSQL(QStringLiteral("select F.LELTSZAM, K.EV, K.KULCS, K.KULCSSZ from KULCSOK K join "
                            "KARTFEJ F on K.LELTSZAM = F.LELTSZAM where 1 = 1%1")
                 .arg(Selection(QStringLiteral("K.LELTSZAM"), leltszam)));
    q.Close();
    q.Open();
    for (q.First(); !q.Eof(); q.Next()) {
      auto found = cards.find(q.Fields(0)->AsString());
      if (found == cards.end()) continue;
      // Of two rows of one year (imports leave them) the first one counts, as the rate query
      // of a piece finds it.
      const int year = static_cast<int>(q.Fields(1)->AsInteger());
      if (!found->rates.contains(year))
        found->rates.insert(year, {q.Fields(2)->AsFloat(), q.Fields(3)->AsFloat()});
    }
  }
  QList<Asset> assets;
  {
    TUniSQLQuery q;
    q.SetDatabase(&m_database);
    q.SetSQL(QStringLiteral("select LELTSZAM, AKTKELT, ELADAS, SLEJTEZ, MEGNEV, MARERTEK "
                            "from KARTFEJ where 1 = 1%1 order by LELTSZAM")
                 .arg(items));
    q.Open();
    for (q.First(); !q.Eof(); q.Next())
      assets.append({q.Fields(0)->AsString(), q.Fields(4)->AsString(), q.Fields(1)->AsDate(),
                     q.Fields(2)->AsDate(), q.Fields(3)->AsDate(), q.Fields(5)->AsFloat()});
  }

  DepreciationCalculator calculator(periods, [&messages](const QString& m) { messages << m; });
  TBatchInsert lines(m_database, QStringLiteral("insert into SZAMITAS values\r\n"));
  TBatchInsert writeOffs(m_database, QStringLiteral("insert into KARTTET values\r\n"));
  if (progress) progress(0, assets.size());
  for (const Asset& asset : assets) {
    ++result.assetsRead;
    const bool active = SetBy(asset.AKTKELT, runDate) && !SetBy(asset.ELADAS, runDate) &&
                        !SetBy(asset.SLEJTEZ, runDate);
    auto card = cards.find(asset.LELTSZAM);
    if (active && card != cards.end()) {
      ++result.assetsProcessed;
      card->LELTSZAM = asset.LELTSZAM;
      card->MARERTEK = asset.MARERTEK;
      const QList<RunLine> run = calculator.ProcessAsset(*card, runDate);
      const QString key = m_database.QuotedString(asset.LELTSZAM);
      double brutto = 0, ecsa = 0, ecssz = 0;
      for (const RunLine& l : run) {
        lines.Row().Sql(date).Date(l.DATUMTOL).Date(l.DATUMIG).Sql(key).Integer(l.NAPOK);
        for (double amount : {l.BRUTTO, l.KULCSSZ, l.ECSSZ, l.KULCSA, l.ECSA, l.NETTOSZ, l.NETTOA})
          lines.Sql(FormatParamNum(amount));
        lines.Sql(u"' '").Sql(u"' '").Integer(0);
        // The largest gross of the lines, also when it is negative.
        brutto = &l == &run.first() ? Stored(l.BRUTTO) : std::max(brutto, Stored(l.BRUTTO));
        ecsa += Stored(l.ECSA);
        ecssz += Stored(l.ECSSZ);
      }
      result.lines += run.size();
      if (!run.isEmpty()) {
        // The balances follow from the card's item before the write-off (DATUM, TIPUS order).
        double netto = 0, nettosz = 0;
        for (const CardItem& item : card->items) {
          if (item.DATUM > runDate || (item.DATUM == runDate && item.TIPUS > '4')) break;
          netto = item.NETTO;
          nettosz = item.NETTOSZ;
        }
        nettosz -= ecssz;
        netto -= ecsa;
        writeOffs.Row()
            .Sql(key)
            .Sql(date)
            .Sql(u"'4'")
            .Sql(u"''")
            .Sql(u"'ÉCS LEIRÁS'")
            .Integer(0)
            .Integer(0)
            .Number(brutto)
            .Integer(0)
            .Number(ecsa)
            .Number(brutto - netto)
            .Number(netto)
            .Integer(0)
            .Number(ecssz)
            .Number(brutto - nettosz)
            .Number(nettosz)
            .Integer(0)
            .Integer(0);
        ++result.items;
      }
    }
    if (progress) progress(result.assetsRead, assets.size());
  }
  lines.Flush();
  writeOffs.Flush();
  transaction.Commit();
  return result;
}

void DepreciationRun::DeleteRun(const QDate& runDate) {
  const QString date = DateToSQL(runDate);
  TTransaction transaction(m_database, QStringLiteral("KARTTET, SZAMITAS"));
  Exec(m_database,
       QStringLiteral("delete from KARTTET where DATUM = %1 and TIPUS = '4'").arg(date));
  Exec(m_database, QStringLiteral("delete from SZAMITAS where ECSDATUM = %1").arg(date));
  transaction.Commit();
}

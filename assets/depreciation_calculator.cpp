#include "depreciation_calculator.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace {

bool isLeap(int year) { return QDate::isLeapYear(year); }

QString dotted(const QDate& d) { return d.toString(QStringLiteral("yyyy.MM.dd")); }

}  // namespace

long double RoundHalfEven(long double x) {
  // The default floating-point rounding mode is to nearest, ties to even.
  const int saved = std::fegetround();
  std::fesetround(FE_TONEAREST);
  const long double r = std::nearbyintl(x);
  std::fesetround(saved);
  return r + 0.0L;  // no negative zero
}

QString FormatParamNum(double x) { return QString::number(x, 'f', 2); }

DepreciationCalculator::DepreciationCalculator(QList<PrecisionPeriod> periods,
                                               MessageSink messages)
    : m_periods(std::move(periods)), m_messages(std::move(messages)) {}

QList<RunLine> DepreciationCalculator::ProcessAsset(const AssetCard& card, const QDate& runDate) {
  QList<RunLine> out;
  Totals totals;
  processAsset(card, runDate, totals, out);
  return out;
}

void DepreciationCalculator::processAsset(const AssetCard& card, const QDate& runDate,
                                          Totals& totals, QList<RunLine>& out) {
  QList<CardItem> rows;
  for (const CardItem& item : card.items)
    if (item.DATUM <= runDate) rows.append(item);
  if (rows.isEmpty()) return;

  // A suspension not followed by a write-off: the time before it is run first, up to the day
  // before it. Only the last suspension needs it: that inner run handles earlier ones itself,
  // so no span is written off twice. Its amounts count into this run's totals, so the pieces
  // after a restart start from the nets the inner run left. A write-off dated on the
  // suspension's own day sorts before it and still follows it: the run of that day has already
  // written the time before the suspension off.
  int lastSuspension = -1;
  for (int i = rows.size() - 1; i >= 0 && lastSuspension < 0; --i)
    if (rows[i].TIPUS == 'A') lastSuspension = i;
  if (lastSuspension >= 0) {
    const QDate since = rows[lastSuspension].DATUM;
    const bool writtenOff = std::any_of(rows.begin(), rows.end(), [&](const CardItem& r) {
      return r.TIPUS == '4' && r.DATUM >= since;
    });
    if (!writtenOff) processAsset(card, since.addDays(-1), totals, out);
    // Still suspended (no restart after the suspension): nothing after it is written off,
    // whatever items follow; a value change during the suspension counts from the restart.
    for (int i = rows.size() - 1; i >= 0; --i) {
      if (rows[i].TIPUS == 'B') break;
      if (rows[i].TIPUS == 'A') return;
    }
  }

  const CardItem& last = rows.last();
  if (last.NETTO <= 0 && last.NETTOSZ <= 0) return;
  if (last.TIPUS == '5' || last.TIPUS == '7' || last.TIPUS == 'A') return;
  if (last.TIPUS == '6' && last.BRUTTO <= 0) return;

  int start = -1;
  for (int i = rows.size() - 1; i >= 0; --i) {
    const QChar t = rows[i].TIPUS;
    if (t == '2' || t == 'B' || t == 'R' || t == '4' || t == '6') {
      start = i;
      break;
    }
  }
  if (start < 0) return;

  const CardItem& s = rows[start];
  QDate first = s.TIPUS == '4' ? s.DATUM.addDays(1) : s.DATUM;
  splitByYear(card, s.BRUTTO, s.NETTOSZ - totals.accounting, s.NETTO - totals.tax, first,
              nextChangeLimit(rows, start, runDate), totals, out);

  for (int i = start + 1; i < rows.size(); ++i) {
    const CardItem& r = rows[i];
    if (r.TIPUS != '3' && r.TIPUS != 'D') continue;
    splitByYear(card, r.BRUTTO, r.NETTOSZ - totals.accounting, r.NETTO - totals.tax, r.DATUM,
                nextChangeLimit(rows, i, runDate), totals, out);
  }
}

QDate DepreciationCalculator::nextChangeLimit(const QList<CardItem>& rows, int current,
                                              const QDate& runDate) {
  QDate limit = runDate;
  for (int i = current + 1; i < rows.size(); ++i) {
    const CardItem& r = rows[i];
    if ((r.TIPUS == '3' || r.TIPUS == 'D') && r.DATUM < limit) limit = r.DATUM.addDays(-1);
  }
  return limit;
}

void DepreciationCalculator::splitByYear(const AssetCard& card, double brutto,
                                         long double nettosz, long double netto, QDate first,
                                         const QDate& last, Totals& totals, QList<RunLine>& out) {
  QDate yearEnd(first.year(), 12, 31);
  while (last > yearEnd) {
    computeInterval(card, brutto, nettosz, netto, first, yearEnd, totals, out);
    first = yearEnd.addDays(1);
    yearEnd = QDate(first.year(), 12, 31);
  }
  computeInterval(card, brutto, nettosz, netto, first, last, totals, out);
}

QChar DepreciationCalculator::precisionFor(const QDate& first, const QDate& last) const {
  // Only a period lying wholly inside the part applies.
  for (const PrecisionPeriod& p : m_periods)
    if (p.PDATUM1 >= first && p.PDATUM2 <= last) return p.PONTOS;
  return QChar();
}

void DepreciationCalculator::computeInterval(const AssetCard& card, double brutto,
                                             long double& nettosz, long double& netto,
                                             QDate first, QDate last, Totals& totals,
                                             QList<RunLine>& out) {
  const long double marertek = card.MARERTEK;
  DaysInYear = isLeap(last.year()) ? 366 : 365;
  if (netto <= 0 && nettosz - marertek <= 0) return;

  const QChar precision = precisionFor(first, last);
  if (precision == 'H') {
    first = QDate(first.year(), first.month(), 1).addMonths(1);
    last = QDate(last.year(), last.month(), 1).addDays(-1);
  } else if (precision == 'N') {
    const int q = (first.month() - 1) / 3;  // 0..3
    first = QDate(first.year(), q * 3 + 1, 1).addMonths(3);
    const int lq = (last.month() - 1) / 3;
    last = QDate(last.year(), lq * 3 + 1, 1).addDays(-1);
  }
  if (!(last > first)) return;

  YearRate rate;
  auto found = card.rates.find(first.year());
  if (found != card.rates.end()) {
    rate = *found;
  } else if (!(nettosz <= marertek && netto <= 0)) {
    m_messages(QStringLiteral("Nincs megadva a leirási kulcs! Leltári szám:") + card.LELTSZAM +
               QStringLiteral(" Dátum: ") + dotted(first) + QStringLiteral(" - ") + dotted(last));
  }

  const int napok = int(std::min<qint64>(first.daysTo(last) + 1, DaysInYear));
  if (nettosz < marertek)
    m_messages(QStringLiteral("HIBÁS NETTOSZ - Maradv leltári szám:") + card.LELTSZAM);

  const long double b = brutto;
  auto amount = [&](long double base, double r, long double net) -> long double {
    if (r >= 0) return RoundHalfEven(base * (long double)r / 100 * napok / DaysInYear);
    if (r == -1) return RoundHalfEven(net);
    if (r == -2) return RoundHalfEven(net / 2);
    return 0;  // no other special rate exists
  };
  long double ecssz = amount(b - marertek, rate.KULCSSZ, nettosz);
  long double ecsa = amount(b, rate.KULCS, netto);

  if (nettosz - marertek <= 0)
    ecssz = 0;
  else if (nettosz - ecssz - marertek <= 0)
    ecssz = nettosz - marertek;
  if (netto <= 0)
    ecsa = 0;
  else if (netto - ecsa <= 0)
    ecsa = netto;

  totals.accounting += ecssz;
  totals.tax += ecsa;

  RunLine line;
  line.DATUMTOL = first;
  line.DATUMIG = last;
  line.NAPOK = napok;
  line.BRUTTO = brutto;
  line.KULCSSZ = rate.KULCSSZ;
  line.ECSSZ = double(ecssz);
  line.KULCSA = rate.KULCS;
  line.ECSA = double(ecsa);
  line.NETTOSZ = double(nettosz - ecssz);
  line.NETTOA = double(netto - ecsa);
  out.append(line);

  nettosz -= ecssz;
  netto -= ecsa;
}

#include "asset_rules.h"

#include <QLocale>
#include <algorithm>

#include "card_balances.h"
#include "depreciation_calculator.h"

bool ParseLife(const QString& text, int* life) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  if (!ok || value < -2 || value > 99) return false;
  *life = value;
  return true;
}

double LifeRate(int life) {
  if (life == -1 || life == -2) return life;
  if (life == 0) return 0;
  const double rate = static_cast<double>(RoundHalfEven(100.0L / life));
  return rate > 13 && rate < 15 ? 14.5 : rate;
}

QList<RateRow> RatesFromLives(int year, int lifeTax, int lifeAcc) {
  QList<RateRow> rows;
  if (lifeTax == 0 && lifeAcc == 0) return rows;
  const double rateTax = LifeRate(lifeTax), rateAcc = LifeRate(lifeAcc);
  const auto years = [](int life) { return life == -1 ? 0 : life == -2 ? 1 : life; };
  const int yearsTax = years(lifeTax), yearsAcc = years(lifeAcc);
  const int longest = std::max(yearsTax, yearsAcc), shortest = std::min(yearsTax, yearsAcc);
  const bool taxLong = yearsTax >= yearsAcc;
  for (int r = 0; r <= longest; ++r) {
    RateRow row;
    row.year = year + r;
    if (r <= shortest) {
      row.tax = rateTax;
      row.acc = rateAcc;
    } else if (taxLong) {
      row.tax = rateTax;
    } else {
      row.acc = rateAcc;
    }
    rows << row;
  }
  return rows;
}

namespace {

bool DigitsOnly(const QString& s) {
  return !s.isEmpty() && std::all_of(s.begin(), s.end(), [](QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
  });
}

// Compared as numbers of any length: without leading zeros, the longer is the larger.
QString StripZeros(const QString& s) {
  int i = 0;
  while (i < s.size() - 1 && s.at(i) == QLatin1Char('0')) ++i;
  return s.mid(i);
}

}  // namespace

QString NextInventoryNumber(const QStringList& numbers) {
  QString highest;
  for (const QString& raw : numbers) {
    const QString n = raw.trimmed();
    if (!DigitsOnly(n)) continue;
    const QString v = StripZeros(n);
    if (highest.isEmpty() || v.size() > highest.size() ||
        (v.size() == highest.size() && v > highest))
      highest = v;
  }
  if (highest.isEmpty()) highest = QStringLiteral("0");
  // Decimal increment on the digits, so no length overflows.
  QString next = highest;
  int i = next.size() - 1;
  for (; i >= 0; --i) {
    if (next[i] == QLatin1Char('9')) {
      next[i] = QLatin1Char('0');
    } else {
      next[i] = QChar(next[i].unicode() + 1);
      break;
    }
  }
  if (i < 0) next.prepend(QLatin1Char('1'));
  return next.rightJustified(5, QLatin1Char('0'));
}

bool AccountsConflict(const QString& a, const QString& b) {
  const bool na = a.trimmed().toUpper() == QLatin1String("N");
  const bool nb = b.trimmed().toUpper() == QLatin1String("N");
  return na != nb;
}

int RateRowWithoutYear(const QList<RateCells>& rows) {
  const auto set = [](const QString& cell) {
    const QString text = cell.trimmed();
    return !text.isEmpty() && QLocale::c().toDouble(QString(text).replace(',', '.')) != 0;
  };
  for (int r = 0; r < rows.size(); ++r)
    if (!set(rows[r].year) && (set(rows[r].tax) || set(rows[r].acc))) return r;
  return -1;
}

RateCheck CheckRateTable(const QList<RateCells>& rows) {
  RateCheck check;
  struct Law {
    int rows = 0, twoYear = 0, twoYearNonZero = 0;
    double sum = 0;
    bool oneSum = false;
  } laws[2];
  QStringList years;
  for (const RateCells& row : rows) {
    const QString year = row.year.trimmed();
    if (year.isEmpty()) continue;
    if (year > QLatin1String("1900") && years.contains(year)) {
      check.duplicateYear = year;
      return check;
    }
    years << year;
    if (year.toInt() <= 1900) continue;
    const QString cells[2] = {row.tax.trimmed(), row.acc.trimmed()};
    for (int l = 0; l < 2; ++l) {
      if (cells[l].isEmpty()) continue;
      const double rate = QLocale::c().toDouble(QString(cells[l]).replace(',', '.'));
      if (rate != 0) {
        ++laws[l].rows;
        laws[l].sum += rate;
      }
      if (cells[l].left(2) == QLatin1String("-1")) laws[l].oneSum = true;
      if (cells[l].left(2) == QLatin1String("-2")) {
        ++laws[l].twoYear;
        if (rate != 0) ++laws[l].twoYearNonZero;
      }
    }
  }
  const QString more = QStringLiteral("\r\n\r\nFolytatás?");
  const QString error = QStringLiteral("HIBA!");
  for (const Law& law : laws)
    if (law.oneSum && law.rows != 1) {
      check.questions << QStringLiteral(
                             "Egy összegben történő leírás a táblázatban csak egy sorban adható "
                             "meg!") +
                             more;
      check.titles << error;
    }
  for (const Law& law : laws)
    if (law.twoYear > 0 && !(law.twoYear == 2 && law.rows == law.twoYearNonZero)) {
      check.questions << QStringLiteral(
                             "Két naptári évben történő leírás a táblázatban csak két sorban "
                             "adható meg!") +
                             more;
      check.titles << error;
    }
  const QString lead[2] = {
      QStringLiteral("Az adótörvény szerinti leírási kulcsok táblázatában megadott százalékok "
                     "összege nem éri el a 100%-ot, hanem "),
      QStringLiteral("A számviteli törv. szerinti leírási kulcsok táblázatában megadott "
                     "százalékok összege nem éri el a 100%-ot, hanem ")};
  for (int l = 0; l < 2; ++l)
    if (!laws[l].oneSum && laws[l].twoYear == 0 && laws[l].sum < 99) {
      check.questions << lead[l] +
                             QString::number(laws[l].sum, 'g', QLocale::FloatingPointShortest) +
                             QStringLiteral("%") + more;
      check.titles << QStringLiteral("FIGYELEM!");
    }
  return check;
}

double ScaleByQuantity(double amount, double oldQuantity, double newQuantity) {
  if (oldQuantity == 0 || newQuantity == oldQuantity) return amount;
  const long double ratio = static_cast<long double>(newQuantity) / oldQuantity;
  return static_cast<double>(RoundHalfEven(amount * ratio));
}

void RecomputeItem(ItemAmounts& item, const PreviousBalances& previous, bool activated) {
  item.BRUTTO = static_cast<double>(static_cast<long double>(previous.BRUTTO) - item.BRUTTOCSOK +
                                    item.BRUTTONOV);
  item.ECS =
      static_cast<double>(static_cast<long double>(previous.ECS) - item.ECSCSOKK + item.ECSNOV);
  item.ECSSZ =
      static_cast<double>(static_cast<long double>(previous.ECSSZ) - item.ECSCSSZ + item.ECSNSZ);
  item.NETTO = activated ? item.BRUTTO - item.ECS : 0;
  item.NETTOSZ = activated ? item.BRUTTO - item.ECSSZ : 0;
}

ItemTypeRule ItemTypeRuleOf(QChar type) {
  using namespace ItemBox;
  ItemTypeRule rule;
  rule.caption = ItemTypeCaption(type);
  switch (type.toLatin1()) {
    case '0':
    case '1':
    case '3':
      rule.locked = Depreciation;
      break;
    case '2':
      rule.locked = Quantity | Gross | Depreciation;
      break;
    case '4':
    case '8':
    case '9':
      rule.locked = Gross;
      break;
    case '5':
    case '6':
    case '7':
      rule.closing = true;
      break;
    case 'A':
    case 'B':
      rule.locked = Gross | Depreciation;
      break;
    case 'C':
      rule.locked = BruttoNov | Depreciation;
      break;
    case 'D':
      rule.locked = BruttoCsok | Depreciation;
      break;
    case 'R':
      rule.caption = QStringLiteral("Részleges Eladás");
      break;
  }
  return rule;
}

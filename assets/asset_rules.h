#pragma once

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

// The rules of the asset form and the card item form that need no database: rates from the
// useful lives, the next inventory number, the checks of the rate table, the quantity step.

// A useful life as typed: only -2, -1 and 0..99 are valid (ELHASZNA holds two characters).
// false for anything else, empty and non-numbers included.
bool ParseLife(const QString& text, int* life);

// The yearly rate of a life: -1 and -2 stand for themselves, 0 gives 0 (no rate), any other life
// 100 / life rounded half to even, where a result above 13 and below 15 becomes 14.5.
double LifeRate(int life);

struct RateRow {
  int year = 0;
  double tax = 0;  // KULCS
  double acc = 0;  // KULCSSZ
};

// The rate rows that the lives give from the acquisition year on: from that year to the year
// plus the longer life (-1 counting as 0 years, -2 as 1), the shorter law 0 beyond its own life.
// No rows when both lives are 0.
QList<RateRow> RatesFromLives(int year, int lifeTax, int lifeAcc);

// The next inventory number from the numbers in use: the highest made of digits only, taken as
// a number, plus one, left-padded with "0" to five characters; "00001" when there is none.
QString NextInventoryNumber(const QStringList& numbers);

// Exactly one of two general-ledger accounts says "not posted" ("N", trimmed, any case).
bool AccountsConflict(const QString& a, const QString& b);

// One row of the rate grid as typed.
struct RateCells {
  QString year, tax, acc;
};

// What the rate table's check found: a duplicated year stops the close; the questions are asked
// one after the other (Yes goes on).
struct RateCheck {
  QString duplicateYear;  // empty when no year repeats
  QStringList questions;  // texts of the Yes/No questions, in asking order
  QStringList titles;     // the title of each question
};
RateCheck CheckRateTable(const QList<RateCells>& rows);
// The index of the first of the grid's rows (in grid order, empty ones too) that holds a rate
// but no year; -1 when every rate has its year. Such a row would be dropped on saving.
int RateRowWithoutYear(const QList<RateCells>& rows);

// The quantity step: an amount scaled by new / old quantity, rounded half to even; unchanged
// when the old quantity is 0 or the quantity did not change.
double ScaleByQuantity(double amount, double oldQuantity, double newQuantity);

// The balances of the items before an item of a card ("previous balances").
struct PreviousBalances {
  bool activated = false;  // an item "2" precedes
  double BRUTTO = 0, ECS = 0, ECSSZ = 0;
};

// The amounts of one card item.
struct ItemAmounts {
  double BRUTTONOV = 0, BRUTTOCSOK = 0, ECSNOV = 0, ECSCSOKK = 0, ECSNSZ = 0, ECSCSSZ = 0;
  double BRUTTO = 0, ECS = 0, ECSSZ = 0, NETTO = 0, NETTOSZ = 0;
};
// The balances after the item from the previous ones; net values only once activated.
void RecomputeItem(ItemAmounts& item, const PreviousBalances& previous, bool activated);

// The boxes of the item form that an item type locks.
namespace ItemBox {
enum : unsigned {
  Quantity = 1,
  BruttoNov = 2,
  BruttoCsok = 4,
  EcsNov = 8,
  EcsCsokk = 16,
  EcsNsz = 32,
  EcsCssz = 64,
  Gross = BruttoNov | BruttoCsok,
  Depreciation = EcsNov | EcsCsokk | EcsNsz | EcsCssz,
};
}

struct ItemTypeRule {
  QString caption;       // LabelTipus; "Részleges Eladás" for "R"
  unsigned locked = 0;   // ItemBox flags
  bool closing = false;  // a new item takes off the previous balances and the quantity
};
ItemTypeRule ItemTypeRuleOf(QChar type);

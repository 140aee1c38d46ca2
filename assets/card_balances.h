#pragma once

#include <QChar>
#include <QDate>
#include <QList>
#include <QString>

// The running balances of a card, derived from its items; the balance recalculation stores
// them and the master row's event dates.

// The empty date: an asset counts as neither sold nor scrapped while its dates are at or
// before it.
inline const QDate kEmptyDate{1900, 1, 1};

// Item type codes of KARTTET.TIPUS.
namespace ItemType {
constexpr char Beszerzes = '0';
constexpr char KapottApport = '1';
constexpr char Aktivalas = '2';
constexpr char ErtekNoveles = '3';
constexpr char EcsLeiras = '4';
constexpr char Selejtezes = '5';
constexpr char Eladas = '6';
constexpr char AdottApport = '7';
constexpr char ErtekVesztes = '8';
constexpr char Visszairas = '9';
constexpr char EcsSzuneteltetes = 'A';
constexpr char EcsUjraInditas = 'B';
constexpr char AtvezetesCsokken = 'C';
constexpr char AtvezetesNovekszik = 'D';
constexpr char ReszEladas = 'R';
}  // namespace ItemType

// The caption the item form shows for a type code; empty for "R" and unknown codes.
QString ItemTypeCaption(QChar code);
// Every code with a caption, in code order.
QList<QChar> ItemTypeCodes();

struct BalanceItem {
  // Read from the item.
  QDate DATUM;
  QChar TIPUS;
  double BRUTTONOV = 0, BRUTTOCSOK = 0, ECSNOV = 0, ECSCSOKK = 0, ECSNSZ = 0, ECSCSSZ = 0;
  // Derived.
  double BRUTTO = 0, ECS = 0, ECSSZ = 0, NETTO = 0, NETTOSZ = 0;
  int SORSZAM = 0;
};

struct MasterDates {
  QDate BESZKELT;  // kept when no "0" or "1" item sets it
  QDate AKTKELT;
  QDate ELADAS;
  QDate SLEJTEZ;
};

// Fills the derived columns of items (in DATUM, TIPUS order) and the master's event dates.
// master.BESZKELT comes in as stored; the other three are rebuilt from the items (empty date
// when no item sets them).
void ComputeCardBalances(QList<BalanceItem>& items, MasterDates& master);

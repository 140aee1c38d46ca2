#include "card_balances.h"

#include <cmath>

namespace {

struct Caption {
  char code;
  const char16_t* text;
};
constexpr Caption kCaptions[] = {
    {'0', u"Beszerzés"},
    {'1', u"Kapott Apport"},
    {'2', u"Aktiválás"},
    {'3', u"Érték növelés"},
    {'4', u"ÉCS leírás"},
    {'5', u"Selejtezés"},
    {'6', u"Eladás"},
    {'7', u"Adott Apport"},
    {'8', u"Érték vesztés"},
    {'9', u"Visszaírás"},
    {'A', u"ÉCS szüneteltetés"},
    {'B', u"ÉCS újra indítás"},
    {'C', u"Átvezetés (érték CSÖKKEN)"},
    {'D', u"Átvezetés (érték NÖVEKSZIK)"},
};

}  // namespace

QString ItemTypeCaption(QChar code) {
  for (const Caption& c : kCaptions)
    if (code == QLatin1Char(c.code)) return QString::fromUtf16(c.text);
  return {};
}

QList<QChar> ItemTypeCodes() {
  QList<QChar> codes;
  for (const Caption& c : kCaptions) codes << QLatin1Char(c.code);
  return codes;
}

void ComputeCardBalances(QList<BalanceItem>& items, MasterDates& master) {
  master.AKTKELT = master.ELADAS = master.SLEJTEZ = kEmptyDate;
  long double gross = 0, tax = 0, accounting = 0;
  bool activated = false;
  int k = 0;
  for (BalanceItem& item : items) {
    const QChar t = item.TIPUS;
    if (t == ItemType::Aktivalas) {
      master.AKTKELT = item.DATUM;
      activated = true;
    }
    gross += (long double)item.BRUTTONOV - item.BRUTTOCSOK;
    tax += (long double)item.ECSNOV - item.ECSCSOKK;
    accounting += (long double)item.ECSNSZ - item.ECSCSSZ;
    item.BRUTTO = double(gross);
    item.ECS = double(tax);
    item.ECSSZ = double(accounting);
    item.NETTO = activated ? double(gross - tax) : 0;
    item.NETTOSZ = activated ? double(gross - accounting) : 0;
    item.SORSZAM = k++;

    if (t == ItemType::Beszerzes || t == ItemType::KapottApport) {
      master.BESZKELT = item.DATUM;
    } else if (t == ItemType::Eladas) {
      // A sale that leaves gross value is partial: the asset is not sold. Amounts are stored
      // unrounded, so "nothing left" is judged to the cent.
      if (std::fabs(double(gross)) < 0.005)
        master.ELADAS = item.DATUM;
      else if (gross > 0)
        master.ELADAS = kEmptyDate;
    } else if (t == ItemType::AdottApport) {
      master.ELADAS = item.DATUM;
    } else if (t == ItemType::Selejtezes) {
      master.SLEJTEZ = item.DATUM;
    }
  }
}

#include <gtest/gtest.h>

#include "card_balances.h"

namespace {

BalanceItem item(const char* date, char type, double grossIn = 0, double grossOut = 0,
                 double taxIn = 0, double accIn = 0) {
  BalanceItem i;
  i.DATUM = QDate::fromString(date, "yyyy.MM.dd");
  i.TIPUS = QLatin1Char(type);
  i.BRUTTONOV = grossIn;
  i.BRUTTOCSOK = grossOut;
  i.ECSNOV = taxIn;
  i.ECSNSZ = accIn;
  return i;
}

TEST(CardBalances, RunningBalancesStartNetsAtActivation) {
  QList<BalanceItem> items = {item("2004.01.10", '0', 100), item("2004.02.01", '2'),
                              item("2004.12.31", '4', 0, 0, 10, 20)};
  MasterDates m{QDate(1999, 1, 1), QDate(2000, 1, 1), QDate(2000, 1, 1), QDate(2000, 1, 1)};
  ComputeCardBalances(items, m);
  const double brutto[] = {100, 100, 100}, ecs[] = {0, 0, 10}, ecssz[] = {0, 0, 20},
               netto[] = {0, 100, 90}, nettosz[] = {0, 100, 80};
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(items[k].BRUTTO, brutto[k]) << k;
    EXPECT_EQ(items[k].ECS, ecs[k]) << k;
    EXPECT_EQ(items[k].ECSSZ, ecssz[k]) << k;
    EXPECT_EQ(items[k].NETTO, netto[k]) << k;
    EXPECT_EQ(items[k].NETTOSZ, nettosz[k]) << k;
    EXPECT_EQ(items[k].SORSZAM, k);
  }
  EXPECT_EQ(m.BESZKELT, QDate(2004, 1, 10));
  EXPECT_EQ(m.AKTKELT, QDate(2004, 2, 1));
  EXPECT_EQ(m.ELADAS, kEmptyDate);
  EXPECT_EQ(m.SLEJTEZ, kEmptyDate);
}

TEST(CardBalances, MasterDatesFromSalesAndScrapping) {
  struct Case {
    const char* name;
    QList<BalanceItem> items;
    QDate eladas, slejtez;
  };
  const Case cases[] = {
      {"partial sale leaves the asset unsold",
       {item("2004.01.10", '0', 100), item("2004.02.01", '2'), item("2005.03.01", '6', 0, 40)},
       kEmptyDate, kEmptyDate},
      // 0.1 + 0.2 - 0.3 is not exactly 0 in binary floating point.
      {"sale to nothing (to the cent)",
       {item("2004.01.10", '0', 0.1), item("2004.01.11", '3', 0.2), item("2004.02.01", '2'),
        item("2005.03.01", '6', 0, 0.3)},
       QDate(2005, 3, 1), kEmptyDate},
      {"contribution given", {item("2004.01.10", '0', 100), item("2005.04.02", '7', 0, 100)},
       QDate(2005, 4, 2), kEmptyDate},
      {"scrapped", {item("2004.01.10", '0', 100), item("2005.05.03", '5', 0, 100)}, kEmptyDate,
       QDate(2005, 5, 3)},
  };
  for (const Case& c : cases) {
    QList<BalanceItem> items = c.items;
    MasterDates m;
    ComputeCardBalances(items, m);
    EXPECT_EQ(m.ELADAS, c.eladas) << c.name;
    EXPECT_EQ(m.SLEJTEZ, c.slejtez) << c.name;
  }
}

TEST(CardBalances, NoActivationKeepsNetsZeroAndEmptyCardKeepsAcquisitionDate) {
  QList<BalanceItem> items = {item("2004.01.10", '0', 100), item("2004.12.31", '3', 50)};
  MasterDates m;
  ComputeCardBalances(items, m);
  EXPECT_EQ(items[1].BRUTTO, 150);
  EXPECT_EQ(items[0].NETTO, 0);
  EXPECT_EQ(items[1].NETTOSZ, 0);

  QList<BalanceItem> none;
  MasterDates empty{QDate(2003, 3, 3), QDate(2004, 1, 1), QDate(2004, 1, 1), QDate(2004, 1, 1)};
  ComputeCardBalances(none, empty);
  EXPECT_EQ(empty.BESZKELT, QDate(2003, 3, 3));
  EXPECT_EQ(empty.AKTKELT, kEmptyDate);
  EXPECT_EQ(empty.ELADAS, kEmptyDate);
  EXPECT_EQ(empty.SLEJTEZ, kEmptyDate);
}

TEST(CardBalances, Captions) {
  EXPECT_EQ(ItemTypeCaption('D'), QStringLiteral("Átvezetés (érték NÖVEKSZIK)"));
  EXPECT_EQ(ItemTypeCaption('4'), QStringLiteral("ÉCS leírás"));
  EXPECT_EQ(ItemTypeCaption('R'), QString());
  EXPECT_EQ(ItemTypeCodes().size(), 14);
}

}  // namespace

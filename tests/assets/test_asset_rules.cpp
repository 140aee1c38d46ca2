#include <gtest/gtest.h>

#include "asset_rules.h"

namespace {

QString Rows(const QList<RateRow>& rows) {
  QStringList out;
  for (const RateRow& r : rows) out << QStringLiteral("%1:%2/%3").arg(r.year).arg(r.tax).arg(r.acc);
  return out.join(' ');
}

}  // namespace

TEST(AssetRules, RatesFromLives) {
  const struct {
    int year, tax, acc;
    const char* rows;
  } cases[] = {
      {2010, 7, 8,
       "2010:14.5/12 2011:14.5/12 2012:14.5/12 2013:14.5/12 2014:14.5/12 2015:14.5/12 "
       "2016:14.5/12 2017:14.5/12 2018:0/12"},
      {2021, 3, 6, "2021:33/17 2022:33/17 2023:33/17 2024:33/17 2025:0/17 2026:0/17 2027:0/17"},
      {2004, -2, -1, "2004:-2/-1 2005:-2/0"},
      {2004, 5, 10,
       "2004:20/10 2005:20/10 2006:20/10 2007:20/10 2008:20/10 2009:20/10 2010:0/10 2011:0/10 "
       "2012:0/10 2013:0/10 2014:0/10"},
      {2004, 0, 0, ""},
      {2004, 0, 2, "2004:0/50 2005:0/50 2006:0/50"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Rows(RatesFromLives(c.year, c.tax, c.acc)), QString::fromLatin1(c.rows))
        << c.tax << "/" << c.acc;
  EXPECT_EQ(LifeRate(40), 2);    // 2.5 to the even neighbour
  EXPECT_EQ(LifeRate(8), 12);    // 12.5 to the even neighbour
  EXPECT_EQ(LifeRate(7), 14.5);  // 14.29 lies between 13 and 15
}

TEST(AssetRules, LivesOutsideTheLawAreRefused) {
  int life = 42;
  for (const char* bad : {"100", "-3", "x", "", "1.5", "-5"})
    EXPECT_FALSE(ParseLife(QString::fromLatin1(bad), &life)) << bad;
  for (const char* good : {"-2", "-1", "0", " 7 ", "99"}) {
    EXPECT_TRUE(ParseLife(QString::fromLatin1(good), &life)) << good;
    EXPECT_EQ(life, QString::fromLatin1(good).trimmed().toInt());
  }
}

TEST(AssetRules, NextInventoryNumberIsTheHighestDigitsOnlyNumberPlusOne) {
  const struct {
    QStringList numbers;
    const char* next;
  } cases[] = {
      {{}, "00001"},          {{"00123"}, "00124"},
      {{"99999"}, "100000"},  {{"00009", "00010", "A12", ""}, "00011"},
      {{"9", "10"}, "00011"}, {{"123456789012345678"}, "123456789012345679"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(NextInventoryNumber(c.numbers), QString::fromLatin1(c.next))
        << c.numbers.join(',').toStdString();
}

TEST(AssetRules, AccountsConflictWhenExactlyOneIsNotPosted) {
  EXPECT_FALSE(AccountsConflict("n", "N"));
  EXPECT_TRUE(AccountsConflict("N", "1611"));
  EXPECT_FALSE(AccountsConflict("1611", "161"));
  EXPECT_TRUE(AccountsConflict(" n ", ""));
}

TEST(AssetRules, RateTableCheck) {
  const auto rows = [](std::initializer_list<RateCells> r) { return QList<RateCells>(r); };
  // 14.5 for five years: the tax law asks with its sum, the accounting law (empty) with 0.
  QList<RateCells> tax;
  for (int y = 2010; y <= 2014; ++y) tax << RateCells{QString::number(y), "14.5", "20"};
  RateCheck c = CheckRateTable(tax);
  EXPECT_TRUE(c.duplicateYear.isEmpty());
  ASSERT_EQ(c.questions.size(), 1);
  EXPECT_EQ(c.questions[0], QStringLiteral("Az adótörvény szerinti leírási kulcsok táblázatában "
                                           "megadott százalékok összege nem éri el a 100%-ot, "
                                           "hanem 72.5%\r\n\r\nFolytatás?"));
  EXPECT_EQ(c.titles[0], QStringLiteral("FIGYELEM!"));

  c = CheckRateTable(rows({{"2004", "33", "50"}, {"2005", "33", "50"}, {"2006", "33", "0"}}));
  EXPECT_TRUE(c.questions.isEmpty());
  c = CheckRateTable(rows({{"2004", "33", "50"}, {"2005", "33", "50"}, {"2006", "32", "0"}}));
  ASSERT_EQ(c.questions.size(), 1);
  EXPECT_TRUE(c.questions[0].contains("hanem 98%"));

  c = CheckRateTable(rows({{"2004", "50", "50"}, {"2005", "50", "50"}, {"2005", "0", "0"}}));
  EXPECT_EQ(c.duplicateYear, "2005");

  // -2/-1 as the lives give them pass; -1 in two rows and a lone -2 ask.
  c = CheckRateTable(rows({{"2004", "-2", "-1"}, {"2005", "-2", "0"}}));
  EXPECT_TRUE(c.questions.isEmpty()) << c.questions.join('|').toStdString();
  c = CheckRateTable(rows({{"2004", "-1", "-2"}, {"2005", "-1", "50"}}));
  ASSERT_EQ(c.questions.size(), 2);
  EXPECT_TRUE(c.questions[0].startsWith("Egy összegben"));
  EXPECT_TRUE(c.questions[1].startsWith("Két naptári"));
  EXPECT_EQ(c.titles[1], "HIBA!");
}

TEST(AssetRules, QuantityStepRoundsHalfToEven) {
  EXPECT_EQ(ScaleByQuantity(125, 2, 1), 62);
  EXPECT_EQ(ScaleByQuantity(375, 2, 1), 188);
  EXPECT_EQ(ScaleByQuantity(1000000, 3, 2), 666667);
  EXPECT_EQ(ScaleByQuantity(125, 0, 1), 125);
}

TEST(AssetRules, ItemRecomputeAndTypeRules) {
  ItemAmounts a;
  a.BRUTTOCSOK = 500;
  a.ECSCSOKK = 120;
  a.ECSCSSZ = 150;
  RecomputeItem(a, PreviousBalances{true, 500, 120, 150}, true);
  EXPECT_EQ(a.BRUTTO, 0);
  EXPECT_EQ(a.NETTO, 0);
  EXPECT_EQ(a.NETTOSZ, 0);
  a = ItemAmounts{};
  a.BRUTTONOV = 100;
  RecomputeItem(a, PreviousBalances{}, false);
  EXPECT_EQ(a.BRUTTO, 100);
  EXPECT_EQ(a.NETTO, 0);

  EXPECT_EQ(ItemTypeRuleOf('R').caption, "Részleges Eladás");
  EXPECT_EQ(ItemTypeRuleOf('2').locked, ItemBox::Quantity | ItemBox::Gross | ItemBox::Depreciation);
  EXPECT_FALSE(ItemTypeRuleOf('C').locked & ItemBox::Quantity);
  EXPECT_FALSE(ItemTypeRuleOf('C').locked & ItemBox::BruttoCsok);
  EXPECT_TRUE(ItemTypeRuleOf('D').locked & ItemBox::BruttoCsok);
  EXPECT_TRUE(ItemTypeRuleOf('6').closing);
}

#include <gtest/gtest.h>

#include "card_balances.h"
#include "depreciation_calculator.h"

namespace {

QDate d(const char* text) { return QDate::fromString(text, "yyyy.MM.dd"); }

// A card built from items with the balances the recalculation would store.
struct CardBuilder {
  AssetCard card;
  QList<BalanceItem> items;
  CardBuilder(double marertek) {
    card.LELTSZAM = "00001";
    card.MARERTEK = marertek;
  }
  CardBuilder& add(const char* date, char type, double grossIn = 0, double tax = 0,
                   double acc = 0) {
    BalanceItem i;
    i.DATUM = d(date);
    i.TIPUS = QLatin1Char(type);
    i.BRUTTONOV = grossIn;
    i.ECSNOV = tax;
    i.ECSNSZ = acc;
    items << i;
    return *this;
  }
  CardBuilder& rate(int year, double tax, double acc) {
    card.rates[year] = {tax, acc};
    return *this;
  }
  AssetCard build() {
    MasterDates m;
    ComputeCardBalances(items, m);
    card.items.clear();
    for (const BalanceItem& i : items) card.items << CardItem{i.DATUM, i.TIPUS, i.NETTO, i.NETTOSZ, i.BRUTTO};
    return card;
  }
};

struct Expected {
  const char* from;
  const char* to;
  int days;
  double acc;
  double tax;
};

void expectLines(const QList<RunLine>& lines, std::initializer_list<Expected> expected) {
  ASSERT_EQ(lines.size(), int(expected.size()));
  int k = 0;
  for (const Expected& e : expected) {
    const RunLine& l = lines[k++];
    EXPECT_EQ(l.DATUMTOL, d(e.from)) << k;
    EXPECT_EQ(l.DATUMIG, d(e.to)) << k;
    EXPECT_EQ(l.NAPOK, e.days) << k;
    EXPECT_EQ(l.ECSSZ, e.acc) << k;
    EXPECT_EQ(l.ECSA, e.tax) << k;
  }
}

class Calculator : public ::testing::Test {
 protected:
  QStringList messages;
  QList<PrecisionPeriod> periods;
  QList<RunLine> run(const AssetCard& card, const char* runDate) {
    DepreciationCalculator calc(periods, [this](const QString& m) { messages << m; });
    return calc.ProcessAsset(card, d(runDate));
  }
};

TEST_F(Calculator, PiecesCutAtYearEndFromLastWriteOff) {
  CardBuilder b(100000);
  b.add("2004.03.10", '0', 1000000).add("2004.07.01", '2').rate(2004, 14.5, 20).rate(2005, 14.5, 20);
  expectLines(run(b.build(), "2005.06.30"), {{"2004.07.01", "2004.12.31", 184, 90492, 72896},
                                             {"2005.01.01", "2005.06.30", 181, 89260, 71904}});
  // The run's write-off item, then the next run starts the day after it.
  b.add("2005.06.30", '4', 0, 144800, 179752);
  const AssetCard card = b.build();
  EXPECT_EQ(card.items.last().NETTO, 855200);
  EXPECT_EQ(card.items.last().NETTOSZ, 820248);
  expectLines(run(card, "2005.12.31"), {{"2005.07.01", "2005.12.31", 184, 90740, 73096}});
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Calculator, HalvesRoundToEven) {
  const std::pair<double, double> cases[] = {{1825, 2}, {1095, 2}, {3285, 4}, {5475, 8}};
  for (auto [gross, expected] : cases) {
    CardBuilder b(0);
    b.add("2005.12.01", '0', gross).add("2005.12.27", '2').rate(2005, 10, 10);
    expectLines(run(b.build(), "2005.12.31"), {{"2005.12.27", "2005.12.31", 5, expected, expected}});
  }
  EXPECT_EQ(RoundHalfEven(-0.5L), 0);
  EXPECT_EQ(FormatParamNum(-1), "-1.00");
  EXPECT_EQ(FormatParamNum(12345.5), "12345.50");
}

TEST_F(Calculator, ValueIncreaseCutsThePiece) {
  CardBuilder b(0);
  b.add("2004.12.20", '0', 1200000).add("2005.01.01", '2').add("2005.07.01", '3', 365000).rate(2005, 20, 10);
  const QList<RunLine> lines = run(b.build(), "2005.12.31");
  expectLines(lines, {{"2005.01.01", "2005.06.30", 181, 59507, 119014},
                      {"2005.07.01", "2005.12.31", 184, 78893, 157786}});
  EXPECT_EQ(lines[1].BRUTTO, 1565000);
  // The second piece starts from the nets the first one left.
  EXPECT_EQ(lines[1].NETTOSZ, 1565000 - 59507 - 78893);
}

TEST_F(Calculator, SingleDayAndStoppedAssetsGiveNothing) {
  CardBuilder activatedOnRunDate(0);
  activatedOnRunDate.add("2005.01.01", '0', 1000).add("2005.12.31", '2').rate(2005, 10, 10);
  EXPECT_TRUE(run(activatedOnRunDate.build(), "2005.12.31").isEmpty());

  CardBuilder scrapped(0);
  scrapped.add("2005.01.01", '0', 1000).add("2005.01.02", '2').add("2005.06.01", '5').rate(2005, 10, 10);
  EXPECT_TRUE(run(scrapped.build(), "2005.12.31").isEmpty());

  CardBuilder notActivated(0);
  notActivated.add("2005.01.01", '0', 1000).rate(2005, 10, 10);
  EXPECT_TRUE(run(notActivated.build(), "2005.12.31").isEmpty());
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Calculator, SpecialRatesAndCaps) {
  // -1: everything in the first part, down to the salvage value; later parts give no line.
  CardBuilder once(100);
  once.add("2004.01.01", '0', 1000).add("2004.06.01", '2').rate(2004, -1, -1).rate(2005, 10, 10);
  expectLines(run(once.build(), "2005.12.31"), {{"2004.06.01", "2004.12.31", 214, 900, 1000}});

  // -2: half of the current net in each part.
  CardBuilder twice(0);
  twice.add("2004.01.01", '0', 1000).add("2004.06.01", '2').rate(2004, -2, -2).rate(2005, -2, 0);
  expectLines(run(twice.build(), "2005.12.31"), {{"2004.06.01", "2004.12.31", 214, 500, 500},
                                                 {"2005.01.01", "2005.12.31", 365, 0, 250}});

  // A high rate is capped at the net (tax) and at the salvage value (accounting).
  CardBuilder capped(300);
  capped.add("2004.01.01", '0', 1000).add("2004.01.01", '2').rate(2004, 200, 200);
  expectLines(run(capped.build(), "2004.12.31"), {{"2004.01.01", "2004.12.31", 366, 700, 1000}});
  EXPECT_TRUE(messages.isEmpty());
}

TEST_F(Calculator, MissingRateIsReportedPerPartAndComputedAsZero) {
  CardBuilder b(0);
  b.add("2004.01.01", '0', 1000).add("2004.07.01", '2').rate(2004, 10, 10);
  expectLines(run(b.build(), "2005.03.31"), {{"2004.07.01", "2004.12.31", 184, 50, 50},
                                             {"2005.01.01", "2005.03.31", 90, 0, 0}});
  EXPECT_EQ(messages, QStringList{QStringLiteral(
                          "Nincs megadva a leirási kulcs! Leltári szám:00001 Dátum: 2005.01.01 - 2005.03.31")});
}

TEST_F(Calculator, PrecisionPeriodsShiftTheEnds) {
  CardBuilder b(0);
  b.add("2004.01.01", '0', 365000).add("2005.01.01", '2').rate(2005, 10, 10);
  const AssetCard card = b.build();
  // A period reaching outside the part does not apply.
  periods = {{d("2000.01.01"), d("2100.01.01"), 'N'}};
  expectLines(run(card, "2005.12.31"), {{"2005.01.01", "2005.12.31", 365, 36500, 36500}});
  periods = {{d("2005.01.01"), d("2005.12.31"), 'N'}};
  expectLines(run(card, "2005.12.31"), {{"2005.04.01", "2005.09.30", 183, 18300, 18300}});
  periods = {{d("2005.01.01"), d("2005.12.31"), 'H'}};
  expectLines(run(card, "2005.12.31"), {{"2005.02.01", "2005.11.30", 303, 30300, 30300}});
  periods = {{d("2005.01.01"), d("2005.12.31"), '4'}};
  expectLines(run(card, "2005.12.31"), {{"2005.01.01", "2005.12.31", 365, 36500, 36500}});
}

TEST_F(Calculator, SuspensionIsNeverWrittenOffTwice) {
  // Active 01.01-05.31 (151 days), suspended 06.01-08.31, restarted 09.01-12.31 (122 days).
  CardBuilder b(0);
  b.add("2004.12.01", '0', 365000).add("2005.01.01", '2').add("2005.06.01", 'A')
      .add("2005.09.01", 'B').rate(2005, 10, 10);
  const QList<RunLine> lines = run(b.build(), "2005.12.31");
  expectLines(lines, {{"2005.01.01", "2005.05.31", 151, 15100, 15100},
                      {"2005.09.01", "2005.12.31", 122, 12200, 12200}});
  EXPECT_EQ(lines[1].NETTOSZ, 365000 - 15100 - 12200);

  // Two suspensions: each active span once.
  CardBuilder two(0);
  two.add("2004.12.01", '0', 365000).add("2005.01.01", '2').add("2005.03.01", 'A')
      .add("2005.05.01", 'B').add("2005.07.01", 'A').add("2005.09.01", 'B').rate(2005, 10, 10);
  expectLines(run(two.build(), "2005.12.31"), {{"2005.01.01", "2005.02.28", 59, 5900, 5900},
                                               {"2005.05.01", "2005.06.30", 61, 6100, 6100},
                                               {"2005.09.01", "2005.12.31", 122, 12200, 12200}});

  // Still suspended on the run date: only the time before the suspension.
  CardBuilder still(0);
  still.add("2004.12.01", '0', 365000).add("2005.01.01", '2').add("2005.06.01", 'A').rate(2005, 10, 10);
  expectLines(run(still.build(), "2005.12.31"), {{"2005.01.01", "2005.05.31", 151, 15100, 15100}});
}

}  // namespace

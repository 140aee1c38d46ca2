#include <gtest/gtest.h>

#include <algorithm>

#include "listing_fixture.h"
#include "listing_reports.h"
#include "test_util.h"

namespace {

class Listings : public ::testing::Test, public ListingFixture {
 protected:
  TAssetRange All() const { return {"00001", "00004", QDate(2000, 1, 1), QDate(2023, 12, 31)}; }
  QStringList Leltlis(bool nulla, bool amiVan) {
    WriteLeltlisReport(db.Db(), All(), nulla, amiVan, "proba", UserDir());
    return Values("leltszamlist", "WField1");
  }
  TKartonInput Cards() const {
    TKartonInput input;
    input.Range = All();
    input.TetelTol = QDate(2000, 1, 1);
    input.TetelIg = QDate(2023, 12, 31);
    input.ListaKelte = QDate(2024, 1, 15);
    return input;
  }
  TFeladInput Year2023() const {
    TFeladInput input;
    input.DatumTol = QDate(2023, 1, 1);
    input.DatumIg = QDate(2023, 12, 31);
    input.ListaKelte = QDate(2024, 1, 15);
    return input;
  }
  QString Count(const QString& sql) { return db.Value(sql); }
};

TEST_F(Listings, InventoryListShowsEachAssetsLastBalancesAndFilters) {
  EXPECT_EQ(Leltlis(false, false), QStringList({"00001", "00002", "00003", "00004"}));
  EXPECT_EQ(Values("leltszamlist", "WField5"),
            QStringList({"1 200 000.00", "450 000.00", "0.00", "100 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField6"),
            QStringList({"440 000.00", "135 000.00", "0.00", "100 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField7"),
            QStringList({"760 000.00", "315 000.00", "0.00", "0.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField4"), QStringList({"1", "1", "0", "1"}));
  EXPECT_EQ(Values("leltszamlist", "WField8"), QStringList({"1 750 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField9"), QStringList({"675 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField10"), QStringList({"1 075 000.00"}));
  ExpectGoldenFiles("leltszamlist", "leltlis");
  const QString page = Pdf("leltszamlist");
  for (const char* expected : {"Próba Kft.", "Eszterga", "1 200 000.00 440 000.00 760 000.00",
                               "450 000.00 135 000.00 315 000.00", "100 000.00 100 000.00 0.00",
                               "Összesen: 1 750 000.00 675 000.00 1 075 000.00"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                            << page.toStdString();

  EXPECT_EQ(Leltlis(true, false), QStringList({"00003", "00004"}));
  EXPECT_EQ(Values("leltszamlist", "WField15"), QStringList({"Csak a nullára írtak"}));
  EXPECT_EQ(Leltlis(false, true), QStringList({"00001", "00002", "00004"}));
  EXPECT_EQ(Leltlis(true, true), QStringList({"00004"}));
  // The work table lives for the run only; another logon name has its own.
  EXPECT_EQ(Count("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                  "AND TABLE_NAME LIKE 'WKARTFEJ%'"),
            "0");
}

TEST_F(Listings, InventoryListTakesAnAssetWithoutItemsAsZero) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT) VALUES ('00005', 'Üres', '2020-01-01')");
  TAssetRange range = All();
  range.LeltszamIg = "00005";
  WriteLeltlisReport(db.Db(), range, true, false, "proba`x", UserDir());
  EXPECT_EQ(Values("leltszamlist", "WField1"), QStringList({"00003", "00004", "00005"}));
  WriteLeltlisReport(db.Db(), range, false, true, "proba`x", UserDir());
  EXPECT_EQ(Values("leltszamlist", "WField1"), QStringList({"00001", "00002", "00004"}));
}

TEST_F(Listings, CostLocationInventoryListSubtotalsEachLocation) {
  WriteLeltliskoltshReport(db.Db(), All(), {}, UserDir());
  EXPECT_EQ(Values("leltliskltsh", "WField1"), QStringList({"00001", "00004", "00002", "00003"}));
  EXPECT_EQ(Values("leltliskltsh", "WFKhBrutto"), QStringList({"1 300 000.00", "450 000.00"}));
  EXPECT_EQ(Values("leltliskltsh", "WFKhEcssz"), QStringList({"540 000.00", "135 000.00"}));
  EXPECT_EQ(Values("leltliskltsh", "WFKhNettosz"), QStringList({"760 000.00", "315 000.00"}));
  EXPECT_EQ(Values("leltliskltsh", "WField8"), QStringList({"1 750 000.00"}));
  ExpectGoldenFiles("leltliskltsh", "leltliskoltsh");

  WriteLeltliskoltshReport(db.Db(), All(), {true, "K02"}, UserDir());
  EXPECT_EQ(Values("leltliskltsh", "WField1"), QStringList({"00002", "00003"}));
  db.Exec("UPDATE KARTFEJ SET KOLTSHELY = 'K''1' WHERE LELTSZAM = '00004'");
  WriteLeltliskoltshReport(db.Db(), All(), {true, "K'1"}, UserDir());
  EXPECT_EQ(Values("leltliskltsh", "WField1"), QStringList({"00004"}));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join("\n").toStdString();
}

TEST_F(Listings, AccountListGroupsByAssetAccount) {
  WriteFkszLisReport(db.Db(), "00001", "00004", UserDir());
  EXPECT_EQ(Values("leltszamlist", "WField1"), QStringList({"00001", "00003", "00002", "00004"}));
  EXPECT_EQ(Values("leltszamlist", "WField12"), QStringList({"1 200 000.00", "550 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField13"), QStringList({"440 000.00", "235 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField14"), QStringList({"760 000.00", "315 000.00"}));
  EXPECT_EQ(Values("leltszamlist", "WField11"), QStringList({"1 075 000.00"}));
  ExpectGoldenFiles("leltszamlist", "fkszlis");
}

TEST_F(Listings, CardsShowHeadRatesLinesAndClosingQuantity) {
  ASSERT_TRUE(WriteKartonNyomtReport(db.Db(), Cards(), UserDir()));
  EXPECT_EQ(Values("ZARNKARTON", "WField1"), QStringList({"00001", "00002", "00003", "00004"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField10"), QStringList({"2023", "", "", "2019"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField14").first(), "2022");
  EXPECT_EQ(Values("ZARNKARTON", "WField23"), QStringList({"20.0", "", "", "1év"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField24").first(), "20.0");
  EXPECT_EQ(Values("ZARNKARTON", "WField25").first(), "");
  EXPECT_EQ(Values("ZARNKARTON", "WField42").mid(0, 4),
            QStringList({"0.00", "1 200 000.00", "1 000 000.00", "760 000.00"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField55"), QStringList({"1", "1", "0", "1"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField9").first(), "1 200 000.00 Ft");
  ExpectGoldenFiles("ZARNKARTON", "karton");
  const QString page = Pdf("ZARNKARTON");
  for (const char* expected :
       {"Eszterga", "Záró mennyiség:", "1év", "Számviteli törvény sz.", "760 000.00"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                            << page.toStdString();

  TKartonInput tax = Cards();
  tax.Valuation = 1;
  tax.Range.LeltszamIg = "00001";
  ASSERT_TRUE(WriteKartonNyomtReport(db.Db(), tax, UserDir()));
  EXPECT_EQ(Values("ZARNKARTON", "WField42").last(), "892 000.00");
  EXPECT_EQ(Values("ZARNKARTON", "WField23"), QStringList({"14.5"}));

  TKartonInput owned = Cards();
  owned.CsakElo = true;
  ASSERT_TRUE(WriteKartonNyomtReport(db.Db(), owned, UserDir()));
  EXPECT_EQ(Values("ZARNKARTON", "WField1"), QStringList({"00001", "00002", "00004"}));

  TKartonInput none = Cards();
  none.Range.LeltszamTol = none.Range.LeltszamIg = "09999";
  EXPECT_FALSE(WriteKartonNyomtReport(db.Db(), none, UserDir()));
}

TEST_F(Listings, CardHeadShowsTheLastTenRatesOfEachAssetOnly) {
  QStringList rows;
  for (int year = 2012; year <= 2023; ++year)
    rows << QString("('00002', %1, 10, %2)").arg(year).arg(year - 2000);
  db.Exec("INSERT INTO KULCSOK (LELTSZAM, EV, KULCS, KULCSSZ) VALUES " + rows.join(','));
  ASSERT_TRUE(WriteKartonNyomtReport(db.Db(), Cards(), UserDir()));
  // Year cells WField10, WField14..WField22, rate cells WField23..WField32; per asset in order.
  EXPECT_EQ(Values("ZARNKARTON", "WField10"), QStringList({"2023", "2023", "", "2019"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField22"), QStringList({"", "2014", "", ""}));
  EXPECT_EQ(Values("ZARNKARTON", "WField32"), QStringList({"", "14.0", "", ""}));
  EXPECT_EQ(Values("ZARNKARTON", "WField24"), QStringList({"20.0", "22.0", "", ""}));
}

// Amounts of 1 200 000.00 in every column: the renderer fits each text into its box, so no two
// texts of a page overlap (word boxes read back from the PDF).
TEST_F(Listings, LargeAmountsOverlapNoNeighbour) {
  db.Exec(
      "UPDATE KARTTET SET BRUTTONOV = 1200000, BRUTTOCSOK = 1200000, BRUTTO = 1200000, "
      "ECSCSOKK = 1200000, ECSNOV = 1200000, ECS = 1200000, NETTO = 1200000, ECSCSSZ = 1200000, "
      "ECSNSZ = 1200000, ECSSZ = 1200000, NETTOSZ = 1200000;"
      "UPDATE KARTFEJ SET BESZERTEK = 1200000, MARERTEK = 1200000");
  ASSERT_TRUE(WriteKartonNyomtReport(db.Db(), Cards(), UserDir()));
  WriteLeltlisReport(db.Db(), All(), false, false, "proba", UserDir());
  WriteOsszesReport(db.Db(), {"2023", QDate(2024, 1, 15), true}, "proba", UserDir());
  const struct {
    const char* report;
    const char* amount;  // a word the amounts give
  } reports[] = {{"ZARNKARTON", "200"}, {"leltszamlist", "800"}, {"ZARNOSSZES", "7200000"}};
  for (const auto& r : reports) {
    SCOPED_TRACE(r.report);
    const QList<PdfWord> words = ReportPdfWords(UserDir(), r.report);
    EXPECT_TRUE(std::any_of(words.begin(), words.end(),
                            [&](const PdfWord& w) { return w.text == QLatin1String(r.amount); }));
    for (qsizetype i = 0; i < words.size(); ++i) {
      for (qsizetype j = i + 1; j < words.size(); ++j) {
        const QRectF common = words[i].box.intersected(words[j].box);
        if (words[i].page == words[j].page && common.width() > 0.01 && common.height() > 0.01)
          ADD_FAILURE() << "page " << words[i].page << ": \"" << words[i].text.toStdString()
                        << "\" overlaps \"" << words[j].text.toStdString() << "\"";
      }
    }
  }
}

TEST_F(Listings, CostLocationCardsComeByLocation) {
  TKartonInput input = Cards();
  ASSERT_TRUE(WriteKartonKoltshReport(db.Db(), input, UserDir()));
  EXPECT_EQ(Values("ZARNKARTKH", "WField1"), QStringList({"00001", "00004", "00002", "00003"}));
  EXPECT_EQ(Values("ZARNKARTKH", "WField12").first(), "5");
  ExpectGoldenFiles("ZARNKARTKH", "kartonkh");
  input.Valuation = 1;
  input.CostLocation = {true, "K02"};
  ASSERT_TRUE(WriteKartonKoltshReport(db.Db(), input, UserDir()));
  EXPECT_EQ(Values("ZARNKARTKH", "WField1"), QStringList({"00002", "00003"}));
  EXPECT_EQ(Values("ZARNKARTKH", "WField12").first(), "3");
}

TEST_F(Listings, PostingListTotalsEachTypeAndAccountGroup) {
  ASSERT_TRUE(WriteFeladReport(db.Db(), Year2023(), UserDir()));
  EXPECT_EQ(Values("ZARNKARTON", "WField10"),
            QStringList({"Beszerzés", "Aktíválás", "Értékcsökkenési leírás",
                         "Értékcsökkenési leírás", "Eladás"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFSBV"),
            QStringList({"450 000.00", "0.00", "0.00", "0.00", "-800 000.00"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFSEcsV"),
            QStringList({"0.00", "0.00", "320 000.00", "135 000.00", "-340 000.00"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFSN"),
            QStringList({"0.00", "450 000.00", "1 220 000.00", "315 000.00", "0.00"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFLeltszam").mid(2, 2), QStringList({"00003", "00001"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFieldS0"), QStringList({"450 000.00 Brutto"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFieldS2"), QStringList({"0.00 Brutto"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFieldS4"), QStringList({"455 000.00     ECS"}));
  EXPECT_EQ(Values("ZARNKARTON", "WFieldS6"), QStringList({"-340 000.00     ECS"}));
  for (const char* empty : {"WFieldS1", "WFieldS3", "WFieldS5", "WFieldS7", "WFieldSR", "WFieldSD"})
    EXPECT_EQ(Values("ZARNKARTON", empty), QStringList({""})) << empty;
  ExpectGoldenFiles("ZARNKARTON", "felad");
  const QString page = Pdf("ZARNKARTON");
  for (const char* expected : {"KÖNYVELÉSI FELADÁS", "Időszak: 2023.01.01 - 2023.12.31",
                               "ÖSSZESEN:", "455 000.00 ECS", "450 000.00 Brutto"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                            << page.toStdString();

  TFeladInput tax = Year2023();
  tax.Valuation = 1;
  ASSERT_TRUE(WriteFeladReport(db.Db(), tax, UserDir()));
  EXPECT_EQ(Values("ZARNKARTON", "WFieldS4"), QStringList({"378000     ECS"}));
  EXPECT_EQ(Values("ZARNKARTON", "WField3"), QStringList({"   Adó törvény szerint    "}));

  TFeladInput none = Year2023();
  none.DatumTol = none.DatumIg = QDate(2020, 6, 1);
  EXPECT_FALSE(WriteFeladReport(db.Db(), none, UserDir()));
}

// The per-type totals run a query of their own in the footer's handler; when it fails, the
// error is told and the list is printed without that footer.
TEST_F(Listings, PostingListWithAFailingTypeFooterStillPrints) {
  // Only the per-type totals read an item without a type; reading one fails.
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, ECSNSZ) VALUES ('00001', '2023-05-05', '', 1);"
      "CREATE FUNCTION HIBAS_ERTEK() RETURNS DOUBLE RETURN (SELECT 1 UNION ALL SELECT 2);"
      "RENAME TABLE KARTTET TO KARTTET_ALAP;"
      "CREATE VIEW KARTTET AS SELECT LELTSZAM, DATUM, TIPUS, BIZSZAM, SZOVEG, BRUTTONOV, "
      "BRUTTOCSOK, BRUTTO, ECSCSOKK, ECSNOV, ECS, NETTO, ECSCSSZ, IF(TIPUS = '', HIBAS_ERTEK(), "
      "ECSNSZ) ECSNSZ, ECSSZ, NETTOSZ, MENNYISEG, SORSZAM FROM KARTTET_ALAP");
  ASSERT_TRUE(WriteFeladReport(db.Db(), Year2023(), UserDir()));
  ASSERT_EQ(ui.Texts().size(), 1);
  EXPECT_TRUE(ui.Texts()[0].startsWith("Hiba Wgroup.stop -ban\nMySQL Error "))
      << ui.Texts()[0].toStdString();
  const QString data = Data("ZARNKARTON");
  EXPECT_EQ(data.count("<GROUP "), 6);
  EXPECT_EQ(data.count("</GROUP>"), 6);
  EXPECT_FALSE(data.contains("<FOOTER ID=\"WFooter2\">"));
  EXPECT_TRUE(data.endsWith("</GROUP>\r\n</REPORT>\r\n"));
  const QString page = Pdf("ZARNKARTON");
  for (const char* expected : {"KÖNYVELÉSI FELADÁS", "00001", "ÖSSZESEN:"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected;
  EXPECT_FALSE(page.contains(QStringLiteral("Végösszesen:")));
}

TEST_F(Listings, PostingGroupsKeepAccountsApartAndLeaveItemsAsStored) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, FKSZSZAM, FKSZSZAMECS, FKSZECSKLTG, FKSZAKTEL) "
      "VALUES "
      "('00011', 'A', '131', '139', '5711', ''), ('00012', 'B', '131', '1395', '711', '')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, ECSNSZ) VALUES "
      "('00011', '2020-12-31', '4', 10), ('00012', '2020-12-31', '4', 20), "
      "('00012', '2020-12-31', '', 5)");
  TFeladInput input = Year2023();
  input.DatumTol = input.DatumIg = QDate(2020, 12, 31);
  ASSERT_TRUE(WriteFeladReport(db.Db(), input, UserDir()));
  EXPECT_EQ(Values("ZARNKARTON", "WFSEcsV"), QStringList({"10.00", "20.00"}));
  EXPECT_EQ(Count("SELECT COUNT(*) FROM KARTTET WHERE TIPUS = ''"), "1");
}

TEST_F(Listings, CostLocationPostingListSubtotalsEachLocation) {
  ASSERT_TRUE(WriteFeladKhReport(db.Db(), Year2023(), UserDir()));
  // Ordered by cost location first: "4" with 139 makes a group in K01 and again in K02, each
  // totalling its own lines.
  EXPECT_EQ(Values("ZARNFELADKH", "WFKoltshely"),
            QStringList({"K01", "K02", "K02", "K02", "K02", "K02"}));
  const QStringList ecs{"240 000.00", "0.00", "0.00", "80 000.00", "135 000.00", "-340 000.00"};
  EXPECT_EQ(Values("ZARNFELADKH", "WFEcsKH"), ecs);
  EXPECT_EQ(Values("ZARNFELADKH", "WFSEcsV"), ecs);
  EXPECT_EQ(Values("ZARNFELADKH", "WField10").value(0),
            QString::fromUtf8("Értékcsökkenési leírás"));
  EXPECT_EQ(Values("ZARNFELADKH", "WFieldS4"), QStringList());

  TFeladInput one = Year2023();
  one.CostLocation = {true, "K01"};
  ASSERT_TRUE(WriteFeladKhReport(db.Db(), one, UserDir()));
  EXPECT_EQ(Values("ZARNFELADKH", "WFLeltszam"), QStringList({"00001"}));
  ExpectGoldenFiles("ZARNFELADKH", "feladkh");
}

TEST_F(Listings, YearlySummaryClosesEachAccountAndClass) {
  WriteOsszesReport(db.Db(), {"2023", QDate(2024, 1, 15), true}, "proba", UserDir());
  QStringList first;
  for (const char* f : {"WFSBRATH", "WFSBRNOV", "WFSBRCSOK", "WFSECSATH", "WFSECSNOV",
                        "WFSECSCSOKK", "WFSNETTOATH", "WFSNETTO"})
    first << Values("ZARNOSSZES", f).value(0) + "/" + Values("ZARNOSSZES", f).value(1);
  EXPECT_EQ(first, QStringList({"2000000/100000", "0/450000", "800000/0", "460000/100000",
                                "320000/135000", "340000/0", "1540000/0", "760000/315000"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFFkszBrZaro"), QStringList({"1200000", "550000"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFFkszEcsZaro"), QStringList({"440000", "235000"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFVegBrZaro"), QStringList({"1750000"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFVegEcsZaro"), QStringList({"675000"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFSum13"), QStringList({"760 000.00"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFSum14"), QStringList({"315 000.00"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFSumossz"), QStringList({"1 075 000.00"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFSumosszM"), QStringList({"0.00"}));
  EXPECT_EQ(Count("SELECT COUNT(DISTINCT LSZ) FROM `WOSSZproba`"), "4");  // kept
  ExpectGoldenFiles("ZARNOSSZES", "osszes");
  const QString page = Pdf("ZARNOSSZES");
  for (const char* expected : {"Végösszesen", "Összes 13: 760 000.00", "Bruttó záró: 1750000"})
    EXPECT_TRUE(page.contains(QString::fromUtf8(expected))) << expected << "\n"
                                                            << page.toStdString();

  WriteOsszesReport(db.Db(), {"2023", QDate(2024, 1, 15), false}, "proba", UserDir());
  EXPECT_EQ(Values("ZARNOSSZES", "WFFkszBrZaro").value(0), "-800000");
  EXPECT_EQ(Values("ZARNOSSZES", "WFFkszEcsZaro").value(0), "-20000");
  EXPECT_EQ(Values("ZARNOSSZES", "WFSumossz"), QStringList({"-465 000.00"}));

  // A year that is no year: an empty summary, nothing run on the items.
  WriteOsszesReport(db.Db(), {"23'x", QDate(2024, 1, 15), true}, "masik", UserDir());
  EXPECT_EQ(Values("ZARNOSSZES", "WFLSZ"), QStringList());
  EXPECT_EQ(Values("ZARNOSSZES", "WFVegBrZaro"), QStringList({"0"}));
  EXPECT_EQ(Count("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_SCHEMA = DATABASE() "
                  "AND TABLE_NAME = 'WOSSZmasik'"),
            "0");
}

}  // namespace

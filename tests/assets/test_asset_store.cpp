#include <gtest/gtest.h>

#include <optional>

#include "asset_store.h"
#include "exceptions.h"
#include "other_workstation.h"
#include "test_database.h"
#include "transaction.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

class AssetStore : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    OpenMaster(master, db.Db());
    cards.SetDatabase(&db.Db());
  }

  static void OpenMaster(TUniSQLTable& t, TUniSQLDatabase& d) {
    t.SetDatabase(&d);
    t.SetTablename(QStringLiteral("KARTFEJ"));
    t.SetIndexFields(QStringLiteral("LELTSZAM"));
    t.Open();
  }

  static void NewAsset(TUniSQLTable& t, const QString& number) {
    t.Append();
    t.FieldByName("LELTSZAM")->SetAsString(number);
    t.FieldByName("MEGNEV")->SetAsString("Eszterga");
    t.FieldByName("BESZKELT")->SetAsDate(QDate(2010, 5, 20));
    t.FieldByName("BESZERTEK")->SetAsFloat(1000000);
    t.FieldByName("ELHASZNA")->SetAsString("7");
    t.FieldByName("ELHASZN")->SetAsInteger(8);
  }

  static AssetSave NewSave(int year, int tax, int acc) {
    AssetSave save;
    save.isNew = true;
    save.quantity = 1;
    for (const RateRow& r : RatesFromLives(year, tax, acc))
      save.rates << RateCells{QString::number(r.year), QString::number(r.tax),
                              QString::number(r.acc)};
    return save;
  }

  TestDatabase db;
  TUniSQLTable master, cards;
};

}  // namespace

TEST_F(AssetStore, NewAssetIsSavedWithItsAcquisitionItemAndRates) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM) VALUES ('00009'), ('00010'), ('A12')");
  EXPECT_EQ(NextInventoryNumber(db.Db()), "00011");
  master.Close();
  master.Open();
  NewAsset(master, NextInventoryNumber(db.Db()));
  EXPECT_EQ(SaveAsset(master, cards, NewSave(2010, 7, 8)), AssetSaveResult::Saved);
  EXPECT_EQ(master.State(), dsBrowse);
  EXPECT_EQ(db.Value("SELECT CONCAT(ELHASZNA, '/', ELHASZN) FROM KARTFEJ WHERE LELTSZAM='00011'"),
            "7/8");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KULCSOK WHERE LELTSZAM='00011'"), "9");
  EXPECT_EQ(db.Value("SELECT CONCAT(KULCS, '/', KULCSSZ) FROM KULCSOK WHERE EV=2018"), "0/12");
  EXPECT_EQ(db.Value("SELECT CONCAT(TIPUS, ' ', DATUM, ' ', SZOVEG, ' ', MENNYISEG, ' ', BRUTTO) "
                     "FROM KARTTET WHERE LELTSZAM='00011'"),
            "0 2010-05-20 beszerzés 1.00 1000000");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KULCSOK WHERE LELTSZAM=''"), "0");
}

TEST_F(AssetStore, LivesMinusOneAndTwoAreStoredAsOneAndTwo) {
  NewAsset(master, "00001");
  master.FieldByName("ELHASZNA")->SetAsString("-2");
  master.FieldByName("ELHASZN")->SetAsInteger(-1);
  AssetSave save = NewSave(2004, -2, -1);
  save.action = '1';
  ASSERT_EQ(SaveAsset(master, cards, save), AssetSaveResult::Saved);
  EXPECT_EQ(db.Value("SELECT CONCAT(ELHASZNA, '/', ELHASZN) FROM KARTFEJ"), "2/1");
  EXPECT_EQ(db.Value("SELECT CAST(GROUP_CONCAT(CONCAT(EV,':',KULCS,'/',KULCSSZ) ORDER BY EV) AS "
                     "CHAR(200)) FROM KULCSOK"),
            "2004:-2/-1,2005:-2/0");
  EXPECT_EQ(db.Value("SELECT SZOVEG FROM KARTTET"), "Kapott apport");
}

TEST_F(AssetStore, SavingAChangedAssetKeepsTheCardQuantities) {
  NewAsset(master, "00001");
  ASSERT_EQ(SaveAsset(master, cards, NewSave(2010, 7, 8)), AssetSaveResult::Saved);
  db.Exec("UPDATE KARTTET SET MENNYISEG = 2");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTOCSOK, MENNYISEG) VALUES "
      "('00001', '2012-01-01', '5', 500000, -1)");
  for (int i = 0; i < 2; ++i) {
    master.Edit();
    master.FieldByName("BESZERTEK")->SetAsFloat(1200000);
    AssetSave save;
    save.documentNumber = "B-7";
    save.rates = NewSave(2010, 7, 8).rates;
    ASSERT_EQ(SaveAsset(master, cards, save), AssetSaveResult::Saved);
  }
  EXPECT_EQ(
      db.Value("SELECT CAST(GROUP_CONCAT(MENNYISEG ORDER BY DATUM) AS CHAR(200)) FROM KARTTET"),
      "2.00,-1.00");
  // The card follows the changed acquisition value.
  EXPECT_EQ(db.Value("SELECT BRUTTO FROM KARTTET WHERE TIPUS='5'"), "700000");
  EXPECT_EQ(db.Value("SELECT BIZSZAM FROM KARTTET WHERE TIPUS='0'"), "B-7");
}

// CHAR columns keep no trailing blanks; the save posts the master row twice (the row, then its
// recalculated dates), and the second post must find the stored row.
TEST_F(AssetStore, TextsEndingInABlankAreSavedAndChangedAgain) {
  NewAsset(master, "00001");
  master.FieldByName("MEGJ1")->SetAsString("irodai gep ");
  master.FieldByName("KOLTSHELY")->SetAsString("K1 ");
  master.FieldByName("MEGNEV")->SetAsString("Íróasztal ");
  ASSERT_EQ(SaveAsset(master, cards, NewSave(2010, 7, 8)), AssetSaveResult::Saved);
  EXPECT_EQ(Rows(db, "SELECT CONCAT('[', MEGJ1, '|', KOLTSHELY, '|', MEGNEV, ']') FROM KARTFEJ"),
            QStringList({"[irodai gep|K1|Íróasztal ]"}));
  master.Edit();
  master.FieldByName("MEGJ1")->SetAsString("raktári gép  ");
  AssetSave save;
  save.rates = NewSave(2010, 7, 8).rates;
  ASSERT_EQ(SaveAsset(master, cards, save), AssetSaveResult::Saved);
  EXPECT_EQ(db.Value("SELECT CONCAT('[', MEGJ1, ']') FROM KARTFEJ"), "[raktári gép]");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET"), "1");
}

TEST_F(AssetStore, AFailureMidwayLeavesNothingAndNoLock) {
  db.Exec(
      "CREATE TRIGGER KULCSOK_FAIL BEFORE INSERT ON KULCSOK FOR EACH ROW "
      "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'no rates'");
  NewAsset(master, "00001");
  EXPECT_THROW(SaveAsset(master, cards, NewSave(2010, 7, 8)), Exception);
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTFEJ"), "0");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET"), "0");
  // Still the typed new row, and a second connection can write: no lock is left.
  EXPECT_EQ(master.State(), dsInsert);
  EXPECT_EQ(master.FieldByName("MEGNEV")->AsString(), "Eszterga");
  auto other = db.Connect();
  RunStatements(*other, QStringLiteral("INSERT INTO KARTTET (LELTSZAM, TIPUS) VALUES ('x', '0')"));
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET"), "1");
  EXPECT_EQ(db.Value("SELECT @@autocommit"), "1");
}

TEST_F(AssetStore, ANumberSavedElsewhereSinceTheCheckWritesNothing) {
  auto other = db.Connect();
  TUniSQLTable master2, cards2;
  OpenMaster(master2, *other);
  cards2.SetDatabase(other.get());
  NewAsset(master, NextInventoryNumber(db.Db()));
  NewAsset(master2, NextInventoryNumber(*other));
  ASSERT_EQ(SaveAsset(master, cards, NewSave(2010, 7, 8)), AssetSaveResult::Saved);
  master2.FieldByName("MEGNEV")->SetAsString("Másik");
  EXPECT_EQ(SaveAsset(master2, cards2, NewSave(2010, 3, 6)), AssetSaveResult::AlreadyExists);
  EXPECT_EQ(master2.State(), dsInsert);
  EXPECT_EQ(db.Value("SELECT MEGNEV FROM KARTFEJ"), "Eszterga");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KULCSOK"), "9");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET"), "1");
}

TEST_F(AssetStore, DependentsAndPreviousBalances) {
  const QString odd = QStringLiteral("O'1");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTO, ECS, ECSSZ, MENNYISEG) VALUES "
      "('O\\'1', '2004-01-10', '0', 100, 0, 0, 2), ('O\\'1', '2004-02-01', '2', 100, 0, 0, 0), "
      "('O\\'1', '2004-12-31', '4', 100, 10, 20, 0), ('X', '2004-01-01', '0', 5, 0, 0, 1)");
  db.Exec("INSERT INTO KULCSOK (LELTSZAM, EV) VALUES ('O\\'1', 2004), ('X', 2004)");
  PreviousBalances p = ReadPreviousBalances(db.Db(), odd, {}, '6', true);
  EXPECT_TRUE(p.activated);
  EXPECT_EQ(p.ECSSZ, 20);
  p = ReadPreviousBalances(db.Db(), odd, QDate(2004, 2, 1), '2', false);
  EXPECT_FALSE(p.activated);
  EXPECT_EQ(p.BRUTTO, 100);
  EXPECT_EQ(QuantitySum(db.Db(), odd), 2);
  QDate min, max;
  ASSERT_TRUE(ItemDateRange(db.Db(), odd, '0', &min, &max));
  EXPECT_EQ(min, QDate(2004, 2, 1));
  EXPECT_EQ(max, QDate(2004, 12, 31));
  DeleteAssetDependents(db.Db(), odd);
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET"), "1");
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KULCSOK"), "1");
}

TEST_F(AssetStore, ACardChangeIsStoredWithTheCardsBalancesOrNotAtAll) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT) VALUES ('00001', 'Eszterga', "
      "'2010-05-20')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV) VALUES ('00001', '2010-05-20', "
      "'0', 1000)");
  cards.SetTablename("KARTTET");
  cards.SetIndexFields("DATUM, TIPUS");
  cards.SetFilter("LELTSZAM = '00001'");
  cards.SetFiltered(true);
  cards.Open();
  const auto append = [&](const QDate& date, double amount) {
    cards.Append();
    cards.FieldByName("LELTSZAM")->SetAsString("00001");
    cards.FieldByName("DATUM")->SetAsDate(date);
    cards.FieldByName("TIPUS")->SetAsString("3");
    cards.FieldByName("BRUTTONOV")->SetAsFloat(amount);
  };
  const char* const card =
      "SELECT CONCAT(DATUM, ' ', BRUTTO, ' ', SORSZAM) FROM KARTTET ORDER BY 1";
  append(QDate(2011, 1, 1), 500);
  ChangeCardUnderLock(db.Db(), "00001", [&] { cards.Post(); });
  EXPECT_EQ(Rows(db, card).join(" / "), "2010-05-20 1000 0 / 2011-01-01 1500 1");

  // A recalculation that fails takes the posted item back with it, and leaves no lock.
  append(QDate(2009, 1, 1), 7);
  EXPECT_THROW(ChangeCardUnderLock(
                   db.Db(), "00001", [&] { cards.Post(); },
                   [](const QString&) { throw Exception("nincs"); }),
               Exception);
  EXPECT_EQ(Rows(db, card).join(" / "), "2010-05-20 1000 0 / 2011-01-01 1500 1");
  EXPECT_EQ(db.Value("SELECT @@autocommit"), "1");
  RunStatements(*db.Connect(), "INSERT INTO KARTFEJ (LELTSZAM) VALUES ('00002')");
}

// The other workstation's post queued between two statements of a piece of work: a work that
// reaches for a table of the item locks only after it holds another is ended by the server;
// one that takes its tables first waits for the post, or the post for it.
TEST_F(AssetStore, WorkTakingItsTablesFirstNeverDeadlocksWithAnItemPost) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Eszterga'), ('00002', 'Fúró')");
  db.Exec("INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS) VALUES ('00001', '2005-01-01', '0')");
  for (const bool first : {false, true}) {
    SCOPED_TRACE(first);
    QString error;
    PostQueuedInTheMiddle post(db, "SELECT * FROM KARTTET WHERE LELTSZAM = '00001' FOR UPDATE",
                               "00002");
    try {
      std::optional<TTransaction> work;
      if (first)
        work.emplace(db.Db(), "KARTFEJ, KARTTET");
      else
        work.emplace(db.Db());
      RunStatements(db.Db(), "UPDATE KARTTET SET BIZSZAM = 'x' WHERE LELTSZAM = '00001'");
      RunStatements(db.Db(), "UPDATE KARTFEJ SET MEGJ1 = 'x' WHERE LELTSZAM = '00001'");
      work->Commit();
    } catch (const Exception& e) {
      error = e.Message();
    }
    EXPECT_EQ(post.Outcome().toStdString(), "");
    if (first)
      EXPECT_EQ(error.toStdString(), "");
    else
      EXPECT_TRUE(error.contains("Deadlock found")) << error.toStdString();
  }
  EXPECT_EQ(db.Value("SELECT COUNT(*) FROM KARTTET WHERE LELTSZAM = '00002'"), "2");
}

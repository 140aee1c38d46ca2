#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include "app_globals.h"
#include "asset_commands.h"
#include "balance_recalc.h"
#include "date_edit.h"
#include "db_browser.h"
#include "db_ftedit.h"
#include "edit_grid.h"
#include "form_ecsszamito.h"
#include "form_fej.h"
#include "form_karttet.h"
#include "gui_test_util.h"
#include "report_renderer.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_query.h"
#include "uni_sql_table.h"

namespace {

class AssetForms : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    db.Exec("INSERT INTO CEG (CEGNEV) VALUES ('Próba Kft.')");
    savedUserDir = Globals().UserDir;
    savedProgramDir = Globals().ProgramDir;
    Globals().UserDir = userDir.path() + "/";
    Globals().ProgramDir = BinDir() + "/";
    savedRun = SetRendererRunAndWait([](const QString&, const QStringList&) { return true; });
  }
  void TearDown() override {
    SetRendererRunAndWait(savedRun);
    Globals().UserDir = savedUserDir;
    Globals().ProgramDir = savedProgramDir;
  }
  QString Value(const QString& sql) { return db.Value(sql); }
  // The asset form's list set up for an item action, standing on an asset.
  void OpenOn(TFormFej& form, char action, const char* extra1, const QString& number) {
    form.ActionCode = QLatin1Char(action);
    form.DBBrowser1->Extra1 = QString::fromUtf8(extra1);
    form.OpenTable();
    for (form.Table1->First(); !form.Table1->Eof(); form.Table1->Next())
      if (form.Table1->FieldByName("LELTSZAM")->AsString() == number) return;
    ADD_FAILURE() << "no asset " << number.toStdString();
  }
  // Two pieces bought 2004.03.10 for 1,000,000, activated 2004.07.01, rates 14.5/20.
  void ActivatedPair() {
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES ('00001', 'Eszterga', 100000)");
    db.Exec(
        "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, MENNYISEG) VALUES "
        "('00001', '2004-03-10', '0', 1000000, 2), ('00001', '2004-07-01', '2', 0, 0)");
    db.Exec("INSERT INTO KULCSOK VALUES ('00001', 2004, 14.5, 20), ('00001', 2005, 14.5, 20)");
    RecalcAllBalances(db.Db());
  }
  static void Set(TFormkarttet* f, const char* field, double value) {
    f->TableTETEL->FieldByName(QString::fromLatin1(field))->SetAsFloat(value);
  }
  static double Get(TFormkarttet* f, const char* field) {
    return f->TableTETEL->FieldByName(QString::fromLatin1(field))->AsFloat();
  }

  TestDatabase db;
  ScriptedUi ui;
  QTemporaryDir userDir;
  QString savedUserDir, savedProgramDir;
  TRunAndWait savedRun;
};

}  // namespace

TEST_F(AssetForms, NewAssetLoopSavesTheAssetItsRatesAndTheActivation) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM) VALUES ('00009'), ('00010'), ('A12')");
  ui.Answer(true).Answer(mbNo);  // activate now; no further asset
  bool itemShown = false;
  OnNextModal([&](QWidget* w) {
    auto* form = dynamic_cast<TFormFej*>(w);
    ASSERT_TRUE(form);
    EXPECT_EQ(form->windowTitle(),
              QString::fromUtf8("Tárgyieszközök/Immateriális javak főadatok (FELVITEL)"));
    EXPECT_EQ(form->EditMennyiseg->text(), "1");
    TUniSQLTable* t = form->Table1;
    EXPECT_EQ(t->FieldByName("LELTSZAM")->AsString(), "00011");
    t->FieldByName("MEGNEV")->SetAsString("Eszterga");
    t->FieldByName("BESZKELT")->SetAsDate(QDate(2010, 5, 20));
    t->FieldByName("BESZERTEK")->SetAsFloat(1000000);
    t->FieldByName("ELHASZNA")->SetAsString("7");
    t->FieldByName("ELHASZN")->SetAsInteger(8);
    form->LivesLeft();
    EXPECT_EQ(form->RateRows().size(), 9);
    OnNextModal([&](QWidget* w2) {
      auto* item = dynamic_cast<TFormkarttet*>(w2);
      ASSERT_TRUE(item);
      itemShown = true;
      EXPECT_EQ(item->LabelTipus->text(), QString::fromUtf8("Aktiválás"));
      EXPECT_EQ(item->TableTETEL->FieldByName("DATUM")->AsDate(), QDate(2010, 5, 20));
      item->BtnOkClick();
    });
    form->BtnOkClick();
  });
  NewAssetLoop(db.Db(), nullptr);
  EXPECT_TRUE(itemShown);
  EXPECT_EQ(Value("SELECT CONCAT(ELHASZNA, '/', ELHASZN, '/', AKTKELT) FROM KARTFEJ WHERE "
                  "LELTSZAM='00011'"),
            "7/8/2010-05-20");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM KULCSOK WHERE LELTSZAM='00011'"), "9");
  EXPECT_EQ(Value("SELECT COUNT(*) FROM KULCSOK"), "9");  // no placeholder row
  EXPECT_EQ(
      Value("SELECT CAST(GROUP_CONCAT(CONCAT(TIPUS,' ',DATUM,' ',MENNYISEG,' ',SZOVEG,' ',NETTO) "
            "ORDER BY SORSZAM SEPARATOR '|') AS CHAR(300)) FROM KARTTET"),
      QString::fromUtf8("0 2010-05-20 1.00 beszerzés 0|2 2010-05-20 0.00 Aktiválás 1000000"));
  EXPECT_EQ(ui.PendingAnswers(), 0);
}

// OK, activate: Yes, the item: OK, another: Yes; OK, activate: No, another: No.
TEST_F(AssetForms, NewAssetLoopRecordsTwoAssetsAndLeavesNoTableLocked) {
  ui.Answer(true).Answer(mbYes).Answer(false).Answer(mbNo);
  auto fill = [](TFormFej* form, const char* name) {
    TUniSQLTable* t = form->Table1;
    t->FieldByName("MEGNEV")->SetAsString(QString::fromLatin1(name));
    t->FieldByName("BESZKELT")->SetAsDate(QDate(2021, 3, 15));
    t->FieldByName("BESZERTEK")->SetAsFloat(500000);
    t->FieldByName("ELHASZNA")->SetAsString("5");
    t->FieldByName("ELHASZN")->SetAsInteger(5);
    form->LivesLeft();
    form->BtnOkClick();
  };
  OnNextModal([&](QWidget* w) {
    OnNextModal([&](QWidget* w2) {
      auto* item = dynamic_cast<TFormkarttet*>(w2);
      ASSERT_TRUE(item);
      item->BtnOkClick();
      OnNextModal([&](QWidget* w3) { fill(dynamic_cast<TFormFej*>(w3), "Second"); });
    });
    fill(dynamic_cast<TFormFej*>(w), "First");
  });
  NewAssetLoop(db.Db(), nullptr);
  EXPECT_EQ(ui.PendingAnswers(), 0);
  EXPECT_EQ(Rows(db, "SELECT LELTSZAM, MEGNEV, AKTKELT FROM KARTFEJ ORDER BY LELTSZAM"),
            QStringList({"00001|First|2021.03.15", "00002|Second|"}));
  EXPECT_EQ(Rows(db, "SELECT LELTSZAM, TIPUS, DATUM FROM KARTTET ORDER BY LELTSZAM, SORSZAM"),
            QStringList({"00001|0|2021.03.15", "00001|2|2021.03.15", "00002|0|2021.03.15"}));
  // Another workstation writes both tables at once: nothing was left locked.
  auto other = db.Connect();
  RunStatements(*other, QStringLiteral("SET SESSION lock_wait_timeout = 5; "
                                       "UPDATE KARTFEJ SET MEGNEV = MEGNEV; "
                                       "UPDATE KARTTET SET SZOVEG = SZOVEG"));
}

// A remark ending in a blank, typed as a user types it, is saved with the new asset.
TEST_F(AssetForms, NewAssetWithARemarkEndingInABlankIsSaved) {
  ui.Answer(false).Answer(mbNo);  // not activated now; no further asset
  OnNextModal([&](QWidget* w) {
    auto* form = dynamic_cast<TFormFej*>(w);
    ASSERT_TRUE(form);
    TUniSQLTable* t = form->Table1;
    t->FieldByName("BESZKELT")->SetAsDate(QDate(2010, 5, 20));
    t->FieldByName("BESZERTEK")->SetAsFloat(1000000);
    t->FieldByName("ELHASZNA")->SetAsString("7");
    t->FieldByName("ELHASZN")->SetAsInteger(8);
    form->DBEMEGNEV->setFocus();
    TypeText(form->DBEMEGNEV, QString::fromUtf8("Számítógép"));
    form->DBMEGJ1->setFocus();
    TypeText(form->DBMEGJ1, "irodai gep ");
    form->LivesLeft();
    form->BtnOkClick();
    if (form->isVisible()) {
      ADD_FAILURE() << "not saved: " << ui.Texts().join(" / ").toStdString();
      form->reject();
    }
  });
  NewAssetLoop(db.Db(), nullptr);
  EXPECT_EQ(ui.PendingAnswers(), 0);
  EXPECT_EQ(Rows(db, "SELECT LELTSZAM, MEGNEV, CONCAT('[', MEGJ1, ']') FROM KARTFEJ"),
            QStringList({QString::fromUtf8("00001|Számítógép|[irodai gep]")}));
  EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTTET WHERE TIPUS='0'"), "1");
}

TEST_F(AssetForms, OkRefusesBadLivesAndAsksAboutLowRateSums) {
  TFormFej form(db.Db());
  form.ActionCode = 'F';
  form.OpenTable();
  form.Table1->Append();
  form.FormActivate();
  TUniSQLTable* t = form.Table1;
  t->FieldByName("MEGNEV")->SetAsString("Gép");
  t->FieldByName("BESZKELT")->SetAsDate(QDate(2010, 1, 1));
  t->FieldByName("BESZERTEK")->SetAsFloat(100);
  t->FieldByName("ELHASZN")->SetAsInteger(5);
  for (const char* bad : {"-3", "x"}) {
    t->FieldByName("ELHASZNA")->SetAsString(QString::fromLatin1(bad));
    form.BtnOkClick();
    EXPECT_EQ(form.result(), 0) << bad;
  }
  EXPECT_EQ(ui.Texts().count(QString::fromUtf8(
                "Nem megfelelő a megadott adótörvény szerinti tervezett élettartam.")),
            2);
  t->FieldByName("ELHASZNA")->SetAsString("5");
  t->FieldByName("FKSZSZAM")->SetAsString("N");
  t->FieldByName("FKSZAKTEL")->SetAsString("1611");
  form.BtnOkClick();
  EXPECT_TRUE(ui.Texts().last().contains("ellentmondanak"));
  t->FieldByName("FKSZAKTEL")->SetAsString("n");
  // Five years of 14.5 under the tax law: the sum question, answered No.
  for (int r = 0; r < 5; ++r) {
    form.Grid()->SetCellValue(r, 0, 2010.0 + r);
    form.Grid()->SetCellValue(r, 1, 14.5);
    form.Grid()->SetCellValue(r, 2, 20.0);
  }
  ui.Answer(mbNo);
  form.BtnOkClick();
  EXPECT_TRUE(ui.Texts().last().contains("hanem 72.5%")) << ui.Texts().last().toStdString();
  EXPECT_EQ(form.result(), 0);
  EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTFEJ"), "0");
}

TEST_F(AssetForms, SaleAfterTheRunIsPrefilledAndClosesTheCard) {
  ActivatedPair();

  // The run cancelled: no item.
  {
    TFormFej form(db.Db());
    OpenOn(form, '6', "&Eladás", "00001");
    OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    form.StartItemAction();
    EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTTET"), "2");
    EXPECT_TRUE(ui.Texts().contains(
        QString::fromUtf8("Kérem, hogy az eladást/selejtezést megelöző napig számoljon ECS-t!")));
  }
  TFormFej form(db.Db());
  OpenOn(form, '6', "&Eladás", "00001");
  OnNextModal([&](QWidget* w) {
    auto* run = dynamic_cast<TFormECSszamito*>(w);
    ASSERT_TRUE(run);
    EXPECT_EQ(run->EditLsz->text(), "00001");
    run->dateEdit1->SetValue(QDate(2005, 6, 30));
    OnNextModal([&](QWidget* w2) {
      auto* item = dynamic_cast<TFormkarttet*>(w2);
      ASSERT_TRUE(item);
      EXPECT_EQ(item->windowTitle(), QString::fromUtf8("Eladás"));
      EXPECT_EQ(item->TableTETEL->FieldByName("DATUM")->AsDate(), QDate(2005, 7, 1));
      EXPECT_EQ(Get(item, "BRUTTOCSOK"), 1000000);
      EXPECT_EQ(Get(item, "ECSCSOKK"), 144800);
      EXPECT_EQ(Get(item, "ECSCSSZ"), 179752);
      EXPECT_EQ(Get(item, "MENNYISEG"), -2);
      EXPECT_EQ(Get(item, "BRUTTO"), 0);
      EXPECT_FALSE(item->DBEBRUTTOCSOK->isEnabled() == false);
      item->BtnOkClick();
    });
    run->BtnOKClick();
  });
  form.StartItemAction();
  EXPECT_EQ(Value("SELECT CONCAT(BRUTTO,'/',ECS,'/',ECSSZ,'/',NETTO) FROM KARTTET WHERE TIPUS='6'"),
            "0/0/0/0");
  EXPECT_EQ(Value("SELECT CAST(ELADAS AS CHAR(10)) FROM KARTFEJ"), "2005-07-01");
  // A sold asset refuses a further sale.
  form.Table1->First();
  form.StartItemAction();
  EXPECT_EQ(ui.Texts().last(), QString::fromUtf8("El van adva!"));
}

TEST_F(AssetForms, PartialSaleAfterTheRun) {
  ActivatedPair();
  TFormFej form(db.Db());
  OpenOn(form, 'R', "&Részleges Eladás", "00001");
  OnNextModal([&](QWidget* w) {
    auto* run = dynamic_cast<TFormECSszamito*>(w);
    ASSERT_TRUE(run);
    run->dateEdit1->SetValue(QDate(2005, 6, 30));
    OnNextModal([&](QWidget* w2) {
      auto* item = dynamic_cast<TFormkarttet*>(w2);
      ASSERT_TRUE(item);
      EXPECT_EQ(item->LabelTipus->text(), QString::fromUtf8("Részleges Eladás"));
      Set(item, "BRUTTOCSOK", 500000);
      Set(item, "ECSCSOKK", 72400);
      Set(item, "ECSCSSZ", 89876);
      Set(item, "MENNYISEG", -1);
      item->BtnOkClick();
    });
    run->BtnOKClick();
  });
  form.StartItemAction();
  EXPECT_EQ(
      Value("SELECT CONCAT(BRUTTO,'/',NETTO,'/',NETTOSZ,'/',SZOVEG) FROM KARTTET WHERE TIPUS='R'"),
      QString::fromUtf8("500000/427600/410124/Részleges Eladás"))
      << ui.Texts().join("|").toStdString();
  EXPECT_EQ(Value("SELECT SUM(MENNYISEG) FROM KARTTET"), "1");
  EXPECT_EQ(Value("SELECT CAST(ELADAS AS CHAR(10)) FROM KARTFEJ"), "1900-01-01");
}

TEST_F(AssetForms, TransferRecordsBothHalvesAndRecalculatesTheReceivingCard) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00001', 'Adó'), ('00002', 'Kapó')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, MENNYISEG) VALUES "
      "('00001', '2024-01-10', '0', 600000, 3), ('00002', '2024-02-01', '0', 400000, 1), "
      "('00002', '2024-03-01', '2', 0, 0), ('00002', '2024-09-01', '3', 50000, 0)");
  RecalcAllBalances(db.Db());
  TFormFej form(db.Db());
  OpenOn(form, 'C', "&Átvezetés", "00001");
  OnNextModal([&](QWidget* w) {
    auto* item = dynamic_cast<TFormkarttet*>(w);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->Editleltszam2->isVisible());
    item->TableTETEL->FieldByName("DATUM")->SetAsDate(QDate(2024, 6, 1));
    Set(item, "BRUTTOCSOK", 200000);
    Set(item, "MENNYISEG", -1);
    item->Editleltszam2->setText("00002");
    EXPECT_EQ(item->LabelNev2->text(), QString::fromUtf8("Kapó"));
    OnNextModal([&](QWidget* w2) {
      auto* receiving = dynamic_cast<TFormkarttet*>(w2);
      ASSERT_TRUE(receiving);
      EXPECT_EQ(receiving->windowTitle(), QString::fromUtf8("Átvezetés (érték NÖVEKEDÉS)"));
      EXPECT_FALSE(receiving->Editleltszam2->isVisible());
      EXPECT_EQ(Get(receiving, "BRUTTONOV"), 200000);
      EXPECT_EQ(Get(receiving, "MENNYISEG"), 1);
      receiving->BtnOkClick();
    });
    item->BtnOkClick();
  });
  form.StartItemAction();
  EXPECT_EQ(
      Value("SELECT CONCAT(MAX(SORSZAM), '/', SUM(MENNYISEG)) FROM KARTTET WHERE LELTSZAM='00001'"),
      "1/2.00");
  EXPECT_EQ(Value("SELECT BRUTTO FROM KARTTET WHERE LELTSZAM='00001' AND TIPUS='C'"), "400000");
  EXPECT_EQ(
      Value("SELECT CAST(GROUP_CONCAT(CONCAT(TIPUS, ':', BRUTTO) ORDER BY SORSZAM) AS CHAR(200)) "
            "FROM KARTTET WHERE LELTSZAM='00002'"),
      "0:400000,2:400000,D:600000,3:650000");
  EXPECT_EQ(Value("SELECT SUM(MENNYISEG) FROM KARTTET WHERE LELTSZAM='00002'"), "2");
}

TEST_F(AssetForms, ActivationGuardsAndItemDeletion) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, AKTKELT) VALUES ('00001', 'A', '2004-04-01'), "
      "('00002', 'B', '1900-01-01')");
  TFormFej form(db.Db());
  OpenOn(form, '2', "&Aktiválás", "00001");
  form.StartItemAction();
  EXPECT_EQ(ui.Texts().last(), QString::fromUtf8("Már aktiválva van!"));
  OpenOn(form, '2', "&Aktiválás", "00002");
  form.StartItemAction();
  EXPECT_EQ(ui.Texts().last(), QString::fromUtf8("Nincs rögzítve a beszerzés, nem aktiválható!"));

  // Deleting an item: "0" refused, another asked and recalculated.
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, MENNYISEG) VALUES "
      "('00002', '2024-01-10', '0', 100, 1), ('00002', '2024-03-01', '3', 50, 0)");
  RecalcAllBalances(db.Db());
  TFormkarttet items(db.Db());
  items.AssetNumber = "00002";
  items.OpenItems("00002");
  items.TableTETEL->First();
  items.DeleteItem();
  EXPECT_EQ(ui.Texts().last(), QString::fromUtf8("Ez a tétel nem törölhető!"));
  items.TableTETEL->Last();
  ui.Answer(true);
  items.DeleteItem();
  EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTTET"), "1");
}

TEST_F(AssetForms, SaleAndScrappingListsEndWithTheClosingRecalculation) {
  // A sale item without amounts, as an older version or an import leaves it.
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MENNYISEG) VALUES ('00001', 'Eszterga', 1)");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, ECSNOV, ECSNSZ, MENNYISEG) VALUES "
      "('00001', '2022-03-01', '0', 1200000, 0, 0, 1), ('00001', '2022-03-01', '2', 0, 0, 0, 0), "
      "('00001', '2022-12-31', '4', 0, 140000, 200000, 0), "
      "('00001', '2023-06-30', '6', 0, 0, 0, 0)");
  const auto list = [&](const char* menu) {
    for (const AssetOperation& op : WorkMenuOperations())
      if (op.menuCaption == QString::fromUtf8(menu)) {
        OnNextModal([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        RunAssetList(db.Db(), op, nullptr);
        return;
      }
    ADD_FAILURE() << menu;
  };
  const QString item = QStringLiteral(
      "SELECT CONCAT_WS(' ', BRUTTOCSOK, ECSCSOKK, ECSCSSZ, MENNYISEG, BRUTTO) FROM KARTTET "
      "WHERE TIPUS = '6'");
  list("Részleges selejtezés");
  EXPECT_EQ(Value(item), "0 0 0 0.00 0");
  list("&Eladás");
  EXPECT_EQ(Value(item), "1200000 140000 200000 -1.00 0");
  EXPECT_EQ(Value("SELECT CONCAT_WS(' ', MENNYISEG, ELADAS, SLEJTEZ) FROM KARTFEJ"),
            "0.00 2023-06-30 1900-01-01");
  EXPECT_TRUE(ui.Calls().isEmpty());

  db.Exec(
      "CREATE TRIGGER NOCLOSE BEFORE UPDATE ON KARTFEJ FOR EACH ROW SIGNAL SQLSTATE '45000' "
      "SET MESSAGE_TEXT = 'lezárt év'");
  list("&Selejtezés");
  ASSERT_EQ(ui.Calls().size(), 1);
  EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
  EXPECT_TRUE(ui.Calls()[0].text().contains(QString::fromUtf8("lezárt év")));
}

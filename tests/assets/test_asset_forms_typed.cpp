#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app_globals.h"
#include "application_frame.h"
#include "asset_commands.h"
#include "balance_recalc.h"
#include "date_edit.h"
#include "db_browser.h"
#include "db_date_edit.h"
#include "db_ftedit.h"
#include "edit_grid.h"
#include "form_db_browser.h"
#include "form_ecsszamito.h"
#include "form_fej.h"
#include "form_karttet.h"
#include "form_setup.h"
#include "gui_test_util.h"
#include "program_runner.h"
#include "scripted_ui.h"
#include "test_database.h"
#include "test_util.h"
#include "uni_sql_table.h"

namespace {

// The asset forms over a company database of the test's own, driven by keys and clicks. The
// report renderer is a real program that notes its arguments and ends, started through
// RunAndWait with the program's window hooks.
class AssetFormsTyped : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    db.Exec("INSERT INTO CEG (CEGNEV) VALUES ('Próba Kft.')");
    saved = Globals();
    Globals().UserDir = userDir.path() + "/";
    Globals().ProgramDir = programDir.path() + "/";
    Globals().CrTabMode = 2;
    WriteScript(programDir.path(), "Gravlen", "echo \"$@\" >> \"$0.runs\"\nexit 0");
    InstallFormEventFilter();
    InstallRunAndWaitWindowHooks();
  }
  void TearDown() override {
    SetRunAndWaitHooks({});
    Globals() = saved;
  }
  QString Value(const QString& sql) { return db.Value(sql); }
  QStringList RendererRuns() {
    const QString runs = programDir.filePath("Gravlen.runs");
    return QFile::exists(runs)
               ? QString::fromUtf8(ReadFileBytes(runs)).split('\n', Qt::SkipEmptyParts)
               : QStringList();
  }
  // The asset list of a main-menu operation; act works in it.
  void RunList(const QString& menuCaption, const std::function<void(TFormDBBrowser*)>& act) {
    QList<AssetOperation> ops = WorkMenuOperations();
    ops << SearchOperation();
    for (const AssetOperation& op : ops)
      if (op.menuCaption == menuCaption) {
        bool shown = false;
        OnNextModal([&](QWidget* w) {
          shown = true;
          act(static_cast<TFormDBBrowser*>(w));
          if (w->isVisible()) static_cast<QDialog*>(w)->reject();
        });
        RunAssetList(db.Db(), op, nullptr);
        EXPECT_TRUE(shown);
        return;
      }
    ADD_FAILURE() << menuCaption.toStdString();
  }
  // Clicks into an edit and types over what it shows.
  static void TypeOver(QLineEdit* edit, const QString& text) {
    QTest::mouseClick(edit, Qt::LeftButton);
    edit->selectAll();
    TypeText(edit, text);
  }
  static void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  // An asset bought on 2023.02.01 for 500 000; act works in the item form of a value increase
  // started from its list.
  void OnValueIncreaseItem(const std::function<void(TFormkarttet*)>& act) {
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT) VALUES ('00001', 'Eszterga', "
        "'2023-02-01')");
    db.Exec(
        "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, MENNYISEG, SZOVEG) VALUES "
        "('00001', '2023-02-01', '0', 500000, 1, 'beszerzés')");
    RecalcAllBalances(db.Db());
    RunList(QString::fromUtf8("&Érték növelés"), [&](TFormDBBrowser* list) {
      OnNextModal([&](QWidget* w) {
        auto* item = dynamic_cast<TFormkarttet*>(w);
        ASSERT_NE(item, nullptr);
        act(item);
      });
      Click(list->BtnExtra1);
    });
  }

  TestDatabase db;
  ScriptedUi ui;
  QTemporaryDir userDir, programDir;
  AppGlobals saved;
};

}  // namespace

// The run before a sale prints its list through the renderer, so the program is minimised and
// restored while the run form is open: the date typed there is the one the sale follows.
TEST_F(AssetFormsTyped, SaleFollowsThePreSaleRunThroughTheRenderer) {
  db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, MARERTEK) VALUES ('00001', 'Eszterga', 100000)");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, MENNYISEG) VALUES "
      "('00001', '2004-03-10', '0', 1000000, 2), ('00001', '2004-07-01', '2', 0, 0)");
  db.Exec("INSERT INTO KULCSOK VALUES ('00001', 2004, 14.5, 20), ('00001', 2005, 14.5, 20)");
  RecalcAllBalances(db.Db());
  QDate proposed;
  RunList(QString::fromUtf8("&Eladás"), [&](TFormDBBrowser* list) {
    OnNextModal([&](QWidget* w) {
      auto* run = dynamic_cast<TFormECSszamito*>(w);
      ASSERT_NE(run, nullptr);
      TypeOver(run->dateEdit1, "20050629");
      OnNextModal([&](QWidget* w2) {
        auto* item = dynamic_cast<TFormkarttet*>(w2);
        ASSERT_NE(item, nullptr);
        proposed = item->TableTETEL->FieldByName("DATUM")->AsDate();
        EXPECT_EQ(item->DBEDATUM->text(), "2005.06.30");
        Click(item->BtnOk);
      });
      PressKey(run->dateEdit1, Qt::Key_Return);
    });
    Click(list->BtnExtra1);
  });
  EXPECT_EQ(proposed, QDate(2005, 6, 30));
  EXPECT_EQ(Rows(db, "SELECT TIPUS, DATUM FROM KARTTET WHERE TIPUS IN ('4', '6') ORDER BY DATUM"),
            QStringList({"4|2005.06.29", "6|2005.06.30"}));
  ASSERT_EQ(RendererRuns().size(), 1);
  EXPECT_TRUE(RendererRuns()[0].startsWith(Globals().UserDir + "ECSSZAM.xml"));
}

// An impossible date typed into an item and OK: told in Hungarian, the form stays open with
// what was typed, nothing is stored; the date mended, the item is stored as typed.
TEST_F(AssetFormsTyped, ImpossibleItemDateKeepsTheFormOpenWithWhatWasTyped) {
  OnValueIncreaseItem([&](TFormkarttet* item) {
    TypeOver(item->DBESZOVEG, QString::fromUtf8("Csőcsatlakozás, kábel ÁTK-12"));
    TypeOver(item->DBEBRUTTONOV, "120000");
    TypeOver(item->DBEDATUM, "20240230");
    Click(item->BtnOk);
    ASSERT_EQ(ui.Calls().size(), 1);
    EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
    EXPECT_EQ(ui.Calls()[0].text(), QString::fromUtf8("'2024.02.30' nem érvényes dátum"));
    EXPECT_TRUE(item->isVisible());
    EXPECT_EQ(item->DBEDATUM->text(), "2024.02.30");
    EXPECT_EQ(item->DBESZOVEG->text(), QString::fromUtf8("Csőcsatlakozás, kábel ÁTK-12"));
    EXPECT_EQ(item->DBEBRUTTONOV->text(), "120 000.00");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTTET"), "1");
    TypeOver(item->DBEDATUM, "20240229");
    Click(item->BtnOk);
  });
  EXPECT_EQ(
      Rows(db, "SELECT TIPUS, DATUM, SZOVEG, BRUTTONOV, BRUTTO FROM KARTTET ORDER BY DATUM"),
      QStringList({"0|2023.02.01|beszerzés|500000|500000",
                   QString::fromUtf8("3|2024.02.29|Csőcsatlakozás, kábel ÁTK-12|120000|620000")}));
}

// A post the database refuses, in the item itself or in the card's recalculation after it,
// keeps the item form open with the item as typed; once the database takes it, OK stores it.
TEST_F(AssetFormsTyped, RefusedItemPostKeepsTheFormOpenWithWhatWasTyped) {
  const char* triggers[] = {
      "CREATE TRIGGER REFUSE BEFORE INSERT ON KARTTET FOR EACH ROW SIGNAL SQLSTATE '45000' SET "
      "MESSAGE_TEXT = 'lezárt időszak'",
      "CREATE TRIGGER REFUSE BEFORE UPDATE ON KARTFEJ FOR EACH ROW SIGNAL SQLSTATE '45000' SET "
      "MESSAGE_TEXT = 'lezárt időszak'",
  };
  for (const char* trigger : triggers) {
    SCOPED_TRACE(trigger);
    db.Exec("DELETE FROM KARTFEJ; DELETE FROM KARTTET");
    db.Exec(
        "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT) VALUES ('00001', 'Eszterga', "
        "'2023-02-01')");
    db.Exec(
        "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTO, MENNYISEG) VALUES "
        "('00001', '2023-02-01', '0', 500000, 500000, 1)");
    db.Exec(trigger);
    ui.Clear();
    RunList(QString::fromUtf8("&Érték növelés"), [&](TFormDBBrowser* list) {
      OnNextModal([&](QWidget* w) {
        auto* item = dynamic_cast<TFormkarttet*>(w);
        ASSERT_NE(item, nullptr);
        TypeOver(item->DBEDATUM, "20240610");
        TypeOver(item->DBESZOVEG, QString::fromUtf8("Új hűtőkör"));
        TypeOver(item->DBEBRUTTONOV, "80000");
        Click(item->BtnOk);
        ASSERT_FALSE(ui.Calls().isEmpty());
        EXPECT_EQ(ui.Calls().last().caption, "HIBA!");
        EXPECT_TRUE(ui.Calls().last().text().contains(QString::fromUtf8("lezárt időszak")));
        EXPECT_TRUE(item->isVisible());
        EXPECT_EQ(item->TableTETEL->State(), dsInsert);
        EXPECT_EQ(item->DBEDATUM->text(), "2024.06.10");
        EXPECT_EQ(item->DBESZOVEG->text(), QString::fromUtf8("Új hűtőkör"));
        EXPECT_EQ(item->DBEBRUTTONOV->text(), "80 000.00");
        EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTTET"), "1");
        db.Exec("DROP TRIGGER REFUSE");
        Click(item->BtnOk);
        EXPECT_FALSE(item->isVisible());
      });
      Click(list->BtnExtra1);
    });
    EXPECT_EQ(Rows(db, "SELECT DATUM, SZOVEG, BRUTTO FROM KARTTET WHERE TIPUS = '3'"),
              QStringList({QString::fromUtf8("2024.06.10|Új hűtőkör|580000")}));
  }
}

// Where Enter confirms, it records the item as the OK button does; F9 only works the row out
// and keeps the form open.
TEST_F(AssetFormsTyped, EnterRecordsTheItemWhileF9OnlyWorksItOut) {
  OnValueIncreaseItem([&](TFormkarttet* item) {
    TypeOver(item->DBEDATUM, "20240610");
    TypeOver(item->DBEBRUTTONOV, "80000");
    PressKey(item, Qt::Key_F9);
    EXPECT_TRUE(item->isVisible());
    EXPECT_EQ(item->DBEBRUTTO->text(), "580 000.00");
    EXPECT_EQ(Value("SELECT COUNT(*) FROM KARTTET"), "1");
    PressKey(item, Qt::Key_Return);
    EXPECT_FALSE(item->isVisible());
    if (item->isVisible()) item->reject();
  });
  EXPECT_EQ(Rows(db, "SELECT DATUM, BRUTTONOV, BRUTTO FROM KARTTET WHERE TIPUS = '3'"),
            QStringList({"2024.06.10|80000|580000"}));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('|').toStdString();
}

namespace {

// Three assets with lives and rates that pass the asset form's checks; the second has an
// activation item.
void ThreeAssets(TestDatabase& db) {
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, BESZERTEK, ELHASZN, ELHASZNA, TI) VALUES "
      "('00001', 'Eszterga', '2023-02-01', 1000, '2', '2', 'T'), "
      "('00002', 'Marógép', '2023-04-01', 2000, '2', '2', 'T'), "
      "('00003', 'Fúrógép', '2023-05-01', 3000, '2', '2', 'T')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, DATUM, TIPUS, BRUTTONOV, MENNYISEG, SZOVEG) VALUES "
      "('00001', '2023-02-01', '0', 1000, 1, 'beszerzés'), "
      "('00002', '2023-04-01', '0', 2000, 1, 'beszerzés'), "
      "('00002', '2023-05-01', '2', 0, 0, 'Aktiválás'), "
      "('00003', '2023-05-01', '0', 3000, 1, 'beszerzés')");
  for (const char* n : {"00001", "00002", "00003"})
    db.Exec(
        QString("INSERT INTO KULCSOK VALUES ('%1', 2023, 50, 50), ('%1', 2024, 50, 50)").arg(n));
  RecalcAllBalances(db.Db());
}

}  // namespace

// After a change through F4 is saved, or left with Esc, the list shows every row and stands on
// the changed one; "&Frissít" shows what another workstation added.
TEST_F(AssetFormsTyped, ListShowsItsRowsAfterTheAssetFormOnTheChangedRow) {
  ThreeAssets(db);
  RunList(QString::fromUtf8("Kere&sés"), [&](TFormDBBrowser* list) {
    PressKey(list->DBGrid, Qt::Key_Down);
    ASSERT_EQ(list->DataSet()->RecNo(), 2);
    OnNextModal([&](QWidget* w) {
      auto* asset = static_cast<TFormFej*>(w);
      TypeOver(asset->DBEMEGNEV, QString::fromUtf8("Csiszológép Kft"));
      Click(asset->BtnOk);
    });
    PressKey(list->DBGrid, Qt::Key_F4);
    // Back in the list, which the window system makes active again.
    QApplication::setActiveWindow(list);
    ASSERT_TRUE(QTest::qWaitForWindowActive(list));
    EXPECT_EQ(list->DataSet()->RecordCount(), 3);
    EXPECT_EQ(list->DBGrid->model()->rowCount(), 3);
    EXPECT_EQ(list->DataSet()->RecNo(), 2);
    EXPECT_EQ(list->DBGrid->currentIndex().row(), 1);
    EXPECT_EQ(list->DataSet()->FieldByName("MEGNEV")->AsString(),
              QString::fromUtf8("Csiszológép Kft"));

    OnNextModal([&](QWidget* w) {
      auto* asset = static_cast<TFormFej*>(w);
      TypeOver(asset->DBEMEGNEV, QString::fromUtf8("Elvetett név"));
      PressKey(asset, Qt::Key_Escape);
      if (asset->isVisible()) PressKey(asset, Qt::Key_Escape);
    });
    PressKey(list->DBGrid, Qt::Key_F4);
    QApplication::setActiveWindow(list);
    ASSERT_TRUE(QTest::qWaitForWindowActive(list));
    EXPECT_EQ(list->DBGrid->model()->rowCount(), 3);
    EXPECT_EQ(list->DataSet()->RecNo(), 2);
    EXPECT_EQ(list->DataSet()->FieldByName("MEGNEV")->AsString(),
              QString::fromUtf8("Csiszológép Kft"));

    db.Exec("INSERT INTO KARTFEJ (LELTSZAM, MEGNEV) VALUES ('00004', 'Présgép')");
    Click(list->Btnrefresh);
    EXPECT_EQ(list->DBGrid->model()->rowCount(), 4);
  });
  EXPECT_EQ(Rows(db, "SELECT MEGNEV FROM KARTFEJ ORDER BY LELTSZAM"),
            QStringList({"Eszterga", QString::fromUtf8("Csiszológép Kft"),
                         QString::fromUtf8("Fúrógép"), QString::fromUtf8("Présgép")}));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('|').toStdString();
}

// The item list of an asset being changed stores its items, but the asset's own unconfirmed
// edits wait for the asset form's OK: "&Bezárás" leaves the asset as it was, OK stores what was
// typed together with the dates the items give.
TEST_F(AssetFormsTyped, ItemListLeavesTheAssetsPendingEditsToItsOk) {
  ThreeAssets(db);
  for (const bool confirm : {false, true}) {
    SCOPED_TRACE(confirm ? "OK" : "Bezárás");
    RunList(QString::fromUtf8("Kere&sés"), [&](TFormDBBrowser* list) {
      PressKey(list->DBGrid, Qt::Key_Down);
      OnNextModal([&](QWidget* w) {
        auto* asset = static_cast<TFormFej*>(w);
        TypeOver(asset->DBEMEGNEV, QString::fromUtf8("Csiszológép"));
        TypeOver(asset->DBMEGJ1, QString::fromUtf8("Kék műhely"));
        OnNextModal([&](QWidget* items) {
          auto* itemList = static_cast<TFormDBBrowser*>(items);
          PressKey(itemList->DBGrid, Qt::Key_Down);  // the activation
          OnNextModal([&](QWidget* w2) {
            auto* item = static_cast<TFormkarttet*>(w2);
            TypeOver(item->DBEDATUM, confirm ? "20230610" : "20230601");
            Click(item->BtnOk);
          });
          PressKey(itemList->DBGrid, Qt::Key_F4);
          itemList->reject();
        });
        Click(asset->BtnTetelek);
        EXPECT_EQ(Value("SELECT MEGNEV FROM KARTFEJ WHERE LELTSZAM = '00002'"),
                  QString::fromUtf8("Marógép"));
        EXPECT_EQ(asset->DBEMEGNEV->text(), QString::fromUtf8("Csiszológép"));
        EXPECT_EQ(asset->DBEAKTKELT->text(), confirm ? "2023.06.10" : "2023.06.01");
        Click(confirm ? asset->BtnOk : asset->BtnBezar);
        EXPECT_FALSE(asset->isVisible());
      });
      PressKey(list->DBGrid, Qt::Key_F4);
    });
    EXPECT_EQ(Rows(db, "SELECT MEGNEV, MEGJ1, AKTKELT FROM KARTFEJ WHERE LELTSZAM = '00002'"),
              QStringList({confirm ? QString::fromUtf8("Csiszológép|Kék műhely|2023.06.10")
                                   : QString::fromUtf8("Marógép||2023.06.01")}));
  }
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('|').toStdString();
}

// An asset only looked at shows its items and closes with OK: nothing of it is being edited.
TEST_F(AssetFormsTyped, AssetLookedAtShowsItsItemsAndClosesWithOk) {
  ThreeAssets(db);
  QString title;
  RunList(QString::fromUtf8("Kere&sés"), [&](TFormDBBrowser* list) {
    PressKey(list->DBGrid, Qt::Key_Down);
    OnNextModal([&](QWidget* w) {
      auto* asset = static_cast<TFormFej*>(w);
      OnNextModal([&](QWidget* items) {
        title = items->windowTitle();
        static_cast<QDialog*>(items)->reject();
      });
      Click(asset->BtnTetelek);
      Click(asset->BtnOk);
      EXPECT_FALSE(asset->isVisible());
    });
    Click(list->BtnSay);
  });
  EXPECT_EQ(title, QString::fromUtf8("00002 Marógép Tételek (LEKÉRDEZÉS)"));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join('|').toStdString();
}

// A rate typed in a row without a year stops the OK with the row's number, the grid keeping
// the focus; nothing is stored.
TEST_F(AssetFormsTyped, RateWithoutYearStopsTheOk) {
  ui.Answer(false).Answer(mbNo);  // not activated now, no further asset
  OnNextModal([&](QWidget* w) {
    auto* asset = dynamic_cast<TFormFej*>(w);
    ASSERT_NE(asset, nullptr);
    TypeOver(asset->DBEMEGNEV, QString::fromUtf8("Kompresszor"));
    TypeOver(asset->DBEBESZKELT, "20240115");
    TypeOver(asset->DBEBESZERTEK, "400000");
    TypeOver(asset->DBEELHASZNA, "2");
    TypeOver(asset->DBEELHASZNSZ, "2");
    QLineEdit* rate = static_cast<QLineEdit*>(asset->Grid()->Cell(3, 1));
    TypeOver(rate, "10");
    Click(asset->BtnOk);
    ASSERT_EQ(ui.Calls().size(), 1);
    EXPECT_EQ(ui.Calls()[0].caption, "HIBA!");
    EXPECT_EQ(ui.Calls()[0].text(),
              QString::fromUtf8("Hiányzik az év a leírási kulcsok 4. sorában!"));
    EXPECT_TRUE(asset->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), asset->Grid()->Cell(3, 0));
    // The row taken away again, the asset is stored with the rates from its lives.
    TypeOver(rate, "0");
    Click(asset->BtnOk);
    EXPECT_FALSE(asset->isVisible());
  });
  NewAssetLoop(db.Db(), nullptr);
  EXPECT_EQ(Rows(db, "SELECT EV, KULCS, KULCSSZ FROM KULCSOK ORDER BY EV"),
            QStringList({"2024|50|50", "2025|50|50", "2026|50|50"}));
}

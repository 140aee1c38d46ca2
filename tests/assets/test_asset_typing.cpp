#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QScrollArea>
#include <QTest>

#include "app_globals.h"
#include "asset_commands.h"
#include "asset_rules.h"
#include "db_browser.h"
#include "db_date_edit.h"
#include "edit_grid.h"
#include "form_calculator.h"
#include "form_fej.h"
#include "form_karttet.h"
#include "form_setup.h"
#include "form_uzeno.h"
#include "gui_test_util.h"
#include "qt_ui_services.h"
#include "test_database.h"
#include "test_util.h"

namespace {

// The asset forms driven from the keyboard alone, with the program's own message dialogs and
// window handling: every answer is a key press.
class AssetTyping : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(db.Ok());
    db.CreateCompanyTables();
    saved = Globals();
    InstallFormEventFilter();
    previousUi = SetUi(&ui);
  }
  void TearDown() override {
    SetUi(previousUi);
    Globals() = saved;
  }
  // The key that moves to the next field: Enter in Enter-moves-on mode, else Tab.
  static void Next(QWidget* form) {
    PressKey(form, Globals().CrTabMode == 1 ? Qt::Key_Return : Qt::Key_Tab);
  }
  // Types text into the focused field, then moves on.
  static void Field(QWidget* form, const QString& text) {
    TypeText(form, text);
    Next(form);
  }

  TestDatabase db;
  QtUiServices ui;
  UiServices* previousUi = nullptr;
  AppGlobals saved;
};

}  // namespace

// A whole asset typed field by field, moving on with Enter (Enter-moves-on mode) or Tab, the
// value from the calculator, F9 to confirm, "Igen" to the activation, "Nem" to another asset,
// all by keyboard.
TEST_F(AssetTyping, AnAssetTypedFieldByFieldIsStoredAsTyped) {
  for (int mode : {1, 2}) {
    Globals().CrTabMode = mode;
    db.Exec("DELETE FROM KARTFEJ; DELETE FROM KARTTET; DELETE FROM KULCSOK");
    const QString name = QString::fromUtf8("Ékszer-csiszoló gép 2k");
    const QString maker = QString::fromUtf8("Csepel Művek Kft.");
    const QString remark = QString::fromUtf8("Csak kézi kezelés, 2 kulcs.");
    bool calculatorUsed = false, activationAsked = false, itemShown = false, anotherAsked = false;
    QStringList proposedRates;
    OnNextModal([&](QWidget* w) {
      auto* form = dynamic_cast<TFormFej*>(w);
      ASSERT_TRUE(form);
      Next(form);  // the offered number stays
      Field(form, name);
      Field(form, maker);
      Field(form, QString::fromUtf8("KÖ-12c"));
      Field(form, QString::fromUtf8("ÁK-2024/1"));
      Next(form);  // tangible, as offered
      Field(form, "2024.03.15");
      Next(form);  // one piece
      Field(form, "Sz-12/k");
      OnNextModal([&](QWidget* c) {
        auto* calculator = dynamic_cast<TFormCalculator*>(c);
        ASSERT_TRUE(calculator);
        calculatorUsed = true;
        TypeText(calculator, "2500*2=b");
      });
      TypeText(form, "k");
      Next(form);
      Field(form, "300");
      Field(form, "7");
      Field(form, "5");
      Field(form, QString::fromUtf8("Kőkút 1"));
      Field(form, remark);
      Field(form, "1611");
      Field(form, "1612");
      Field(form, "5711");
      Field(form, "1711");
      // The rate grid comes after the accounts, with its proposed rates.
      EXPECT_EQ(QApplication::focusWidget(), form->Grid()->Cell(0, 0));
      // Deep into the grid the focused cell is scrolled into view.
      for (int i = 0; i < 64; ++i) Next(form);
      QWidget* deep = QApplication::focusWidget();
      QWidget* view = form->ScrollBox2->viewport();
      EXPECT_TRUE(view->rect().contains(deep->mapTo(view, deep->rect().center())));
      for (const RateCells& row : form->RateRows())
        proposedRates << row.year + " " + row.tax + " " + row.acc;
      OnNextModal([&](QWidget* q) {
        auto* question = dynamic_cast<TFormUzeno*>(q);
        ASSERT_TRUE(question);
        activationAsked = question->Lines().value(0) == QString::fromUtf8("Akarja most aktiválni?");
        OnNextModal([&](QWidget* i) {
          auto* item = dynamic_cast<TFormkarttet*>(i);
          ASSERT_TRUE(item);
          itemShown = item->DBEDATUM->text() == "2024.03.15";
          OnNextModal([&](QWidget* m) {
            auto* box = dynamic_cast<QMessageBox*>(m);
            ASSERT_TRUE(box);
            anotherAsked = box->text() == QString::fromUtf8("Kíván újabb tételt rögzíteni?");
            TypeText(box, "n");
          });
          PressKey(item, Qt::Key_R, Qt::AltModifier);
        });
        TypeText(question, "i");
      });
      PressKey(form, Qt::Key_F9);
    });
    NewAssetLoop(db.Db(), nullptr);
    SCOPED_TRACE(mode);
    EXPECT_TRUE(calculatorUsed);
    EXPECT_TRUE(activationAsked);
    EXPECT_TRUE(itemShown);
    EXPECT_TRUE(anotherAsked);
    EXPECT_EQ(proposedRates,
              QStringList({"2024 14.5 20", "2025 14.5 20", "2026 14.5 20", "2027 14.5 20",
                           "2028 14.5 20", "2029 14.5 20", "2030 14.5 0", "2031 14.5 0"}));
    EXPECT_EQ(Rows(db,
                   "SELECT LELTSZAM, MEGNEV, GYARTO, TIPUS, GYARISZ, TI, BESZKELT, BESZERTEK, "
                   "MARERTEK, ELHASZNA, ELHASZN, KOLTSHELY, MEGJ1, FKSZSZAM, FKSZAKTEL, "
                   "FKSZSZAMECS, FKSZECSKLTG, AKTKELT FROM KARTFEJ"),
              QStringList({QString::fromUtf8("00001|Ékszer-csiszoló gép 2k|Csepel Művek Kft.|"
                                             "KÖ-12c|ÁK-2024/1|T|2024.03.15|5000|300|7|5|Kőkút 1|"
                                             "Csak kézi kezelés, 2 kulcs.|1611|1612|5711|1711|"
                                             "2024.03.15")}));
    EXPECT_EQ(Rows(db,
                   "SELECT TIPUS, DATUM, BIZSZAM, BRUTTO, MENNYISEG FROM KARTTET ORDER BY "
                   "SORSZAM"),
              QStringList({"0|2024.03.15|Sz-12/k|5000|1", "2|2024.03.15||5000|0"}));
    EXPECT_EQ(Rows(db, "SELECT EV, KULCS, KULCSSZ FROM KULCSOK ORDER BY EV"),
              QStringList({"2024|14.5|20", "2025|14.5|20", "2026|14.5|20", "2027|14.5|20",
                           "2028|14.5|20", "2029|14.5|20", "2030|14.5|0", "2031|14.5|0"}));
  }
}

// A value increase typed into the item form, field after field with Tab: the date, a document
// number and a text with "c", "k" and accented capitals, the amount; "&Rendben" by its letter.
TEST_F(AssetTyping, AnItemTypedFieldByFieldIsStoredAsTyped) {
  Globals().CrTabMode = 2;
  db.Exec(
      "INSERT INTO KARTFEJ (LELTSZAM, MEGNEV, BESZKELT, BESZERTEK, AKTKELT) VALUES "
      "('00001', 'Eszterga', '2024-03-15', 5000, '2024-03-15')");
  db.Exec(
      "INSERT INTO KARTTET (LELTSZAM, SORSZAM, DATUM, TIPUS, BRUTTONOV, BRUTTO, MENNYISEG) "
      "VALUES ('00001', 1, '2024-03-15', '0', 5000, 5000, 1), "
      "('00001', 2, '2024-03-15', '2', 0, 5000, 0)");
  TFormFej form(db.Db());
  form.ActionCode = QLatin1Char('3');
  form.DBBrowser1->Extra1 = QString::fromUtf8("&Érték.növelés");
  form.OpenTable();
  const QString text = QString::fromUtf8("Érték növelés Ékszer 2k");
  bool typed = false;
  OnNextModal([&](QWidget* w) {
    auto* item = dynamic_cast<TFormkarttet*>(w);
    ASSERT_TRUE(item);
    EXPECT_TRUE(item->DBEDATUM->hasFocus());
    Field(item, "2024.09.01");
    Field(item, QString::fromUtf8("Cs-12/k Ő"));
    Field(item, text);
    Next(item);  // no change of quantity
    Field(item, "300000");
    typed = QApplication::activeModalWidget() == item;
    PressKey(item, Qt::Key_R, Qt::AltModifier);
  });
  form.StartItemAction();
  EXPECT_TRUE(typed);
  EXPECT_EQ(Rows(db,
                 "SELECT DATUM, TIPUS, BIZSZAM, SZOVEG, BRUTTONOV, BRUTTO FROM KARTTET "
                 "WHERE TIPUS = '3'"),
            QStringList({QString::fromUtf8("2024.09.01|3|Cs-12/k Ő|") + text + "|300000|305000"}));
}

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "app_globals.h"
#include "asset_commands.h"
#include "asset_rules.h"
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
  static void Enter(QWidget* form) { PressKey(form, Qt::Key_Return); }
  // Types text into the focused field, then Enter.
  static void Field(QWidget* form, const QString& text) {
    TypeText(form, text);
    Enter(form);
  }

  TestDatabase db;
  QtUiServices ui;
  UiServices* previousUi = nullptr;
  AppGlobals saved;
};

}  // namespace

// Enter moves on, F9 confirms: a whole asset typed field by field, the value from the
// calculator, "Igen" to the activation, "Nem" to another asset, all by keyboard.
TEST_F(AssetTyping, AnAssetTypedInEnterModeIsStoredAsTyped) {
  Globals().CrTabMode = 1;
  const QString name = QString::fromUtf8("Ékszer-csiszoló gép 2k");
  const QString maker = QString::fromUtf8("Csepel Művek Kft.");
  const QString remark = QString::fromUtf8("Csak kézi kezelés, 2 kulcs.");
  bool calculatorUsed = false, activationAsked = false, itemShown = false, anotherAsked = false;
  QStringList proposedRates;
  OnNextModal([&](QWidget* w) {
    auto* form = dynamic_cast<TFormFej*>(w);
    ASSERT_TRUE(form);
    Enter(form);  // the offered number stays
    Field(form, name);
    Field(form, maker);
    Field(form, QString::fromUtf8("KÖ-12c"));
    Field(form, QString::fromUtf8("ÁK-2024/1"));
    Enter(form);  // tangible, as offered
    Field(form, "2024.03.15");
    Enter(form);  // one piece
    Field(form, "Sz-12/k");
    OnNextModal([&](QWidget* c) {
      auto* calculator = dynamic_cast<TFormCalculator*>(c);
      ASSERT_TRUE(calculator);
      calculatorUsed = true;
      TypeText(calculator, "2500*2=b");
    });
    TypeText(form, "k");
    Enter(form);
    Field(form, "300");
    Field(form, "7");
    Field(form, "5");
    Field(form, QString::fromUtf8("Kőkút 1"));
    Field(form, remark);
    Field(form, "1611");
    Field(form, "1612");
    Field(form, "5711");
    Field(form, "1711");
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

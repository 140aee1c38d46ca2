#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "app_globals.h"
#include "date_edit.h"
#include "form_felad.h"
#include "form_felad_kh.h"
#include "form_karton_nyomt.h"
#include "form_leltlis.h"
#include "form_leltliskoltsh.h"
#include "form_osszes1.h"
#include "gui_test_util.h"
#include "listing_fixture.h"
#include "report_renderer.h"
#include "test_util.h"

namespace {

class ListingForms : public ::testing::Test, public ListingFixture {
 protected:
  void SetUp() override {
    saved = Globals();
    Globals().UserDir = UserDir();
    Globals().LogonUserName = "proba";
    Globals().ProgramDir = BinDir() + "/";  // where the renderer is
    savedRun = SetRendererRunAndWait([this](const QString&, const QStringList& arguments) {
      renderer.append(arguments.value(0).section('/', -1));
      return true;
    });
  }
  void TearDown() override {
    SetRendererRunAndWait(savedRun);
    Globals() = saved;
  }

  AppGlobals saved;
  TRunAndWait savedRun;
  QStringList renderer;
};

TEST_F(ListingForms, InventoryListFillsItsDefaultsOnceAndPrints) {
  TFormLeltlis form(db.Db());
  form.show();
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Leltár lista"));
  EXPECT_EQ(form.LabelCegNev->text(), QString::fromUtf8("Próba Kft."));
  EXPECT_EQ(form.EditTol->text(), "00001");
  EXPECT_EQ(form.EditIg->text(), "00004");
  EXPECT_EQ(form.dateEdittol->Value(), QDate::currentDate().addDays(-365));
  EXPECT_EQ(form.dateEditig->Value(), QDate::currentDate());
  // What was typed stays when the dialog shows again (after the renderer or a message).
  form.EditIg->setText("00002");
  form.hide();
  form.show();
  EXPECT_EQ(form.EditIg->text(), "00002");

  form.dateEdittol->SetValue(QDate(2000, 1, 1));
  form.dateEditig->SetValue(QDate(2023, 12, 31));
  form.CbCsakAmiVan->setChecked(true);
  form.BtnStart->click();
  EXPECT_EQ(renderer, QStringList({"leltszamlist.xml"}));
  EXPECT_EQ(Values("leltszamlist", "WField1"), QStringList({"00001", "00002"}));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join("\n").toStdString();
}

TEST_F(ListingForms, CostLocationListIsChosenOnlyForOneLocation) {
  TFormLeltliskoltsh form(db.Db());
  form.FormActivate();
  EXPECT_EQ(form.CBKoltsH->count(), 2);
  EXPECT_FALSE(form.CBKoltsH->isEnabled());
  form.RGKoltsH->SetItemIndex(1);
  EXPECT_TRUE(form.CBKoltsH->isEnabled());
  form.CBKoltsH->setCurrentText("K02");
  form.dateEdittol->SetValue(QDate(2000, 1, 1));
  form.BtnStart->click();
  EXPECT_EQ(renderer, QStringList({"leltliskltsh.xml"}));
  EXPECT_EQ(Values("leltliskltsh", "WField1"), QStringList({"00002", "00003"}));
  form.RGKoltsH->SetItemIndex(0);
  EXPECT_FALSE(form.CBKoltsH->isEnabled());
}

TEST_F(ListingForms, CardPrintRefusesAReversedRangeAndSaysWhenNothingIsSelected) {
  TFormKartonNyomt form(db.Db());
  form.FormActivate();
  EXPECT_EQ(form.dateEdit1->Value(), QDate::currentDate().addDays(-3650));
  form.Edittol->setText("00004");
  form.Editig->setText("00001");
  form.BtnOK->click();
  form.Edittol->setText("09998");
  form.Editig->setText("09999");
  form.BtnOK->click();
  EXPECT_EQ(ui.Texts(),
            QStringList({QString::fromUtf8("A kezdő leltári szám nagyobb, mint a végérték!"),
                         QString::fromUtf8("A kiválasztott lekérdezés nem tartalmaz adatokat!")}));
  ASSERT_EQ(ui.Calls().size(), 2);
  EXPECT_EQ(ui.Calls()[0].caption, "Hiba");
  EXPECT_TRUE(renderer.isEmpty());

  form.Edittol->setText("00001");
  form.Editig->setText("00004");
  form.dateEdittol->SetValue(QDate(2000, 1, 1));
  form.dateEdit1->SetValue(QDate(2000, 1, 1));
  form.dateEdit2->SetValue(QDate(2023, 12, 31));
  form.RadioGroup->SetItemIndex(1);
  form.BtnOK->click();
  EXPECT_EQ(renderer, QStringList({"ZARNKARTON.xml"}));
  EXPECT_TRUE(Data("ZARNKARTON").contains("WField42=892 000.00"));
}

TEST_F(ListingForms, PostingListRefusesAReversedPeriod) {
  TFormFelad form(db.Db());
  form.FormActivate();
  EXPECT_EQ(form.windowTitle(), QString::fromUtf8("Eszköznyilvántartó karton"));
  EXPECT_EQ(form.dateEdittol->Value(), QDate(QDate::currentDate().year(), 1, 1));
  form.dateEdittol->SetValue(QDate(2023, 12, 31));
  form.dateEditig->SetValue(QDate(2023, 1, 1));
  form.BtnOK->click();
  EXPECT_EQ(ui.Texts(),
            QStringList({QString::fromUtf8("A kezdő dátum nagyobb, mint a végérték!")}));
  EXPECT_EQ(form.dateEdittol->Value(), QDate(QDate::currentDate().year(), 1, 1));
  EXPECT_TRUE(renderer.isEmpty());

  // A period of one day is accepted.
  form.dateEdittol->SetValue(QDate(2023, 12, 31));
  form.dateEditig->SetValue(QDate(2023, 12, 31));
  form.BtnOK->click();
  EXPECT_EQ(renderer, QStringList({"ZARNKARTON.xml"}));

  TFormFeladKh kh(db.Db());
  kh.FormActivate();
  kh.dateEdittol->SetValue(QDate(2023, 1, 1));
  kh.dateEditig->SetValue(QDate(2023, 12, 31));
  kh.BtnOK->click();
  EXPECT_EQ(renderer.last(), "ZARNFELADKH.xml");
}

TEST_F(ListingForms, SummaryTakesTheYearAndTheBroughtForwardChoice) {
  TFormOsszes1 form(db.Db());
  form.FormActivate();
  EXPECT_EQ(form.EditEv->text(), QString::number(QDate::currentDate().year()));
  EXPECT_TRUE(form.CbDat3->isChecked());
  form.EditEv->setText("2023");
  form.CbDat3->setChecked(false);
  form.BtnOK->click();
  EXPECT_EQ(renderer, QStringList({"ZARNOSSZES.xml"}));
  EXPECT_EQ(Values("ZARNOSSZES", "WFSumossz"), QStringList({"-465 000.00"}));
}

}  // namespace

namespace {

// The inputs typed key by key, moving on with Enter (Enter-moves-on mode): the inventory range,
// the acquisition dates, and a cost location with "Cs", "c", "k", an accented capital and
// digits; F9 starts the list.
TEST_F(ListingForms, TypedInputsSelectTheListedAssets) {
  Globals().CrTabMode = 1;
  const QString place = QString::fromUtf8("Csóc É2k");
  db.Exec(QString::fromUtf8(
      "UPDATE KARTFEJ SET KOLTSHELY = 'Csóc É2k' WHERE LELTSZAM IN ('00002', '00003')"));
  TFormLeltliskoltsh form(db.Db());
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
  ASSERT_TRUE(form.EditTol->hasFocus());
  for (const char* typed : {"00002", "00004", "2020.01.01", "2024.12.31"}) {
    TypeText(&form, QString::fromLatin1(typed));
    PressKey(&form, Qt::Key_Return);
  }
  EXPECT_TRUE(renderer.isEmpty());  // Enter only moved on
  form.RGKoltsH->findChildren<QRadioButton*>().value(1)->click();
  form.CBKoltsH->setFocus(Qt::MouseFocusReason);
  form.CBKoltsH->lineEdit()->selectAll();
  TypeText(&form, place);
  EXPECT_EQ(form.CBKoltsH->currentText(), place);
  PressKey(&form, Qt::Key_F9);
  EXPECT_EQ(renderer, QStringList({"leltliskltsh.xml"}));
  EXPECT_EQ(Values("leltliskltsh", "WField1"), QStringList({"00002", "00003"}));
  EXPECT_TRUE(ui.Calls().isEmpty()) << ui.Texts().join("\n").toStdString();
}

}  // namespace

#include "form_karton_nyomt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app_globals.h"
#include "date_edit.h"
#include "ui_services.h"

TFormKartonNyomt::TFormKartonNyomt(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormKartonNyomt"),
                     QStringLiteral("Eszköznyilvántartó karton"), 4010, parent) {
  AddAssetRange(QStringLiteral("Edittol"), QStringLiteral("Editig"), Edittol, Editig, dateEdittol,
                dateEditig);
  dateEdit1 = AddDate(QStringLiteral("dateEdit1"), QStringLiteral("Listázandó időszak:"));
  dateEdit2 = AddDate(QStringLiteral("dateEdit2"), {}, 2);
  NextRow();
  dateEditLista = AddDate(QStringLiteral("dateEditLista"), QStringLiteral("Lista kelte:"));
  NextRow();
  cbElo = AddCheck(QStringLiteral("cbElo"),
                   QStringLiteral("Csak ami még a vállalkozás tulajdonában van"));
  RadioGroup = AddValuation();
  BtnOK = AddButtons(
      QStringLiteral("BtnOK"), QStringLiteral("&Rendben"), [this] { BtnOKClick(); }, &BtnMegsem);
}

void TFormKartonNyomt::FormActivate() {
  FillCompany(QStringLiteral("select CEGNEV from CEG"));
  FillRange(Edittol, Editig, dateEdittol, dateEditig, 3650);
  const QDate today = QDate::currentDate();
  dateEdit1->SetValue(today.addDays(-3650));
  dateEdit2->SetValue(today);
  dateEditLista->SetValue(today);
  Edittol->setFocus();
}

void TFormKartonNyomt::BtnOKClick() {
  // Inventory numbers compare as text, as the query compares them.
  if (Edittol->text() > Editig->text()) {
    Ui().MessageBox(QStringLiteral("A kezdő leltári szám nagyobb, mint a végérték!"),
                    QStringLiteral("Hiba"), MsgType::Error);
    Edittol->selectAll();
    Edittol->setFocus();
    return;
  }
  TKartonInput input;
  input.Range = {Edittol->text(), Editig->text(), dateEdittol->Value(), dateEditig->Value()};
  input.TetelTol = dateEdit1->Value();
  input.TetelIg = dateEdit2->Value();
  input.ListaKelte = dateEditLista->Value();
  input.CsakElo = cbElo->isChecked();
  input.Valuation = RadioGroup->ItemIndex();
  RunListing([&] { return WriteKartonNyomtReport(m_database, input, Globals().UserDir); },
             QStringLiteral("ZARNKARTON"));
}

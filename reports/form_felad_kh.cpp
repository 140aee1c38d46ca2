#include "form_felad_kh.h"

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

TFormFeladKh::TFormFeladKh(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormFeladKh"),
                     QStringLiteral("Költséghelyes könyvelési feladás"), 4080, parent) {
  dateEdittol = AddDate(QStringLiteral("dateEdittol"), QStringLiteral("Időszak:"));
  dateEditig = AddDate(QStringLiteral("dateEditig"), {}, 2);
  NextRow();
  RadioGroup = AddValuation();
  AddCostLocation(RGKoltsH, CBKoltsH);
  BtnOK = AddButtons(
      QStringLiteral("BtnOK"), QStringLiteral("&Rendben"), [this] { BtnOKClick(); }, &BtnMegsem);
}

void TFormFeladKh::FormActivate() {
  FillCompany(QStringLiteral("select CEGNEV from CEG"));
  dateEdittol->SetValue(QDate(QDate::currentDate().year(), 1, 1));
  dateEditig->SetValue(QDate::currentDate());
  FillCostLocations(CBKoltsH);
  dateEdittol->setFocus();
}

void TFormFeladKh::BtnOKClick() {
  if (!PeriodOk(dateEdittol, dateEditig)) return;
  TFeladInput input;
  input.DatumTol = dateEdittol->Value();
  input.DatumIg = dateEditig->Value();
  input.Valuation = RadioGroup->ItemIndex();
  input.CostLocation = CostLocation(RGKoltsH, CBKoltsH);
  RunListing([&] { return WriteFeladKhReport(m_database, input, Globals().UserDir); },
             QStringLiteral("ZARNFELADKH"));
}

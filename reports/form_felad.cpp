#include "form_felad.h"

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

TFormFelad::TFormFelad(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormFelad"),
                     QStringLiteral("Eszköznyilvántartó karton"), 4020, parent) {
  LabelCim = new QLabel(QStringLiteral("Eszköz nyilvántartás könyvelési feladás"), this);
  LabelCim->setObjectName(QStringLiteral("LabelCim"));
  m_grid->addWidget(LabelCim, m_row++, 0, 1, 3);
  dateEdittol = AddDate(QStringLiteral("dateEdittol"), QStringLiteral("Időszak:"));
  dateEditig = AddDate(QStringLiteral("dateEditig"), {}, 2);
  NextRow();
  RadioGroup = AddValuation();
  DETabloKelte = AddDate(QStringLiteral("DETabloKelte"), QStringLiteral("Lista kelte:"));
  NextRow();
  BtnOK = AddButtons(
      QStringLiteral("BtnOK"), QStringLiteral("&Rendben"), [this] { BtnOKClick(); }, &BtnMegsem);
}

void TFormFelad::FormActivate() {
  FillCompany(QStringLiteral("select CEGNEV from CEG"));
  dateEdittol->SetValue(QDate(QDate::currentDate().year(), 1, 1));
  dateEditig->SetValue(QDate::currentDate());
  DETabloKelte->SetValue(QDate::currentDate());
  dateEdittol->setFocus();
}

void TFormFelad::BtnOKClick() {
  if (!PeriodOk(dateEdittol, dateEditig)) return;
  TFeladInput input;
  input.DatumTol = dateEdittol->Value();
  input.DatumIg = dateEditig->Value();
  input.Valuation = RadioGroup->ItemIndex();
  input.ListaKelte = DETabloKelte->Value();
  RunListing([&] { return WriteFeladReport(m_database, input, Globals().UserDir); },
             QStringLiteral("ZARNKARTON"));
}

#include "form_osszes1.h"

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

TFormOsszes1::TFormOsszes1(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormOsszes1"),
                     QStringLiteral("Tárgyi eszköz/immateriális javak összesitő"), 4050, parent) {
  EditEv = AddEdit(QStringLiteral("EditEv"), QStringLiteral("Év:"));
  NextRow();
  DETablokelte = AddDate(QStringLiteral("DETablokelte"), QStringLiteral("Lista kelte:"));
  NextRow();
  CbDat3 = AddCheck(QStringLiteral("CbDat3"), QStringLiteral("Áthozat is szerepeljen"));
  CbDat3->setChecked(true);
  BtnOK = AddButtons(
      QStringLiteral("BtnOK"), QStringLiteral("&Rendben"), [this] { BtnOKClick(); }, &BtnMegsem);
}

void TFormOsszes1::FormActivate() {
  FillCompany(QStringLiteral("SELECT CEGNEV FROM CEG"));
  EditEv->setText(QDate::currentDate().toString(QStringLiteral("yyyy")));
  DETablokelte->SetValue(QDate::currentDate());
  EditEv->setFocus();
}

void TFormOsszes1::BtnOKClick() {
  const TOsszesInput input{EditEv->text().trimmed(), DETablokelte->Value(), CbDat3->isChecked()};
  if (!Run([&] {
        WriteOsszesReport(m_database, input, Globals().LogonUserName, Globals().UserDir);
      }))
    return;
  Show(QStringLiteral("ZARNOSSZES"));
}

#include "form_leltlis.h"

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

TFormLeltlis::TFormLeltlis(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormLeltlis"), QStringLiteral("Leltár lista"), 4030,
                     parent) {
  AddAssetRange(QStringLiteral("EditTol"), QStringLiteral("EditIg"), EditTol, EditIg, dateEdittol,
                dateEditig);
  CBcsakNulla = AddCheck(QStringLiteral("CBcsakNulla"), QStringLiteral("Csak a nullára irtakról"));
  CbCsakAmiVan = AddCheck(QStringLiteral("CbCsakAmiVan"),
                          QStringLiteral("Csak ami jelenleg  a vállalkozás tulajdonában van."));
  BtnStart = AddButtons(
      QStringLiteral("BtnStart"), QStringLiteral("&Start"), [this] { BtnStartClick(); },
      &BtnMegsem);
}

void TFormLeltlis::FormActivate() {
  FillCompany(QStringLiteral("SELECT CEGNEV FROM CEG"));
  FillRange(EditTol, EditIg, dateEdittol, dateEditig);
  EditTol->setFocus();
}

void TFormLeltlis::BtnStartClick() {
  const TAssetRange range{EditTol->text(), EditIg->text(), dateEdittol->Value(),
                          dateEditig->Value()};
  if (!Run([&] {
        WriteLeltlisReport(m_database, range, CBcsakNulla->isChecked(), CbCsakAmiVan->isChecked(),
                           Globals().LogonUserName, Globals().UserDir);
      }))
    return;
  Show(QStringLiteral("leltszamlist"));
}

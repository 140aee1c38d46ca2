#include "form_leltliskoltsh.h"

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

TFormLeltliskoltsh::TFormLeltliskoltsh(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormLeltliskoltsh"),
                     QStringLiteral("Költséghelyes leltár lista"), 4070, parent) {
  EditTol = AddEdit(QStringLiteral("EditTol"), QStringLiteral("Leltári szám:"));
  EditIg = AddEdit(QStringLiteral("EditIg"), {}, 2);
  NextRow();
  dateEdittol = AddDate(QStringLiteral("dateEdittol"), QStringLiteral("Beszerzés:"));
  dateEditig = AddDate(QStringLiteral("dateEditig"), {}, 2);
  NextRow();
  AddCostLocation(RGKoltsH, CBKoltsH);
  BtnStart = AddButtons(QStringLiteral("BtnStart"), QStringLiteral("&Start"), [this] { BtnStartClick(); },
                        &BtnMegsem);
}

void TFormLeltliskoltsh::FormActivate() {
  FillCompany(QStringLiteral("SELECT CEGNEV FROM CEG"));
  FillRange(EditTol, EditIg);
  dateEdittol->SetValue(QDate::currentDate().addDays(-365));
  dateEditig->SetValue(QDate::currentDate());
  FillCostLocations(CBKoltsH);
  EditTol->setFocus();
}

void TFormLeltliskoltsh::BtnStartClick() {
  const TAssetRange range{EditTol->text(), EditIg->text(), dateEdittol->Value(), dateEditig->Value()};
  if (!Run([&] {
        WriteLeltliskoltshReport(m_database, range, CostLocation(RGKoltsH, CBKoltsH), Globals().UserDir);
      }))
    return;
  Show(QStringLiteral("leltliskltsh"));
}

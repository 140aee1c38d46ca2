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
  AddAssetRange(QStringLiteral("EditTol"), QStringLiteral("EditIg"), EditTol, EditIg, dateEdittol,
                dateEditig);
  AddCostLocation(RGKoltsH, CBKoltsH);
  BtnStart = AddButtons(
      QStringLiteral("BtnStart"), QStringLiteral("&Start"), [this] { BtnStartClick(); },
      &BtnMegsem);
}

void TFormLeltliskoltsh::FormActivate() {
  FillCompany(QStringLiteral("SELECT CEGNEV FROM CEG"));
  FillRange(EditTol, EditIg, dateEdittol, dateEditig);
  FillCostLocations(CBKoltsH);
  EditTol->setFocus();
}

void TFormLeltliskoltsh::BtnStartClick() {
  const TAssetRange range{EditTol->text(), EditIg->text(), dateEdittol->Value(),
                          dateEditig->Value()};
  if (!Run([&] {
        WriteLeltliskoltshReport(m_database, range, CostLocation(RGKoltsH, CBKoltsH),
                                 Globals().UserDir);
      }))
    return;
  Show(QStringLiteral("leltliskltsh"));
}

#include "form_fksz_lis.h"

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

TFormFkszLis::TFormFkszLis(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormFkszLis"),
                     QStringLiteral("Fökönyviszámos lista"), 4040, parent) {
  EditTol = AddEdit(QStringLiteral("EditTol"), QStringLiteral("Leltári szám:"));
  EditIg = AddEdit(QStringLiteral("EditIg"), {}, 2);
  NextRow();
  BtnStart = AddButtons(
      QStringLiteral("BtnStart"), QStringLiteral("&Start"), [this] { BtnStartClick(); },
      &BtnMegsem);
}

void TFormFkszLis::FormActivate() {
  FillCompany(QStringLiteral("SELECT CEGNEV FROM CEG"));
  FillRange(EditTol, EditIg);
  EditTol->setFocus();
}

void TFormFkszLis::BtnStartClick() {
  if (!Run([&] {
        WriteFkszLisReport(m_database, EditTol->text(), EditIg->text(), Globals().UserDir);
      }))
    return;
  Show(QStringLiteral("leltszamlist"));
}

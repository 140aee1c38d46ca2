#include "form_karton_koltsh.h"

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

TFormKartonKoltsh::TFormKartonKoltsh(TUniSQLDatabase& database, QWidget* parent)
    : TListingDialog(database, QStringLiteral("FormKartonKoltsh"),
                     QStringLiteral("Költséghelyes Eszköznyilvántartó karton"), 4060, parent) {
  Edittol = AddEdit(QStringLiteral("Edittol"), QStringLiteral("Leltári szám:"));
  Editig = AddEdit(QStringLiteral("Editig"), {}, 2);
  NextRow();
  dateEdittol = AddDate(QStringLiteral("dateEdittol"), QStringLiteral("Beszerzés:"));
  dateEditig = AddDate(QStringLiteral("dateEditig"), {}, 2);
  NextRow();
  RadioGroup = AddValuation();
  AddCostLocation(RGKoltsH, CBKoltsH);
  BtnOK = AddButtons(QStringLiteral("BtnOK"), QStringLiteral("&Rendben"), [this] { BtnOKClick(); },
                     &BtnMegsem);
}

void TFormKartonKoltsh::FormActivate() {
  FillCompany(QStringLiteral("select CEGNEV from CEG"));
  FillRange(Edittol, Editig);
  dateEdittol->SetValue(QDate::currentDate().addDays(-365));
  dateEditig->SetValue(QDate::currentDate());
  FillCostLocations(CBKoltsH);
  Edittol->setFocus();
}

void TFormKartonKoltsh::BtnOKClick() {
  TKartonInput input;
  input.Range = {Edittol->text(), Editig->text(), dateEdittol->Value(), dateEditig->Value()};
  input.Valuation = RadioGroup->ItemIndex();
  input.CostLocation = CostLocation(RGKoltsH, CBKoltsH);
  bool any = false;
  if (!Run([&] { any = WriteKartonKoltshReport(m_database, input, Globals().UserDir); })) return;
  if (!any) {
    Ui().MessageBox(QStringLiteral("A kiválasztott lekérdezés nem tartalmaz adatokat!"), QStringLiteral("Hiba"),
                    MsgType::Error);
    return;
  }
  Show(QStringLiteral("ZARNKARTKH"));
}

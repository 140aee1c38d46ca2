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
  AddAssetRange(QStringLiteral("Edittol"), QStringLiteral("Editig"), Edittol, Editig, dateEdittol,
                dateEditig);
  RadioGroup = AddValuation();
  AddCostLocation(RGKoltsH, CBKoltsH);
  BtnOK = AddButtons(
      QStringLiteral("BtnOK"), QStringLiteral("&Rendben"), [this] { BtnOKClick(); }, &BtnMegsem);
}

void TFormKartonKoltsh::FormActivate() {
  FillCompany(QStringLiteral("select CEGNEV from CEG"));
  FillRange(Edittol, Editig, dateEdittol, dateEditig);
  FillCostLocations(CBKoltsH);
  Edittol->setFocus();
}

void TFormKartonKoltsh::BtnOKClick() {
  TKartonInput input;
  input.Range = {Edittol->text(), Editig->text(), dateEdittol->Value(), dateEditig->Value()};
  input.Valuation = RadioGroup->ItemIndex();
  input.CostLocation = CostLocation(RGKoltsH, CBKoltsH);
  RunListing([&] { return WriteKartonKoltshReport(m_database, input, Globals().UserDir); },
             QStringLiteral("ZARNKARTKH"));
}

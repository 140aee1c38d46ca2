#pragma once

#include "listing_dialog.h"

// "Költséghelyes Eszköznyilvántartó karton": the register cards ordered by cost location, all
// or one; the report "ZARNKARTKH".
class TFormKartonKoltsh : public TListingDialog {
 public:
  explicit TFormKartonKoltsh(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLineEdit* Edittol;
  QLineEdit* Editig;
  TdateEdit* dateEdittol;
  TdateEdit* dateEditig;
  TRadioGroup* RadioGroup;
  TRadioGroup* RGKoltsH;
  QComboBox* CBKoltsH;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnOKClick();
};

#pragma once

#include "listing_dialog.h"

// "Költséghelyes könyvelési feladás": the posting list with subtotals per cost location, all or
// one; the report "ZARNFELADKH".
class TFormFeladKh : public TListingDialog {
 public:
  explicit TFormFeladKh(TUniSQLDatabase& database, QWidget* parent = nullptr);

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

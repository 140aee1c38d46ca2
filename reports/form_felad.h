#pragma once

#include "listing_dialog.h"

// "Eszköz nyilvántartás könyvelési feladás": the items of a period grouped by type and accounts,
// with totals per type; the report "ZARNKARTON".
class TFormFelad : public TListingDialog {
 public:
  explicit TFormFelad(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLabel* LabelCim;
  TdateEdit* dateEdittol;
  TdateEdit* dateEditig;
  TRadioGroup* RadioGroup;
  TdateEdit* DETabloKelte;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnOKClick();
};

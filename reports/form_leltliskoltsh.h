#pragma once

#include "listing_dialog.h"

// "Költséghelyes leltár lista": the inventory lines grouped by cost location, all or one; the
// report "leltliskltsh".
class TFormLeltliskoltsh : public TListingDialog {
 public:
  explicit TFormLeltliskoltsh(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLineEdit* EditTol;
  QLineEdit* EditIg;
  TdateEdit* dateEdittol;
  TdateEdit* dateEditig;
  TRadioGroup* RGKoltsH;
  QComboBox* CBKoltsH;
  QPushButton* BtnStart;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnStartClick();
};

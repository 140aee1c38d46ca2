#pragma once

#include "listing_dialog.h"

// "Eszköznyilvántartó karton": the register cards of an inventory-number range, acquisition
// dates and item dates; the report "ZARNKARTON".
class TFormKartonNyomt : public TListingDialog {
 public:
  explicit TFormKartonNyomt(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLineEdit* Edittol;
  QLineEdit* Editig;
  TdateEdit* dateEdittol;
  TdateEdit* dateEditig;
  TdateEdit* dateEdit1;
  TdateEdit* dateEdit2;
  TdateEdit* dateEditLista;
  QCheckBox* cbElo;
  TRadioGroup* RadioGroup;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnOKClick();
};

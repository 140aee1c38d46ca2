#pragma once

#include "listing_dialog.h"

// "Tárgyi eszköz/immateriális javak összesitő": the yearly summary by account under accounting
// law; the report "ZARNOSSZES".
class TFormOsszes1 : public TListingDialog {
 public:
  explicit TFormOsszes1(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLineEdit* EditEv;
  TdateEdit* DETablokelte;
  QCheckBox* CbDat3;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnOKClick();
};

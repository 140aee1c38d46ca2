#pragma once

#include "listing_dialog.h"

// "Leltár lista": one line per asset with its balances, optionally only the assets written
// down to zero or still owned; the report "leltszamlist".
class TFormLeltlis : public TListingDialog {
 public:
  explicit TFormLeltlis(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLineEdit* EditTol;
  QLineEdit* EditIg;
  TdateEdit* dateEdittol;
  TdateEdit* dateEditig;
  QCheckBox* CBcsakNulla;
  QCheckBox* CbCsakAmiVan;
  QPushButton* BtnStart;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnStartClick();
};

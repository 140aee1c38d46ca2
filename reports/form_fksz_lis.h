#pragma once

#include "listing_dialog.h"

// "Fökönyviszámos lista": the assets of a number range grouped by asset account; the report
// "leltszamlist".
class TFormFkszLis : public TListingDialog {
 public:
  explicit TFormFkszLis(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLineEdit* EditTol;
  QLineEdit* EditIg;
  QPushButton* BtnStart;
  QPushButton* BtnMegsem;

  void FormActivate() override;
  void BtnStartClick();
};

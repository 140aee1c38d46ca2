#pragma once

#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class TUniSQLDatabase;

// "Amortizációs kulcsok ellenőrzése": the rate-key check for a chosen year, its report and the
// fill-in question (RunRateKeyCheck). Closes with OK once the check has run.
class TfrmKulcsEll : public QDialog {
 public:
  TfrmKulcsEll(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QLabel* lblCegnev;
  QSpinBox* speEv;
  QPushButton* bbnOk;
  QPushButton* bbnMegsem;

  void FormCreate();
  void bbnOkClick();

 private:
  TUniSQLDatabase& m_database;
};

#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TdateEdit;
class TUniSQLDatabase;

// "ÉCS számitás": the depreciation run for a date, for every asset or one, followed by the
// printed list of the run. Closes with OK after a completed run.
class TFormECSszamito : public QDialog {
 public:
  TFormECSszamito(TUniSQLDatabase& database, QWidget* parent = nullptr);

  TdateEdit* dateEdit1;
  QLineEdit* EditLsz;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;
  QProgressBar* ProgressBar1;

  void FormActivate();
  void BtnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TUniSQLDatabase& m_database;
  bool m_activated = false;
};

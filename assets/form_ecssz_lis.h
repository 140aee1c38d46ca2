#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class TUniSQLDatabase;

// "Eddigi ECS számítások": prints the lines of one earlier run, for every asset or one, as the
// report "ECSSZAM". The run form calls BtnOkClick directly after a run.
class TFormECSSZLis : public QDialog {
 public:
  TFormECSSZLis(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QComboBox* CBdatum;
  QLineEdit* EditLSZ;
  QPushButton* BtnOk;
  QPushButton* BtnBezar;

  void FormActivate();
  void BtnOkClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TUniSQLDatabase& m_database;
};

// Writes the report files of "ECSSZAM" into userDir for the run of runDateText (year.month.day)
// and leltszam (empty for every asset). Database errors propagate.
void WriteRunListReport(TUniSQLDatabase& database, const QString& runDateText,
                        const QString& leltszam, const QString& userDir);

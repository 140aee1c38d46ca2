#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSpinBox;
class TdateEdit;
class TUniSQLDatabase;

// "Gépi feladás": the postings of a period as one XML file for an accounting program, on the
// current company database. Its settings live in [GFELAD] of the program directory's ZARN.INI.
class TFormGepiFelad : public QDialog {
 public:
  explicit TFormGepiFelad(TUniSQLDatabase& database, QWidget* parent = nullptr);

  TdateEdit* DatumTol;
  TdateEdit* DatumIg;
  QCheckBox* chbEcsAdatok;
  QCheckBox* chbAktivalasAdatok;
  QLineEdit* EditKEv;
  QSpinBox* UpDownKEv;
  QLineEdit* EditKHo;
  QSpinBox* UpDownKHo;
  QLineEdit* EditKNaplo;
  QLineEdit* EditBizszam;
  TdateEdit* dateEdit1;
  QLineEdit* EditXml;
  QPushButton* BtnTalloz;
  QComboBox* CBkod;
  QLabel* LabelCeg;
  QLabel* LabelAdosz;
  QProgressBar* ProgressBar1;
  QPushButton* BtnOK;
  QPushButton* BtnBezar;

  void FormActivate();
  void chbEcsAdatokClick();
  void BtnTallozClick();
  void BtnOKClick();

  // ZARN.INI of the program directory.
  static QString SettingsFile();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TUniSQLDatabase& m_database;
  bool m_activated = false;
};

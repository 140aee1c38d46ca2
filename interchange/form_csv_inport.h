#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TUniSQLDatabase;

// "Betöltés CSV fájlokból": the five company tables from CSV files of one directory.
class TFormCSVinport : public QDialog {
 public:
  TFormCSVinport(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent = nullptr);

  QLabel* LabelCEG;
  QLabel* LabelKARTFEJ;
  QLabel* LabelKARTTET;
  QLabel* LabelKULCSOK;
  QLabel* LabelPONTOSOK;
  QCheckBox* CheckBox1;
  QCheckBox* CheckBox2;
  QCheckBox* CheckBox3;
  QCheckBox* CheckBox4;
  QCheckBox* CheckBox5;
  QCheckBox* CheckBox6;
  QCheckBox* CheckBox7;
  QCheckBox* CheckBox8;
  QCheckBox* CheckBox9;
  QCheckBox* CheckBox10;
  QLineEdit* EditCSVDir;
  QPushButton* BtnCSVdir;
  QComboBox* CBterm;
  QCheckBox* CBelsotne;
  QCheckBox* CBCSVtorles;
  QCheckBox* CBuzen;
  QPushButton* BtnMindent;
  QPushButton* Btndoksi;
  QPushButton* BtnOK;
  QPushButton* BtnCANCEL;

  void FormActivate();
  void BtnCSVdirClick();
  void BtnMindentClick();
  void BtndoksiClick();
  // One table alone, in a transaction of its own; true when it was loaded.
  bool ImportCsvTable(const QString& table, bool load, bool clear);
  // All five tables in one transaction; the form closes after it.
  void BtnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  bool Import(const QStringList& tables);
  QLabel* LabelOf(const QString& table) const;

  TUniSQLDatabase& m_db0;
  TUniSQLDatabase& m_db1;
  bool m_activated = false;
};

// The take-over from the DOS edition: asks the directory, runs the converter there and opens
// the CSV form on it.
void TakeOverFromDos(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent);

#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class TDataSet;

// "Dataset Export": writes the rows of a dataset as XML, CSV or HTML. The caller sets DataSet,
// Title and the file name in EditOnev.
class TFormDSExport : public QDialog {
 public:
  explicit TFormDSExport(QWidget* parent = nullptr);

  TDataSet* DataSet = nullptr;
  QString Title;

  QComboBox* CBForma;
  QLineEdit* EditOnev;
  QPushButton* Button1BtnTalloz;
  QGroupBox* GBCSV;
  QCheckBox* CBCSVMezonevek;
  QCheckBox* CBCSVidezojel;
  QRadioButton* RBCSVpontosvesszo;
  QRadioButton* RBCSVtabulator;
  QGroupBox* GBXML;
  QRadioButton* RBXMLalap;
  QRadioButton* RBXMLTable;
  QGroupBox* GBHTM;
  QCheckBox* CBHTMFejlec;
  QCheckBox* CBHTMOszlopfejlec;
  QCheckBox* CBHTMCenter;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;

  QString Format() const;  // "XML", "CSV" or "HTM"
  void Button1BtnTallozClick();
  void BtnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void FormatChanged();
};

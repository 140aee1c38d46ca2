#pragma once

#include <QDialog>
#include <functional>

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
  // Runs the writing; a caller with a grid over the dataset detaches it meanwhile, so that the
  // grid does not follow every row. Empty: the writing runs as it is.
  std::function<void(const std::function<void()>&)> RunWriting;

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

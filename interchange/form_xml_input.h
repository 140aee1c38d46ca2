#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class TUniSQLDatabase;

// "XML input": assets from the XML file of another asset register.
class TFormXMLinput : public QDialog {
 public:
  explicit TFormXMLinput(TUniSQLDatabase& db1, QWidget* parent = nullptr);

  QLineEdit* EditXMLnev;
  QPushButton* BtnTalloz;
  QPushButton* BtnOK;
  QPushButton* BtnCANCEL;

  void FormActivate();
  void BtnTallozClick();
  // The import; the form closes after its closing message.
  void BtnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TUniSQLDatabase& m_db1;
};

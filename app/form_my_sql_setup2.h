#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TUniSQLDatabase;

// "SQL beállítás": the connection settings, editable once the current user name and password
// were given. Saved into ZARN.INI of the program directory; used from the next start.
class TFormMySQLsetup2 : public QDialog {
 public:
  TFormMySQLsetup2(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent = nullptr);

  QLineEdit* EditUser;
  QLineEdit* EditPsw;
  QLineEdit* EditHost;
  QLineEdit* EditPort;
  QLineEdit* EditDBDir;
  QLabel* Label1;
  QPushButton* BtnOK;
  QPushButton* BtnCANCEL;

  void BtnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void SetEditable(bool editable);

  TUniSQLDatabase& m_db0;
  TUniSQLDatabase& m_db1;
  bool m_activated = false;
};

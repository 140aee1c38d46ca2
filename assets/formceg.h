#pragma once

#include <QDialog>
#include <QStringList>
#include <memory>

class QLabel;
class QPushButton;
class QScrollArea;
class TDataSource;
class TDBComboBox;
class TDBEdit;
class TEditGrid;
class TExitEdit;
class TUniSQLDatabase;
class TUniSQLTable;

// "Cég fő adatai": the company's own record and its calculation-precision periods, saved
// together (SaveCompanyData); a changed tax number is copied into the company list.
class TFormceg : public QDialog {
 public:
  // db1 the company database, db0 the system database with the company list.
  TFormceg(TUniSQLDatabase& db1, TUniSQLDatabase& db0, QWidget* parent = nullptr);
  ~TFormceg() override;

  TDBEdit* DBECEGNEV;
  TDBEdit* DBEADOSZAM;
  TDBComboBox* DBCkonyveles;
  QScrollArea* ScrollBox2;
  QPushButton* BtnOk;
  QPushButton* BtnMegsem;
  QPushButton* BtnHelp;
  TUniSQLTable* Table1;
  TUniSQLTable* TablePontosok;
  std::unique_ptr<TEditGrid> Grid;

  void FormActivate();
  void BtnOkClick();
  void BtnMegsemClick();
  void PontosExit(TExitEdit* cell);

 protected:
  void showEvent(QShowEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void done(int result) override;

 private:
  void FormClose();
  void Save();

  TUniSQLDatabase& m_db1;
  TUniSQLDatabase& m_db0;
  TDataSource* m_source;
  bool m_activated = false;
  bool m_openedTable = false;  // this form opened the company table
  QString m_taxNumber;         // as it was when the form opened, cleaned
  QStringList m_pickList;
};

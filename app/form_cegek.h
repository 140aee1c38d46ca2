#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class QWidget;
class QEventLoop;
class TDataSetModel;
class TDataSource;
class TUniSQLDatabase;
class TUniSQLTable;

// "Könyvelt cégek": the company list of ZARN, to choose, create, rename and delete companies.
// Choosing a company, or creating one, makes it current on db1 (DataAlias, [USERINI]
// DATALIAS). The tax number takes digits only and is kept without "-" and blanks. Raises when
// ZARN cannot be read; the handlers tell their errors themselves.
class TFormCegek : public QDialog {
 public:
  TFormCegek(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent = nullptr);
  ~TFormCegek() override;

  QWidget* Panel2;
  QTableView* DBGrid1;
  QPushButton* BitBtnOK;
  QPushButton* BitBtnInsert;
  QPushButton* BitBtnMod;
  QPushButton* BitBtnDel;
  QPushButton* btnCancel;
  QWidget* PanelAlso;
  QLineEdit* EditSorszam;
  QLineEdit* EditAbnev;
  QLineEdit* EditAdosz;
  QPushButton* BtnOK2;
  QPushButton* BtnCancel2;
  QWidget* PanelTurelem;
  QLabel* LabelHoltart;
  TUniSQLTable* Table1;

  void BitBtnInsertClick();
  void BitBtnModClick();
  void BitBtnDelClick();
  void BitBtnOKClick();
  // Goes to the first company whose name begins with letter (compared in capitals).
  void SearchLetter(const QString& letter);
  bool Editing() const { return m_editLoop != nullptr; }

  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Runs the edit panel until BtnOK2 (1) or BtnCancel2 (2).
  int EditRow();
  void EndEdit(int result);
  void SetBrowsing(bool browsing);
  void Reload(const std::function<void()>& position);
  void Locate(qint64 number);
  qint64 CurrentNumber() const;

  TUniSQLDatabase& m_db0;
  TUniSQLDatabase& m_db1;
  TDataSource* m_source;
  TDataSetModel* m_model;
  QEventLoop* m_editLoop = nullptr;
  bool m_mustChoose = false;  // after a delete the list is left only by choosing a company
};

// The company list, modal; true when a company was chosen.
bool ShowCompanyList(TUniSQLDatabase& db0, TUniSQLDatabase& db1, QWidget* parent);

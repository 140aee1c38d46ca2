#pragma once

#include <QDialog>

class QComboBox;
class QPushButton;
class TUniSQLDatabase;

// "ECS-k törlése": deletes the write-off items of one date and the run lines of that date.
class TFormECSTorol : public QDialog {
 public:
  TFormECSTorol(TUniSQLDatabase& database, QWidget* parent = nullptr);

  QComboBox* CBdatum;
  QPushButton* BtnTorol;

  void FormActivate();
  void BtnTorolClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TUniSQLDatabase& m_database;
};

// Fills a date list from the first column of a query and selects the last (latest) date.
void FillDateList(QComboBox* list, TUniSQLDatabase& database, const QString& sql);

#pragma once

#include <QComboBox>
#include <QDialog>
#include <functional>
#include <vector>

class QCheckBox;
class QPushButton;
class QScrollArea;
class TDataSource;
class TUniSQLQuery;
class TUniSQLTable;

// A value box of the filter dialog: its list of the column's values is read when it first
// drops down (or Down is pressed in it).
class TFilterComboBox : public QComboBox {
 public:
  using QComboBox::QComboBox;
  std::function<void(TFilterComboBox*)> OnNeedValues;
  void showPopup() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void NeedValues();
};

// "Szürő feltételek": per visible column a check box and a value box; OK puts the condition of
// the checked columns into the table's Filter (after the table's own filter in effect) and
// sets Filtered. The caller reopens the table.
class TFormDBFilter : public QDialog {
 public:
  TFormDBFilter(TUniSQLTable* table, QWidget* parent = nullptr);
  ~TFormDBFilter() override;

  QScrollArea* ScrollBox1;
  QPushButton* BtnOK;
  QPushButton* BtnMegsem;
  TDataSource* DataSource1;
  TUniSQLQuery* Q1;

  QCheckBox* CheckBoxOf(int fieldIndex) const;
  TFilterComboBox* ComboOf(int fieldIndex) const;  // named "CB" + the field's index
  // The conditions as the browser shows them in its filter button's hint.
  const QString& Description() const { return m_description; }

  void BtnOKClick();
  void LoadValues(TFilterComboBox* combo);

 private:
  struct Row {
    int fieldIndex;
    QCheckBox* check;
    TFilterComboBox* combo;
  };
  TUniSQLTable* m_table;
  QString m_ownFilter;  // the table's filter in effect when the dialog opened
  std::vector<Row> m_rows;
  QString m_description;
};

#pragma once

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>
#include <vector>

class QScrollArea;
class QWidget;
class TExitEdit;
class TUniSQLTable;

// A table of edit controls (rows x columns) on a scroll box, bound to the rows of one table that
// share a set of key values. It loads the matching rows into the cells, lets the user type,
// insert (Ctrl+Ins) and delete (Ctrl+Del) rows, adds a row on Tab in the last one, and saves by
// deleting the matching rows and appending the non-empty grid rows, as one transaction.
//
// Columns follow the field type: amounts (integer, float), dates, pick-list texts (a column
// with a pick list) and masked texts. What every cell of a column takes (its exit handler,
// AllowEmpty and popup key of dates) is set on the column, before or after the rows are built.
// The owner frees the grid (before or after its scroll box); the grid frees its cells.
class TEditGrid : public QObject {
  Q_OBJECT

 public:
  static constexpr int MaxColumns = 11;
  static constexpr int MaxRow = 150;  // index of the last possible row: at most 151 rows

  TEditGrid(QScrollArea* scrollBox, TUniSQLTable* dataSet, int rows, bool readOnly);
  ~TEditGrid() override;

  // Appends a column over the open table's field and creates its row-0 cell.
  void AddColumn(const QString& fieldName, int width, const QStringList* pickList = nullptr,
                 bool readOnly = false);
  // A key field with its value: a text, a flag (a 1-character text field: true for "I"), an
  // integer, a float or a date, following the field.
  void AddKeyField(const QString& fieldName, const QVariant& value);
  void SetOrderField(const QString& fieldName) { m_orderField = fieldName; }
  // What every cell of the column takes: run when a cell is left (and its leave not refused).
  void SetColumnExit(int column, std::function<void(TExitEdit* cell)> handler);
  // Date columns: an emptied cell holds no date; the key that opens the calendar.
  void SetColumnAllowEmpty(int column, bool allowEmpty);
  void SetColumnPopupKey(int column, Qt::Key key);

  QColor NormalColor = QColor(0xFF, 0xFF, 0xFF);
  QColor ReadOnlyColor = QColor(0xFF, 0xFF, 0x00);
  QColor FontColor = QColor(0, 0, 0);
  int FontHeight = 10;

  void BuildRows();
  // Fills the cells from the table's rows with the key values, adding rows as needed. With more
  // rows than the grid can hold it loads what fits and turns read-only.
  void LoadRows();
  // Deletes the table's rows with the key values and appends the non-empty grid rows, all or
  // nothing; raises the database's error. false (nothing touched, the reason shown) when the
  // grid could not hold every row of the table.
  bool SaveRows();

  int ColumnCount() const { return int(m_columns.size()); }
  int LastRow() const { return m_lastRow; }
  bool ReadOnly() const { return m_readOnly; }
  QWidget* Cell(int row, int column) const;
  // The column's kind: "CE" amount, "DE" date, "ME" masked text, "CB" pick-list text.
  QString Kind(int column) const;
  // A cell's value: the amount (double), the date (QDate, null when empty) or the text.
  QVariant CellValue(int row, int column) const;
  void SetCellValue(int row, int column, const QVariant& value);
  void ClearCell(int row, int column);
  bool RowEmpty(int row) const;
  // Adds one row after the last; false when there are 151 already.
  bool AddRow();
  void DeleteRow(int row);
  // false (a beep) when the last row holds data and no row can be added for it.
  bool InsertRow(int row);
  // The key filter as a WHERE condition ("" for none).
  QString KeyFilter() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Column {
    QString fieldName;
    QString kind;
    int width = 0;
    QStringList pickList;
    bool readOnly = false;
    int left = 0;
    int height = 0;
    QString emptyText;  // a masked cell's text when nothing is typed
    QString editMask;
    QString displayFormat;
    std::function<void(TExitEdit*)> onExit;
    bool allowEmpty = false;
    Qt::Key popupKey = Qt::Key_Down;
  };
  struct KeyField {
    QString fieldName;
    QVariant value;
  };

  TExitEdit* CreateCell(int row, int column);
  void ApplyColumn(TExitEdit* cell, int column);
  void UpdateContentsSize();
  int RowHeight() const;
  void SetReadOnly();
  void ResetRows();

  QScrollArea* m_scrollBox;
  QPointer<QWidget> m_contents;
  TUniSQLTable* m_dataSet;
  int m_rows;
  bool m_readOnly;
  bool m_overflow = false;
  int m_lastRow;
  QString m_orderField;
  std::vector<Column> m_columns;
  std::vector<KeyField> m_keys;
  std::vector<std::array<TExitEdit*, MaxColumns>> m_cells;
};

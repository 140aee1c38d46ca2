#pragma once

#include <QAbstractTableModel>
#include <memory>

#include "data_source.h"

// A read-only table model over the dataset of a data source, for grids: one row per row of
// the dataset (the row being inserted included), one column per visible field, headed by its
// display label and showing its display text in its alignment. Reading cells does not move
// the dataset's cursor.
class TDataSetModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit TDataSetModel(QObject* parent = nullptr);
  ~TDataSetModel() override;

  TDataSource* DataSource() const;
  void SetDataSource(TDataSource* dataSource);
  TField* FieldAt(int column) const;  // nullptr outside the columns
  int CurrentRow() const;             // the dataset's current row; -1 when none
  void SetCurrentRow(int row);        // moves the dataset's cursor there

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 signals:
  // The dataset's cursor moved to row, or the rows were read again (the views lost their row).
  void CurrentRowChanged(int row);

 private:
  class Link;
  friend class Link;
  void Rebuild();
  void RowChanged();
  void Scrolled();

  std::unique_ptr<Link> m_link;
  std::vector<TField*> m_columns;
  int m_rowCount = 0;
  static constexpr int kNoRowAnnounced = -2;
  int m_currentRow = -1;
};

#include "data_set_model.h"

class TDataSetModel::Link : public TDataLink {
 public:
  explicit Link(TDataSetModel* model) : m_model(model) {}

 protected:
  void ActiveChanged() override { m_model->Rebuild(); }
  void EditingChanged() override { m_model->Rebuild(); }
  void DataSetChanged() override { m_model->Rebuild(); }
  void LayoutChanged() override { m_model->Rebuild(); }
  void DataSetScrolled() override { m_model->Scrolled(); }
  void RecordChanged(TField*) override { m_model->RowChanged(); }

 private:
  TDataSetModel* m_model;
};

TDataSetModel::TDataSetModel(QObject* parent)
    : QAbstractTableModel(parent), m_link(std::make_unique<Link>(this)) {}

TDataSetModel::~TDataSetModel() = default;

TDataSource* TDataSetModel::DataSource() const { return m_link->DataSource(); }

void TDataSetModel::SetDataSource(TDataSource* dataSource) {
  m_link->SetDataSource(dataSource);
  Rebuild();
}

TField* TDataSetModel::FieldAt(int column) const {
  return column >= 0 && column < static_cast<int>(m_columns.size()) ? m_columns[column] : nullptr;
}

int TDataSetModel::CurrentRow() const { return m_currentRow; }

void TDataSetModel::SetCurrentRow(int row) {
  if (TDataSet* ds = m_link->DataSet(); ds && ds->Active() && row != m_currentRow)
    ds->GotoDisplayRow(row);
}

int TDataSetModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_rowCount;
}

int TDataSetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TDataSetModel::data(const QModelIndex& index, int role) const {
  TField* field = FieldAt(index.column());
  if (!field || index.row() < 0 || index.row() >= m_rowCount) return {};
  if (role == Qt::DisplayRole) return m_link->DataSet()->DisplayTextAt(index.row(), field->Index());
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(field->Alignment() | Qt::AlignVCenter);
  return {};
}

QVariant TDataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  TField* field = FieldAt(section);
  if (!field) return {};
  if (role == Qt::DisplayRole) return field->DisplayLabel();
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(field->Alignment() | Qt::AlignVCenter);
  return {};
}

Qt::ItemFlags TDataSetModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void TDataSetModel::Rebuild() {
  beginResetModel();
  m_columns.clear();
  m_rowCount = 0;
  TDataSet* ds = m_link->DataSet();
  if (ds && ds->Active()) {
    for (int i = 0; i < ds->FieldCount(); ++i)
      if (ds->Fields(i)->Visible()) m_columns.push_back(ds->Fields(i));
    m_rowCount = ds->DisplayRowCount();
  }
  endResetModel();
  // A reset leaves the views without a current row, and a view that then takes the focus takes
  // its first row (moving the dataset, which posts what is being edited): the row is told again.
  m_currentRow = kNoRowAnnounced;
  Scrolled();
}

void TDataSetModel::RowChanged() {
  TDataSet* ds = m_link->DataSet();
  const int row = ds ? ds->DisplayRowOfCursor() : -1;
  if (row >= 0 && row < m_rowCount && !m_columns.empty())
    emit dataChanged(index(row, 0), index(row, static_cast<int>(m_columns.size()) - 1));
}

void TDataSetModel::Scrolled() {
  TDataSet* ds = m_link->DataSet();
  const int row = ds && ds->Active() ? ds->DisplayRowOfCursor() : -1;
  if (row == m_currentRow) return;
  m_currentRow = row;
  emit CurrentRowChanged(row);
}

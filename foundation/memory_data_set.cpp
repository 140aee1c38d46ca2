#include "memory_data_set.h"

#include "exceptions.h"

TMemoryDataSet::TMemoryDataSet(QObject* owner) : TDataSet(owner) {}

TMemoryDataSet::~TMemoryDataSet() { CloseOnDestroy(); }

void TMemoryDataSet::AddFieldDef(const QString& name, TFieldType type, int size) {
  if (Active())
    throw EDatabaseError(QStringLiteral("Cannot perform this operation on an open dataset"));
  m_defs.push_back({name, type, size});
  m_rows.clear();
}

void TMemoryDataSet::AppendRecord(const QVariantList& values) {
  Append();
  for (int i = 0; i < values.size() && i < FieldCount(); ++i) Fields(i)->SetValue(values[i]);
  Post();
}

void TMemoryDataSet::InternalOpen() {
  int no = 1;
  for (const Def& d : m_defs) AddField(d.name, d.type, d.size, no++);
}

void TMemoryDataSet::InternalReadRecord(int row, TRecord& record) const {
  record = m_rows[row].values;
}

TBookmark TMemoryDataSet::InternalBookmark(int row) const { return {m_rows[row].id}; }

int TMemoryDataSet::InternalBookmarkRow(const TBookmark& bookmark) const {
  for (size_t i = 0; i < m_rows.size(); ++i)
    if (m_rows[i].id == bookmark.Id) return static_cast<int>(i);
  return -1;
}

void TMemoryDataSet::InternalPost(TRecord& record, int row, bool inserting) {
  if (inserting)
    m_rows.insert(m_rows.begin() + row, Row{m_nextId++, record});
  else
    m_rows[row].values = record;
}

void TMemoryDataSet::InternalDelete(int row) { m_rows.erase(m_rows.begin() + row); }

#include "last_rows_by_key.h"

#include "data_set.h"

TLastRowsByKey::TLastRowsByKey(TDataSet& data, const QString& keyField) : m_data(data) {
  TField* key = m_data.FieldByName(keyField);
  for (m_data.First(); !m_data.Eof(); m_data.Next())
    m_lastRow.insert(key->AsString(), m_data.RecNo());
}

void TLastRowsByKey::Seek(const QString& key) {
  m_row = m_lastRow.value(key, 0);
  if (m_row > 0) m_data.SetRecNo(m_row);
}

int TLastRowsByKey::FieldCount() const { return m_data.FieldCount(); }

int TLastRowsByKey::FindField(const QString& name) const {
  const TField* f = m_data.FindField(name);
  return f ? f->Index() : -1;
}

QString TLastRowsByKey::FieldName(int index) const { return m_data.Fields(index)->FieldName(); }
bool TLastRowsByKey::IsNumeric(int index) const { return m_data.Fields(index)->IsNumeric(); }
bool TLastRowsByKey::IsCurrency(int index) const { return m_data.Fields(index)->Currency(); }

QString TLastRowsByKey::Text(int index) const {
  return m_row > 0 ? m_data.Fields(index)->Text() : QString();
}

QString TLastRowsByKey::DisplayText(int index) const {
  return m_row > 0 ? m_data.Fields(index)->DisplayText() : QString();
}

#include "data_set_row_source.h"

#include "data_set.h"

void TDataSetRowSource::First() { m_dataSet.First(); }
void TDataSetRowSource::Next() { m_dataSet.Next(); }
bool TDataSetRowSource::Eof() const { return m_dataSet.Eof(); }
int TDataSetRowSource::FieldCount() const { return m_dataSet.FieldCount(); }

int TDataSetRowSource::FindField(const QString& name) const {
  const TField* field = m_dataSet.FindField(name);
  return field ? field->Index() : -1;
}

QString TDataSetRowSource::FieldName(int index) const { return m_dataSet.Fields(index)->FieldName(); }
bool TDataSetRowSource::IsNumeric(int index) const { return m_dataSet.Fields(index)->IsNumeric(); }
bool TDataSetRowSource::IsCurrency(int index) const { return m_dataSet.Fields(index)->Currency(); }
QString TDataSetRowSource::Text(int index) const { return m_dataSet.Fields(index)->Text(); }
QString TDataSetRowSource::DisplayText(int index) const {
  return m_dataSet.Fields(index)->DisplayText();
}

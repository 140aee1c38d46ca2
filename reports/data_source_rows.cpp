#include "data_source_rows.h"

#include "data_set.h"
#include "data_source.h"

TDataSet* TDataSourceRows::open() const {
  TDataSet* d = m_source.DataSet();
  return d && d->Active() ? d : nullptr;
}

void TDataSourceRows::First() {
  if (TDataSet* d = open()) d->First();
}

void TDataSourceRows::Next() {
  if (TDataSet* d = open()) d->Next();
}

bool TDataSourceRows::Eof() const {
  const TDataSet* d = open();
  return !d || d->Eof();
}

int TDataSourceRows::FieldCount() const {
  const TDataSet* d = open();
  return d ? d->FieldCount() : 0;
}

int TDataSourceRows::FindField(const QString& name) const {
  const TDataSet* d = open();
  const TField* f = d ? d->FindField(name) : nullptr;
  return f ? f->Index() : -1;
}

// The callers ask only for positions below FieldCount().
QString TDataSourceRows::FieldName(int index) const { return open()->Fields(index)->FieldName(); }
bool TDataSourceRows::IsNumeric(int index) const { return open()->Fields(index)->IsNumeric(); }
bool TDataSourceRows::IsCurrency(int index) const { return open()->Fields(index)->Currency(); }
QString TDataSourceRows::Text(int index) const { return open()->Fields(index)->Text(); }
QString TDataSourceRows::DisplayText(int index) const {
  return open()->Fields(index)->DisplayText();
}

#pragma once

#include "row_source.h"

class TDataSource;
class TDataSet;

// The rows of a data source's dataset as a report walks them. The dataset is looked up at
// each use, so a listing may reopen or exchange it between runs; a source without an open
// dataset has no rows and no fields.
class TDataSourceRows : public TRowSource {
 public:
  explicit TDataSourceRows(TDataSource& source) : m_source(source) {}

  void First() override;
  void Next() override;
  bool Eof() const override;
  int FieldCount() const override;
  int FindField(const QString& name) const override;
  QString FieldName(int index) const override;
  bool IsNumeric(int index) const override;
  bool IsCurrency(int index) const override;
  QString Text(int index) const override;
  QString DisplayText(int index) const override;

 private:
  TDataSet* open() const;

  TDataSource& m_source;
};
